#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"
#include "records/Agreements.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Tenants 1 and 2; units 10 and 11 let to nobody yet but held by tenant 1, unit 12 by tenant 2,
// unit 13 vacant.
void addUnits(Database& db)
{
    for (const char* sql : {
             "insert into tenants (tid, id, firstname, lastname) values (1, 'JS', 'John', 'Smith')",
             "insert into tenants (tid, id, firstname, lastname) values (2, 'MJ', 'Mary', 'Jones')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values (10, 1, '101', "
             "1, -1, 950)",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values (11, 1, '102', "
             "1, -1, 800)",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values (12, 1, '103', "
             "2, -1, 700)",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values (13, 1, '104', "
             "-1, -1, 600)",
         })
        db.exec(QLatin1String(sql));
}

NewAgreement monthly(int apId, const QDate& firstPayment, const QDate& leaseEnd)
{
    NewAgreement a;
    a.apId = apId;
    a.rent = Money::parse(QStringLiteral("950.50"));
    a.lateFee = Money::fromCents(2500);
    a.perDay = Money::fromCents(150);
    a.damage = Money::fromCents(50000);
    a.recurs = 3;
    a.leaseStart = firstPayment.addDays(-10);
    a.leaseEnd = leaseEnd;
    a.firstPayment = firstPayment;
    a.firstDue = firstPayment;
    a.moveIn = a.leaseStart;
    a.moveOut = a.leaseStart;
    a.leaseTerm = QStringLiteral("1 Year");
    a.terms = QStringLiteral("No pets. O'Brien's rules apply.");
    return a;
}

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

QList<QDate> chargeDates(Database& db)
{
    QList<QDate> dates;
    QSqlQuery q = db.select(QStringLiteral("select fordate from charges order by fordate"));
    while (q.next())
        dates << q.value(0).toDate();
    return dates;
}

void expectNothingStored(Database& db, int apId)
{
    QCOMPARE(count(db, QStringLiteral("select count(*) from agreements")), 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from recur")), 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from charges")), 0);
    QCOMPARE(count(db, QStringLiteral("select agreeid from apartments where apid=%1").arg(apId)),
             -1);
}

} // namespace

