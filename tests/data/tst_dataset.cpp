#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "support/TestDb.h"

#include <QItemSelectionModel>
#include <QLocale>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <functional>

namespace {

// Two owners; owner 1 has buildings 10 and 11, owner 2 building 20; units 100 and 101 are in
// building 10, unit 200 in building 20. Buildings follow Owners and Apartments follow Buildings.
struct Fixture
{
    TestDb t;
    Dataset owners{t.db(), QStringLiteral("OWNERS"), QStringLiteral("OID")};
    Dataset buildings{t.db(), QStringLiteral("BUILDINGS"), QStringLiteral("BUILDID")};
    Dataset apartments{t.db(), QStringLiteral("APARTMENTS"), QStringLiteral("APID")};

    Fixture()
    {
        Database& db = t.db();
        db.exec("insert into OWNERS (OID, CODE, CLOSED) values (1, 'A', null)");
        db.exec("insert into OWNERS (OID, CODE, CLOSED) values (2, 'B', 1)");
        db.exec("insert into BUILDINGS (BUILDID, OID, DESCRIPTION, MARKETVAL, PURCHASEDATE) "
                "values (10, 1, 'North', 1234.56, '2008-03-01')");
        db.exec("insert into BUILDINGS (BUILDID, OID, DESCRIPTION) values (11, 1, 'East')");
        db.exec("insert into BUILDINGS (BUILDID, OID, DESCRIPTION) values (20, 2, 'South')");
        db.exec("insert into APARTMENTS (APID, BID, SUITE) values (100, 10, '1A')");
        db.exec("insert into APARTMENTS (APID, BID, SUITE) values (101, 10, '1B')");
        db.exec("insert into APARTMENTS (APID, BID, SUITE) values (200, 20, '2A')");
        owners.open();
        buildings.open();
        apartments.open();
        buildings.setMasterLink(&owners, "OID", "OID");
        apartments.setMasterLink(&buildings, "BID", "BUILDID");
    }
};

QList<int> keys(const Dataset& ds, const QString& field)
{
    QList<int> out;
    for (int i = 0; i < ds.rowCount(); ++i)
        out << ds.valueAt(i, field).toInt();
    return out;
}

int currentKey(const Dataset& ds, const QString& field)
{
    return ds.currentIndex() < 0 ? -1 : ds.asInt(field);
}

QVariant dbValue(Database& db, const QString& sql)
{
    return db.scalar(sql);
}

// CHARGES with `rows` rows for 30 tenants: CHID 1.., TID 1 to 30 in turn, a FORDATE that repeats
// and is NULL on every 97th row, AMT 0 to 4 in turn for each tenant (AMT 0 is paid).
void fillCharges(Database& db, int rows)
{
    db.exec(QStringLiteral(
                "execute block as declare i integer = 0; begin "
                "while (i < %1) do begin "
                "insert into charges (chid, tid, apid, type, fordate, amt) values (:i + 1, "
                "mod(:i, 30) + 1, mod(:i, 30) + 1, 'Rent', case when mod(:i, 97) = 0 then null "
                "else dateadd(mod(:i * 7, 400) day to date '2020-01-01') end, mod(:i / 30, 5)); "
                "i = i + 1; end end")
                .arg(rows));
}

QList<int> column(Database& db, const QString& sql)
{
    QList<int> out;
    QSqlQuery q = db.select(sql);
    while (q.next())
        out << q.value(0).toInt();
    return out;
}

} // namespace

using Step = std::function<void(Fixture&)>;
Q_DECLARE_METATYPE(Step)

class TestDataset : public QObject
{
    Q_OBJECT

private slots:
    void links_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QList<int>>("buildings");
        QTest::addColumn<int>("currentBuilding");
        QTest::addColumn<QList<int>>("apartments");
        QTest::addColumn<bool>("linkActive");

