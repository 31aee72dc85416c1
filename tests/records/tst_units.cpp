#include "data/Clock.h"
#include "data/Dataset.h"
#include "records/Agreements.h"
#include "records/ui/TFApart.h"
#include "records/ui/TFTOwn.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

const QDate Today(2024, 3, 15);

// Owner ZED (stored first) has Maple Court with three units and birch House with none; owner
// ACME has Zed Tower. Mary Jones waits for a unit; unit 103 has two recurring charges.
void addPortfolio(Database& db)
{
    for (const char* sql : {
             "insert into owners (oid, code, name) values (1, 'ZED', 'Zed Holdings')",
             "insert into owners (oid, code, name) values (2, 'ACME', 'Acme Estates')",
             "insert into buildings (buildid, oid, description, address, city, provstate, "
             "postalcode) "
             "values (1, 1, 'Maple Court', '12 Maple Road', 'Springfield', 'IL', '62701')",
             "insert into buildings (buildid, oid, description) values (2, 1, 'birch House')",
             "insert into buildings (buildid, oid, description) values (3, 2, 'Zed Tower')",
             "insert into tenants (tid, id, firstname, lastname) values (1, 'JS', 'John', 'Smith')",
             "insert into tenants (tid, id, firstname, lastname, address) values (2, 'MJ', 'Mary', "
             "'Jones', 'Old Street 1')",
             "insert into tenants (tid, id, company) values (3, 'AC', 'Acme Ltd')",
             "insert into tenants (tid, id, firstname, lastname) values (4, 'OB', 'Pat', "
             "'O''Brien')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent, status) values "
             "(10, 1, '101', 1, -1, 950, 'Normal')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent, status) values "
             "(11, 1, '102', -1, -1, 800, 'Renovated')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent, status) values "
             "(12, 1, '103', 3, 5, 700, 'Normal')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values "
             "(13, 3, 'T1', 4, -1, 500)",
             "insert into agreements (rid, apid, tid, rent) values (5, 12, 3, 700)",
             "insert into waitlist (wid, tid) values (1, 2)",
             "insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, "
             "nextdate, completed) values (1, 12, 3, 'Rent', 700, 3, '2024-01-01', '2025-01-01', "
             "'2024-04-01', 0)",
             "insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, "
             "nextdate, completed) values (2, 12, 3, 'rent', 15, 3, '2024-01-01', '2025-01-01', "
             "'2024-04-01', 0)",
             "set generator gen_apartments_id to 100",
             "set generator gen_agreements_id to 100",
             "set generator gen_recur_id to 100",
         })
        db.exec(QLatin1String(sql));
}

struct UnitsScreen
{
    explicit UnitsScreen(bool userControl = false) : f(userControl)
    {
        Clock::setFixed(Today);
        f.prepare(addPortfolio);
    }
    ~UnitsScreen() { Clock::reset(); }

    TFApart* open()
    {
        if (!f.main)
            f.start();
        f.main->command(QStringLiteral("apartments"))->trigger();
        QMdiSubWindow* w = f.main->openChildWindow(QStringLiteral("apartments"));
        return w ? qobject_cast<TFApart*>(w->widget()) : nullptr;
    }
    Database& db() { return f.state.db; }
    int value(const QString& sql) { return db().scalar(sql).toInt(); }
    QString text(const QString& sql) { return db().scalar(sql).toString(); }

    ShellFixture f;
};

