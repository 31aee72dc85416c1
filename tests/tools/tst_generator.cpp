#include "data/Clock.h"
#include "tools/PortfolioGenerator.h"
#include "support/TestDb.h"

#include <QTest>

class TestGenerator : public QObject
{
    Q_OBJECT

    static int count(Database& db, const char* sql) { return db.scalar(QLatin1String(sql)).toInt(); }

private slots:
    void init() { Clock::setFixed(QDate(2026, 12, 1)); }
    void cleanup() { Clock::reset(); }

    void tinyPortfolioHoldsItsInvariants()
    {
        TestDb t;
        Database& db = t.db();
        const PortfolioSize size = PortfolioSize::named(QStringLiteral("tiny"));
        const PortfolioCounts made = generatePortfolio(db, size, 7);

        QCOMPARE(count(db, "select count(*) from owners"), size.owners);
        QCOMPARE(count(db, "select count(*) from buildings"), size.buildings);
        QCOMPARE(count(db, "select count(*) from apartments"), size.units);
        QCOMPARE(count(db, "select count(*) from tenants"), size.tenants);
        QCOMPARE(count(db, "select count(*) from agreements"), size.units);
        QCOMPARE(made.agreements, size.units);
        QCOMPARE(count(db, "select count(*) from charges"), made.charges);
        // A year of monthly rent and this month's charge for every unit.
        QVERIFY(made.charges >= size.units * 12);
        QCOMPARE(count(db, "select count(*) from payments"), made.payments);
        QCOMPARE(count(db, "select count(*) from charges where amt > 0"), made.openCharges);

        // Every unit is occupied: a tenant and its own agreement.
        QCOMPARE(count(db, "select count(*) from apartments a join agreements g on g.rid = a.agreeid "
                           "where a.tid > 0 and g.apid = a.apid and g.tid = a.tid"), size.units);
        // Every charge belongs to a recurring charge of its unit and tenant.
        QCOMPARE(count(db, "select count(*) from charges c where not exists (select 1 from recur r "
                           "where r.apid = c.apid and r.tid = c.tid and r.type = c.type)"), 0);
        // Payments never exceed the charge, and what is owed is what is left.
        QCOMPARE(count(db, "select count(*) from charges c where c.origamount < (select coalesce(sum(p.amount), 0) "
                           "from payments p where p.chid = c.chid)"), 0);
        QCOMPARE(count(db, "select count(*) from charges c where c.amt <> c.origamount - (select coalesce(sum(p.amount), 0) "
                           "from payments p where p.chid = c.chid)"), 0);
        // Each payment line has its transaction and its cashbook income row, of the same amount.
        QCOMPARE(count(db, "select count(*) from payments p join trans t on t.transid = p.transid "
                           "join cashbook b on b.accid = p.accid where b.income = p.amount and t.paytotal = p.amount "
                           "and b.catid = (select catid from categories where name = 'Rent')"), made.payments);
        // Keys came from the generators: the next key lies beyond every stored one.
        QVERIFY(count(db, "select gen_id(gen_charges_id, 0) from rdb$database") >= count(db, "select max(chid) from charges"));
        QVERIFY(count(db, "select gen_id(gen_payments_id, 0) from rdb$database") >= count(db, "select max(payid) from payments"));
        QCOMPARE(count(db, "select count(*) from vendors"), size.vendors);
        QCOMPARE(count(db, "select count(*) from maintenance"), size.maintenance);
        QCOMPARE(count(db, "select count(*) from equipments"), size.equipment);
    }

    void sameSeedSameData()
    {
        auto fingerprint = [](quint32 seed) {
            TestDb t;
            generatePortfolio(t.db(), PortfolioSize::named(QStringLiteral("tiny")), seed);
            return t.db().scalar(QStringLiteral("select sum(amt * 7 + origamount) || '/' || count(*) from charges")).toString() +
                   t.db().scalar(QStringLiteral("select list(lastname, ',') from tenants")).toString();
        };
        QCOMPARE(fingerprint(3), fingerprint(3));
        QVERIFY(fingerprint(3) != fingerprint(4));
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
