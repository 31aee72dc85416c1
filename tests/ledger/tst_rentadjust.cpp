#include "ledger/RentAdjustment.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>

namespace {

// Building 1 has units 1 (rent 1000.00, tenant 1) and 2 (833.33, tenant 2); building 2 has
// unit 3 (700.00, tenant 3). Agreements 1 to 3 run; agreement 4 of unit 1 is completed and
// agreement 5 of unit 2 has a NULL flag (running). Recurring charges: 1 "Rent" of unit 1,
// 2 "RENT" of unit 2, 3 "rent" of unit 3, 4 "Parking" of unit 1, 5 a completed "Rent" of
// unit 1, 6 a "Rent" of unit 2 whose flag is NULL (running).
void addPortfolio(Database& db)
{
    for (const char* s : {
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'North')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (2, 1, 'South')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID, RENT) values (1, 1, '1', 1, 1, 1000.00)",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID, RENT) values (2, 1, '2', 2, 2, 833.33)",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID, RENT) values (3, 2, '3', 3, 3, 700.00)",
             "insert into agreements (RID, APID, TID, RENT, COMPLETED) values (1, 1, 1, 1000.00, 0)",
             "insert into agreements (RID, APID, TID, RENT, COMPLETED) values (2, 2, 2, 833.33, 0)",
             "insert into agreements (RID, APID, TID, RENT, COMPLETED) values (3, 3, 3, 700.00, 0)",
             "insert into agreements (RID, APID, TID, RENT, COMPLETED) values (4, 1, 1, 950.00, 1)",
             "insert into agreements (RID, APID, TID, RENT, COMPLETED) values (5, 2, 2, 100.00, null)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (1, 1, 1, 'Rent', 1000.00, 0)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (2, 2, 2, 'RENT', 833.33, 0)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (3, 3, 3, 'rent', 700.00, 0)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (4, 1, 1, 'Parking', 50.00, 0)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (5, 1, 1, 'Rent', 900.00, 1)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, COMPLETED) values (6, 2, 2, 'Rent', 10.00, null)",
         })
        db.exec(QLatin1String(s));
}

// "units 1000.00 833.33 700.00 | agreements ... | recur ...", in key order.
QString rents(Database& db)
{
    QStringList parts;
    for (const char* sql : {"select RENT from apartments order by APID", "select RENT from agreements order by RID",
                            "select AMOUNT from recur order by RECID"}) {
        QStringList values;
        QSqlQuery q = db.select(QLatin1String(sql));
        while (q.next())
            values << Money::fromVariant(q.value(0)).toSql();
        parts << values.join(QLatin1Char(' '));
    }
    return parts.join(QStringLiteral(" | "));
}

const QString Before = QStringLiteral("1000.00 833.33 700.00 | 1000.00 833.33 700.00 950.00 100.00 | "
                                      "1000.00 833.33 700.00 50.00 900.00 10.00");

} // namespace

Q_DECLARE_METATYPE(RentAdjustment)

class TestRentAdjust : public QObject
{
    Q_OBJECT

private slots:
    void adjustments_data()
    {
        using S = RentAdjustment::Scope;
        using K = RentAdjustment::Kind;
        using T = RentAdjustment::Target;
        QTest::addColumn<RentAdjustment>("adjustment");
        QTest::addColumn<QString>("after");
        auto row = [](const char* name, S scope, int id, K kind, qint64 cents, T target, const char* after) {
            QTest::newRow(name) << RentAdjustment{scope, id, kind, Money::fromCents(cents), target}
                                << QString::fromLatin1(after);
        };
        row("5 percent, all units, future rates", S::AllUnits, 0, K::Percentage, 500, T::FutureRates,
            "1050.00 875.00 735.00 | 1000.00 833.33 700.00 950.00 100.00 | "
            "1000.00 833.33 700.00 50.00 900.00 10.00");
        row("25 by amount, building 1, both", S::Building, 1, K::Amount, 2500, T::Both,
            "1025.00 858.33 700.00 | 1025.00 858.33 700.00 950.00 125.00 | "
            "1025.00 858.33 700.00 50.00 900.00 35.00");
        row("tenant 2, current agreements", S::Tenant, 2, K::Percentage, 350, T::CurrentAgreements,
            "1000.00 833.33 700.00 | 1000.00 862.50 700.00 950.00 103.50 | "
            "1000.00 862.50 700.00 50.00 900.00 10.35");
        row("minus 10 percent, unit 2, both", S::Unit, 2, K::Percentage, -1000, T::Both,
            "1000.00 750.00 700.00 | 1000.00 750.00 700.00 950.00 90.00 | "
            "1000.00 750.00 700.00 50.00 900.00 9.00");
        // Every running rent whatever its letter case; parking and completed rows stay.
        row("all, current agreements", S::AllUnits, 0, K::Amount, -100, T::CurrentAgreements,
            "1000.00 833.33 700.00 | 999.00 832.33 699.00 950.00 99.00 | "
            "999.00 832.33 699.00 50.00 900.00 9.00");
    }
    void adjustments()
    {
        QFETCH(RentAdjustment, adjustment);
        QFETCH(QString, after);
        TestDb t;
        addPortfolio(t.db());
        QCOMPARE(rents(t.db()), Before);
        RentAdjust::adjust(t.db(), adjustment);
        QCOMPARE(rents(t.db()), after);
        QVERIFY(!t.db().inTransaction());
    }

