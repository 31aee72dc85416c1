#include "data/Cipher.h"
#include "data/Dataset.h"
#include "records/Equipment.h"
#include "records/ui/RecordFields.h"
#include "records/ui/TEquipForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/Grid.h"
#include "shell/ui/SearchGroup.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

namespace {

// Two units in Maple Court and one in Zed Tower, each with its equipment.
void addUnits(Database& db)
{
    for (const char* sql : {
             "insert into owners (oid, code) values (1, 'ZED')",
             "insert into buildings (buildid, oid, description) values (1, 1, 'Maple Court')",
             "insert into buildings (buildid, oid, description) values (2, 1, 'Zed Tower')",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (10, 1, '101', -1, -1)",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (11, 1, '102', -1, -1)",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (12, 2, 'T1', -1, -1)",
             "insert into equipments (equipid, apid, description, brand, purchaseprice) values "
             "(1, 10, 'Fridge', 'Frost', 499.99)",
             "insert into equipments (equipid, apid, description, brand) values (2, 10, 'Stove', 'Hotpoint')",
             "insert into equipments (equipid, apid, description, brand) values (3, 11, 'fridge freezer', 'Frost')",
             "insert into equipments (equipid, apid, description, brand) values (4, 11, 'Washer', 'Spin')",
             "insert into equipments (equipid, apid, description, brand) values (5, 12, 'Big FRIDGE', 'Cold')",
             "set generator gen_equipments_id to 100",
         })
        db.exec(QLatin1String(sql));
}

TEquipForm* openManager(ShellFixture& f)
{
    f.main->command(QStringLiteral("equipment"))->trigger();
    QMdiSubWindow* w = f.main->openChildWindow(QStringLiteral("equipment"));
    return w ? qobject_cast<TEquipForm*>(w->widget()) : nullptr;
}

QStringList shown(QTableView* grid, int column = 0)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << grid->model()->index(r, column).data().toString();
    return texts;
}

QVariantList row(Database& db, const QString& sql)
{
    QSqlQuery q = db.select(sql);
    QVariantList values;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i);
    return values;
}

} // namespace