QString cell(QTableView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

QStringList column(QTableView* view, int c)
{
    QStringList values;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        values << cell(view, r, c);
    return values;
}

QStringList treeTexts(QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// A tenant picker step: types into the search box and takes the first row.
DialogScript::Step pickTenant(const QString& search)
{
    return [search](QDialog* d) {
        type(d, "searchEdit", search);
        click(d, "okButton");
    };
}

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT

private slots:
    void windowShowsTreeUnitsAndRecurringCharges()
    {
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w);
        QVERIFY(u.f.main->openChildWindow(QStringLiteral("apartments"))->isMaximized());

        QTreeWidget* tree = w->tree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("Owners"));
        QCOMPARE(treeTexts(root), (QStringList{"ACME", "ZED"}));
        // Sorted by text, letter case aside.
        QCOMPARE(treeTexts(root->child(1)), (QStringList{"birch House", "Maple Court"}));
        // The first stored owner's first building is listed.
        QCOMPARE(w->listedBuilding(), 1);
        QCOMPARE(column(w->unitList(), 0), (QStringList{"101", "102", "103"}));
        QCOMPARE(cell(w->unitList(), 0, 1), QStringLiteral("John Smith"));
        QCOMPARE(cell(w->unitList(), 1, 1), QString());
        QCOMPARE(cell(w->unitList(), 2, 2), QStringLiteral("Acme Ltd"));
        QCOMPARE(cell(w->unitList(), 0, 8), QStringLiteral("950.00"));
        u.db().exec(QStringLiteral("update tenants set lastname = null where tid = 1"));
        w->becameActive();
        QCOMPARE(cell(w->unitList(), 0, 1), QStringLiteral("John"));

        // The recurring charges follow the selected unit.
        QVERIFY(w->selectUnit(12));
        QCOMPARE(column(w->recurList(), 0), (QStringList{"Rent", "rent"}));
        QCOMPARE(cell(w->recurList(), 0, 2), QStringLiteral("Monthly"));
        QCOMPARE(cell(w->recurList(), 0, 6), QStringLiteral("No"));
        QVERIFY(w->selectUnit(10));
        QCOMPARE(w->recurList()->model()->rowCount(), 0);

        QVERIFY(w->selectBuilding(3));
        QCOMPARE(column(w->unitList(), 0), QStringList{"T1"});
        QCOMPARE(u.f.state.tables().Buildings->asInt(QStringLiteral("BUILDID")), 3);

        // A building stored elsewhere shows up when the window is active again.
        Dataset& buildings = *u.f.state.tables().Buildings;
        buildings.append();
        buildings.setValue(QStringLiteral("BUILDID"), 4);
        buildings.setValue(QStringLiteral("DESCRIPTION"), QStringLiteral("Aspen Lodge"));
        buildings.post();
        QVERIFY(u.f.state.BuildingsChanged);
        w->becameActive();
        QVERIFY(!u.f.state.BuildingsChanged);
        QCOMPARE(treeTexts(tree->topLevelItem(0)->child(0)),
                 (QStringList{"Aspen Lodge", "Zed Tower"}));

        for (const char* disabled : {"printButton", "printAgreementButton"})
            QVERIFY(!child<QPushButton>(w, disabled)->isEnabled());

        // Opening it again brings the same window to the front.
        QCOMPARE(u.open(), w);
    }

    void refusedWithoutTheRight()
    {
        UnitsScreen u(true);
        u.f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, npassword, apartments) values "
                                   "(2, 'CLERK', '', 0)"));
        });
        u.f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        QVERIFY(!u.open());
        QCOMPARE(u.f.messages.texts(), QStringList{TMain::NoRights});
        QCOMPARE(u.f.messages.shown.value(0).icon, Message::Information);
    }

    void search_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("suites");
        QTest::newRow("status, any case") << "Status"
                                          << " NORM " << QStringList{"101", "103"};
        QTest::newRow("tenant last name") << "Lastname"
                                          << "mit" << QStringList{"101"};
        QTest::newRow("company") << "Company"
                                 << "acme" << QStringList{"103"};
        QTest::newRow("a quote") << "Lastname"
                                 << "o'b" << QStringList{};
        QTest::newRow("blank does nothing") << "Suite"
                                            << "   " << QStringList{"101", "102", "103"};
        // LIKE's wildcards typed into the criteria match only themselves.
        QTest::newRow("percent sign") << "Suite"
                                      << "%" << QStringList{};
        QTest::newRow("underscore") << "Suite"
                                    << "1_1" << QStringList{};
    }
    void search()
    {
        QFETCH(QString, field);
        QFETCH(QString, criteria);
        QFETCH(QStringList, suites);
        UnitsScreen u;
        TFApart* w = u.open();
        auto* fields = child<QComboBox>(w, "fieldBox");
        fields->setCurrentIndex(fields->findText(field));
        type(w, "criteriaEdit", criteria);
        click(w, "searchButton");
        QCOMPARE(column(w->unitList(), 0), suites);
        QVERIFY(u.f.messages.shown.isEmpty());
        click(w, "clearButton");
        QCOMPARE(w->unitCount(), 3);
        QCOMPARE(child<QLineEdit>(w, "criteriaEdit")->text(), QString());
    }

    void newUnitPlacesAWaitingTenant()
    {
        UnitsScreen u;
        TFApart* w = u.open();
        u.f.dialogs.then([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Apartments"));
            type(d, "suiteEdit", QStringLiteral("104"));
            type(d, "rentEdit", QStringLiteral("1,025.50"));
            type(d, "floorEdit", QStringLiteral("2"));
            type(d, "heatingTypeEdit", QStringLiteral("Gas forced air"));
            child<QComboBox>(d, "statusBox")->setEditText(QStringLiteral("Ready soon"));
            child<QCheckBox>(d, "balconyBox")->setChecked(true);
            click(d, "waitListButton");
            QCOMPARE(child<QLineEdit>(d, "lastNameEdit")->text(), QStringLiteral("Jones"));
            click(d, "okButton");
        });
        u.f.dialogs.then([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Tenants on Waitlist"));
            click(d, "okButton");
        });
        click(w, "newButton");
        QVERIFY(u.f.dialogs.done());
        QVERIFY(u.f.messages.shown.isEmpty());

        QSqlQuery q = u.db().select(QStringLiteral(
            "select apid, bid, tid, agreeid, rent, floor, heatingtype, status, balcony, washer "
            "from apartments where suite='104'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 101);
        QCOMPARE(q.value(1).toInt(), 1);
        QCOMPARE(q.value(2).toInt(), 2);
        QCOMPARE(q.value(3).toInt(), -1);
        QCOMPARE(Money::fromVariant(q.value(4)).toSql(), QStringLiteral("1025.50"));
        QCOMPARE(q.value(5).toInt(), 2);
        QCOMPARE(q.value(6).toString(), QStringLiteral("Gas forced air"));
        QCOMPARE(q.value(7).toString(), QStringLiteral("Ready soon"));
        QCOMPARE(q.value(8).toInt(), 1);
        QCOMPARE(q.value(9).toInt(), 0);
        // Placed, she leaves the wait list and lives at the building's address.
        QCOMPARE(u.value(QStringLiteral("select count(*) from waitlist")), 0);
        QCOMPARE(u.f.state.tables().WaitList->rowCount(), 0);
        QCOMPARE(u.text(QStringLiteral("select address||'/'||city||'/'||state||'/'||postalcode "
                                       "from tenants where tid=2")),
                 QStringLiteral("12 Maple Road/Springfield/IL/62701"));
        // The new unit is listed and current; the units table follows its building again.
        QCOMPARE(cell(w->unitList(), w->unitList()->currentIndex().row(), 0),
                 QStringLiteral("104"));
        Dataset& units = *u.f.state.tables().Apartments;
        QVERIFY(units.linkActive());
        QCOMPARE(units.asInt(QStringLiteral("APID")), 101);
    }

    void unitDialogChecks_data()
    {
        QTest::addColumn<QString>("suite");
        QTest::addColumn<QString>("rent");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank suite") << "  "
                                     << "900"
                                     << "Suite # is blank!";
        QTest::newRow("blank rent") << "105"
                                    << " "
                                    << "The rent field is blank!";
    }
    void unitDialogChecks()
    {
        QFETCH(QString, suite);
        QFETCH(QString, rent);
        QFETCH(QString, message);
        UnitsScreen u;
        TFApart* w = u.open();
        u.f.dialogs.then([&](QDialog* d) {
            type(d, "suiteEdit", suite);
            type(d, "rentEdit", rent);
            click(d, "okButton");
            QVERIFY(d->isVisible()); // stays open
            click(d, "cancelButton");
        });
        click(w, "newButton");
        QCOMPARE(u.f.messages.texts(), QStringList{message});
        QCOMPARE(u.f.messages.shown.value(0).icon, Message::Warning);
        QCOMPARE(u.value(QStringLiteral("select count(*) from apartments")), 4);
        QVERIFY(u.f.state.tables().Apartments->linkActive());
    }

    void choosingATenant_data()
    {
        QTest::addColumn<int>("apId");
        QTest::addColumn<QString>("tenant");
        QTest::addColumn<int>("tid");
        QTest::addColumn<bool>("warned");
        QTest::newRow("lives in another unit") << 11 << "JS" << 1 << true;
        QTest::newRow("already lives here") << 10 << "JS" << 1 << false;
        QTest::newRow("lives in another building") << 11 << "OB" << 4 << true;
        QTest::newRow("lives nowhere") << 11 << "MJ" << 2 << false;
    }
    void choosingATenant()
    {
        QFETCH(int, apId);
        QFETCH(QString, tenant);
        QFETCH(int, tid);
        QFETCH(bool, warned);
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w->selectUnit(apId));
        u.f.dialogs.then([](QDialog* d) {
            click(d, "tenantSearchButton");
            click(d, "okButton");
        });
        u.f.dialogs.then(pickTenant(tenant));
        click(w, "editButton");
        QCOMPARE(u.f.messages.texts(),
                 warned ? QStringList{"This tenant has already been assigned to another apartment!"}
                        : QStringList{});
        QCOMPARE(u.value(QStringLiteral("select tid from apartments where apid=%1").arg(apId)),
                 tid);
    }

    void agreementThroughTheDialog()
    {
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w->selectUnit(10));

        // Cancel writes nothing.
        u.f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); });
        click(w, "newAgreementButton");
        QCOMPARE(u.value(QStringLiteral("select count(*) from agreements")), 1);
        QCOMPARE(u.value(QStringLiteral("select count(*) from recur")), 2);
        QCOMPARE(u.value(QStringLiteral("select count(*) from charges")), 0);
        QCOMPARE(u.value(QStringLiteral("select agreeid from apartments where apid=10")), -1);

        // OK: a monthly lease whose first payment was two months ago.
        u.f.dialogs.then([](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "suiteEdit")->text(), QStringLiteral("101"));
            QCOMPARE(child<QLineEdit>(d, "lastNameEdit")->text(), QStringLiteral("Smith"));
            QCOMPARE(child<QLineEdit>(d, "rentEdit")->text(), QStringLiteral("950.00"));
            auto* recurs = child<QComboBox>(d, "recursBox");
            recurs->setCurrentIndex(recurs->findText(QStringLiteral("Monthly")));
            child<DateField>(d, "leaseStartEdit")->setDate(Today.addMonths(-2));
            child<DateField>(d, "leaseEndEdit")->setDate(Today.addMonths(10));
            child<DateField>(d, "moveInEdit")->setDate(Today.addMonths(-2));
            child<DateField>(d, "moveOutEdit")->setDate(Today.addMonths(10));
            // Outside the lease first: refused, the dialog stays open.
            child<DateField>(d, "firstPaymentEdit")->setDate(Today.addMonths(11));
            click(d, "okButton");
            QVERIFY(d->isVisible());
            child<DateField>(d, "firstPaymentEdit")->setDate(Today.addMonths(-2));
            click(d, "okButton");
        });
        click(w, "newAgreementButton");
        QCOMPARE(u.f.messages.texts(), QStringList{"The first payment date is invalid!"});
        const int rid = u.value(QStringLiteral("select agreeid from apartments where apid=10"));
        QVERIFY(rid > 0);
        QCOMPARE(
            u.value(QStringLiteral("select count(*) from charges where tid=1 and type='Rent'")), 3);
        QCOMPARE(column(w->recurList(), 0), QStringList{"Rent"});
        QCOMPARE(u.f.state.tables().Apartments->asInt(QStringLiteral("AGREEID")), rid);

        // An existing agreement is shown for viewing only.
        u.f.messages.clear();
        bool viewOnly = false;
        QStringList editable;
        u.f.dialogs.then([&](QDialog* d) {
            viewOnly = !child<QPushButton>(d, "okButton")->isEnabled() &&
                       !child<DateField>(d, "firstPaymentEdit")->isEnabled();
            QCOMPARE(child<DateField>(d, "leaseEndEdit")->date(), Today.addMonths(10));
            // Nothing can be typed or chosen in it.
            for (QLineEdit* e : d->findChildren<QLineEdit*>())
                if (e->isEnabled() && !e->isReadOnly())
                    editable << e->parentWidget()->objectName() + "/" + e->objectName();
            for (QComboBox* c : d->findChildren<QComboBox*>())
                if (c->isEnabled())
                    editable << c->objectName();
            if (!child<QPlainTextEdit>(d, "termsEdit")->isReadOnly())
                editable << QStringLiteral("termsEdit");
            click(d, "cancelButton");
        });
        click(w, "newAgreementButton");
        QVERIFY(viewOnly);
        QCOMPARE(editable, QStringList());
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"There is an existing rental agreement! You can't modify it. You can "
                             "only view it. However, you can delete it and replace it with a new "
                             "one."});

        // Deleting asks, removes the recurring charges and keeps the charges.
        u.f.messages.clear();
        u.f.messages.answers.enqueue(Message::Yes);
        click(w, "deleteAgreementButton");
        QCOMPARE(u.f.messages.shown.value(0).icon, Message::Warning);
        QCOMPARE(u.value(QStringLiteral("select agreeid from apartments where apid=10")), -1);
        QCOMPARE(u.value(QStringLiteral("select count(*) from recur where tid=1")), 0);
        QCOMPARE(u.value(QStringLiteral("select count(*) from charges where tid=1")), 3);
        QCOMPARE(w->recurList()->model()->rowCount(), 0);
        u.f.messages.clear();
        click(w, "deleteAgreementButton");
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"No rental agreement exists for this apartment"});
        QVERIFY(u.f.dialogs.done());
    }

    // Cancel leaves the unit, the tenants, their addresses and the wait list as they were,
    // also after another tenant was chosen in the dialog.
    void cancelInTheUnitDialogChangesNothing()
    {
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w->selectUnit(10));
        const QString state = QStringLiteral(
            "select list(tid||':'||coalesce(address,'-')||':'||coalesce(city,'-'), ',') from "
            "(select * from tenants order by tid)");
        const QString unit =
            QStringLiteral("select suite||'/'||tid||'/'||rent||'/'||coalesce(floor,-99) from "
                           "apartments where apid=10");
        const QString tenantsBefore = u.text(state);
        const QString unitBefore = u.text(unit);
        u.f.dialogs.then([](QDialog* d) {
            type(d, "suiteEdit", QStringLiteral("999"));
            type(d, "floorEdit", QStringLiteral("7"));
            click(d, "waitListButton");
            QCOMPARE(child<QLineEdit>(d, "lastNameEdit")->text(), QStringLiteral("Jones"));
            click(d, "cancelButton");
        });
        u.f.dialogs.then([](QDialog* d) { click(d, "okButton"); }); // Mary from the wait list
        click(w, "editButton");
        QVERIFY(u.f.dialogs.done());
        QCOMPARE(u.text(unit), unitBefore);
        QCOMPARE(u.text(state), tenantsBefore);
        QCOMPARE(u.value(QStringLiteral("select count(*) from waitlist where tid=2")), 1);
        QVERIFY(!u.f.state.tables().Apartments->isEditing());
        QCOMPARE(cell(w->unitList(), w->unitList()->currentIndex().row(), 0),
                 QStringLiteral("101"));
    }

    // The tree shows owners stored or deleted in the owners window once the units window is
    // active again, and the chosen building stays chosen.
    void treeFollowsOwnersStoredAndDeletedElsewhere()
    {
        UnitsScreen u;
        u.f.prepare(
            [](Database& db) { db.exec(QStringLiteral("set generator gen_owners_id to 100")); });
        TFApart* w = u.open();
        u.f.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(u.f.main.get()));
        QVERIFY(w->selectBuilding(3));
        const auto owners = [&] {
            u.f.main->command(QStringLiteral("owners"))->trigger();
            return qobject_cast<TFTOwn*>(
                u.f.main->openChildWindow(QStringLiteral("owners"))->widget());
        };
        const auto treeOwners = [&] {
            u.f.main->command(QStringLiteral("apartments"))->trigger();
            return treeTexts(w->tree()->topLevelItem(0));
        };

        u.f.dialogs.then([](QDialog* d) {
            type(d, "codeEdit", QStringLiteral("NEWCO"));
            click(d, "okButton");
        });
        owners()->newOwner();
        QCOMPARE(treeOwners(), (QStringList{"ACME", "NEWCO", "ZED"}));
        QCOMPARE(w->listedBuilding(), 3);

        TFTOwn* list = owners();
        QVERIFY(u.f.state.tables().Owners->locate(QStringLiteral("CODE"), QStringLiteral("NEWCO")));
        u.f.messages.answers.enqueue(Message::Yes);
        list->deleteOwner();
        QCOMPARE(treeOwners(), (QStringList{"ACME", "ZED"}));
        QCOMPARE(w->listedBuilding(), 3);
        QVERIFY(u.f.dialogs.done());
    }

    void aClearedTenantKeepsTheAgreement()
    {
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w->selectUnit(12));
        u.f.dialogs.then([](QDialog* d) {
            click(d, "clearTenantButton");
            QCOMPARE(child<QLineEdit>(d, "companyEdit")->text(), QString());
            click(d, "okButton");
        });
        click(w, "editButton");
        QCOMPARE(u.value(QStringLiteral("select tid from apartments where apid=12")), -1);
        QCOMPARE(u.value(QStringLiteral("select agreeid from apartments where apid=12")), 5);

        click(w, "newAgreementButton"); // no dialog is scripted: none may open
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"No tenant has been assigned to this apartment!"});
        QCOMPARE(u.f.messages.shown.value(0).icon, Message::Warning);
    }

    void recurringChargesOfAUnit()
    {
        UnitsScreen u;
        TFApart* w = u.open();

        // Without an agreement there is nothing to add to.
        QVERIFY(w->selectUnit(10));
        click(w, "addRecurButton");
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"No rental agreement exists for this apartment"});
        QCOMPARE(u.f.messages.shown.value(0).caption, Titles::Program);

        // Added three months back: four charges at once; a wrong range is refused first.
        u.f.messages.clear();
        QVERIFY(w->selectUnit(12));
        u.f.dialogs.then([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Recurring charges"));
            QVERIFY(!child<QPushButton>(d, "newTypeButton")->isEnabled());
            QCOMPARE(child<DateField>(d, "startDateEdit")->date(), Today);
            QCOMPARE(child<DateField>(d, "endDateEdit")->date(), Today);
            auto* types = child<QComboBox>(d, "typeBox");
            types->setCurrentIndex(types->findText(QStringLiteral("Parking")));
            auto* freq = child<QComboBox>(d, "frequencyBox");
            freq->setCurrentIndex(freq->findText(QStringLiteral("Monthly")));
            type(d, "amountEdit", QStringLiteral("40"));
            child<DateField>(d, "startDateEdit")->setDate(Today.addMonths(-3));
            child<DateField>(d, "endDateEdit")->setDate(Today.addMonths(-4));
            click(d, "okButton");
            QVERIFY(d->isVisible());
            child<DateField>(d, "endDateEdit")->setDate(Today.addYears(1));
            click(d, "okButton");
        });
        click(w, "addRecurButton");
        QCOMPARE(u.f.messages.texts(), QStringList{"Invalid date range!"});
        QCOMPARE(u.value(QStringLiteral("select count(*) from charges where type='Parking' and "
                                        "tid=3 and apid=12")),
                 4);
        QCOMPARE(column(w->recurList(), 0), (QStringList{"Rent", "rent", "Parking"}));

        // Editing keeps the next date.
        const QString next =
            u.text(QStringLiteral("select nextdate from recur where type='Parking'"));
        u.f.dialogs.then([](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "amountEdit")->text(), QStringLiteral("40.00"));
            type(d, "amountEdit", QStringLiteral("45"));
            click(d, "okButton");
        });
        click(w, "editRecurButton");
        QCOMPARE(
            u.text(QStringLiteral("select amount||'/'||nextdate from recur where type='Parking'")),
            QStringLiteral("45.00/") + next);

        // "Rent" goes only with the agreement; "rent" may go.
        u.f.messages.clear();
        w->recurList()->selectRow(0);
        click(w, "deleteRecurButton");
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"To delete the rent delete the rental agreement!"});
        QCOMPARE(u.value(QStringLiteral("select count(*) from recur where recid=1")), 1);
        u.f.messages.clear();
        w->recurList()->selectRow(1);
        u.f.messages.answers.enqueue(Message::Yes);
        click(w, "deleteRecurButton");
        QCOMPARE(u.f.messages.texts(),
                 QStringList{"Are you sure you want to delete the selected item!"});
        QCOMPARE(u.f.messages.shown.value(0).icon, Message::Question);
        QCOMPARE(u.value(QStringLiteral("select count(*) from recur where recid=2")), 0);
        QCOMPARE(column(w->recurList(), 0), (QStringList{"Rent", "Parking"}));

        // No unit shown (a building without units, a search that finds none): the panel
        // is empty and nothing in it can act on the unit shown before.
        u.f.messages.clear();
        const auto panelOff = [w] {
            QCOMPARE(w->recurList()->model()->rowCount(), 0);
            for (const char* b : {"addRecurButton", "editRecurButton", "deleteRecurButton"})
                QVERIFY(!child<QPushButton>(w, b)->isEnabled());
        };
        QVERIFY(w->selectBuilding(2));
        panelOff();
        QVERIFY(w->selectBuilding(1));
        QVERIFY(w->selectUnit(12));
        QCOMPARE(w->recurList()->model()->rowCount(), 2);
        QVERIFY(child<QPushButton>(w, "addRecurButton")->isEnabled());
        type(w, "criteriaEdit", QStringLiteral("no such suite"));
        click(w, "searchButton");
        QCOMPARE(w->unitCount(), 0);
        panelOff();
        QVERIFY(u.f.messages.shown.isEmpty());
        QVERIFY(u.f.dialogs.done());
    }

    // Amount fields read the user's locale: a German user types 1.234,50; an English user's
    // 12,50 is refused with the reason instead of being stored as 1,250.00.
    void amountsAreTypedInTheUserLocale()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        UnitsScreen u;
        TFApart* w = u.open();
        QVERIFY(w->selectUnit(12));
        w->recurList()->selectRow(0);
        QString shown;
        u.f.dialogs.then([&](QDialog* d) {
            auto* amount = child<QLineEdit>(d, "amountEdit");
            shown = amount->text();
            amount->clear();
            QTest::keyClicks(amount, QStringLiteral("1.234,50"));
            click(d, "okButton");
        });
        click(w, "editRecurButton");
        QCOMPARE(shown, QStringLiteral("700,00"));
        QCOMPARE(Money::fromVariant(u.db().scalar(QStringLiteral("select amount from recur where recid=1"))),
                 Money::fromCents(123450));
        QVERIFY(u.f.messages.shown.isEmpty());

        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        bool keptOpen = false;
        u.f.dialogs.then([&](QDialog* d) {
            type(d, "amountEdit", QStringLiteral("12,50"));
            click(d, "okButton");
            keptOpen = d->isVisible();
            type(d, "amountEdit", QStringLiteral("12.50"));
            click(d, "okButton");
        });
        click(w, "editRecurButton");
        QLocale::setDefault(previous);
        QVERIFY(keptOpen);
        QCOMPARE(u.f.messages.shown.size(), 1);
        QVERIFY2(u.f.messages.texts().value(0).startsWith(QLatin1String("Amount: \"12,50\"")),
                 qPrintable(u.f.messages.texts().value(0)));
        QCOMPARE(Money::fromVariant(u.db().scalar(QStringLiteral("select amount from recur where recid=1"))),
                 Money::fromCents(1250));
    }

    void leaseTermsIgnoreLetterCase()
    {
        UnitsScreen u;
        u.f.start();
        const int before = u.value(QStringLiteral("select count(*) from leases"));
        u.f.dialogs.then([&](QDialog* d) {
            type(d, "nameEdit", QStringLiteral("1 YEAR"));
            click(d, "insertButton");
            QCOMPARE(child<QLineEdit>(d, "nameEdit")->text(), QString());
            QCOMPARE(u.value(QStringLiteral("select count(*) from leases")), before);
            type(d, "nameEdit", QStringLiteral(" Seasonal "));
            click(d, "insertButton");
            auto* list = child<QTableView>(d, "list");
            QCOMPARE(list->model()->rowCount(), before + 1);
            QCOMPARE(cell(list, before, 0), QStringLiteral("Seasonal"));
            // Delete goes at once, without a question.
            list->selectRow(0);
            click(d, "deleteButton");
            click(d, "closeButton");
        });
        u.f.main->command(QStringLiteral("leaseTerms"))->trigger();
        QVERIFY(u.f.dialogs.done());
        QVERIFY(u.f.messages.shown.isEmpty());
        QCOMPARE(u.value(QStringLiteral("select count(*) from leases")), before);
        QCOMPARE(u.value(QStringLiteral("select count(*) from leases where name='Seasonal'")), 1);
    }
};

QTEST_MAIN(TestUnits)
#include "tst_units.moc"
