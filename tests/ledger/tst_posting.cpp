#include "data/Clock.h"
#include "data/Money.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// One RECUR row; each row bills its own tenant and unit, so its charges can be told apart.
struct Recur
{
    int freq = 5;
    QDate next;
    QDate end = Today.addYears(1);
    QString amount = QStringLiteral("100.00");
};

int tenantOf(int recId)
{
    return 1000 + recId;
}

int addRecur(Database& db, const Recur& r)
{
    const int id = db.NextKey(QStringLiteral("GEN_RECUR_ID"));
    db.exec(QStringLiteral("insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, "
                           "ENDDATE, NEXTDATE, COMPLETED, LATEFEE, PERDAY) values (%1, %2, %3, "
                           "'Rent', %4, %5, '%6', '%7', '%6', 0, 10.00, 1.50)")
                .arg(id)
                .arg(2000 + id)
                .arg(tenantOf(id))
                .arg(r.amount)
                .arg(r.freq)
                .arg(SqlDate(r.next), SqlDate(r.end)));
    return id;
}

int addFrequency(Database& db, const QString& days)
{
    const int id = db.NextKey(QStringLiteral("GEN_FREQUENCY_ID"));
    db.exec(QStringLiteral("insert into frequency (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) "
                           "values (%1, 'Custom', 'user frequency', %2, 0)")
                .arg(id)
                .arg(days));
    return id;
}

RecurRow row(Database& db, int recId)
{
    const auto r = RecurRow::load(db, recId);
    if (!r)
        qFatal("no RECUR row %d", recId);
    return *r;
}

QList<QDate> chargeDates(Database& db, int recId)
{
    QList<QDate> dates;
    QSqlQuery q =
        db.select(QStringLiteral("select FORDATE from charges where TID=%1 order by FORDATE")
                      .arg(tenantOf(recId)));
    while (q.next())
        dates.append(q.value(0).toDate());
    return dates;
}

QList<QDate> offsets(const QList<int>& days)
{
    QList<QDate> dates;
    for (int d : days)
        dates.append(Today.addDays(d));
    return dates;
}

} // namespace

