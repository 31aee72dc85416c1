// The keyboard in every window and dialog: access keys, Enter and Escape.
#include "cashbook/ui/TCashForm.h"
#include "cashbook/ui/TCatForm.h"
#include "cashbook/ui/TCcardForm.h"
#include "data/Dataset.h"
#include "ledger/ui/TAdjustRent.h"
#include "ledger/ui/TFAhead.h"
#include "ledger/ui/TFormOT.h"
#include "ledger/ui/TFreqForm.h"
#include "ledger/ui/TRecurForm.h"
#include "ledger/ui/TTHForm.h"
#include "office/ui/TRemForm.h"
#include "office/ui/TTodoForm.h"
#include "records/ui/Pickers.h"
#include "records/ui/TApartForm.h"
#include "records/ui/TBuildProp.h"
#include "records/ui/TEForm.h"
#include "records/ui/TFLogForm.h"
#include "records/ui/TFNLog.h"
#include "records/ui/TFNOwner.h"
#include "records/ui/TFTOwn.h"
#include "records/ui/TFormDeposit.h"
#include "records/ui/TLeaseForm.h"
#include "records/ui/TNTForm.h"
#include "records/ui/TRentAgree.h"
#include "records/ui/TVForm.h"
#include "records/ui/TenantDetailForms.h"
#include "shell/SharedTables.h"
#include "shell/ui/AccessKeys.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TFormPass.h"
#include "shell/ui/TFormWorkerEntry.h"
#include "shell/ui/TFormWorkers.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTest>

namespace {

void addPortfolio(Database& db)
{
    for (const char* sql : {
             "insert into owners (oid, code) values (1, 'ZED')",
             "insert into owners (oid, code) values (2, 'ACME')",
             "insert into buildings (buildid, oid, description) values (1, 1, 'Maple Court')",
             "insert into tenants (tid, id, firstname) values (1, 'JS', 'John')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values "
             "(10, 1, '101', 1, 5, 900)",
             "insert into agreements (rid, apid, tid, rent) values (5, 10, 1, 900)",
             "insert into frequency (freqid, name, days, system) values (7, 'Fortnight', 15, 0)",
         })
        db.exec(QLatin1String(sql));
}

struct Key
{
    QChar key;
    QWidget* widget;
    QString text;
};

// Widgets explicitly hidden (not merely on a page of a tab that is not shown) have no keys.
bool inactive(QWidget* w, QWidget* window)
{
    for (QWidget* p = w; p && p != window; p = p->parentWidget()) {
        const bool page = qobject_cast<QStackedWidget*>(p->parentWidget()) != nullptr;
        if (p->isHidden() && !page)
            return true;
    }
    return false;
}

QList<Key> keysOf(QWidget* window)
{
    QList<Key> keys;
    auto add = [&](QWidget* w, const QString& text) {
        const QChar k = AccessKeys::of(text);
        if (!k.isNull() && !inactive(w, window))
            keys.append({k, w, text});
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(b, b->text());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            add(l, l->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            add(g, g->title());
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t, t->tabText(i));
    }
    return keys;
}

// Two widgets on different pages of one tab widget are never on screen together.
bool apart(QWidget* a, QWidget* b)
{
    for (QWidget* p = a; p; p = p->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(p->parentWidget());
        if (!stack)
            continue;
        for (QWidget* q = b; q; q = q->parentWidget())
            if (q->parentWidget() == stack)
                return q != p;
    }
    return false;
}

// "N: &New... / &New..." for each key used twice by widgets that can show together.
QStringList clashes(QWidget* window)
{
    const QList<Key> keys = keysOf(window);
    QStringList found;
    for (int i = 0; i < keys.size(); ++i)
        for (int j = i + 1; j < keys.size(); ++j)
            if (keys[i].key == keys[j].key && !apart(keys[i].widget, keys[j].widget))
                found << QStringLiteral("%1: %2 / %3").arg(keys[i].key, keys[i].text, keys[j].text);
    return found;
}

QStringList menuClashes(QWidget* menu, const QString& title)
{
    QStringList found;
    QHash<QChar, QString> seen;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        const QChar k = AccessKeys::of(a->text());
        if (!k.isNull()) {
            if (seen.contains(k))
                found << QStringLiteral("%1 %2: %3 / %4").arg(title, k, seen.value(k), a->text());
            seen.insert(k, a->text());
        }
        if (a->menu())
            found << menuClashes(a->menu(), a->text());
    }
    return found;
}

