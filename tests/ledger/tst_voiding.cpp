#include "data/Clock.h"
#include "data/SqlText.h"
#include "ledger/Payment.h"
#include "ledger/Voiding.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Tenant 1 rents unit 10. Charge 1 is rent of 500.00 with a late fee billed (LFD 1), charge
// 2 parking of 75.00, charge 3 rent of April.
void addPortfolio(Database& db)
{
    for (const char* s : {
             "insert into owners (OID, CODE) values (1, 'OWN')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'Elm Court')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (1, 'T1', 'Ann', 'Lee')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (10, 1, '1A', 1, 5)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED, LFD) "
             "values (1, 1, 10, 'Rent', '2024-03-01', 500, 500, 0, 1)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED, LFD) "
             "values (2, 1, 10, 'Parking', '2024-03-01', 75, 75, 0, 0)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED, LFD) "
             "values (3, 1, 10, 'Rent', '2024-04-01', 500, 500, 0, 0)",
             "set generator gen_charges_id to 100",
         })
        db.exec(QLatin1String(s));
}

// A payment as the payment screen makes it; returns its TRANSID.
int pay(Database& db, const QList<QPair<int, qint64>>& cents)
{
    Payment p(db, *PaymentUnit::ofTenant(db, 1));
    Money total;
    for (const auto& [chId, c] : cents) {
        p.apply(chId, Money::fromCents(c));
        total += Money::fromCents(c);
    }
    p.setReceived(total, Money(), Money());
    return p.confirm().transId;
}

QString charges(Database& db)
{
    QStringList out;
    QSqlQuery q = db.select(QStringLiteral("select CHID, AMT, APPLIED, LFD from charges order by CHID"));
    while (q.next())
        out << QStringLiteral("%1:%2/%3/%4")
                   .arg(q.value(0).toInt())
                   .arg(Money::fromVariant(q.value(1)).toSql(), Money::fromVariant(q.value(2)).toSql())
                   .arg(q.value(3).toInt());
    return out.join(QLatin1Char(' '));
}

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

// Every table a void touches, to compare before and after.
QString snapshot(Database& db)
{
    QString s = charges(db);
    for (const char* sql : {"select * from trans order by TRANSID", "select * from payments order by PAYID",
                            "select ACCID, INCOME from cashbook order by ACCID"}) {
        QSqlQuery q = db.select(QLatin1String(sql));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                s += q.value(i).toString() + QLatin1Char('|');
        s += QLatin1Char('\n');
    }
    return s;
}

} // namespace

