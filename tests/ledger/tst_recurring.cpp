#include "data/Clock.h"
#include "ledger/Posting.h"
#include "ledger/RecurringCharges.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

QList<QDate> chargeDates(Database& db)
{
    QList<QDate> dates;
    QSqlQuery q = db.select(QStringLiteral("select fordate from charges order by fordate"));
    while (q.next())
        dates << q.value(0).toDate();
    return dates;
}

RecurringCharges::Values parking(int freq, const QDate& start, const QDate& end)
{
    RecurringCharges::Values v;
    v.type = QStringLiteral("Parking");
    v.amount = Money::fromCents(4000);
    v.lateFee = Money::fromCents(500);
    v.perDay = Money::fromCents(25);
    v.freq = freq;
    v.startDate = start;
    v.endDate = end;
    return v;
}

} // namespace

class TestRecurring : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    void addPostsAtOnce_data()
    {
        QTest::addColumn<int>("freq"); // 0: a user frequency of 10 days
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QList<QDate>>("charges");
        QTest::addColumn<QDate>("next");
        QTest::addColumn<bool>("completed");

        const QDate year = Today.addYears(1);
        QTest::newRow("today") << 3 << Today << year << QList<QDate>{Today} << Today.addMonths(1)
                               << false;
        QTest::newRow("three months ago")
            << 3 << Today.addMonths(-3) << year
            << QList<QDate>{Today.addMonths(-3), Today.addMonths(-2), Today.addMonths(-1), Today}
            << Today.addMonths(1) << false;
        QTest::newRow("three weeks ago")
            << 5 << Today.addDays(-21) << year
            << QList<QDate>{Today.addDays(-21), Today.addDays(-14), Today.addDays(-7), Today}
            << Today.addDays(7) << false;
        QTest::newRow("three user periods ago")
            << 0 << Today.addDays(-30) << year
            << QList<QDate>{Today.addDays(-30), Today.addDays(-20), Today.addDays(-10), Today}
            << Today.addDays(10) << false;
        QTest::newRow("in the future")
            << 3 << Today.addDays(20) << year << QList<QDate>{Today.addDays(20)}
            << Today.addDays(20).addMonths(1) << false;
        QTest::newRow("start and end today")
            << 3 << Today << Today << QList<QDate>{Today} << Today.addMonths(1) << true;
    }
    void addPostsAtOnce()
    {
        QFETCH(int, freq);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QList<QDate>, charges);
        QFETCH(QDate, next);
        QFETCH(bool, completed);
        TestDb t;
        Database& db = t.db();
        if (freq == 0) {
            freq = db.NextKey(QStringLiteral("GEN_FREQUENCY_ID"));
            db.exec(QStringLiteral("insert into frequency (freqid, name, days, system) values "
                                   "(%1, 'Ten days', 10, 0)")
                        .arg(freq));
        }
        const RecurringCharges::Added added =
            RecurringCharges::add(db, 10, 1, parking(freq, start, end));
        QCOMPARE(added.chargesPosted, charges.size());
        QCOMPARE(added.completed, completed);
        QCOMPARE(chargeDates(db), charges);
        const auto row = RecurRow::load(db, added.recId);
        QVERIFY(row);
        QCOMPARE(row->apId, 10);
        QCOMPARE(row->tId, 1);
        QCOMPARE(row->type, QStringLiteral("Parking"));
        QCOMPARE(row->startDate, start);
        QCOMPARE(row->nextDate, next);
        QCOMPARE(row->completed, completed ? 1 : 0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges where type='Parking' and "
                                          "amt=40 and origamount=40 and latefeeflat=5 and "
                                          "perday=0.25 and tid=1 and apid=10"))
                     .toInt(),
                 charges.size());
    }

    void aFailedAddStoresNothing()
    {
        TestDb t;
        Database& db = t.db();
        db.beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("update recur set nextdate")))
                throw DbError(QStringLiteral("injected failure"), sql);
        };
        QVERIFY_THROWS_EXCEPTION(
            DbError,
            RecurringCharges::add(db, 10, 1, parking(3, Today.addMonths(-2), Today.addYears(1))));
        db.beforeExec = nullptr;
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from recur")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 0);
    }

    void editingLeavesNextDateCompletionAndChargesAlone()
    {
        TestDb t;
        Database& db = t.db();
        const int id =
            RecurringCharges::add(db, 10, 1, parking(3, Today.addMonths(-1), Today)).recId;
        const auto before = RecurRow::load(db, id);
        QCOMPARE(before->completed, 1);

        RecurringCharges::Values v = parking(5, Today.addMonths(-2), Today.addYears(2));
        v.type = QStringLiteral("Utilities");
        v.amount = Money::fromCents(12345);
        RecurringCharges::update(db, id, v);

        const auto after = RecurRow::load(db, id);
        QCOMPARE(after->type, QStringLiteral("Utilities"));
        QCOMPARE(after->amount.toSql(), QStringLiteral("123.45"));
        QCOMPARE(after->freq, 5);
        QCOMPARE(after->endDate, Today.addYears(2));
        QCOMPARE(after->nextDate, before->nextDate);
        QCOMPARE(after->completed, 1);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges where amt=40 and "
                                          "type='Parking'"))
                     .toInt(),
                 2);
    }

    void dateRangeAndRentRules()
    {
        QCOMPARE(RecurringCharges::check(parking(3, Today, Today)), QString());
        QCOMPARE(RecurringCharges::check(parking(3, Today, Today.addDays(-1))),
                 QStringLiteral("Invalid date range!"));
        QVERIFY(!RecurringCharges::mayDelete(QStringLiteral("Rent")));
        QVERIFY(RecurringCharges::mayDelete(QStringLiteral("rent")));
        QVERIFY(RecurringCharges::mayDelete(QStringLiteral("Rent Late Fee")));
    }
};

QTEST_MAIN(TestRecurring)
#include "tst_recurring.moc"
