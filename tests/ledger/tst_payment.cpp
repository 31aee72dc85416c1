#include "data/Clock.h"
#include "data/SqlText.h"
#include "ledger/Payment.h"
#include "support/TestDb.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Tenant 1 lives in unit 10 under agreement 5; tenant 2 lived there before. Unit 11 is
// empty. The template's categories include Rent (CATID 1), none is named Garage.
void addPortfolio(Database& db)
{
    for (const char* s : {
             "insert into owners (OID, CODE) values (1, 'OWN')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'Elm Court')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (1, 'T1', 'Ann', 'Lee')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (2, 'T2', 'Bob', 'Old')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (3, 'T3', 'Cy', 'None')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (10, 1, '1A', 1, 5)",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (11, 1, '1B', -1, -1)",
             "set generator gen_charges_id to 100",
         })
        db.exec(QLatin1String(s));
}

struct ChargeSpec
{
    int tid = 1;
    int apid = 10;
    QString type = QStringLiteral("Rent");
    QDate forDate = Today.addDays(-5);
    qint64 amt = 0;
    qint64 orig = -1; // -1: the same as amt
    qint64 flat = 0;
    qint64 perDay = 0;
    int lfd = 0;
};

int addCharge(Database& db, const ChargeSpec& c)
{
    const int chId = db.NextKey(QStringLiteral("GEN_CHARGES_ID"));
    db.exec(QStringLiteral("insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, "
                           "LATEFEEFLAT, PERDAY, LFD, APPLIED) values (%1, %2, %3, %4, '%5', %6, "
                           "%7, %8, %9, %10, 0)")
                .arg(chId)
                .arg(c.tid)
                .arg(c.apid)
                .arg(sqlQuote(c.type), SqlDate(c.forDate),
                     sqlNumber(Money::fromCents(c.amt)),
                     sqlNumber(Money::fromCents(c.orig < 0 ? c.amt : c.orig)),
                     sqlNumber(Money::fromCents(c.flat)), sqlNumber(Money::fromCents(c.perDay)))
                .arg(c.lfd));
    return chId;
}

qint64 cents(const QVariant& v)
{
    return Money::fromVariant(v).units() / 100;
}

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

// Everything a payment could change, as text, to compare before and after.
QString snapshot(Database& db)
{
    QString s;
    for (const char* sql :
         {"select CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED, LFD, MEMO from charges "
          "order by CHID",
          "select * from trans order by TRANSID", "select * from payments order by PAYID",
          "select ACCID, TDATE, DESCRIPTION, CATID, INCOME, APID from cashbook order by ACCID",
          "select RECID, NEXTDATE, COMPLETED from recur order by RECID"}) {
        QSqlQuery q = db.select(QLatin1String(sql));
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                s += q.value(i).toString() + QLatin1Char('|');
            s += QLatin1Char('\n');
        }
        s += QStringLiteral("--\n");
    }
    return s;
}

PaymentUnit unit10(Database& db)
{
    return *PaymentUnit::ofTenant(db, 1);
}

} // namespace