        QTest::newRow("first owner")
            << Step([](Fixture&) {}) << QList<int>{10, 11} << 10 << QList<int>{100, 101} << true;
        QTest::newRow("master moves") << Step([](Fixture& f) { f.owners.next(); }) << QList<int>{20}
                                      << 20 << QList<int>{200} << true;
        QTest::newRow("detail moves") << Step([](Fixture& f) { f.buildings.next(); })
                                      << QList<int>{10, 11} << 11 << QList<int>{} << true;
        QTest::newRow("released") << Step([](Fixture& f) { f.buildings.releaseLink(); })
                                  << QList<int>{10, 11, 20} << 10 << QList<int>{100, 101} << false;
        QTest::newRow("master moves while released") << Step([](Fixture& f) {
            f.buildings.releaseLink();
            f.owners.next();
        }) << QList<int>{10, 11, 20} << 10 << QList<int>{100, 101}
                                                     << false;
        QTest::newRow("restored with the master's current value") << Step([](Fixture& f) {
            f.buildings.releaseLink();
            f.owners.next();
            f.buildings.restoreLink();
        }) << QList<int>{20} << 20 << QList<int>{200} << true;
        QTest::newRow("restored keeps the current row when shown") << Step([](Fixture& f) {
            f.buildings.releaseLink();
            f.buildings.locate("BUILDID", 11);
            f.buildings.restoreLink();
        }) << QList<int>{10, 11} << 11 << QList<int>{} << true;
        QTest::newRow("master refreshed")
            << Step([](Fixture& f) { f.owners.refresh(); }) << QList<int>{10, 11} << 10
            << QList<int>{100, 101} << true;
        QTest::newRow("master's row deleted elsewhere, then refreshed") << Step([](Fixture& f) {
            f.t.db().exec("delete from OWNERS where OID = 1");
            f.owners.refresh();
        }) << QList<int>{20} << 20 << QList<int>{200} << true;
        QTest::newRow("detail refreshed stays on its key") << Step([](Fixture& f) {
            f.buildings.next();
            f.t.db().exec("delete from BUILDINGS where BUILDID = 10");
            f.t.db().exec("insert into BUILDINGS (BUILDID, OID) values (12, 1)");
            f.t.db().exec("insert into BUILDINGS (BUILDID, OID) values (21, 2)");
            f.buildings.refresh();
        }) << QList<int>{11, 12} << 11 << QList<int>{} << true;
        QTest::newRow("master shows nothing") << Step([](Fixture& f) {
            f.owners.setFilter([](const Dataset&, int) { return false; });
            f.owners.setFiltered(true);
        }) << QList<int>{} << -1 << QList<int>{}
                                              << true;
        QTest::newRow("master posts a new key") << Step([](Fixture& f) {
            f.owners.edit();
            f.owners.setValue("OID", 5);
            f.owners.post();
        }) << QList<int>{} << -1 << QList<int>{} << true;
    }

    void links()
    {
        QFETCH(Step, step);
        QFETCH(QList<int>, buildings);
        QFETCH(int, currentBuilding);
        QFETCH(QList<int>, apartments);
        QFETCH(bool, linkActive);

        Fixture f;
        step(f);
        QCOMPARE(keys(f.buildings, "BUILDID"), buildings);
        QCOMPARE(currentKey(f.buildings, "BUILDID"), currentBuilding);
        QCOMPARE(keys(f.apartments, "APID"), apartments);
        QCOMPARE(f.buildings.linkActive(), linkActive);
    }

    void filters()
    {
        Fixture f;
        QString text = QStringLiteral("TH");
        f.buildings.setFilter([&text](const Dataset& ds, int raw) {
            return ds.rawValue(raw, "description").toString().toLower().contains(text.toLower());
        });
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{10, 11})); // set, not yet switched on

        f.buildings.setFiltered(true);
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{10})); // and the link still applies
        f.buildings.releaseLink();
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{10, 20}));

        text = QStringLiteral("east");
        f.buildings.refilter();
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{11}));
        text = QStringLiteral("SOUTH");
        f.buildings.setFiltered(true); // switching on again applies the new text
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{20}));

        f.buildings.setFiltered(false);
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{10, 11, 20}));
    }

    void lookupsFindOnlyShownRows()
    {
        Fixture f;
        Dataset units(f.t.db(), "APARTMENTS", "APID");
        units.open();
        units.addLookup("Buildings", &f.buildings, "BID", "BUILDID", "DESCRIPTION");
        auto building = [&units](int apid) {
            return units.valueAt(units.find("APID", apid), "BUILDINGS");
        };

        QCOMPARE(building(100).toString(), QStringLiteral("North"));
        QVERIFY(building(200).isNull()); // building 20 belongs to the owner not shown
        f.buildings.releaseLink();
        QCOMPARE(building(200).toString(), QStringLiteral("South"));
        f.buildings.restoreLink();
        f.owners.next();
        QVERIFY(building(100).isNull());
        QCOMPARE(building(200).toString(), QStringLiteral("South"));
        f.buildings.setFilter(
            [](const Dataset& ds, int raw) { return ds.rawValue(raw, "BUILDID").toInt() != 20; });
        f.buildings.setFiltered(true);
        QVERIFY(building(200).isNull());

        // Keyed by text, as a tenant's card kind finds its card.
        f.t.db().exec("insert into CCARDS (CCARDID, NAME) values (30, 'House Card')");
        f.t.db().exec("insert into TENANTS (TID, CCTYPE) values (1, 'House Card')");
        f.t.db().exec("insert into TENANTS (TID, CCTYPE) values (2, 'house card')");
        Dataset cards(f.t.db(), "CCARDS", "CCARDID");
        Dataset tenants(f.t.db(), "TENANTS", "TID");
        cards.open();
        tenants.open();
        tenants.addLookup("cardId", &cards, "CCTYPE", "NAME", "CCARDID");
        QCOMPARE(tenants.valueAt(0, "CARDID").toInt(), 30);
        QVERIFY(tenants.valueAt(1, "cardid").isNull());
    }

    void computedColumnsFollowEdits()
    {
        Fixture f;
        f.buildings.addLookup("OwnerCode", &f.owners, "OID", "OID", "CODE");
        f.buildings.addComputed("Label", [](const Dataset& ds, int raw) {
            return QVariant(ds.rawValue(raw, "OWNERCODE").toString() + "/" +
                            ds.rawValue(raw, "Description").toString());
        });
        QCOMPARE(f.buildings.asText("label"), QStringLiteral("A/North"));

        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", "Northwest");
        QCOMPARE(f.buildings.asText("Label"), QStringLiteral("A/Northwest"));
        QCOMPARE(f.buildings.valueAt(0, "Label").toString(), QStringLiteral("A/Northwest"));
        QVERIFY_THROWS_EXCEPTION(DbError, f.buildings.setValue("Label", "x"));
        f.buildings.cancel();
        QCOMPARE(f.buildings.asText("Label"), QStringLiteral("A/North"));
    }

    void insertPostsAndReadsBack()
    {
        Fixture f;
        Database& db = f.t.db();
        QSignalSpy posted(&f.buildings, &Dataset::afterPost);

        f.buildings.append();
        QCOMPARE(f.buildings.state(), Dataset::State::Insert);
        QCOMPARE(f.buildings.rowCount(), 3);
        QCOMPARE(f.buildings.currentIndex(), 2);
        QCOMPARE(f.buildings.asInt("OID"), 1); // preset from the master while linked
        QVERIFY(f.buildings.value("DESCRIPTION").isNull());
        const int key = db.NextKey("GEN_BUILDINGS_ID");
        f.buildings.setValue("buildid", key);
        f.buildings.setValue("Description", "O'Neil Court");
        f.buildings.setValue("PURCHASEDATE", QDate(2008, 3, 1));
        f.buildings.post();

        QCOMPARE(f.buildings.state(), Dataset::State::Browse);
        QCOMPARE(posted.count(), 1);
        QCOMPARE(f.buildings.asInt("BUILDID"), key);
        const QString where = QStringLiteral(" from BUILDINGS where BUILDID = %1").arg(key);
        QCOMPARE(dbValue(db, "select DESCRIPTION" + where).toString(),
                 QStringLiteral("O'Neil Court"));
        QCOMPARE(dbValue(db, "select OID" + where).toInt(), 1);
        QCOMPARE(dbValue(db, "select PURCHASEDATE" + where).toDate(), QDate(2008, 3, 1));

        // Cancelling an insert leaves the rows and the database as they were.
        f.buildings.first();
        f.buildings.append();
        f.buildings.setValue("BUILDID", 99);
        f.buildings.cancel();
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{10, 11, key}));
        QCOMPARE(currentKey(f.buildings, "BUILDID"), 10);
        QCOMPARE(dbValue(db, "select count(*) from BUILDINGS").toInt(), 4);
    }

    void insertKeepsDatabaseDefaultsAndTriggerKeys()
    {
        TestDb t;
        Dataset todo(t.db(), "TODO", "TODOID");
        todo.open();
        todo.append();
        todo.setValue("DESCRIPTION", "call the plumber");
        todo.post();
        const QVariant key = todo.value("TODOID"); // drawn by the table's trigger
        QVERIFY(!key.isNull());
        QCOMPARE(t.db()
                     .scalar("select DESCRIPTION from TODO where TODOID = " + key.toString())
                     .toString(),
                 QStringLiteral("call the plumber"));

        Dataset agreements(t.db(), "AGREEMENTS", "RID");
        agreements.open();
        agreements.append();
        agreements.setValue("RID", 7);
        agreements.post();
        QCOMPARE(agreements.asInt("RECURS"), 1);
        QVERIFY(!agreements.value("RENT").isNull());
        QCOMPARE(agreements.asMoney("RENT"), Money());
    }

    void editPostsOnlyChangedColumns()
    {
        Fixture f;
        Database& db = f.t.db();
        QVERIFY(f.buildings.locate("BUILDID", 11));
        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", "Eastgate");
        db.exec("update BUILDINGS set CITY = 'Elsewhere' where BUILDID = 11"); // another user
        f.buildings.post();
        QCOMPARE(dbValue(db, "select DESCRIPTION from BUILDINGS where BUILDID = 11").toString(),
                 QStringLiteral("Eastgate"));
        QCOMPARE(dbValue(db, "select CITY from BUILDINGS where BUILDID = 11").toString(),
                 QStringLiteral("Elsewhere"));

        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", "Nowhere");
        f.buildings.cancel();
        QCOMPARE(f.buildings.asText("DESCRIPTION"), QStringLiteral("Eastgate"));
        QCOMPARE(dbValue(db, "select DESCRIPTION from BUILDINGS where BUILDID = 11").toString(),
                 QStringLiteral("Eastgate"));

        // Moving away posts a pending edit.
        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", "East End");
        f.buildings.first();
        QCOMPARE(f.buildings.state(), Dataset::State::Browse);
        QCOMPARE(dbValue(db, "select DESCRIPTION from BUILDINGS where BUILDID = 11").toString(),
                 QStringLiteral("East End"));
    }

    void blobsRoundTrip()
    {
        Fixture f;
        const QString notes = QString(600, QLatin1Char('n'));
        f.apartments.edit();
        f.apartments.setValue("NOTES", notes); // BLOB SUB_TYPE TEXT
        f.apartments.post();
        f.owners.edit();
        f.owners.setValue("NOTES", QByteArray("line one\r\nline two")); // binary blob
        f.owners.post();
        f.apartments.refresh();
        f.owners.refresh();
        QCOMPARE(f.apartments.asText("NOTES"), notes);
        QCOMPARE(f.owners.value("NOTES").toByteArray(), QByteArray("line one\r\nline two"));
    }

    void failedPostKeepsTheEdit()
    {
        Fixture f;
        f.buildings.edit();
        const QString tooLong(201, QLatin1Char('x'));
        f.buildings.setValue("DESCRIPTION", tooLong);
        try {
            f.buildings.post();
            QFAIL("a text longer than its column was stored");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains("truncation"), qPrintable(e.message()));
        }
        QCOMPARE(f.buildings.state(), Dataset::State::Edit);
        QCOMPARE(f.buildings.asText("DESCRIPTION"), tooLong);
        f.buildings.cancel();
        QCOMPARE(f.buildings.state(), Dataset::State::Browse);
        QCOMPARE(f.buildings.asText("DESCRIPTION"), QStringLiteral("North"));
        QCOMPARE(f.t.db().scalar("select DESCRIPTION from BUILDINGS where BUILDID = 10").toString(),
                 QStringLiteral("North"));

        // A text that just fits is stored whole.
        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", tooLong.left(200));
        f.buildings.post();
        QCOMPARE(f.t.db().scalar("select DESCRIPTION from BUILDINGS where BUILDID = 10").toString(),
                 tooLong.left(200));
    }

    void removeDeletesByKey()
    {
        Fixture f;
        QSignalSpy deleted(&f.buildings, &Dataset::afterDelete);
        f.buildings.remove();
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(f.t.db().scalar("select count(*) from BUILDINGS where BUILDID = 10").toInt(), 0);
        QCOMPARE(f.t.db().scalar("select count(*) from BUILDINGS").toInt(), 2);
        QCOMPARE(keys(f.buildings, "BUILDID"), (QList<int>{11}));
        QCOMPARE(currentKey(f.buildings, "BUILDID"), 11);
        QCOMPARE(keys(f.apartments, "APID"), (QList<int>{})); // followed to building 11
    }

    void keylessTablesMatchTheOriginalRow()
    {
        TestDb t;
        Database& db = t.db();
        Dataset setup(db, "SETUP", QString(), "SETUPORDER");
        setup.open();
        const int rows = db.scalar("select count(*) from SETUP").toInt();
        QCOMPARE(setup.rowCount(), rows);
        QVERIFY(setup.moveTo(2));
        QCOMPARE(setup.asInt("Int"), 0); // the column is named "int" in lower case
        setup.edit();
        setup.setValue("str", "Third");
        setup.setValue("INT", 5);
        setup.post();
        QCOMPARE(db.scalar("select STR from SETUP where SETUPORDER = 3").toString(),
                 QStringLiteral("Third"));
        QCOMPARE(db.scalar("select \"int\" from SETUP where SETUPORDER = 3").toInt(), 5);
        QCOMPARE(db.scalar("select count(*) from SETUP where STR = 'Third'").toInt(), 1);

        setup.append();
        setup.setValue("SETUPORDER", 99);
        setup.setValue("STR", "extra");
        setup.post();
        QCOMPARE(db.scalar("select count(*) from SETUP").toInt(), rows + 1);

        // Of two identical rows, one is changed and one deleted.
        db.exec("delete from MISC");
        db.exec("insert into MISC (SERVER, PORT) values ('mail', 25)");
        db.exec("insert into MISC (SERVER, PORT) values ('mail', 25)");
        Dataset misc(db, "MISC", QString());
        misc.open();
        misc.edit();
        misc.setValue("PORT", 587);
        misc.post();
        QCOMPARE(db.scalar("select count(*) from MISC where PORT = 587").toInt(), 1);
        misc.next();
        misc.remove();
        QCOMPARE(db.scalar("select count(*) from MISC").toInt(), 1);
        QCOMPARE(db.scalar("select PORT from MISC").toInt(), 587);
    }

    void fieldNamesAndNullFlags()
    {
        Fixture f;
        QCOMPARE(f.owners.value("oid"), f.owners.value("OID"));
        QCOMPARE(f.owners.value("Code").toString(), QStringLiteral("A"));
        QVERIFY(f.owners.value("CLOSED").isNull());
        QCOMPARE(f.owners.asFlag("closed"), false);
        QCOMPARE(f.owners.asInt("Closed"), 0);
        f.owners.next();
        QCOMPARE(f.owners.asFlag("CLOSED"), true);
        QVERIFY_THROWS_EXCEPTION(DbError, f.owners.value("NOSUCHFIELD"));
        QVERIFY_THROWS_EXCEPTION(DbError, f.owners.setValue("CODE", "Z")); // not editing
    }

    void moneyIsExact_data()
    {
        QTest::addColumn<QString>("posted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "1234.56"
                               << "1234.56";
        QTest::newRow("inexact in binary") << "0.29"
                                           << "0.29";
        QTest::newRow("fifteen digits") << "1234567890123.45"
                                        << "1234567890123.45";
        QTest::newRow("negative") << "-0.07"
                                  << "-0.07";
        QTest::newRow("half a cent rounds away from zero") << "2.675"
                                                           << "2.68";
    }

    void moneyIsExact()
    {
        QFETCH(QString, posted);
        QFETCH(QString, stored);
        Fixture f;
        const Money expected = Money::parse(stored);
        f.owners.edit();
        f.owners.setValue("MANFEE", QVariant::fromValue(Money::parse(posted)));
        QCOMPARE(f.owners.asMoney("MANFEE"), expected);
        f.owners.post();
        QCOMPARE(Money::fromVariant(f.t.db().scalar("select MANFEE from OWNERS where OID = 1")),
                 expected);
        f.owners.refresh();
        QCOMPARE(f.owners.asMoney("manfee"), expected);
    }

    void locateComparesAsTheFieldsType()
    {
        Fixture f;
        f.buildings.releaseLink();
        QVERIFY(f.buildings.locate("BUILDID", QStringLiteral("20")));
        QCOMPARE(f.buildings.currentIndex(), 2);
        QVERIFY(f.buildings.locate("buildid", 11LL));
        QCOMPARE(f.buildings.currentIndex(), 1);
        QVERIFY(f.buildings.locate("MARKETVAL", QVariant::fromValue(Money::parse("1234.56"))));
        QCOMPARE(f.buildings.currentIndex(), 0);
        QVERIFY(f.buildings.locate("PURCHASEDATE", QDate(2008, 3, 1)));
        QVERIFY(!f.buildings.locate("DESCRIPTION", "south")); // texts exactly
        QVERIFY(!f.buildings.locate("OID", QVariant()));
        QCOMPARE(f.buildings.currentIndex(), 0);
        f.buildings.restoreLink();
        QVERIFY(!f.buildings.locate("BUILDID", 20)); // only shown rows
    }


    void linkAndSqlFilterReadOnlyTheRowsShown()
    {
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 3000);
        for (int tid = 1; tid <= 3; ++tid)
            db.exec(QStringLiteral("insert into tenants (tid, lastname) values (%1, 'T%1')").arg(tid));
        Dataset tenants(db, "TENANTS", "TID");
        Dataset charges(db, "CHARGES", "CHID");
        tenants.open();
        charges.open();
        charges.setMasterLink(&tenants, "TID", "TID");
        charges.addLookup("Name", &tenants, "TID", "TID", "LASTNAME");

        QCOMPARE(charges.rowCount(), 100);
        QCOMPARE(charges.rowsFetched(), 100);
        QCOMPARE(charges.asText("Name"), QStringLiteral("T1"));
        QVERIFY(charges.locate("CHID", 61));
        tenants.next();
        QCOMPARE(charges.rowCount(), 100);
        QCOMPARE(charges.asInt("TID"), 2);
        QCOMPARE(charges.rowsFetched(), 200);
        tenants.next(); // moving the master never reads more than its details
        QCOMPARE(charges.rowsFetched(), 300);

        // A filter with an SQL form is read in SQL, and together with the link.
        int minimum = 3;
        charges.setFilter([&minimum](const Dataset& d, int raw) {
                              return Dataset::toMoney(d.rawValue(raw, "AMT")) >= Money::fromCents(minimum * 100);
                          },
                          [&minimum](const Dataset&) { return Dataset::Condition{"AMT >= ?", {minimum}}; });
        charges.setFiltered(true);
        QCOMPARE(charges.rowCount(), 40);
        QCOMPARE(charges.rowsFetched(), 340);
        QCOMPARE(charges.sum("AMT"), Money::parse("140"));
        QCOMPARE(charges.aggregate("count(*)").toInt(), 40);
        minimum = 4;
        charges.refilter();
        QCOMPARE(charges.rowCount(), 20);
        charges.setFiltered(false);
        QCOMPARE(charges.rowCount(), 100);
    }

    void pagedReadsPagesInOrder()
    {
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 12000);
        const QList<int> expected =
            column(db, "select chid from charges order by fordate, chid");
        Dataset charges(db, "CHARGES", "CHID", "FORDATE");
        charges.setPaged(true);
        charges.open();

        QCOMPARE(charges.rowCount(), 12000); // counted, not read
        QVERIFY(charges.rowsFetched() <= Dataset::PageSize + 1);
        QCOMPARE(charges.asInt("CHID"), expected.first());

        // Straight to the end, then scrolling down from the start: the same order as SQL's.
        QVERIFY(charges.last());
        QCOMPARE(charges.asInt("CHID"), expected.last());
        QCOMPARE(charges.valueAt(6001, "CHID").toInt(), expected.at(6001));
        QCOMPARE(charges.valueAt(5999, "CHID").toInt(), expected.at(5999));
        for (int i = 0; i < charges.rowCount(); ++i)
            QCOMPARE(charges.valueAt(i, "CHID").toInt(), expected.at(i));
        QVERIFY(charges.rowsHeld() <= Dataset::PageSize * Dataset::PagesKept);
        QVERIFY(charges.rowsFetched() < 2 * 12000);

        // Found in SQL: the key, and the first row in order with a value.
        QVERIFY(charges.locate("CHID", expected.at(7777)));
        QCOMPARE(charges.currentIndex(), 7777);
        const int firstOfTenant9 =
            column(db, "select chid from charges where tid = 9 order by fordate, chid").first();
        QVERIFY(charges.locate("TID", 9));
        QCOMPARE(charges.asInt("CHID"), firstOfTenant9);
        QVERIFY(!charges.locate("TID", 99));
        QVERIFY_THROWS_EXCEPTION(DbError, charges.find("NoSuchColumn", 1));
    }

    void pagedEditsStandInTheirPlace()
    {
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 1000);
        Dataset charges(db, "CHARGES", "CHID", "FORDATE");
        charges.setPaged(true);
        charges.open();
        auto position = [&db](int chid) {
            return column(db, "select chid from charges order by fordate, chid").indexOf(chid);
        };

        charges.append();
        charges.setValue("CHID", 5000);
        charges.setValue("FORDATE", QDate(2020, 6, 1));
        QCOMPARE(charges.rowCount(), 1001);
        QCOMPARE(charges.currentIndex(), 1000); // at the end while it is being inserted
        charges.post();
        QCOMPARE(charges.rowCount(), 1001);
        QCOMPARE(charges.asInt("CHID"), 5000);
        QCOMPARE(charges.currentIndex(), position(5000)); // then in its ordered place

        charges.edit();
        charges.setValue("FORDATE", QDate(2020, 9, 1));
        charges.post();
        QCOMPARE(charges.asInt("CHID"), 5000);
        QCOMPARE(charges.currentIndex(), position(5000));

        charges.edit();
        charges.setValue("AMT", QVariant::fromValue(Money::parse("12.34")));
        charges.cancel();
        QCOMPARE(charges.asMoney("AMT"), Money());

        const int at = charges.currentIndex();
        charges.remove();
        QCOMPARE(charges.rowCount(), 1000);
        QCOMPARE(charges.currentIndex(), at);
        QCOMPARE(db.scalar("select count(*) from charges where chid = 5000").toInt(), 0);

        // A paged table filters in SQL only.
        charges.setFilter([](const Dataset&, int) { return true; });
        QVERIFY_THROWS_EXCEPTION(DbError, charges.setFiltered(true));
    }

    // A paged selection shows its first page at once and is counted only when a row
    // past it is wanted: by the grid scrolled there, or by anything that needs the count.
    void pagedFilterIsCountedWhenWanted()
    {
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 6000);
        const QList<int> expected =
            column(db, "select chid from charges where amt >= 3 order by fordate, chid");
        QStringList counts;
        db.beforeExec = [&counts](const QString& sql) {
            if (sql.startsWith(QLatin1String("select count(*) from CHARGES")))
                counts << sql;
        };
        Dataset charges(db, "CHARGES", "CHID", "FORDATE");
        charges.setPaged(true);
        charges.setFilter({}, [](const Dataset&) { return Dataset::Condition{"AMT >= ?", {3}}; });
        charges.setFiltered(true);
        charges.open();
        DatasetModel model(charges, {{"CHID", "Charge"}});
        QCOMPARE(model.rowCount(), Dataset::PageSize);
        QVERIFY(model.canFetchMore(QModelIndex()));
        QVERIFY(!charges.isEmpty());
        QVERIFY(counts.isEmpty());
        QCOMPARE(model.index(Dataset::PageSize - 1, 0).data().toInt(),
                 expected.at(Dataset::PageSize - 1));

        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.fetchMore(QModelIndex());
        QCOMPARE(counts.size(), 1);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(model.rowCount(), int(expected.size()));
        QVERIFY(!model.canFetchMore(QModelIndex()));
        QCOMPARE(model.index(int(expected.size()) - 1, 0).data().toInt(), expected.last());

        // Asked for the count or the last row, the dataset counts by itself.
        charges.setFiltered(false);
        charges.setFiltered(true);
        QCOMPARE(charges.rowsAvailable(), Dataset::PageSize);
        QVERIFY(charges.last());
        QCOMPARE(charges.asInt("CHID"), expected.last());
        charges.setFiltered(false);
        charges.setFiltered(true);
        QCOMPARE(charges.rowCount(), int(expected.size()));
        // Stepping past the first page counts too.
        charges.setFiltered(false);
        charges.setFiltered(true);
        QVERIFY(charges.moveTo(Dataset::PageSize - 1));
        QVERIFY(charges.next());
        QCOMPARE(charges.asInt("CHID"), expected.at(Dataset::PageSize));
        db.beforeExec = nullptr;
    }

    // A filter that few rows pass is read sorted rather than along the index; its pages come
    // in the same order either way.
    void pagedSparseFilterKeepsTheOrder_data()
    {
        QTest::addColumn<int>("tenant");
        QTest::addColumn<bool>("sorted");
        QTest::newRow("one charge in 150") << 7 << true;
        QTest::newRow("none") << 99 << true;
        QTest::newRow("one charge in 5") << 0 << false;
    }
    void pagedSparseFilterKeepsTheOrder()
    {
        QFETCH(int, tenant);
        QFETCH(bool, sorted);
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 40000);
        const QString where = tenant ? QStringLiteral("TID = %1 and AMT = 4").arg(tenant)
                                     : QStringLiteral("AMT = 4");
        const QList<int> expected =
            column(db, QStringLiteral("select chid from charges where %1 order by fordate, chid").arg(where));
        bool sortedRead = false;
        db.beforeExec = [&sortedRead](const QString& sql) {
            sortedRead = sortedRead || sql.contains(QLatin1String("\"FORDATE\" + 0"));
        };
        Dataset charges(db, "CHARGES", "CHID", "FORDATE");
        charges.setPaged(true);
        charges.setFilter({}, [where](const Dataset&) { return Dataset::Condition{where, {}}; });
        charges.setFiltered(true);
        charges.open();
        QCOMPARE(charges.rowCount(), int(expected.size()));
        QCOMPARE(sortedRead, sorted);
        // From the end backwards, then from the start.
        for (int i = charges.rowCount() - 1; i >= 0; i -= 3)
            QCOMPARE(charges.valueAt(i, "CHID").toInt(), expected.at(i));
        charges.refilter();
        for (int i = 0; i < charges.rowCount(); ++i)
            QCOMPARE(charges.valueAt(i, "CHID").toInt(), expected.at(i));
        db.beforeExec = nullptr;
    }

    // After a store or delete a paged dataset keeps its count by the change: a row edited in
    // place stays where it is, a new or moved row is placed, and nothing is counted again.
    void pagedStoresWithoutCountingAgain()
    {
        TestDb t;
        Database& db = t.db();
        fillCharges(db, 3000);
        auto order = [&db] { return column(db, "select chid from charges order by fordate, chid"); };
        Dataset charges(db, "CHARGES", "CHID", "FORDATE");
        charges.setPaged(true);
        charges.open();
        QCOMPARE(charges.rowCount(), 3000);
        QStringList counts;
        db.beforeExec = [&counts](const QString& sql) {
            if (sql.startsWith(QLatin1String("select count(*) from CHARGES")))
                counts << sql;
        };

        // A row of a page never read: edited in place.
        QVERIFY(charges.moveTo(2100));
        const int chid = charges.asInt("CHID");
        charges.edit();
        charges.setValue("MEMO", "paid by phone");
        charges.post();
        QCOMPARE(charges.currentIndex(), 2100);
        QCOMPARE(charges.asText("MEMO"), QStringLiteral("paid by phone"));
        QCOMPARE(dbValue(db, QStringLiteral("select memo from charges where chid = %1").arg(chid)).toString(),
                 QStringLiteral("paid by phone"));

        // Moved by its order column, then a new row, then one deleted.
        charges.edit();
        charges.setValue("FORDATE", QDate(2019, 1, 1));
        charges.post();
        QCOMPARE(charges.currentIndex(), order().indexOf(chid));
        QCOMPARE(charges.valueAt(charges.currentIndex() + 1, "CHID").toInt(),
                 order().at(charges.currentIndex() + 1));
        charges.append();
        charges.setValue("CHID", 9000);
        charges.setValue("FORDATE", QDate(2020, 8, 9));
        charges.post();
        QCOMPARE(charges.rowCount(), 3001);
        QCOMPARE(charges.currentIndex(), order().indexOf(9000));
        QCOMPARE(charges.valueAt(charges.currentIndex() - 1, "CHID").toInt(),
                 order().at(charges.currentIndex() - 1));
        charges.remove();
        QCOMPARE(charges.rowCount(), 3000);
        const QList<int> now = order();
        for (int i = 0; i < now.size(); i += 7)
            QCOMPARE(charges.valueAt(i, "CHID").toInt(), now.at(i));
        QVERIFY2(counts.isEmpty(), qPrintable(counts.join(QLatin1Char('\n'))));

        // A new row the filter does not let through is stored and not shown.
        charges.setFilter({}, [](const Dataset&) { return Dataset::Condition{"TID = ?", {5}}; });
        charges.setFiltered(true);
        const int shown = charges.rowCount();
        charges.append();
        charges.setValue("CHID", 9001);
        charges.setValue("TID", 6);
        charges.post();
        QCOMPARE(charges.rowCount(), shown);
        QVERIFY(charges.asInt("CHID") != 9001);
        QCOMPARE(dbValue(db, "select count(*) from charges where chid = 9001").toInt(), 1);
        db.beforeExec = nullptr;
    }

    void modelShowsFormatsAndFollowsTheDataset()
    {
        Fixture f;
        f.buildings.addLookup("OwnerClosed", &f.owners, "OID", "OID", "CLOSED");
        DatasetModel model(f.buildings, {{"BUILDID", "Id"},
                                         {"description", "Building"},
                                         {"MARKETVAL", "Value", DatasetModel::Format::Money},
                                         {"PURCHASEDATE", "Bought", DatasetModel::Format::Date},
                                         {"OwnerClosed", "Closed", DatasetModel::Format::YesNo}});
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Building"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("North"));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("1,234.56"));
        QCOMPARE(model.index(0, 2).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model.index(0, 3).data().toString(),
                 QLocale().toString(QDate(2008, 3, 1), QLocale::ShortFormat));
        QCOMPARE(model.index(1, 2).data().toString(), QString()); // NULL money and date show empty
        QCOMPARE(model.index(1, 3).data().toString(), QString());
        QCOMPARE(model.index(0, 4).data().toString(), QStringLiteral("No"));

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        f.owners.next();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 4).data().toString(), QStringLiteral("Yes"));
        f.owners.prior();

        QItemSelectionModel selection(&model);
        model.bindSelection(&selection);
        QCOMPARE(selection.currentIndex().row(), 0);
        selection.setCurrentIndex(model.index(1, 1),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(currentKey(f.buildings, "BUILDID"), 11);
        QCOMPARE(keys(f.apartments, "APID"), (QList<int>{})); // the move reached the details
        f.buildings.first();
        QCOMPARE(selection.currentIndex().row(), 0);
        QVERIFY(selection.isRowSelected(0, QModelIndex()));
        f.owners.next(); // a reset keeps the selection on the dataset's row
        QCOMPARE(selection.currentIndex().row(), 0);
        f.owners.prior();

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        f.buildings.edit();
        f.buildings.setValue("DESCRIPTION", "Northgate");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Northgate"));
        f.buildings.cancel();
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