class TestAgreements : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    void createPostsTheRentAtOnce_data()
    {
        QTest::addColumn<QDate>("firstPayment");
        QTest::addColumn<QDate>("leaseEnd");
        QTest::addColumn<QList<QDate>>("charges");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QDate>("nextDate");

        const QDate end = Today.addMonths(2);
        QTest::newRow("first payment on the lease end")
            << end << end << QList<QDate>{end} << true << end.addMonths(1);
        QTest::newRow("first payment three months ago")
            << Today.addMonths(-3) << Today.addYears(1)
            << QList<QDate>{Today.addMonths(-3), Today.addMonths(-2), Today.addMonths(-1), Today}
            << false << Today.addMonths(1);
        QTest::newRow("first payment next week")
            << Today.addDays(7) << Today.addYears(1) << QList<QDate>{Today.addDays(7)} << false
            << Today.addDays(7).addMonths(1);
    }
    void createPostsTheRentAtOnce()
    {
        QFETCH(QDate, firstPayment);
        QFETCH(QDate, leaseEnd);
        QFETCH(QList<QDate>, charges);
        QFETCH(bool, completed);
        QFETCH(QDate, nextDate);
        TestDb t;
        Database& db = t.db();
        addUnits(db);
        // Every charge is written inside the agreement's own transaction.
        int outside = 0;
        db.beforeExec = [&](const QString& sql) {
            if (sql.startsWith(QLatin1String("insert into charges")) && !db.inTransaction())
                ++outside;
        };

        const CreatedAgreement made = Agreements::create(db, monthly(10, firstPayment, leaseEnd));
        db.beforeExec = nullptr;

        QCOMPARE(outside, 0);
        QCOMPARE(made.chargesPosted, charges.size());
        QCOMPARE(made.completed, completed);
        QCOMPARE(chargeDates(db), charges);
        QCOMPARE(count(db, QStringLiteral("select agreeid from apartments where apid=10")),
                 made.rid);

        QSqlQuery a = db.select(QStringLiteral("select tid, apid, rent, recurs, damage, leaseterm, "
                                               "terms from agreements where rid=%1")
                                    .arg(made.rid));
        QVERIFY(a.next());
        QCOMPARE(a.value(0).toInt(), 1);
        QCOMPARE(a.value(1).toInt(), 10);
        QCOMPARE(Money::fromVariant(a.value(2)).toSql(), QStringLiteral("950.50"));
        QCOMPARE(a.value(3).toInt(), 3);
        QCOMPARE(Money::fromVariant(a.value(4)).toSql(), QStringLiteral("500.00"));
        QCOMPARE(a.value(5).toString(), QStringLiteral("1 Year"));
        QCOMPARE(a.value(6).toString(), QStringLiteral("No pets. O'Brien's rules apply."));

        const auto rent = RecurRow::load(db, made.recId);
        QVERIFY(rent);
        QCOMPARE(rent->type, QStringLiteral("Rent"));
        QCOMPARE(rent->tId, 1);
        QCOMPARE(rent->amount.toSql(), QStringLiteral("950.50"));
        QCOMPARE(rent->startDate, firstPayment.addDays(-10));
        QCOMPARE(rent->endDate, leaseEnd);
        QCOMPARE(rent->nextDate, nextDate);
        QCOMPARE(rent->completed, completed ? 1 : 0);
        // The late-fee terms travel with each charge.
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where tid=1 and apid=10 "
                                          "and type='Rent' and amt=950.50 and latefeeflat=25 and "
                                          "perday=1.50")),
                 charges.size());
    }

    void aFailureLeavesNothing_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("unit's agreement, after the charges") << "update apartments set agreeid";
        QTest::newRow("next date of the rent") << "update recur set nextdate";
        QTest::newRow("third rent charge") << "insert into charges#3";
    }
    void aFailureLeavesNothing()
    {
        QFETCH(QString, failing);
        TestDb t;
        Database& db = t.db();
        addUnits(db);
        const QStringList parts = failing.split(QLatin1Char('#'));
        const int nth = parts.size() > 1 ? parts.at(1).toInt() : 1;
        int seen = 0;
        db.beforeExec = [&](const QString& sql) {
            if (sql.startsWith(parts.at(0)) && ++seen == nth)
                throw DbError(QStringLiteral("injected failure"), sql);
        };
        bool thrown = false;
        try {
            Agreements::create(db, monthly(10, Today.addMonths(-3), Today.addYears(1)));
        } catch (const DbError& e) {
            thrown = e.message() == QLatin1String("injected failure");
        }
        db.beforeExec = nullptr;
        QVERIFY(thrown);
        QVERIFY(!db.inTransaction());
        expectNothingStored(db, 10);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("apId");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("no tenant") << 13 << ""
                                   << "No tenant has been assigned to this apartment!";
        QTest::newRow("move-out before move-in") << 10 << "moveOut"
                                                 << "Move-out date cannot be before move-in date!";
        QTest::newRow("lease end before start")
            << 10 << "leaseEnd"
            << "Lease end date cannot be before Lease start date!";
        QTest::newRow("first payment before the lease") << 10 << "early"
                                                        << "The first payment date is invalid!";
        QTest::newRow("first payment after the lease") << 10 << "late"
                                                       << "The first payment date is invalid!";
    }
    void refusals()
    {
        QFETCH(int, apId);
        QFETCH(QString, change);
        QFETCH(QString, message);
        TestDb t;
        addUnits(t.db());
        NewAgreement a = monthly(apId, Today, Today.addYears(1));
        if (change == QLatin1String("moveOut"))
            a.moveOut = a.moveIn.addDays(-1);
        else if (change == QLatin1String("leaseEnd"))
            a.leaseEnd = a.leaseStart.addDays(-1);
        else if (change == QLatin1String("early"))
            a.firstPayment = a.leaseStart.addDays(-1);
        else if (change == QLatin1String("late"))
            a.firstPayment = a.leaseEnd.addDays(1);
        QString refused;
        try {
            Agreements::create(t.db(), a);
        } catch (const AgreementRefused& e) {
            refused = e.message();
        }
        QCOMPARE(refused, message);
        expectNothingStored(t.db(), apId);
    }

    void aUnitWithAnAgreementGetsNoSecondOne()
    {
        TestDb t;
        addUnits(t.db());
        Agreements::create(t.db(), monthly(10, Today, Today.addYears(1)));
        QVERIFY_THROWS_EXCEPTION(AgreementRefused,
                                 Agreements::create(t.db(), monthly(10, Today, Today.addYears(1))));
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from agreements")), 1);
    }

    void deletingRemovesOnlyTheUnitsRecurringCharges()
    {
        TestDb t;
        Database& db = t.db();
        addUnits(db);
        const int first = Agreements::create(db, monthly(10, Today, Today.addYears(1))).rid;
        const int second = Agreements::create(db, monthly(11, Today, Today.addYears(1))).rid;
        Agreements::create(db, monthly(12, Today, Today.addYears(1)));
        db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, "
                               "startdate, enddate, nextdate, completed) values (90, 11, 1, "
                               "'Parking', 40, 3, '2024-01-01', '2025-01-01', '2024-04-01', 0)"));
        const int charges = count(db, QStringLiteral("select count(*) from charges"));

        QVERIFY(Agreements::remove(db, 10));

        // Unit 10 loses its rent; tenant 1's other unit keeps its agreement's rent and its
        // parking, and goes on being billed. Tenant 2 keeps hers.
        QCOMPARE(count(db, QStringLiteral("select count(*) from recur where apid=10")), 0);
        QCOMPARE(count(db, QStringLiteral("select count(*) from recur where apid=11 and tid=1")), 2);
        QCOMPARE(count(db, QStringLiteral("select count(*) from recur where tid=2")), 1);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges")), charges);
        Clock::setFixed(Today.addMonths(1));
        Posting p(db);
        QVERIFY(p.PostDueCharges(0).ok());
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where apid=11 and "
                                          "fordate>'%1'").arg(SqlDate(Today))),
                 2);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where apid=10")), 1);
        QCOMPARE(
            count(db, QStringLiteral("select count(*) from agreements where rid=%1").arg(first)),
            0);
        QCOMPARE(
            count(db, QStringLiteral("select count(*) from agreements where rid=%1").arg(second)),
            1);
        QCOMPARE(count(db, QStringLiteral("select agreeid from apartments where apid=10")), -1);
        QCOMPARE(count(db, QStringLiteral("select tid from apartments where apid=10")), 1);

        QVERIFY(!Agreements::remove(db, 10));
        QVERIFY(!Agreements::ofUnit(db, 10));
    }

    void aDanglingAgreementIsOnlyReset()
    {
        TestDb t;
        Database& db = t.db();
        addUnits(db);
        db.exec(QStringLiteral("update apartments set agreeid=77 where apid=10"));
        db.exec(
            QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, "
                           "enddate, nextdate, completed) values (1, 12, 2, 'Rent', 700, 3, "
                           "'2024-01-01', '2025-01-01', '2024-04-01', 0)"));
        QVERIFY(!Agreements::remove(db, 10));
        QCOMPARE(count(db, QStringLiteral("select agreeid from apartments where apid=10")), -1);
        QCOMPARE(count(db, QStringLiteral("select count(*) from recur")), 1);
    }

    void leaseTermsAreUniqueWithoutRegardToCase()
    {
        TestDb t;
        Dataset leases(t.db(), QStringLiteral("LEASES"), QStringLiteral("LEASEID"));
        leases.open();
        const int before = leases.rowCount();
        QVERIFY(!Agreements::addLeaseTerm(t.db(), leases, QStringLiteral(" 1 YEAR ")));
        QVERIFY(!Agreements::addLeaseTerm(t.db(), leases, QStringLiteral("   ")));
        QVERIFY(Agreements::addLeaseTerm(t.db(), leases, QStringLiteral("  O'Neil term ")));
        QCOMPARE(leases.rowCount(), before + 1);
        QCOMPARE(
            t.db().scalar(QStringLiteral("select name from leases where leaseid=5")).toString(),
            QStringLiteral("O'Neil term"));
        QVERIFY(!Agreements::addLeaseTerm(t.db(), leases, QStringLiteral("o'neil TERM")));
    }
};

QTEST_MAIN(TestAgreements)
#include "tst_agreements.moc"
