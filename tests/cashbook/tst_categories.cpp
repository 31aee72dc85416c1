#include "cashbook/ui/TCatForm.h"
#include "cashbook/ui/TCcardForm.h"
#include "data/Dataset.h"
#include "ledger/ui/TFormOT.h"
#include "shell/SharedTables.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

QStringList cardNames(Database& db)
{
    QStringList names;
    QSqlQuery q = db.select(QStringLiteral("select NAME from ccards order by CCARDID"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

DialogScript::Step category(const QString& name, bool expense)
{
    return [name, expense](QDialog* d) {
        type(d, "nameEdit", name);
        if (expense)
            child<QRadioButton>(d, "expenseButton")->setChecked(true);
        click(d, "okButton");
    };
}

} // namespace

class TestCategories : public QObject
{
    Q_OBJECT

private slots:
    // New categories start as income; a blank name is refused; two may share a name; delete
    // asks first. The window is the same one at every opening.
    void categoriesWindow()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        Database& db = f.state.db;
        const int before = db.scalar(QStringLiteral("select count(*) from categories")).toInt();
        TCatForm* seen = nullptr;
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TCatForm*>(d);
            QVERIFY(form);
            seen = form;
            QCOMPARE(form->windowTitle(), QStringLiteral("Cashbook categories"));
            f.dialogs.then([](QDialog* prop) {
                QVERIFY(child<QRadioButton>(prop, "incomeButton")->isChecked());
                type(prop, "nameEdit", QStringLiteral("   "));
                click(prop, "okButton");
                QVERIFY(prop->isVisible());
                type(prop, "nameEdit", QStringLiteral("Garage"));
                click(prop, "okButton");
            });
            click(form, "newButton");
            QCOMPARE(f.messages.texts().last(), QStringLiteral("The name field is blank!"));
            f.dialogs.then(category(QStringLiteral("Garage"), true));
            click(form, "newButton");

            // Search keeps to Name or Description in any letter case.
            form->list()->criteriaEdit()->setText(QStringLiteral("gara"));
            click(form, "searchButton");
            QCOMPARE(form->list()->grid()->model()->rowCount(), 2);
            QCOMPARE(form->list()->grid()->model()->index(1, 2).data().toString(),
                     QStringLiteral("Expense"));
            form->list()->grid()->selectRow(1);
            f.messages.answers << Message::Yes;
            click(form, "deleteButton");
            QCOMPARE(f.messages.shown.last().icon, Message::Warning);
            QCOMPARE(form->list()->grid()->model()->rowCount(), 1);
            click(form, "closeButton");
        });
        main.command(QStringLiteral("categories"))->trigger();
        // The search stays as it was left at the next opening.
        f.dialogs.then([&](QDialog* d) {
            QCOMPARE(d, static_cast<QDialog*>(seen));
            QCOMPARE(seen->list()->criteriaEdit()->text(), QStringLiteral("gara"));
            click(d, "clearButton");
            click(d, "closeButton");
        });
        main.command(QStringLiteral("categories"))->trigger();
        QVERIFY(f.dialogs.done());
        QSqlQuery q = db.select(QStringLiteral("select NAME, TYPE, CATID from categories where NAME = 'Garage'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toInt(), 1);
        QVERIFY(q.value(2).toInt() > before);
        QVERIFY(!q.next());
    }

    // The one-time charge dialog lists the category names once each and makes a new one
    // through the categories window, which then becomes the chosen type.
    void oneTimeChargeTypes()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        f.state.db.exec(QStringLiteral("insert into categories (CATID, NAME, TYPE) values (gen_id(GEN_CATEGORIES_ID, 1), 'Rent', 1)"));
        TFormOT dialog(f.state, &main);
        QStringList types;
        for (int i = 0; i < dialog.typeBox()->count(); ++i)
            types << dialog.typeBox()->itemText(i);
        QCOMPARE(types.count(QStringLiteral("Rent")), 1);
        f.dialogs.then([&f](QDialog* d) {
            f.dialogs.then(category(QStringLiteral("Key Replacement"), false));
            click(d, "newButton");
            click(d, "closeButton");
        });
        click(&dialog, "newTypeButton");
        QVERIFY(f.dialogs.done());
        QCOMPARE(dialog.typeBox()->currentText(), QStringLiteral("Key Replacement"));
    }

    void categoriesNeedTheCashbookRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, CASHBOOK) values (2, 'CLERK', 'Clerk', 0)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        TMain& main = f.start();
        main.command(QStringLiteral("categories"))->trigger();
        QCOMPARE(f.messages.texts().last(),
                 QStringLiteral("You do not have rights to access cashbook related entries!"));
        QVERIFY(f.dialogs.done());
    }

    // Inserting ignores letter case and blanks around the name, a quote included; the box is
    // emptied either way; delete takes the selected card without asking.
    void creditCards()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        Database& db = f.state.db;
        const QStringList before = cardNames(db);
        QVERIFY(before.contains(QStringLiteral("Visa")));
        f.dialogs.then([](QDialog* d) {
            auto* form = qobject_cast<TCcardForm*>(d);
            QVERIFY(form);
            for (const char* typed : {"VISA", "  Diner's Club  ", "diner's club", "   "}) {
                form->nameEdit()->setText(QLatin1String(typed));
                click(form, "insertButton");
                QVERIFY(form->nameEdit()->text().isEmpty());
            }
            QCOMPARE(form->list()->model()->rowCount(), 5);
            form->list()->selectRow(0);
            click(form, "deleteButton");
            QCOMPARE(form->list()->model()->rowCount(), 4);
            click(form, "closeButton");
        });
        main.command(QStringLiteral("creditCards"))->trigger();
        QVERIFY(f.dialogs.done());
        QStringList expected = before.mid(1);
        expected << QStringLiteral("Diner's Club");
        QCOMPARE(cardNames(db), expected);
        QVERIFY(f.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestCategories)
#include "tst_categories.moc"