class TestEquipment : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void opensOnTheFirstUnitOnce()
    {
        ShellFixture f(false);
        f.prepare(addUnits);
        f.start();
        TEquipForm* w = openManager(f);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Equipment Manager"));
        QVERIFY(f.main->openChildWindow(QStringLiteral("equipment"))->isMaximized());
        QCOMPARE(w->suiteEdit()->text(), QStringLiteral("101"));
        QCOMPARE(w->buildingEdit()->text(), QStringLiteral("Maple Court"));
        QCOMPARE(shown(w->grid()), (QStringList{QStringLiteral("Fridge"), QStringLiteral("Stove")}));
        QCOMPARE(shown(w->grid(), 5).value(0), QStringLiteral("499.99"));
        QVERIFY(!child<QPushButton>(w, "printButton")->isEnabled());
        QCOMPARE(openManager(f), w);
    }

    void rightGuardsTheWindow_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("opens");
        QTest::newRow("granted") << "1" << true;
        QTest::newRow("refused") << "0" << false;
        QTest::newRow("never set") << "null" << false;
    }
    void rightGuardsTheWindow()
    {
        QFETCH(QString, flag);
        QFETCH(bool, opens);
        ShellFixture f;
        f.prepare([&](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, firstname, npassword, equipments) "
                                   "values (2, 'mary', 'Mary', '%1', %2)")
                        .arg(Encipher(QStringLiteral("pw")), flag));
        });
        f.dialogs.then(loginAs(QStringLiteral("mary"), QStringLiteral("pw")));
        f.start();
        QCOMPARE(openManager(f) != nullptr, opens);
        QCOMPARE(f.messages.texts(), opens ? QStringList() : QStringList{TMain::NoRights});
    }

    void newEquipment_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("date"); // typed; empty: left out
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedPrice");
        QTest::addColumn<QDate>("storedDate");
        QTest::newRow("stored with its unit, price exact") << "Dishwasher" << "1,234.55"
            << "2/29/2024" << "" << "1234.55" << QDate(2024, 2, 29);
        QTest::newRow("no price is the default 0, no date") << "Microwave" << "" << "" << "" << "0"
            << QDate();
        QTest::newRow("blank description") << "   " << "10" << "" << "Description is blank!" << ""
            << QDate();
        QTest::newRow("a date that is none") << "Dryer" << "10" << "2/30/2024"
            << "The Purchase Date field is not a date!" << "" << QDate();
        QTest::newRow("price not a number") << "Dryer" << "12x" << ""
            << "Purchase Price: \"12x\" is not a valid amount. Type an amount like 1,234.50." << ""
            << QDate();
        QTest::newRow("negative price") << "Dryer" << "-5" << ""
            << "Purchase Price: \"-5\" is not a valid amount: it cannot be negative." << ""
            << QDate();
    }
    void newEquipment()
    {
        QFETCH(QString, description);
        QFETCH(QString, price);
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(QString, storedPrice);
        QFETCH(QDate, storedDate);
        ShellFixture f(false);
        f.prepare(addUnits);
        f.start();
        TEquipForm* w = openManager(f);
        bool stayedOpen = false;
        f.dialogs.then([&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Equipment"));
            QCOMPARE(child<QLineEdit>(d, "priceEdit")->text(), QString());
            type(d, "descriptionEdit", description);
            type(d, "priceEdit", price);
            QVERIFY(child<DateField>(d, "purchaseDateEdit")->isEmpty());
            child<DateField>(d, "purchaseDateEdit")->lineEdit()->setText(date);
            click(d, "okButton");
            stayedOpen = d->isVisible();
            if (stayedOpen)
                click(d, "cancelButton");
        });
        click(w, "newButton");
        QVERIFY(f.dialogs.done());
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.messages.shown[0].icon, Message::Warning);
        QCOMPARE(stayedOpen, !message.isEmpty());
        const QVariantList stored = row(f.state.db, QStringLiteral(
            "select equipid, apid, purchaseprice, purchasedate from equipments where equipid > 5"));
        if (message.isEmpty()) {
            QCOMPARE(stored.value(0).toInt(), 101);
            QCOMPARE(stored.value(1).toInt(), 10);
            QCOMPARE(Dataset::toMoney(stored.value(2)).units(), Money::parse(storedPrice).units());
            QCOMPARE(stored.value(3).toDate(), storedDate);
            QCOMPARE(shown(w->grid()).size(), 3);
        } else {
            QVERIFY(stored.isEmpty());
            QCOMPARE(shown(w->grid()).size(), 2);
        }
    }

    void newWithoutUnitsOnlyWarns()
    {
        ShellFixture f(false);
        f.start();
        TEquipForm* w = openManager(f);
        QCOMPARE(w->suiteEdit()->text(), QString());
        click(w, "newButton"); // a dialog would fail the test
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("There are no apartments.")});
        QCOMPARE(f.messages.shown[0].icon, Message::Warning);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Marbleway"));
        QCOMPARE(f.state.db.scalar(QStringLiteral("select count(*) from equipments")).toInt(), 0);
        QVERIFY(!w->tables().equipment().isEditing());
    }

    void editCancelAndDelete()
    {
        ShellFixture f(false);
        f.prepare(addUnits);
        f.start();
        TEquipForm* w = openManager(f);
        auto description = [&] {
            return f.state.db.scalar(QStringLiteral("select description from equipments where equipid = 1"));
        };
        f.dialogs.then([](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "descriptionEdit")->text(), QStringLiteral("Fridge"));
            QCOMPARE(child<QLineEdit>(d, "priceEdit")->text(), QStringLiteral("499.99"));
            type(d, "descriptionEdit", QStringLiteral("Old fridge"));
            click(d, "cancelButton");
        });
        f.dialogs.then([](QDialog* d) {
            type(d, "descriptionEdit", QStringLiteral("New fridge"));
            click(d, "okButton");
        });
        click(w, "editButton");
        QCOMPARE(description().toString(), QStringLiteral("Fridge"));
        click(w, "editButton");
        QCOMPARE(description().toString(), QStringLiteral("New fridge"));

        f.messages.answers << Message::No << Message::Yes;
        click(w, "deleteButton");
        QVERIFY(description().isValid());
        click(w, "deleteButton");
        QVERIFY(!description().isValid());
        QCOMPARE(f.messages.texts(),
                 QStringList(2, QStringLiteral("Are you sure you want to delete the selected record?")));
        QCOMPARE(f.messages.shown[0].icon, Message::Warning);
        QCOMPARE(shown(w->grid()), QStringList{QStringLiteral("Stove")});
    }

    // The window's search is its own and follows the unit chosen with "Select...".
    void searchStaysWhenAnotherUnitIsSelected()
    {
        ShellFixture f(false);
        f.prepare(addUnits);
        f.start();
        TEquipForm* w = openManager(f);
        QCOMPARE(w->searchGroup()->fieldBox()->currentText(), QStringLiteral("Description"));
        w->searchGroup()->criteriaEdit()->setText(QStringLiteral("FRIDGE"));
        click(w, "searchButton");
        QCOMPARE(shown(w->grid()), QStringList{QStringLiteral("Fridge")});
        f.dialogs.then([](QDialog* d) {
            QCOMPARE(d->objectName(), QStringLiteral("TFSelApart"));
            type(d, "searchEdit", QStringLiteral("102"));
            click(d, "okButton");
        });
        click(w, "selectButton");
        QCOMPARE(w->suiteEdit()->text(), QStringLiteral("102"));
        QCOMPARE(shown(w->grid()), QStringList{QStringLiteral("fridge freezer")});
        // The shared search state is untouched.
        QVERIFY(f.state.SearchText.isEmpty());
        QVERIFY(!f.state.tables().Equipments->isFiltered());

        w->searchGroup()->fieldBox()->setCurrentText(QStringLiteral("Brand"));
        w->searchGroup()->criteriaEdit()->setText(QStringLiteral("spin"));
        click(w, "searchButton");
        QCOMPARE(shown(w->grid()), QStringList{QStringLiteral("Washer")});
        // Blank criteria leave the search as it is; a quote is only a character.
        w->searchGroup()->criteriaEdit()->setText(QStringLiteral("  "));
        click(w, "searchButton");
        QCOMPARE(shown(w->grid()), QStringList{QStringLiteral("Washer")});
        w->searchGroup()->criteriaEdit()->setText(QStringLiteral("O'Neil"));
        click(w, "searchButton");
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(shown(w->grid()).isEmpty());

        click(w, "clearButton");
        QVERIFY(w->searchGroup()->criteriaEdit()->text().isEmpty());
        QCOMPARE(shown(w->grid()), (QStringList{QStringLiteral("fridge freezer"), QStringLiteral("Washer")}));
    }
};

QTEST_MAIN(TestEquipment)
#include "tst_equipment.moc"