    // Refused: a scope without its record, more than two decimals, a rent taken below zero,
    // and a statement that fails half-way; nothing of any of them is kept.
    void refusedAndFailedAdjustmentsChangeNothing()
    {
        TestDb t;
        Database& db = t.db();
        addPortfolio(db);
        RentAdjustment a{RentAdjustment::Scope::Unit, 0, RentAdjustment::Kind::Amount,
                         Money::fromCents(2500), RentAdjustment::Target::Both};
        try {
            RentAdjust::adjust(db, a);
            QFAIL("a unit scope without a unit was accepted");
        } catch (const AdjustmentRefused& e) {
            QCOMPARE(e.message(), RentAdjustment::NothingSelected);
        }
        a.scope = RentAdjustment::Scope::AllUnits;
        a.value = Money::fromUnits(250001);
        QVERIFY_THROWS_EXCEPTION(AdjustmentRefused, RentAdjust::adjust(db, a));
        // Lowering by more than the smallest rent in reach would make it negative.
        a.value = Money::fromCents(-80000);
        try {
            RentAdjust::adjust(db, a);
            QFAIL("a rent below zero was accepted");
        } catch (const AdjustmentRefused& e) {
            QCOMPARE(e.message(), RentAdjustment::BelowZero.arg(1));
        }
        a.value = Money::fromCents(2500);
        db.beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("update recur")))
                throw DbError(QStringLiteral("deadlock"), sql);
        };
        QVERIFY_THROWS_EXCEPTION(DbError, RentAdjust::adjust(db, a));
        db.beforeExec = nullptr;
        QCOMPARE(rents(db), Before);
        QVERIFY(!db.inTransaction());
    }

    void operatorTexts()
    {
        RentAdjustment a;
        a.value = Money::fromCents(500);
        QCOMPARE(a.operatorText(), QStringLiteral(" * 1.05"));
        a.value = Money::fromCents(350);
        QCOMPARE(a.operatorText(), QStringLiteral(" * 1.035"));
        a.value = Money::fromCents(-1000);
        QCOMPARE(a.operatorText(), QStringLiteral(" * 0.9"));
        a.kind = RentAdjustment::Kind::Amount;
        a.value = Money::fromCents(2500);
        QCOMPARE(a.operatorText(), QStringLiteral(" + 25.00"));
    }

    // keystead-admin adjust-rent: what it changed; bad input refused with nothing written.
    void adjustFromTheCommandLine()
    {
        TestDb t;
        addPortfolio(t.db());
        t.db().Disconnect();
        const QString path = t.path();
        auto run = [&path](QStringList args, QString* out, QString* err) {
            args.prepend(path);
            args.prepend(QStringLiteral("adjust-rent"));
            return runAdmin(args, out, err);
        };
        QString out, err;
        const QList<QStringList> refused = {
            {"--percent", "5", "--amount", "25", "--target", "units"},
            {"--percent", "5"},
            {"--percent", "5", "--target", "rates"},
            {"--percent", "five", "--target", "units"},
            {"--amount", "25.005", "--target", "units"},
            {"--amount", "25", "--unit", "1", "--tenant", "1", "--target", "both"},
            {"--amount", "25", "--building", "0", "--target", "both"},
        };
        for (const QStringList& args : refused)
            QVERIFY2(run(args, &out, &err) == 2, qPrintable(args.join(QLatin1Char(' '))));
        QCOMPARE(run({"--amount", "25", "--building", "9", "--target", "both"}, &out, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("no building 9")), qPrintable(err));
        t.reconnect();
        QCOMPARE(rents(t.db()), Before);
        t.db().Disconnect();

        QCOMPARE(run({"--percent", "5", "--building", "1", "--target", "units"}, &out, &err), 0);
        QVERIFY2(out.contains(QStringLiteral("2 changed, 1,833.33 -> 1,925.00")), qPrintable(out));
        t.reconnect();
        QVERIFY(rents(t.db()).startsWith(QStringLiteral("1050.00 875.00 700.00 |")));
    }
};

QTEST_GUILESS_MAIN(TestRentAdjust)
#include "tst_rentadjust.moc"