class TestPosting : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    void advanceChargeDate_data()
    {
        QTest::addColumn<int>("freq"); // 0: a user frequency of 10 days
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("expected");

        QTest::newRow("bi-weekly") << 1 << QDate(2024, 1, 1) << QDate(2024, 1, 15);
        QTest::newRow("bi-weekly over leap day") << 1 << QDate(2024, 2, 20) << QDate(2024, 3, 5);
        QTest::newRow("bi-weekly over 28 Feb") << 1 << QDate(2023, 2, 20) << QDate(2023, 3, 6);
        QTest::newRow("semi-annual") << 2 << QDate(2024, 1, 15) << QDate(2024, 7, 15);
        QTest::newRow("semi-annual 31 Aug, leap") << 2 << QDate(2023, 8, 31) << QDate(2024, 2, 29);
        QTest::newRow("semi-annual 31 Aug") << 2 << QDate(2022, 8, 31) << QDate(2023, 2, 28);
        QTest::newRow("monthly 31 Jan, leap") << 3 << QDate(2008, 1, 31) << QDate(2008, 2, 29);
        QTest::newRow("monthly 31 Jan") << 3 << QDate(2007, 1, 31) << QDate(2007, 2, 28);
        QTest::newRow("monthly from clamped 29 Feb")
            << 3 << QDate(2008, 2, 29) << QDate(2008, 3, 29);
        QTest::newRow("monthly from clamped 28 Feb")
            << 3 << QDate(2007, 2, 28) << QDate(2007, 3, 28);
        QTest::newRow("monthly 31 Mar") << 3 << QDate(2024, 3, 31) << QDate(2024, 4, 30);
        QTest::newRow("monthly over year end") << 3 << QDate(2024, 12, 15) << QDate(2025, 1, 15);
        QTest::newRow("quarterly 30 Nov, leap") << 4 << QDate(2023, 11, 30) << QDate(2024, 2, 29);
        QTest::newRow("quarterly 31 Jan") << 4 << QDate(2024, 1, 31) << QDate(2024, 4, 30);
        QTest::newRow("weekly over leap day") << 5 << QDate(2024, 2, 26) << QDate(2024, 3, 4);
        QTest::newRow("weekly over year end") << 5 << QDate(2023, 12, 28) << QDate(2024, 1, 4);
        QTest::newRow("yearly 29 Feb") << 6 << QDate(2024, 2, 29) << QDate(2025, 2, 28);
        QTest::newRow("yearly over leap day") << 6 << QDate(2023, 3, 1) << QDate(2024, 3, 1);
        QTest::newRow("user 10 days, leap") << 0 << QDate(2024, 2, 25) << QDate(2024, 3, 6);
        QTest::newRow("user 10 days") << 0 << QDate(2023, 2, 25) << QDate(2023, 3, 7);
    }
    void advanceChargeDate()
    {
        QFETCH(int, freq);
        QFETCH(QDate, from);
        QFETCH(QDate, expected);
        TestDb t;
        // The built-in steps are fixed: whatever DAYS their rows hold must not matter.
        t.db().exec(QStringLiteral("update frequency set days = 0 where freqid <= 6"));
        if (freq == 0)
            freq = addFrequency(t.db(), QStringLiteral("10"));
        Posting p(t.db());
        QCOMPARE(p.AdvanceChargeDate(from, freq), expected);
    }

    void monthEndChainIsPosted_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("february");
        QTest::newRow("leap year") << 2008 << 29;
        QTest::newRow("common year") << 2007 << 28;
    }
    void monthEndChainIsPosted()
    {
        QFETCH(int, year);
        QFETCH(int, february);
        TestDb t;
        Clock::setFixed(QDate(year, 4, 15));
        const int id = addRecur(t.db(), {3, QDate(year, 1, 31), QDate(year, 12, 31)});
        Posting p(t.db());
        QCOMPARE(p.PostRecurringCharge(row(t.db(), id)), 1);
        QCOMPARE(
            chargeDates(t.db(), id),
            (QList<QDate>{QDate(year, 1, 31), QDate(year, 2, february), QDate(year, 3, february)}));
        QCOMPARE(row(t.db(), id).nextDate, QDate(year, 4, february));
    }

    // Offsets are days from today.
    void dueCharges_data()
    {
        QTest::addColumn<int>("freq"); // 0: a user frequency of 30 days
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("ahead");
        QTest::addColumn<QList<int>>("charges");
        QTest::addColumn<int>("nextAfter");
        QTest::addColumn<int>("completed");

        QTest::newRow("due today") << 5 << 0 << 365 << 0 << QList<int>{0} << 7 << 0;
        QTest::newRow("due tomorrow, ahead 0") << 5 << 1 << 365 << 0 << QList<int>{} << 1 << 0;
        QTest::newRow("due in 3, ahead 5") << 0 << 3 << 365 << 5 << QList<int>{3} << 33 << 0;
        QTest::newRow("70 days overdue, 30-day frequency")
            << 0 << -70 << 365 << 0 << QList<int>{-70, -40, -10} << 20 << 0;
        // The next date after today is within the days ahead, yet waits for the next run.
        QTest::newRow("overdue stops after today")
            << 5 << -3 << 365 << 10 << QList<int>{-3} << 4 << 0;
        QTest::newRow("due date on the end date")
            << 5 << -14 << -7 << 0 << QList<int>{-14, -7} << 0 << 1;
        QTest::newRow("future first date beyond the end")
            << 5 << 2 << 3 << 5 << QList<int>{2} << 9 << 1;
        // The end date was moved back before the next date: nothing more falls due.
        QTest::newRow("end moved before an overdue next date")
            << 5 << -3 << -10 << 0 << QList<int>{} << -3 << 1;
        QTest::newRow("end moved before a next date ahead")
            << 5 << 2 << 1 << 5 << QList<int>{} << 2 << 1;
    }
    void dueCharges()
    {
        QFETCH(int, freq);
        QFETCH(int, next);
        QFETCH(int, end);
        QFETCH(int, ahead);
        QFETCH(QList<int>, charges);
        QFETCH(int, nextAfter);
        QFETCH(int, completed);
        TestDb t;
        if (freq == 0)
            freq = addFrequency(t.db(), QStringLiteral("30"));
        const int id = addRecur(t.db(), {freq, Today.addDays(next), Today.addDays(end)});

        Posting p(t.db());
        const PostingReport r = p.PostDueCharges(ahead);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QVERIFY(r.skipped.isEmpty());
        QCOMPARE(r.rowsPosted, charges.isEmpty() ? 0 : 1);
        QCOMPARE(r.chargesWritten, charges.size());
        QCOMPARE(r.rowsCompleted, completed);
        QCOMPARE(chargeDates(t.db(), id), offsets(charges));
        const RecurRow after = row(t.db(), id);
        QCOMPARE(after.nextDate, Today.addDays(nextAfter));
        QCOMPARE(after.completed, completed);

        // A second run the same day posts nothing twice; only a next date that is now within
        // the days ahead gets its charge.
        const bool nextIsDue = !completed && nextAfter <= ahead;
        const PostingReport again = p.PostDueCharges(ahead);
        QCOMPARE(again.chargesWritten, nextIsDue ? 1 : 0);
        if (nextIsDue)
            charges.append(nextAfter);
        QCOMPARE(chargeDates(t.db(), id), offsets(charges));
    }

    void chargesAhead_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QList<QDate>>("charges");
        QTest::addColumn<int>("result");
        QTest::addColumn<QDate>("nextAfter");

        QTest::newRow("end date stops the run")
            << 3 << QDate(2024, 6, 15) << QList<QDate>{QDate(2024, 5, 1), QDate(2024, 6, 1)} << 2
            << QDate(2024, 7, 1);
        QTest::newRow("n periods")
            << 2 << QDate(2024, 12, 31) << QList<QDate>{QDate(2024, 5, 1), QDate(2024, 6, 1)} << 1
            << QDate(2024, 7, 1);
        QTest::newRow("none") << 0 << QDate(2024, 12, 31) << QList<QDate>{} << 1
                              << QDate(2024, 5, 1);
        QTest::newRow("end before the next date")
            << 3 << QDate(2024, 4, 15) << QList<QDate>{} << 2 << QDate(2024, 5, 1);
    }
    void chargesAhead()
    {
        QFETCH(int, n);
        QFETCH(QDate, end);
        QFETCH(QList<QDate>, charges);
        QFETCH(int, result);
        QFETCH(QDate, nextAfter);
        TestDb t;
        // Today lies well before the dates: they do not depend on it.
        Clock::setFixed(QDate(2024, 1, 10));
        const int id = addRecur(t.db(), {3, QDate(2024, 5, 1), end});
        Posting p(t.db());
        QCOMPARE(p.PostChargesAhead(row(t.db(), id), n), result);
        QCOMPARE(p.lastChargeCount(), charges.size());
        QCOMPARE(chargeDates(t.db(), id), charges);
        const RecurRow after = row(t.db(), id);
        QCOMPARE(after.nextDate, nextAfter);
        QCOMPARE(after.completed, result == 2 ? 1 : 0);
    }

    void chargeColumnsCopyTheRow()
    {
        TestDb t;
        Database& db = t.db();
        // Amounts that a double of the decimal value would miss by a cent.
        const QStringList amounts = {QStringLiteral("1234.56"),       QStringLiteral("0.29"),
                                     QStringLiteral("4.35"),          QStringLiteral("1.15"),
                                     QStringLiteral("9999999999.99"), QStringLiteral("-20.01")};
        QList<int> ids;
        for (const QString& a : amounts)
            ids.append(addRecur(db, {6, Today, Today.addYears(2), a}));
        db.exec(QStringLiteral("update recur set TYPE='Parking', LATEFEE=25.50, PERDAY=1.15 "
                               "where RecID=%1")
                    .arg(ids.first()));
        // A row stored without the optional columns: NULL money and flags read as 0, so it is
        // an active row that the run posts like the others.
        const int bare = db.NextKey(QStringLiteral("GEN_RECUR_ID"));
        db.exec(QStringLiteral("insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, ENDDATE, "
                               "NEXTDATE, COMPLETED, LATEFEE, PERDAY) values (%1, %2, %3, 'Rent', "
                               "10, 5, '%4', '%5', NULL, NULL, NULL)")
                    .arg(bare)
                    .arg(2000 + bare)
                    .arg(tenantOf(bare))
                    .arg(SqlDate(Today.addYears(1)), SqlDate(Today)));
        const RecurRow bareRow = row(db, bare);
        QCOMPARE(bareRow.completed, 0);
        QVERIFY(bareRow.lateFee.isZero() && bareRow.perDay.isZero());

        const int before =
            db.scalar(QStringLiteral("select gen_id(GEN_CHARGES_ID, 0) from rdb$database")).toInt();
        Posting p(db);
        const PostingReport r = p.PostDueCharges(0);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.chargesWritten, amounts.size() + 1);
        QCOMPARE(db.scalar(QStringLiteral("select min(chid) from charges")).toInt(), before + 1);
        QCOMPARE(
            db.scalar(QStringLiteral("select gen_id(GEN_CHARGES_ID, 0) from rdb$database")).toInt(),
            before + amounts.size() + 1);

        ids.append(bare);
        for (int i = 0; i < ids.size(); ++i) {
            const RecurRow rec = row(db, ids[i]);
            QSqlQuery q = db.select(
                QStringLiteral("select * from charges where TID=%1").arg(tenantOf(ids[i])));
            QVERIFY(q.next());
            const QString what = QStringLiteral("RECID %1").arg(ids[i]);
            if (i < amounts.size()) {
                bool ok = false;
                QCOMPARE(rec.amount, Money::parse(amounts[i], &ok));
                QVERIFY(ok);
            }
            QVERIFY2(Money::fromVariant(q.value(QStringLiteral("AMT"))) == rec.amount,
                     qPrintable(what));
            QVERIFY2(Money::fromVariant(q.value(QStringLiteral("ORIGAMOUNT"))) == rec.amount,
                     qPrintable(what));
            QVERIFY(Money::fromVariant(q.value(QStringLiteral("LATEFEEFLAT"))) == rec.lateFee);
            QVERIFY(Money::fromVariant(q.value(QStringLiteral("PERDAY"))) == rec.perDay);
            QVERIFY(Money::fromVariant(q.value(QStringLiteral("APPLIED"))).isZero());
            QVERIFY(Money::fromVariant(q.value(QStringLiteral("PAID"))).isZero());
            QVERIFY(!q.value(QStringLiteral("APPLIED")).isNull() &&
                    !q.value(QStringLiteral("PAID")).isNull());
            QCOMPARE(q.value(QStringLiteral("LFD")).toInt(), 0);
            QVERIFY(!q.value(QStringLiteral("LFD")).isNull());
            QCOMPARE(q.value(QStringLiteral("MEMO")).toString(), QString());
            QCOMPARE(q.value(QStringLiteral("TYPE")).toString(), rec.type);
            QCOMPARE(q.value(QStringLiteral("TID")).toInt(), rec.tId);
            QCOMPARE(q.value(QStringLiteral("APID")).toInt(), rec.apId);
            QCOMPARE(q.value(QStringLiteral("FORDATE")).toDate(), Today);
            QVERIFY(!q.next());
        }
        const RecurRow first = row(db, ids.first());
        QCOMPARE(first.type, QStringLiteral("Parking"));
        QCOMPARE(first.lateFee, Money::fromCents(2550));
        QCOMPARE(first.perDay, Money::fromCents(115));
    }

    // The work joins a transaction the caller holds open; its rollback takes the charges back.
    void callersTransactionEnclosesThePosting()
    {
        TestDb t;
        const int id = addRecur(t.db(), {5, Today.addDays(-7)});
        Posting p(t.db());
        {
            Transaction outer(t.db());
            QCOMPARE(p.PostRecurringCharge(row(t.db(), id)), 1);
            QCOMPARE(chargeDates(t.db(), id).size(), 2);
        }
        QVERIFY(!t.db().inTransaction());
        QVERIFY(chargeDates(t.db(), id).isEmpty());
        QCOMPARE(row(t.db(), id).nextDate, Today.addDays(-7));
        {
            Transaction outer(t.db());
            p.PostRecurringCharge(row(t.db(), id));
            outer.commit();
        }
        QCOMPARE(chargeDates(t.db(), id), offsets({-7, 0}));
        QCOMPARE(row(t.db(), id).nextDate, Today.addDays(7));
    }

    // A row read before someone else posted it: the NEXTDATE it was read with is gone, so
    // nothing is posted a second time.
    void staleRowPostsNothing()
    {
        TestDb t;
        Database& db = t.db();
        const int id = addRecur(db, {5, Today.addDays(-7)});
        const int other = addRecur(db, {5, Today.addDays(-7)});
        const RecurRow stale = row(db, id);
        Posting p(db);
        QCOMPARE(p.PostRecurringCharge(stale), 1);
        QCOMPARE(p.lastChargeCount(), 2);
        QVERIFY(!p.lastWasStale());
        QCOMPARE(p.PostRecurringCharge(stale), 1);
        QVERIFY(p.lastWasStale());
        QCOMPARE(p.lastChargeCount(), 0);
        QCOMPARE(p.PostChargesAhead(stale, 3), 1);
        QVERIFY(p.lastWasStale());
        QCOMPARE(chargeDates(db, id), offsets({-7, 0}));
        QCOMPARE(row(db, id).nextDate, Today.addDays(7));

        // A run whose candidates another connection posts between the select and the row.
        Database second(QStringLiteral("second"));
        QVERIFY(second.Connect(t.path()));
        bool once = false;
        db.beforeExec = [&](const QString& sql) {
            if (!once && sql.startsWith(QLatin1String("update recur set nextdate"))) {
                once = true;
                Posting(second).PostRecurringCharge(row(second, other));
            }
        };
        const PostingReport r = p.PostDueCharges(0);
        db.beforeExec = nullptr;
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.rowsStale, 1);
        QCOMPARE(r.chargesWritten, 0);
        QCOMPARE(chargeDates(db, other), offsets({-7, 0}));
        second.Disconnect();
    }

    // The stop check is asked before each row; the rows before it are kept.
    void stopCheckEndsTheRunBetweenRows()
    {
        TestDb t;
        Database& db = t.db();
        QList<int> ids;
        for (int i = 0; i < 3; ++i)
            ids.append(addRecur(db, {5, Today.addDays(-7)}));
        Posting p(db);
        int asked = 0;
        p.setStopCheck([&] { return ++asked == 3; });
        const PostingReport r = p.PostDueCharges(0);
        QVERIFY(r.ok());
        QVERIFY(r.stopped);
        QCOMPARE(r.rowsPosted, 2);
        QCOMPARE(r.rowsLeft, 1);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 4);
        p.setStopCheck(nullptr);
        QCOMPARE(p.PostDueCharges(0).rowsPosted, 1);
        for (int id : ids)
            QCOMPARE(chargeDates(db, id), offsets({-7, 0}));
    }

    void interruptedRunIsCompletedByTheNext_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("occurrence");
        QTest::newRow("fifth charge") << "insert into charges" << 5;
        QTest::newRow("second next date") << "update recur set nextdate" << 2;
        QTest::newRow("first key") << "SELECT Gen_ID(GEN_CHARGES_ID" << 1;
    }
    void interruptedRunIsCompletedByTheNext()
    {
        QFETCH(QString, statement);
        QFETCH(int, occurrence);
        TestDb t;
        Database& db = t.db();
        QList<int> ids;
        for (int i = 0; i < 4; ++i)
            ids.append(addRecur(db, {5, Today.addDays(-14)}));
        const QList<QDate> due = offsets({-14, -7, 0});

        int seen = 0;
        db.beforeExec = [&](const QString& sql) {
            if (sql.startsWith(statement, Qt::CaseInsensitive) && ++seen == occurrence)
                throw DbError(QStringLiteral("injected failure"), sql);
        };
        Posting p(db);
        const PostingReport broken = p.PostDueCharges(0);
        QCOMPARE(broken.error, QStringLiteral("injected failure"));
        QVERIFY(ids.contains(broken.failedRecId));
        // Each row is all or nothing: its charges exist exactly when its next date moved.
        int complete = 0;
        for (int id : ids) {
            const QList<QDate> dates = chargeDates(db, id);
            const QDate next = row(db, id).nextDate;
            if (dates.isEmpty()) {
                QCOMPARE(next, Today.addDays(-14));
            } else {
                QCOMPARE(dates, due);
                QCOMPARE(next, Today.addDays(7));
                ++complete;
            }
        }
        QCOMPARE(broken.rowsPosted, complete);
        QCOMPARE(broken.chargesWritten, 3 * complete);
        QCOMPARE(complete, occurrence == 1 ? 0 : 1);
        QVERIFY(chargeDates(db, broken.failedRecId).isEmpty());

        db.beforeExec = nullptr;
        const PostingReport rerun = p.PostDueCharges(0);
        QVERIFY2(rerun.ok(), qPrintable(rerun.error));
        QCOMPARE(rerun.rowsPosted, 4 - complete);
        for (int id : ids) {
            QCOMPARE(chargeDates(db, id), due);
            QCOMPARE(row(db, id).nextDate, Today.addDays(7));
        }
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 12);
    }

    // Rows commit in batches; a failure far into a long run keeps every row before it.
    void longRunKeepsTheRowsBeforeAFailure()
    {
        TestDb t;
        Database& db = t.db();
        {
            Transaction fill(db);
            for (int i = 0; i < 600; ++i)
                addRecur(db, {5, Today});
            fill.commit();
        }
        int inserts = 0;
        db.beforeExec = [&](const QString& sql) {
            if (sql.startsWith(QLatin1String("insert into charges")) && ++inserts == 400)
                throw DbError(QStringLiteral("injected failure"), sql);
        };
        Posting p(db);
        const PostingReport broken = p.PostDueCharges(0);
        db.beforeExec = nullptr;
        QCOMPARE(broken.rowsPosted, 399);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 399);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from recur where nextdate > '%1'")
                               .arg(SqlDate(Today))).toInt(), 399);
        const PostingReport rerun = p.PostDueCharges(0);
        QVERIFY(rerun.ok());
        QCOMPARE(rerun.rowsPosted, 201);
        QCOMPARE(db.scalar(QStringLiteral("select count(distinct tid) from charges")).toInt(), 600);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 600);
    }

    void badFrequencyIsSkippedAndReported()
    {
        TestDb t;
        Database& db = t.db();
        const int good = addRecur(db, {5, Today.addDays(-7)});
        const QList<int> badFreqs = {addFrequency(db, QStringLiteral("0")),
                                     addFrequency(db, QStringLiteral("-3")),
                                     addFrequency(db, QStringLiteral("NULL")), 999};
        QList<int> bad;
        for (int f : badFreqs)
            bad.append(addRecur(db, {f, Today.addDays(-30)}));
        const int good2 = addRecur(db, {3, Today.addDays(-1)});
        const int done = addRecur(db, {5, Today.addDays(-7)});
        db.exec(QStringLiteral("update recur set completed=1 where RecID=%1").arg(done));

        Posting p(db);
        const PostingReport r = p.PostDueCharges(0);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.rowsPosted, 2);
        QCOMPARE(r.chargesWritten, 3);
        QCOMPARE(chargeDates(db, good), offsets({-7, 0}));
        QCOMPARE(chargeDates(db, good2), offsets({-1}));
        QVERIFY(chargeDates(db, done).isEmpty());
        QCOMPARE(r.skipped.size(), bad.size());
        for (const PostingSkip& s : r.skipped) {
            QVERIFY(bad.contains(s.recId));
            QVERIFY2(s.reason.contains(QStringLiteral("frequency")), qPrintable(s.reason));
        }
        for (int id : bad) {
            QVERIFY(chargeDates(db, id).isEmpty());
            QCOMPARE(row(db, id).nextDate, Today.addDays(-30));
        }

        // Called directly, the routines refuse the row instead of writing anything.
        for (int id : bad) {
            const RecurRow rec = row(db, id);
            QVERIFY_THROWS_EXCEPTION(PostingError, p.PostRecurringCharge(rec));
            QVERIFY_THROWS_EXCEPTION(PostingError, p.PostChargesAhead(rec, 2));
            QVERIFY_THROWS_EXCEPTION(PostingError, p.AdvanceChargeDate(Today, rec.freq));
            QVERIFY(chargeDates(db, id).isEmpty());
        }
        QVERIFY(!db.inTransaction());
    }

    void adminPostsDueCharges()
    {
        QString out;
        QCOMPARE(runAdmin({QStringLiteral("--help")}, &out), 0);
        QVERIFY(out.contains(QLatin1String("post-due")) &&
                out.contains(QLatin1String("charge-ahead")));

        TestDb t;
        const QDate today(2023, 6, 10);
        const int soon = addRecur(t.db(), {5, today.addDays(3), today.addYears(1)});
        const int due = addRecur(t.db(), {5, today.addDays(-7), today.addYears(1)});
        const int monthly = addRecur(t.db(), {3, QDate(2023, 7, 1), QDate(2023, 8, 15)});
        t.db().exec(QStringLiteral("update setup set \"int\"=5 where setuporder=1"));
        t.db().Disconnect();
        const QString todayArg = SqlDate(today);

        QString err;
        QCOMPARE(runAdmin({QStringLiteral("post-due"), t.path(), QStringLiteral("--today"),
                           todayArg, QStringLiteral("--ahead-days"), QStringLiteral("0")},
                          &out, &err),
                 0);
        QVERIFY2(out.contains(QLatin1String("Posted 1 recurring")) &&
                     out.contains(QLatin1String("2 charges written")),
                 qPrintable(out + err));
        // Without --ahead-days the first SETUP row's value (5) applies.
        QCOMPARE(
            runAdmin({QStringLiteral("post-due"), t.path(), QStringLiteral("--today"), todayArg},
                     &out, &err),
            0);
        QVERIFY2(out.contains(QLatin1String("Posted 1 recurring")) &&
                     out.contains(QLatin1String("1 charges written")),
                 qPrintable(out + err));
        QCOMPARE(
            runAdmin({QStringLiteral("charge-ahead"), t.path(), QStringLiteral("--recid"),
                      QString::number(monthly), QStringLiteral("--periods"), QStringLiteral("3")},
                     &out, &err),
            0);
        QVERIFY2(out.contains(QLatin1String("Wrote 2 charges")) &&
                     out.contains(QLatin1String("completed")) &&
                     out.contains(QLatin1String("2023-09-01")),
                 qPrintable(out + err));

        t.reconnect();
        QCOMPARE(chargeDates(t.db(), due), (QList<QDate>{today.addDays(-7), today}));
        QCOMPARE(chargeDates(t.db(), soon), QList<QDate>{today.addDays(3)});
        QCOMPARE(chargeDates(t.db(), monthly),
                 (QList<QDate>{QDate(2023, 7, 1), QDate(2023, 8, 1)}));
        QCOMPARE(row(t.db(), monthly).completed, 1);
    }

    void adminRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args"); // DB stands for the database path
        QTest::addColumn<QString>("message");
        const QString db = QStringLiteral("DB");
        QTest::newRow("no path") << QStringList{QStringLiteral("post-due")} << "PATH is missing";
        QTest::newRow("bad today")
            << QStringList{QStringLiteral("post-due"), db, QStringLiteral("--today"),
                           QStringLiteral("2024-02-30")}
            << "YYYY-MM-DD";
        QTest::newRow("negative ahead")
            << QStringList{QStringLiteral("post-due"), db, QStringLiteral("--ahead-days"),
                           QStringLiteral("-1")}
            << "whole number";
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("post-due"), db, QStringLiteral("--force")}
            << "unknown option";
        QTest::newRow("missing file")
            << QStringList{QStringLiteral("post-due"), QStringLiteral("/nonexistent/DATA.FDB")}
            << "does not exist";
        QTest::newRow("bad frequency")
            << QStringList{QStringLiteral("post-due"), db} << "frequency 999 does not exist";
        QTest::newRow("no periods") << QStringList{QStringLiteral("charge-ahead"), db,
                                                   QStringLiteral("--recid"), QStringLiteral("1")}
                                    << "--periods is missing";
        QTest::newRow("recid not a number")
            << QStringList{QStringLiteral("charge-ahead"), db,
                           QStringLiteral("--recid"),      QStringLiteral("x"),
                           QStringLiteral("--periods"),    QStringLiteral("1")}
            << "whole number";
        QTest::newRow("unknown recid")
            << QStringList{QStringLiteral("charge-ahead"), db,
                           QStringLiteral("--recid"),      QStringLiteral("4711"),
                           QStringLiteral("--periods"),    QStringLiteral("1")}
            << "no recurring charge with RECID 4711";
        QTest::newRow("charge ahead, bad frequency")
            << QStringList{QStringLiteral("charge-ahead"), db,
                           QStringLiteral("--recid"),      QStringLiteral("RECID"),
                           QStringLiteral("--periods"),    QStringLiteral("1")}
            << "frequency 999 does not exist";
    }
    void adminRefusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        TestDb t;
        const int id = addRecur(t.db(), {999, Today.addDays(-3)});
        t.db().Disconnect();
        args.replaceInStrings(QStringLiteral("RECID"), QString::number(id));
        for (QString& a : args) {
            if (a == QLatin1String("DB"))
                a = t.path();
        }
        QString out;
        QString err;
        QVERIFY(runAdmin(args, &out, &err) != 0);
        QVERIFY2(err.contains(message), qPrintable(err));
        t.reconnect();
        QVERIFY(chargeDates(t.db(), id).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPosting)
#include "tst_posting.moc"