class TestPayment : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    void unitOfTenant()
    {
        TestDb t;
        addPortfolio(t.db());
        const auto u = PaymentUnit::ofTenant(t.db(), 1);
        QVERIFY(u);
        QCOMPARE(u->apId, 10);
        QCOMPARE(u->suite, QStringLiteral("1A"));
        QVERIFY(u->hasAgreement());
        QVERIFY(!PaymentUnit::ofTenant(t.db(), 3));
    }

    void payments_data()
    {
        QTest::addColumn<QList<qint64>>("owed");
        QTest::addColumn<QList<qint64>>("paying");
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("check");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<qint64>>("left");

        using L = QList<qint64>;
        QTest::newRow("partial payment") << L{50000} << L{30000} << qint64(30000) << qint64(0)
                                         << qint64(0) << QString() << L{20000};
        QTest::newRow("two charges, one cheque")
            << L{50000, 7500} << L{50000, 7500} << qint64(0) << qint64(57500) << qint64(0)
            << QString() << L{0, 0};
        QTest::newRow("one of two charges, cash and card")
            << L{50000, 20000} << L{0, 15000} << qint64(10000) << qint64(0) << qint64(5000)
            << QString() << L{50000, 5000};
        QTest::newRow("cash and card against a wrong total")
            << L{20000} << L{14000} << qint64(10000) << qint64(0) << qint64(5000)
            << Payment::Discrepancy << L{20000};
        QTest::newRow("money received, nothing applied")
            << L{20000} << L{0} << qint64(100) << qint64(0) << qint64(0) << Payment::Discrepancy
            << L{20000};
        QTest::newRow("nothing applied, nothing paid") << L{20000} << L{0} << qint64(0)
                                                       << qint64(0) << qint64(0) << QString()
                                                       << L{20000};
        QTest::newRow("600.00 against 500.00") << L{50000} << L{60000} << qint64(60000)
                                               << qint64(0) << qint64(0) << Payment::TooMuch
                                               << L{50000};
        QTest::newRow("negative amount") << L{50000} << L{-100} << qint64(0) << qint64(0)
                                         << qint64(0) << Payment::Negative << L{50000};
    }
    void payments()
    {
        QFETCH(QList<qint64>, owed);
        QFETCH(QList<qint64>, paying);
        QFETCH(qint64, cash);
        QFETCH(qint64, check);
        QFETCH(qint64, card);
        QFETCH(QString, refusal);
        QFETCH(QList<qint64>, left);

        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        // Another tenant's charge must neither be listed nor touched.
        addCharge(db, {.tid = 2, .apid = 11, .amt = 9900});
        QList<int> ids;
        qint64 due = 0;
        for (int i = 0; i < owed.size(); ++i) {
            ids << addCharge(db, {.forDate = Today.addMonths(-i), .amt = owed.at(i)});
            due += owed.at(i);
        }
        const QString before = snapshot(db);

        QString refused;
        qint64 applied = 0;
        {
            Payment p(db, unit10(db));
            QCOMPARE(p.openCharges().size(), owed.size());
            p.checkNo = QStringLiteral("1007");
            try {
                p.setReceived(Money::fromCents(cash), Money::fromCents(check), Money::fromCents(card));
                for (int i = 0; i < ids.size(); ++i) {
                    p.apply(ids.at(i), Money::fromCents(paying.at(i)));
                    applied += paying.at(i);
                }
                QCOMPARE(p.totals().due, Money::fromCents(due));
                QCOMPARE(p.totals().applied, Money::fromCents(applied));
                const PaymentResult r = p.confirm();
                QCOMPARE(r.transId != 0, applied != 0);
            } catch (const PaymentRefused& e) {
                refused = e.message();
            }
        }
        QCOMPARE(refused, refusal);
        if (!refusal.isEmpty() || applied == 0) {
            QCOMPARE(snapshot(db), before);
            return;
        }

        // One transaction with the totals, one payment line and one cashbook income per charge
        // paid, each charge lowered by what was paid and its original amount kept.
        QSqlQuery tr = db.select(QStringLiteral(
            "select PAYTOTAL, APPLIED, DUETOTAL, CASH, MYCHECK, CCARD, CHECKN, TDATE, APID, TID "
            "from trans"));
        QVERIFY(tr.next());
        QCOMPARE(cents(tr.value(0)), applied);
        QCOMPARE(cents(tr.value(1)), applied);
        QCOMPARE(cents(tr.value(2)), due);
        QCOMPARE(cents(tr.value(3)), cash);
        QCOMPARE(cents(tr.value(4)), check);
        QCOMPARE(cents(tr.value(5)), card);
        QCOMPARE(tr.value(6).toString(), QStringLiteral("1007"));
        QCOMPARE(tr.value(7).toDate(), Today);
        QCOMPARE(tr.value(8).toInt(), 10);
        QCOMPARE(tr.value(9).toInt(), 1);
        QVERIFY(!tr.next());

        int paidCharges = 0;
        for (int i = 0; i < ids.size(); ++i) {
            QSqlQuery c = db.select(
                QStringLiteral("select AMT, ORIGAMOUNT, APPLIED from charges where CHID = %1")
                    .arg(ids.at(i)));
            QVERIFY(c.next());
            QCOMPARE(cents(c.value(0)), left.at(i));
            QCOMPARE(cents(c.value(1)), owed.at(i));
            QCOMPARE(cents(c.value(2)), qint64(0));
            if (paying.at(i) == 0)
                continue;
            ++paidCharges;
            QSqlQuery line = db.select(
                QStringLiteral("select p.AMOUNT, p.TYPE, p.DATEPAID, c.INCOME, c.DESCRIPTION, "
                               "c.CATID, c.APID, c.TDATE from payments p join cashbook c on "
                               "c.ACCID = p.ACCID where p.CHID = %1")
                    .arg(ids.at(i)));
            QVERIFY(line.next());
            QCOMPARE(cents(line.value(0)), paying.at(i));
            QCOMPARE(line.value(1).toString(), QStringLiteral("Rent"));
            QCOMPARE(line.value(2).toDate(), Today);
            QCOMPARE(cents(line.value(3)), paying.at(i));
            QCOMPARE(line.value(4).toString(), QStringLiteral("Payment collected: Rent"));
            QCOMPARE(line.value(5).toInt(), 1);
            QCOMPARE(line.value(6).toInt(), 10);
            QCOMPARE(line.value(7).toDate(), Today);
        }
        QCOMPARE(count(db, QStringLiteral("select count(*) from payments")), paidCharges);
        QCOMPARE(count(db, QStringLiteral("select count(*) from cashbook")), paidCharges);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where tid = 2 and amt = 99")), 1);
    }

    // A type that names no category still gets its cashbook entry, without a category; the
    // charges of another unit of the tenant are paid too, booked to the payment's unit.
    void chargeWithoutCategoryAndOfAnotherUnit()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int garage = addCharge(db, {.apid = 11, .type = QStringLiteral("Garage"), .amt = 4000});
        Payment p(db, unit10(db));
        p.apply(garage, Money::fromCents(4000));
        p.setReceived(Money::fromCents(4000), {}, {});
        const PaymentResult r = p.confirm();
        QCOMPARE(r.lines.size(), 1);
        QSqlQuery c = db.select(QStringLiteral("select CATID, APID, DESCRIPTION from cashbook"));
        QVERIFY(c.next());
        QVERIFY(c.value(0).isNull());
        QCOMPARE(c.value(1).toInt(), 10);
        QCOMPARE(c.value(2).toString(), QStringLiteral("Payment collected: Garage"));
    }

    // OK with nothing applied keeps what the screen did to the charges; Cancel keeps nothing
    // of late fees, one-time charges, deleted charges and charges posted ahead.
    void okKeepsChargesCancelKeepsNothing()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int overdue = addCharge(db, {.forDate = Today.addDays(-10), .amt = 80000, .flat = 2500, .perDay = 250});
        const int other = addCharge(db, {.amt = 1000});
        db.exec(QStringLiteral(
            "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, "
            "NEXTDATE, COMPLETED) values (1, 10, 1, 'Rent', 800, 3, '2024-01-01', '2025-12-31', "
            "'2024-04-01', 0)"));
        const QString before = snapshot(db);
        {
            Payment p(db, unit10(db));
            QCOMPARE(p.billLateFees().size(), 1);
            p.addCharge(QStringLiteral("Repairs"), Money::fromCents(12000), Today);
            p.deleteCharge(other);
            QCOMPARE(p.chargeAhead(3), 3);
            QCOMPARE(p.openCharges().size(), 6);
            p.cancel();
        }
        QCOMPARE(snapshot(db), before);

        {
            Payment p(db, unit10(db));
            const int oneTime = p.addCharge(QStringLiteral("Repairs"), Money::fromCents(12000), Today);
            const PaymentResult r = p.confirm();
            QCOMPARE(r.transId, 0);
            QCOMPARE(count(db, QStringLiteral("select count(*) from charges where CHID = %1 and "
                                              "AMT = 120 and ORIGAMOUNT = 120 and LATEFEEFLAT = 0 "
                                              "and PERDAY = 0")
                                   .arg(oneTime)),
                     1);
        }
        QCOMPARE(count(db, QStringLiteral("select count(*) from trans")), 0);
        QCOMPARE(count(db, QStringLiteral("select LFD from charges where CHID = %1").arg(overdue)), 0);
    }

    void refusedCharges()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int foreign = addCharge(db, {.tid = 2, .apid = 11, .amt = 1000});
        Payment p(db, unit10(db));
        for (qint64 amount : {qint64(0), qint64(-500)}) {
            try {
                p.addCharge(QStringLiteral("Repairs"), Money::fromCents(amount), Today);
                QFAIL("a one-time charge of 0 or less was stored");
            } catch (const PaymentRefused& e) {
                QCOMPARE(e.message(), Payment::InvalidAmount);
            }
        }
        for (int n : {0, 13}) {
            try {
                p.chargeAhead(n);
                QFAIL("a count outside 1 to 12 was posted");
            } catch (const PaymentRefused& e) {
                QCOMPARE(e.message(), Payment::PeriodsRange);
            }
        }
        QVERIFY_THROWS_EXCEPTION(PaymentRefused, p.apply(foreign, Money::fromCents(100)));
        QVERIFY_THROWS_EXCEPTION(PaymentRefused, p.apply(foreign + 1000, Money::fromCents(100)));
        QVERIFY_THROWS_EXCEPTION(PaymentRefused, p.setReceived(Money::fromUnits(12345), {}, {}));
        QVERIFY_THROWS_EXCEPTION(PaymentRefused, p.setReceived({}, Money::fromCents(-1), {}));
    }

    void lateFees_data()
    {
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<qint64>("amt");
        QTest::addColumn<qint64>("orig");
        QTest::addColumn<qint64>("flat");
        QTest::addColumn<qint64>("perDay");
        QTest::addColumn<int>("lfd");
        QTest::addColumn<qint64>("fee"); // -1: not selected

        QTest::newRow("25.00 + 2.50 x 10") << 10 << qint64(80000) << qint64(80000) << qint64(2500)
                                           << qint64(250) << 0 << qint64(5000);
        QTest::newRow("flat only, whatever the delay")
            << 40 << qint64(80000) << qint64(80000) << qint64(2500) << qint64(0) << 0 << qint64(2500);
        QTest::newRow("per day only, 30 days") << 30 << qint64(80000) << qint64(80000) << qint64(0)
                                               << qint64(100) << 0 << qint64(3000);
        QTest::newRow("due yesterday") << 1 << qint64(80000) << qint64(80000) << qint64(2500)
                                       << qint64(250) << 0 << qint64(2750);
        QTest::newRow("due today") << 0 << qint64(80000) << qint64(80000) << qint64(2500)
                                   << qint64(250) << 0 << qint64(-1);
        QTest::newRow("partly paid draws the full fee")
            << 10 << qint64(10000) << qint64(80000) << qint64(2500) << qint64(250) << 0 << qint64(5000);
        QTest::newRow("fully paid") << 10 << qint64(0) << qint64(80000) << qint64(2500)
                                    << qint64(250) << 0 << qint64(-1);
        QTest::newRow("fee already billed") << 10 << qint64(80000) << qint64(80000) << qint64(2500)
                                            << qint64(250) << 1 << qint64(-1);
        QTest::newRow("no late-fee terms") << 10 << qint64(80000) << qint64(80000) << qint64(0)
                                           << qint64(0) << 0 << qint64(-1);
    }
    void lateFees()
    {
        QFETCH(int, daysLate);
        QFETCH(qint64, amt);
        QFETCH(qint64, orig);
        QFETCH(qint64, flat);
        QFETCH(qint64, perDay);
        QFETCH(int, lfd);
        QFETCH(qint64, fee);

        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int overdue = addCharge(db, {.forDate = Today.addDays(-daysLate), .amt = amt,
                                           .orig = orig, .flat = flat, .perDay = perDay, .lfd = lfd});
        {
            Payment p(db, unit10(db));
            const QList<LateFee> billed = p.billLateFees();
            QCOMPARE(billed.size(), fee < 0 ? 0 : 1);
            p.confirm();
        }
        if (fee < 0) {
            QCOMPARE(count(db, QStringLiteral("select count(*) from charges")), 1);
            return;
        }
        QSqlQuery q = db.select(QStringLiteral(
            "select TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, LATEFEEFLAT, PERDAY, LFD from "
            "charges where CHID <> %1").arg(overdue));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toInt(), 10);
        QCOMPARE(q.value(2).toString(), QStringLiteral("Rent Late Fee"));
        QCOMPARE(q.value(3).toDate(), Today);
        QCOMPARE(cents(q.value(4)), fee);
        QCOMPARE(cents(q.value(5)), fee);
        QCOMPARE(cents(q.value(6)), qint64(0));
        QCOMPARE(cents(q.value(7)), qint64(0));
        QCOMPARE(q.value(8).toInt(), 0);
        QVERIFY(!q.next());
        QCOMPARE(count(db, QStringLiteral("select LFD from charges where CHID = %1").arg(overdue)), 1);

        // Marked once: the next collection bills nothing more, and the fee draws no fee.
        Clock::setFixed(Today.addDays(20));
        Payment again(db, unit10(db));
        QVERIFY(again.lateFeesDue().isEmpty());
    }

    // Fees are found by unit and billed to whoever lives there now.
    void lateFeeOfAnEarlierTenant()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        addCharge(db, {.tid = 2, .forDate = Today.addDays(-10), .amt = 80000, .flat = 2500, .perDay = 250});
        Payment p(db, unit10(db));
        const QList<LateFee> billed = p.billLateFees();
        QCOMPARE(billed.size(), 1);
        QCOMPARE(count(db, QStringLiteral("select TID from charges where CHID = %1").arg(billed.first().chId)), 1);
        QCOMPARE(p.openCharges().size(), 1);
    }

    void chargeAhead()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        for (const char* s : {
                 "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, "
                 "NEXTDATE, COMPLETED) values (1, 10, 1, 'Rent', 800, 3, '2024-01-01', "
                 "'2025-12-31', '2024-07-01', 0)",
                 "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, "
                 "NEXTDATE, COMPLETED) values (2, 10, 1, 'Parking', 40, 3, '2024-01-01', "
                 "'2024-08-15', '2024-07-01', 0)",
                 "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, "
                 "NEXTDATE, COMPLETED) values (3, 11, 1, 'Storage', 10, 3, '2024-01-01', "
                 "'2025-12-31', '2024-07-01', 0)",
             })
            db.exec(QLatin1String(s));
        {
            Payment p(db, unit10(db));
            QCOMPARE(p.chargeAhead(3), 5);
            p.confirm();
        }
        QCOMPARE(db.scalar(QStringLiteral("select NEXTDATE from recur where RECID = 1")).toDate(),
                 QDate(2024, 10, 1));
        QCOMPARE(db.scalar(QStringLiteral("select COMPLETED from recur where RECID = 2")).toInt(), 1);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where TYPE = 'Rent'")), 3);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where TYPE = 'Parking'")), 2);
        QCOMPARE(count(db, QStringLiteral("select count(*) from charges where APID = 11")), 0);
    }

    // A failure between the payment lines (as a crash there would be) leaves no part of the
    // payment; the screen's own work is still there to confirm again or cancel.
    void failureDuringConfirmWritesNothing()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int a = addCharge(db, {.amt = 50000});
        const int b = addCharge(db, {.amt = 7500});
        const QString before = snapshot(db);
        {
            Payment p(db, unit10(db));
            const int oneTime = p.addCharge(QStringLiteral("Repairs"), Money::fromCents(2500), Today);
            p.apply(a, Money::fromCents(50000));
            p.apply(b, Money::fromCents(7500));
            p.setReceived({}, Money::fromCents(57500), {});
            const QString during = snapshot(db);
            int lines = 0;
            db.beforeExec = [&lines](const QString& sql) {
                if (sql.startsWith(QLatin1String("insert into payments")) && ++lines == 2)
                    throw DbError(QStringLiteral("injected failure"));
            };
            QVERIFY_THROWS_EXCEPTION(DbError, p.confirm());
            db.beforeExec = nullptr;
            QVERIFY(p.isOpen());
            QCOMPARE(snapshot(db), during);
            QVERIFY(!during.contains(QStringLiteral("Payment collected")));
            Q_UNUSED(oneTime);
        }
        // Ended without a commit, as a killed program's would be.
        t.reconnect();
        QCOMPARE(snapshot(t.db()), before);

        // The same payment goes through whole when nothing fails.
        Payment p(t.db(), unit10(t.db()));
        p.apply(a, Money::fromCents(50000));
        p.apply(b, Money::fromCents(7500));
        p.setReceived({}, Money::fromCents(57500), {});
        QCOMPARE(p.confirm().lines.size(), 2);
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from payments")), 2);
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from charges where AMT = 0")), 2);
    }

    void readAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("blank") << QStringLiteral("  ") << true << qint64(0);
        QTest::newRow("two decimals") << QStringLiteral("300.00") << true << qint64(30000);
        QTest::newRow("one decimal") << QStringLiteral("1234.5") << true << qint64(123450);
        QTest::newRow("thousands") << QStringLiteral("1,234.56") << true << qint64(123456);
        QTest::newRow("negative") << QStringLiteral("-5") << true << qint64(-500);
        QTest::newRow("three decimals") << QStringLiteral("12.345") << false << qint64(0);
        QTest::newRow("four decimals") << QStringLiteral("0.0001") << false << qint64(0);
        QTest::newRow("letters") << QStringLiteral("12a") << false << qint64(0);
        QTest::newRow("misplaced separator") << QStringLiteral("1,23.00") << false << qint64(0);
    }
    void readAmount()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, cents);
        QString error;
        const std::optional<Money> m = Payment::readAmount(text, QLocale::c(), &error);
        QCOMPARE(bool(m), ok);
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(*m, Money::fromCents(cents));
    }

    // keystead-admin pay: a quote in the cheque number is stored as typed; an amount above
    // what is owed is refused and nothing is written.
    void adminPay()
    {
        TestDb t;
        addPortfolio(t.db());
        const int a = addCharge(t.db(), {.amt = 50000});
        const int b = addCharge(t.db(), {.amt = 7500});
        const QString before = snapshot(t.db());
        t.db().Disconnect();

        QString out, err;
        QCOMPARE(runAdmin({QStringLiteral("pay"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--check"), QStringLiteral("600.00"),
                           QStringLiteral("--apply"), QStringLiteral("%1=600.00").arg(a)},
                          &out, &err),
                 1);
        QVERIFY2(err.contains(Payment::TooMuch), qPrintable(err));
        QCOMPARE(runAdmin({QStringLiteral("pay"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--cash"), QStringLiteral("10.005"),
                           QStringLiteral("--apply"), QStringLiteral("%1=10.00").arg(a)},
                          &out, &err),
                 2);
        QVERIFY2(err.contains(QStringLiteral("at most two decimals")), qPrintable(err));
        QCOMPARE(runAdmin({QStringLiteral("pay"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--cash"), QStringLiteral("10.00"),
                           QStringLiteral("--apply"), QStringLiteral("%1=20.00").arg(a)},
                          &out, &err),
                 1);
        QVERIFY2(err.contains(Payment::Discrepancy), qPrintable(err));
        t.reconnect();
        QCOMPARE(snapshot(t.db()), before);
        t.db().Disconnect();

        const QString number = QStringLiteral("O'Neil 12'; drop table trans; --");
        QCOMPARE(runAdmin({QStringLiteral("pay"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--date"),
                           QStringLiteral("2024-03-14"), QStringLiteral("--check"),
                           QStringLiteral("500.00"), QStringLiteral("--check-no"), number,
                           QStringLiteral("--card"), QStringLiteral("75.00"),
                           QStringLiteral("--apply"), QStringLiteral("%1=500.00").arg(a),
                           QStringLiteral("%1=75").arg(b)},
                          &out, &err),
                 0);
        QVERIFY2(out.contains(QStringLiteral("applied 575.00 of 575.00 due")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("charge %1 Rent due").arg(b)), qPrintable(out));
        t.reconnect();
        QSqlQuery q = t.db().select(QStringLiteral("select CHECKN, TDATE, PAYTOTAL from trans"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), number);
        QCOMPARE(q.value(1).toDate(), QDate(2024, 3, 14));
        QCOMPARE(cents(q.value(2)), qint64(57500));
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from payments")), 2);
    }

    void adminLateFees()
    {
        TestDb t;
        addPortfolio(t.db());
        addCharge(t.db(), {.forDate = QDate(2024, 3, 5), .amt = 80000, .flat = 2500, .perDay = 250});
        t.db().Disconnect();
        QString out, err;
        QCOMPARE(runAdmin({QStringLiteral("late-fees"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--today"), QStringLiteral("2024-03-15")},
                          &out, &err),
                 0);
        QVERIFY2(out.contains(QStringLiteral("50.00 for charge")), qPrintable(out));
        QCOMPARE(runAdmin({QStringLiteral("late-fees"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("1"), QStringLiteral("--today"), QStringLiteral("2024-03-16")},
                          &out, &err),
                 0);
        QVERIFY2(out.contains(QStringLiteral("nothing was written")), qPrintable(out));
        QCOMPARE(runAdmin({QStringLiteral("late-fees"), t.path(), QStringLiteral("--tenant"),
                           QStringLiteral("3")},
                          &out, &err),
                 1);
        QVERIFY2(err.contains(QStringLiteral("No apartment has been assigned to tenant!")), qPrintable(err));
        t.reconnect();
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from charges")), 2);
    }
};

QTEST_MAIN(TestPayment)
#include "tst_payment.moc"