QWidget* openScreen(TMain& main, const char* key)
{
    main.command(QLatin1String(key))->trigger();
    QMdiSubWindow* w = main.openChildWindow(QLatin1String(key));
    return w ? w->widget() : nullptr;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void noAccessKeyTwiceInAnyWindow()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        QStringList found;
        const auto walk = [&](QWidget* w, const QString& name) {
            QVERIFY2(w, qPrintable(name));
            for (const QString& c : clashes(w))
                found << name + QStringLiteral(" ") + c;
        };
        for (const char* screen :
             {"owners", "buildings", "apartments", "tenants", "vendors", "equipment", "cashbook"})
            walk(openScreen(main, screen), QLatin1String(screen));

        Database& db = f.state.db;
        f.state.tables().Tenants->first();
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.emplace_back(new TFNOwner(db));
        dialogs.emplace_back(new TBuildProp(db));
        dialogs.emplace_back(new TApartForm(f.state));
        dialogs.emplace_back(new TRentAgree(db));
        dialogs.emplace_back(new TNTForm(f.state, 1));
        dialogs.emplace_back(new TFormDeposit);
        dialogs.emplace_back(new TVForm);
        dialogs.emplace_back(new TVehicleForm);
        dialogs.emplace_back(new TPetForm);
        dialogs.emplace_back(new TOccupantForm);
        dialogs.emplace_back(new TRecurForm(db));
        dialogs.emplace_back(new TFreqForm(f.state));
        dialogs.emplace_back(new TFreqProp);
        dialogs.emplace_back(new TLeaseForm(f.state));
        dialogs.emplace_back(new TFormWorkers(f.state));
        dialogs.emplace_back(new TFormWorkerEntry(db));
        dialogs.emplace_back(new TFormPass);
        dialogs.emplace_back(new TSelBuild(db));
        dialogs.emplace_back(new TFSelApart(db));
        dialogs.emplace_back(new TSelTen(db));
        dialogs.emplace_back(new TSelVen(db));
        dialogs.emplace_back(new TFSelStat);
        dialogs.emplace_back(
            new TFSelStat(QStringLiteral("Select owner(s)."), {QStringLiteral("ZED")}));
        dialogs.emplace_back(new TCatForm(f.state));
        dialogs.emplace_back(new TPropCat);
        dialogs.emplace_back(new TCcardForm(f.state));
        dialogs.emplace_back(new TFormOT(f.state));
        dialogs.emplace_back(new TFAhead);
        dialogs.emplace_back(new TEForm);
        dialogs.emplace_back(new TFLogForm(f.state));
        dialogs.emplace_back(new TFNLog(db));
        dialogs.emplace_back(new TRemForm(f.state));
        dialogs.emplace_back(new TRForm);
        dialogs.emplace_back(new TTodoForm(f.state));
        dialogs.emplace_back(new TPropTodo(f.state));
        dialogs.emplace_back(new TCashProp(f.state));
        dialogs.emplace_back(new TTHForm(f.state));
        dialogs.emplace_back(new TAdjustRent(f.state));
        for (const auto& d : dialogs)
            walk(d.get(), d->objectName());

        // The payment screen, as "Collect Rent " opens it.
        f.dialogs.then([](QDialog* d) {
            type(d, "searchEdit", QStringLiteral("JS"));
            click(d, "okButton");
        });
        f.dialogs.then([&](QDialog* d) {
            walk(d, d->objectName());
            click(d, "cancelButton");
        });
        main.command(QStringLiteral("collectRent"))->trigger();
        QCOMPARE(f.dialogs.seen, (QStringList{"TSelTen", "TChargeForm"}));

        found << menuClashes(main.menuBar(), QStringLiteral("menu bar"));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    // A child window's own keys act at once although the menu bar has the same letters
    // (&New and &Edit against &Emails); letters only the menu bar has still open menus.
    void childWindowKeysComeBeforeTheMenuBar()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto* owners = qobject_cast<TFTOwn*>(openScreen(main, "owners"));
        QLineEdit* criteria = owners->list()->criteriaEdit();
        criteria->setFocus();
        QCOMPARE(QApplication::focusWidget(), criteria);

        f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); }); // new owner
        f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); }); // edit owner
        f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); }); // new building
        for (Qt::Key key : {Qt::Key_N, Qt::Key_E, Qt::Key_W}) {
            // Back in the field after the dialog, as the user is.
            main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&main));
            criteria->setFocus();
            QTest::keyClick(criteria, key, Qt::AltModifier);
            QCoreApplication::processEvents();
        }
        QCOMPARE(f.dialogs.seen, (QStringList{"TFNOwner", "TFNOwner", "TBuildProp"}));
        QVERIFY(!QApplication::activePopupWidget());
        // The letters went to the buttons, not into the field that had the keyboard.
        QVERIFY(criteria->text().isEmpty());

        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        criteria->setFocus();
        QTest::keyClick(criteria, Qt::Key_F, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(menu->actions().contains(main.command(QStringLiteral("backup"))));
        menu->close();
    }

    // Ctrl+W is the users command, also while a child window is open.
    void ctrlWOpensTheUsersWithAChildWindowOpen()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QWidget* owners = openScreen(main, "owners");
        f.dialogs.then([](QDialog* d) { click(d, "closeButton"); });
        QTest::keyClick(owners->focusWidget() ? owners->focusWidget() : owners, Qt::Key_W,
                        Qt::ControlModifier);
        QCOMPARE(f.dialogs.seen, QStringList{"TFormWorkers"});
        QVERIFY(main.openChildWindow(QStringLiteral("owners")));
    }

    // Enter searches and Escape clears in the search group, in a child window and in a
    // dialog (where they would otherwise press "&New..." and close the window); Enter on a
    // row edits it.
    void listWindowSearchGroupKeys_data()
    {
        QTest::addColumn<bool>("inDialog");
        QTest::newRow("owners window") << false;
        QTest::newRow("frequency dialog") << true;
    }
    void listWindowSearchGroupKeys()
    {
        QFETCH(bool, inDialog);
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        main.show();
        std::unique_ptr<TFreqForm> frequencies;
        ListWindow* list = nullptr;
        QWidget* window = nullptr;
        QString first;
        if (inDialog) {
            frequencies = std::make_unique<TFreqForm>(f.state, &main);
            frequencies->show();
            list = frequencies->list();
            window = frequencies.get();
            first = QStringLiteral("Monthly");
        } else {
            window = openScreen(main, "owners");
            list = qobject_cast<TFTOwn*>(window)->list();
            first = QStringLiteral("ACME");
        }
        QVERIFY(QTest::qWaitForWindowExposed(window->window()));
        Dataset& table = list->table();
        const int all = table.rowCount();

        QLineEdit* criteria = list->criteriaEdit();
        criteria->setFocus();
        if (inDialog)
            list->fieldBox()->setCurrentIndex(0);
        QTest::keyClicks(criteria, first);
        QTest::keyClick(criteria, Qt::Key_Return);
        QVERIFY(table.isFiltered());
        QCOMPARE(table.rowCount(), 1);
        QTest::keyClick(list->fieldBox(), Qt::Key_Escape);
        QVERIFY(!table.isFiltered());
        QVERIFY(criteria->text().isEmpty());
        QCOMPARE(table.rowCount(), all);
        QVERIFY(window->isVisible());

        // Enter on a row edits that row; the script cancels the dialog.
        f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); });
        list->grid()->setFocus();
        QVERIFY(table.locate(inDialog ? QStringLiteral("FREQID") : QStringLiteral("OID"),
                             inDialog ? 7 : 2));
        QTest::keyClick(list->grid(), Qt::Key_Return);
        QCOMPARE(f.dialogs.seen,
                 QStringList{inDialog ? QStringLiteral("TFreqProp") : QStringLiteral("TFNOwner")});
        QVERIFY(window->isVisible());
    }

    // Enter presses the dialog's "&OK" (never a disabled or another button) from any field;
    // Escape cancels.
    void dialogDefaultButtonAndEscape_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char* d : {"owner", "building", "unit", "agreement", "tenant", "deposit",
                              "vendor", "occupant", "recurring", "frequency", "user", "login",
                              "tenant picker", "category", "one-time charge", "charge ahead",
                              "equipment", "work order", "reminder", "to-do item"})
            QTest::newRow(d) << d;
    }
    void dialogDefaultButtonAndEscape()
    {
        QFETCH(QString, dialog);
        ShellFixture f(false);
        f.prepare(addPortfolio);
        f.start();
        f.state.tables().Tenants->first();
        Database& db = f.state.db;
        std::unique_ptr<QDialog> d;
        if (dialog == "owner")
            d.reset(new TFNOwner(db));
        else if (dialog == "building")
            d.reset(new TBuildProp(db));
        else if (dialog == "unit")
            d.reset(new TApartForm(f.state));
        else if (dialog == "agreement")
            d.reset(new TRentAgree(db));
        else if (dialog == "tenant")
            d.reset(new TNTForm(f.state, 1));
        else if (dialog == "deposit")
            d.reset(new TFormDeposit);
        else if (dialog == "vendor")
            d.reset(new TVForm);
        else if (dialog == "occupant")
            d.reset(new TOccupantForm);
        else if (dialog == "recurring")
            d.reset(new TRecurForm(db));
        else if (dialog == "frequency")
            d.reset(new TFreqProp);
        else if (dialog == "user")
            d.reset(new TFormWorkerEntry(db));
        else if (dialog == "login")
            d.reset(new TFormPass);
        else if (dialog == "category")
            d.reset(new TPropCat);
        else if (dialog == "one-time charge")
            d.reset(new TFormOT(f.state));
        else if (dialog == "charge ahead")
            d.reset(new TFAhead);
        else if (dialog == "equipment")
            d.reset(new TEForm);
        else if (dialog == "work order")
            d.reset(new TFNLog(db));
        else if (dialog == "reminder")
            d.reset(new TRForm);
        else if (dialog == "to-do item")
            d.reset(new TPropTodo(f.state));
        else
            d.reset(new TSelTen(db));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));

        auto* ok = child<QPushButton>(d.get(), "okButton");
        QVERIFY(ok);
        QVERIFY(ok->isDefault());
        for (QPushButton* b : d->findChildren<QPushButton*>())
            QVERIFY2(b == ok || !b->isDefault(), qPrintable(b->text()));

        // From every line edit of the first page, Enter presses OK.
        QSignalSpy pressed(ok, &QPushButton::clicked);
        int fields = 0;
        for (QLineEdit* e : d->findChildren<QLineEdit*>()) {
            if (!e->isVisible() || e->isReadOnly() || !e->isEnabled())
                continue;
            if (!d->isVisible())
                d->show();
            e->setFocus();
            QTest::keyClick(e, Qt::Key_Return);
            ++fields;
            QCOMPARE(pressed.count(), fields);
        }
        QVERIFY(fields > 0);

        if (!d->isVisible())
            d->show();
        QWidget* focus = d->focusWidget() ? d->focusWidget() : d.get();
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