class TestVoiding : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    // 300.00 paid on 500.00 owes 500.00 again; a payment of two charges gives both back and
    // deletes both lines and, when asked, both cashbook entries. Late-fee marks stay.
    void voidGivesTheChargesBack_data()
    {
        QTest::addColumn<bool>("deleteCashbook");
        QTest::newRow("cashbook entries deleted") << true;
        QTest::newRow("cashbook entries kept") << false;
    }
    void voidGivesTheChargesBack()
    {
        QFETCH(bool, deleteCashbook);
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int partial = pay(db, {{1, 30000}});
        QCOMPARE(charges(db), QStringLiteral("1:200.00/0.00/1 2:75.00/0.00/0 3:500.00/0.00/0"));
        const int both = pay(db, {{1, 20000}, {2, 7500}});
        QCOMPARE(count(db, "select count(*) from cashbook"), 3);

        VoidResult r = Voiding::voidTransaction(db, both, deleteCashbook);
        QCOMPARE(r.lines.size(), 2);
        QCOMPARE(r.lines.at(0).owedAfter, Money::fromCents(20000));
        QCOMPARE(charges(db), QStringLiteral("1:200.00/0.00/1 2:75.00/0.00/0 3:500.00/0.00/0"));
        QCOMPARE(count(db, QStringLiteral("select count(*) from payments where transid = %1").arg(both)), 0);
        QCOMPARE(count(db, QStringLiteral("select count(*) from trans where transid = %1").arg(both)), 0);
        QCOMPARE(count(db, "select count(*) from cashbook"), deleteCashbook ? 1 : 3);

        r = Voiding::voidTransaction(db, partial, deleteCashbook);
        QCOMPARE(r.payTotal, Money::fromCents(30000));
        QCOMPARE(charges(db), QStringLiteral("1:500.00/0.00/1 2:75.00/0.00/0 3:500.00/0.00/0"));
        QCOMPARE(count(db, "select count(*) from trans"), 0);
        QCOMPARE(count(db, "select count(*) from cashbook"), deleteCashbook ? 0 : 3);
        QVERIFY(!db.inTransaction());
    }

    // A line whose charge or cashbook entry is gone changes nothing for itself; the void
    // completes. A transaction that does not exist is refused.
    void goneRowsAndMissingTransactions()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int trans = pay(db, {{1, 50000}, {2, 7500}});
        db.exec(QStringLiteral("delete from charges where CHID = 2"));
        db.exec(QStringLiteral("delete from cashbook where ACCID = (select ACCID from payments "
                               "where CHID = 1)"));
        const VoidResult r = Voiding::voidTransaction(db, trans, true);
        QVERIFY(r.lines.at(0).chargeFound && !r.lines.at(0).cashbookDeleted);
        QVERIFY(!r.lines.at(1).chargeFound && r.lines.at(1).cashbookDeleted);
        QCOMPARE(charges(db), QStringLiteral("1:500.00/0.00/1 3:500.00/0.00/0"));
        QCOMPARE(count(db, "select count(*) from cashbook") + count(db, "select count(*) from payments"), 0);

        const QString before = snapshot(db);
        QVERIFY_THROWS_EXCEPTION(VoidRefused, Voiding::voidTransaction(db, trans, true));
        QCOMPARE(snapshot(db), before);
    }

    // A failure at any statement of the void leaves everything as it was.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("second charge") << QStringLiteral("update charges");
        QTest::newRow("cashbook") << QStringLiteral("delete from cashbook");
        QTest::newRow("payment lines") << QStringLiteral("delete from payments");
        QTest::newRow("transaction") << QStringLiteral("delete from trans");
    }
    void failureLeavesNothing()
    {
        QFETCH(QString, failing);
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        const int trans = pay(db, {{1, 50000}, {2, 7500}});
        const QString before = snapshot(db);
        int seen = 0;
        db.beforeExec = [&](const QString& sql) {
            // The second charge, or the first of the others.
            if (sql.startsWith(failing) && ++seen == (failing == QLatin1String("update charges") ? 2 : 1))
                throw DbError(QStringLiteral("lock conflict on no wait transaction"), sql);
        };
        QVERIFY_THROWS_EXCEPTION(DbError, Voiding::voidTransaction(db, trans, true));
        db.beforeExec = nullptr;
        QVERIFY(seen > 0);
        QVERIFY(!db.inTransaction());
        QCOMPARE(snapshot(db), before);
    }

    // keystead-admin void: what it changed, and bad input refused with nothing written.
    void voidFromTheCommandLine()
    {
        TestDb t;
        addPortfolio(t.db());
        const int trans = pay(t.db(), {{1, 30000}});
        const QString before = snapshot(t.db());
        t.db().Disconnect();
        QString out, err;
        QCOMPARE(runAdmin({QStringLiteral("void"), t.path()}, &out, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("--trans is missing")), qPrintable(err));
        QCOMPARE(runAdmin({QStringLiteral("void"), t.path(), QStringLiteral("--trans"), QStringLiteral("-3")},
                          &out, &err),
                 2);
        QCOMPARE(runAdmin({QStringLiteral("void"), t.path(), QStringLiteral("--trans"),
                           QString::number(trans + 1)},
                          &out, &err),
                 1);
        QVERIFY2(err.contains(QStringLiteral("Nothing was changed")), qPrintable(err));
        t.reconnect();
        QCOMPARE(snapshot(t.db()), before);
        t.db().Disconnect();

        QCOMPARE(runAdmin({QStringLiteral("void"), t.path(), QStringLiteral("--trans"),
                           QString::number(trans), QStringLiteral("--keep-cashbook")},
                          &out, &err),
                 0);
        QVERIFY2(out.contains(QStringLiteral("owes 500.00 again (was 200.00")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("kept")), qPrintable(out));
        t.reconnect();
        QCOMPARE(charges(t.db()), QStringLiteral("1:500.00/0.00/1 2:75.00/0.00/0 3:500.00/0.00/0"));
        QCOMPARE(count(t.db(), "select count(*) from cashbook"), 1);
    }
};

QTEST_GUILESS_MAIN(TestVoiding)
#include "tst_voiding.moc"
