#include "data/Dataset.h"
#include "shell/AppState.h"
#include "shell/SharedTables.h"
#include "support/TestDb.h"

#include <QLocale>
#include <QSettings>
#include <QTest>

namespace {

// The program state on a private copy of the database, with the shared tables open.
struct Shared
{
    TestDb t;
    AppState state;
    explicit Shared(const std::function<void(Database&)>& fill = {})
    {
        if (fill)
            fill(t.db());
        t.db().Disconnect();
        if (!state.db.Connect(t.path()))
            qFatal("cannot connect");
        QString error;
        if (!state.OpenSharedTables(&error))
            qFatal("%s", qPrintable(error));
    }
    SharedTables& tables() { return state.tables(); }
};

} // namespace

class TestSharedTables : public QObject
{
    Q_OBJECT
private slots:
    void searchFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("contains, any case") << "SMITH" << QStringList{"Smithers", "Blacksmith"};
        QTest::newRow("typed blank counts") << "ers " << QStringList();
        QTest::newRow("inside") << "ack" << QStringList{"Blacksmith"};
    }
    void searchFilter()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        Shared s([](Database& db) {
            db.exec("insert into tenants (tid, lastname) values (1, 'Smithers')");
            db.exec("insert into tenants (tid, lastname) values (2, 'Blacksmith')");
            db.exec("insert into tenants (tid, lastname) values (3, null)");
        });
        Dataset* tenants = s.tables().Tenants;
        s.state.SearchField = QStringLiteral("LASTNAME");
        s.state.SearchText = text;
        tenants->setFiltered(true);
        QStringList names;
        for (int i = 0; i < tenants->rowCount(); ++i)
            names << tenants->valueAt(i, "LASTNAME").toString();
        QCOMPARE(names, shown);
        tenants->setFiltered(false);
        QCOMPARE(tenants->rowCount(), 3);
    }

    void displayColumns()
    {
        Shared s([](Database& db) {
            db.exec("insert into owners (oid, code) values (1, 'OWN')");
            db.exec("insert into buildings (buildid, oid, description) values (1, 1, 'Elm Court')");
            db.exec("insert into tenants (tid, firstname, lastname, company) values (1, '', '', 'Acme Ltd')");
            db.exec("insert into tenants (tid, firstname, lastname) values (2, 'Ann', null)");
            db.exec("insert into apartments (apid, bid, suite, tid, agreeid) values (1, 1, '1A', 1, 1)");
            db.exec("insert into apartments (apid, bid, suite, tid, agreeid) values (2, 1, '1B', 2, 2)");
            db.exec("insert into schedules (schid, agreeid, tdate, paid) values (1, 1, '2008-03-01', 1)");
            db.exec("insert into schedules (schid, agreeid, tdate, paid) values (2, 1, '2008-04-01', 0)");
            db.exec("insert into recur (recid, apid, completed) values (1, 1, 1)");
            db.exec("insert into recur (recid, apid, completed) values (2, 1, null)");
        });
        SharedTables& t = s.tables();
        QCOMPARE(t.Buildings->asText("OwnerCode"), QStringLiteral("OWN"));
        QCOMPARE(t.Apartments->rowCount(), 2);
        QCOMPARE(t.Apartments->valueAt(0, "myTenant").toString(), QStringLiteral("Acme Ltd"));
        QCOMPARE(t.Apartments->valueAt(1, "myTenant").toString(), QStringLiteral("Ann "));
        QCOMPARE(t.Apartments->valueAt(0, "Buildings").toString(), QStringLiteral("Elm Court"));

        t.Apartments->first();
        QCOMPARE(t.Schedules->rowCount(), 2);
        const QString date = QLocale().toString(QDate(2008, 3, 1), QLocale::ShortFormat);
        QCOMPARE(t.Schedules->valueAt(0, "Display").toString(), date + QStringLiteral("*******PAID"));
        QVERIFY(!t.Schedules->valueAt(1, "Display").toString().contains(QLatin1String("PAID")));
        QCOMPARE(t.Recurs->valueAt(0, "thecompleted").toString(), QStringLiteral("Yes"));
        QCOMPARE(t.Recurs->valueAt(1, "thecompleted").toString(), QStringLiteral("No"));

        QVERIFY(t.Categories->locate("NAME", QStringLiteral("Rent")));
        QCOMPARE(t.Categories->asText("thetype"), QStringLiteral("Income"));
        QVERIFY(t.Categories->locate("NAME", QStringLiteral("Repairs")));
        QCOMPARE(t.Categories->asText("thetype"), QStringLiteral("Expense"));
    }

    void buildingsChangedAfterPostAndDelete()
    {
        Shared s([](Database& db) { db.exec("insert into owners (oid, code) values (1, 'OWN')"); });
        Dataset* b = s.tables().Buildings;
        QVERIFY(!s.state.BuildingsChanged);
        b->append();
        b->setValue("BUILDID", 5);
        b->setValue("DESCRIPTION", QStringLiteral("New"));
        b->post();
        QVERIFY(s.state.BuildingsChanged);
        s.state.BuildingsChanged = false;
        b->remove();
        QVERIFY(s.state.BuildingsChanged);
    }

    void chargesAndTransactionsFilters()
    {
        Shared s([](Database& db) {
            db.exec("insert into apartments (apid, bid, suite, tid, agreeid) values (1, null, '1A', 7, 1)");
            db.exec("insert into charges (chid, tid, apid, amt) values (1, 7, 1, 10)");
            db.exec("insert into charges (chid, tid, apid, amt) values (2, 7, 1, 0)");
            db.exec("insert into charges (chid, tid, apid, amt) values (3, 8, 1, 10)");
            db.exec("insert into trans (transid, tid, apid) values (1, 7, 1)");
            db.exec("insert into trans (transid, tid, apid) values (2, 8, 1)");
        });
        SharedTables& t = s.tables();
        t.Apartments->releaseLink();
        t.Apartments->first();
        t.Charges->setFiltered(true);
        QCOMPARE(t.Charges->rowCount(), 1);
        QCOMPARE(t.Charges->asInt("CHID"), 1);
        s.state.TransFilterMode = 1;
        t.Trans->setFiltered(true);
        QCOMPARE(t.Trans->rowCount(), 1);
        s.state.TransFilterMode = 2;
        s.state.SearchText = QStringLiteral("8");
        t.Trans->refilter();
        QCOMPARE(t.Trans->rowCount(), 1);
        QCOMPARE(t.Trans->asInt("TRANSID"), 2);
    }

    void settingsReadWhatIsPresent_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value pairs
        QTest::addColumn<QList<bool>>("read");   // PasswordChecking, STCB, printrec, printprev
        QTest::newRow("nothing stored") << QStringList() << QList<bool>{true, true, true, true};
        QTest::newRow("all off") << QStringList{"PasswordChecking=0", "STCB=0", "printrec=0", "printprev=0"}
                                 << QList<bool>{false, false, false, false};
        QTest::newRow("printprev without printrec is ignored") << QStringList{"printprev=0"}
                                                               << QList<bool>{true, true, true, true};
        QTest::newRow("any non-zero is yes") << QStringList{"PasswordChecking=5", "printrec=0"}
                                             << QList<bool>{true, true, false, true};
    }
    void settingsReadWhatIsPresent()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<bool>, read);
        QTemporaryDir dir;
        QSettings store(dir.filePath("k.ini"), QSettings::IniFormat);
        for (const QString& pair : stored)
            store.setValue("2008/data/" + pair.section('=', 0, 0), pair.section('=', 1).toInt());
        Settings s;
        s.read(store);
        QCOMPARE((QList<bool>{s.PasswordChecking, s.STCB, s.printrec, s.printprev}), read);
        s.write(store);
        QCOMPARE(store.value("2008/data/printprev").toInt(), read.at(3) ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestSharedTables)
#include "tst_sharedtables.moc"
