#include "ledger/Posting.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/SqlText.h"

#include <QSqlRecord>
#include <algorithm>

PostingError::PostingError(int recId, const QString& message)
    : std::runtime_error(message.toStdString()), m_recId(recId), m_message(message)
{
}

namespace {

const char* const InsertCharge =
    "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, LATEFEEFLAT, "
    "PERDAY, APPLIED, PAID, LFD, MEMO) values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, '')";

int intOf(const QVariant& v)
{
    return v.isNull() ? 0 : v.toInt();
}

QDate dateOf(const QVariant& v)
{
    return v.isNull() ? QDate() : v.toDate();
}

// A NULL text column stays NULL when it is copied into another row.
QVariant textValue(const QString& s)
{
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace

RecurRow RecurRow::fromRecord(const QSqlRecord& r)
{
    RecurRow row;
    row.recId = intOf(r.value(QStringLiteral("RECID")));
    row.apId = intOf(r.value(QStringLiteral("APID")));
    row.tId = intOf(r.value(QStringLiteral("TID")));
    const QVariant type = r.value(QStringLiteral("TYPE"));
    row.type = type.isNull() ? QString() : type.toString();
    row.amount = Money::fromVariant(r.value(QStringLiteral("AMOUNT")));
    row.freq = intOf(r.value(QStringLiteral("FREQ")));
    row.startDate = dateOf(r.value(QStringLiteral("STARTDATE")));
    row.endDate = dateOf(r.value(QStringLiteral("ENDDATE")));
    row.nextDate = dateOf(r.value(QStringLiteral("NEXTDATE")));
    row.completed = intOf(r.value(QStringLiteral("COMPLETED")));
    row.lateFee = Money::fromVariant(r.value(QStringLiteral("LATEFEE")));
    row.perDay = Money::fromVariant(r.value(QStringLiteral("PERDAY")));
    return row;
}

std::optional<RecurRow> RecurRow::load(Database& db, int recId)
{
    QSqlQuery q =
        db.select(QStringLiteral("select * from recur where RecID=") + sqlNumber(qint64(recId)));
    if (!q.next())
        return std::nullopt;
    return fromRecord(q.record());
}

void RecurRow::insert(Database& db) const
{
    // One character wider than the column, so an over-long text reaches the engine whole.
    QSqlQuery q = db.prepare(QStringLiteral(
        "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, NEXTDATE, "
        "COMPLETED, LATEFEE, PERDAY) values (?, ?, ?, cast(? as varchar(41)), ?, ?, ?, ?, ?, 0, "
        "?, ?)"));
    auto date = [](const QDate& d) {
        return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
    };
    q.addBindValue(recId);
    q.addBindValue(apId);
    q.addBindValue(tId);
    q.addBindValue(type);
    q.addBindValue(amount.toSql());
    q.addBindValue(freq);
    q.addBindValue(date(startDate));
    q.addBindValue(date(endDate));
    q.addBindValue(date(nextDate));
    q.addBindValue(lateFee.toSql());
    q.addBindValue(perDay.toSql());
    db.execPrepared(q);
}

Posting::Posting(Database& db) : m_db(db) {}

Posting::~Posting() = default;

void Posting::reloadFrequencies()
{
    m_days.clear();
    m_badFrequency.clear();
}

int Posting::chargeAheadDays(Database& db)
{
    const QVariant v = db.scalar(QStringLiteral("select \"int\" from setup order by setuporder"));
    return intOf(v);
}

Posting::Step Posting::stepFor(int freqId, int recId)
{
    switch (freqId) {
    case 1:
        return {0, 14};
    case 2:
        return {6, 0};
    case 3:
        return {1, 0};
    case 4:
        return {3, 0};
    case 5:
        return {0, 7};
    case 6:
        return {12, 0};
    default:
        break;
    }
    auto it = m_days.constFind(freqId);
    if (it == m_days.constEnd()) {
        QSqlQuery q = m_db.select(QStringLiteral("select DAYS from frequency where FreqID=") +
                                  sqlNumber(qint64(freqId)));
        std::optional<int> days;
        if (!q.next()) {
            m_badFrequency.insert(freqId,
                                  QStringLiteral("frequency %1 does not exist").arg(freqId));
        } else if (q.value(0).isNull()) {
            m_badFrequency.insert(freqId,
                                  QStringLiteral("frequency %1 has no number of days").arg(freqId));
        } else if (const int d = q.value(0).toInt(); d <= 0) {
            m_badFrequency.insert(freqId, QStringLiteral("frequency %1 occurs every %2 days, which "
                                                         "never moves a due date forward")
                                              .arg(freqId)
                                              .arg(d));
        } else {
            days = d;
        }
        it = m_days.insert(freqId, days);
    }
    if (!it.value())
        throw PostingError(recId, m_badFrequency.value(freqId));
    return {0, *it.value()};
}

QDate Posting::advance(const QDate& date, Step step)
{
    // addMonths keeps the day of the month and falls back to the month's last day.
    return step.months ? date.addMonths(step.months) : date.addDays(step.days);
}

QDate Posting::AdvanceChargeDate(const QDate& date, int freqId)
{
    return advance(date, stepFor(freqId, 0));
}

Posting::Step Posting::checkRow(const RecurRow& row)
{
    const Step step = stepFor(row.freq, row.recId);
    // An invalid date compares before every real one, so either would keep the loop going.
    if (!row.nextDate.isValid())
        throw PostingError(row.recId, QStringLiteral("the recurring charge has no next date"));
    if (!row.endDate.isValid())
        throw PostingError(row.recId, QStringLiteral("the recurring charge has no end date"));
    return step;
}

// The statements a unit of work repeats, prepared once inside its transaction (the driver ties
// a prepared statement to the transaction it was prepared in).
struct Posting::Statements
{
    std::optional<QSqlQuery> insert;
    std::optional<QSqlQuery> nextDate;
    std::optional<QSqlQuery> completed;
    std::optional<QSqlQuery> keys;
    std::optional<QSqlQuery> savepoint;
};

bool Posting::writeRow(const RecurRow& row, Step step, int limit, bool untilToday,
                       Statements& st, int* result)
{
    m_lastChargeCount = 0;
    // The due dates first, then their keys in one draw from the generator.
    const QDate today = Clock::today();
    QList<QDate> dates;
    QDate d = row.nextDate;
    *result = Active;
    // Nothing falls due after the end date, also when the end was moved back before the next
    // date: such a row is completed without a charge.
    if (d > row.endDate)
        *result = Completed;
    while (*result == Active && (limit < 0 || dates.size() < limit)) {
        dates.append(d);
        d = advance(d, step);
        if (d > row.endDate) {
            *result = Completed;
            break;
        }
        if (untilToday && d > today)
            break;
    }

    // The periods are claimed before anything is written: NEXTDATE moves only from the value
    // that was read, so a stale row (posted meanwhile by another call or run) posts nothing.
    // NEXTDATE then holds the first date not posted, also after completion.
    if (!st.nextDate)
        st.nextDate.emplace(m_db.prepare(QStringLiteral(
            "update recur set nextdate=? where RecID=? and nextdate=? and coalesce(completed,0)=0")));
    st.nextDate->bindValue(0, d);
    st.nextDate->bindValue(1, row.recId);
    st.nextDate->bindValue(2, row.nextDate);
    try {
        m_db.execPrepared(*st.nextDate);
    } catch (const DbError& e) {
        // Another connection changed the row after this transaction began: just as stale. The
        // failed statement has left nothing behind.
        if (e.message().contains(QLatin1String("update conflicts with concurrent update")))
            return false;
        throw;
    }
    if (st.nextDate->numRowsAffected() != 1)
        return false;

    if (!dates.isEmpty()) {
        const int n = int(dates.size());
        if (!st.keys)
            st.keys.emplace(m_db.prepare(QStringLiteral(
                "SELECT Gen_ID(GEN_CHARGES_ID,cast(? as integer)) as id FROM RDB$DATABASE")));
        st.keys->bindValue(0, n);
        m_db.execPrepared(*st.keys);
        if (!st.keys->next())
            throw DbError(QStringLiteral("GEN_CHARGES_ID returned no key."));
        const int last = st.keys->value(0).toInt();
        st.keys->finish();
        if (!st.insert)
            st.insert.emplace(m_db.prepare(QLatin1String(InsertCharge)));
        QSqlQuery& q = *st.insert;
        // Exact decimal text, so the NUMERIC column gets the cents as written.
        const QString amount = row.amount.toSql();
        const QString lateFee = row.lateFee.toSql();
        const QString perDay = row.perDay.toSql();
        const QVariant type = textValue(row.type);
        for (int i = 0; i < n; ++i) {
            q.bindValue(0, last - n + 1 + i);
            q.bindValue(1, row.tId);
            q.bindValue(2, row.apId);
            q.bindValue(3, type);
            q.bindValue(4, dates.at(i));
            q.bindValue(5, amount);
            q.bindValue(6, amount);
            q.bindValue(7, lateFee);
            q.bindValue(8, perDay);
            m_db.execPrepared(q);
        }
    }
    if (*result == Completed) {
        if (!st.completed)
            st.completed.emplace(m_db.prepare(QStringLiteral("update recur set completed =1 where RecID=?")));
        st.completed->bindValue(0, row.recId);
        m_db.execPrepared(*st.completed);
    }
    m_lastChargeCount = int(dates.size());
    return true;
}

int Posting::storedResult(int recId)
{
    const QVariant completed =
        m_db.scalar(QStringLiteral("select coalesce(completed,0) from recur where RecID=") +
                    sqlNumber(qint64(recId)));
    return completed.isValid() && completed.toInt() != 0 ? Completed : Active;
}

int Posting::postOne(const RecurRow& row, int limit, bool untilToday)
{
    m_lastChargeCount = 0;
    m_lastWasStale = false;
    const Step step = checkRow(row);
    Transaction t(m_db);
    Statements st;
    int result = Active;
    if (!writeRow(row, step, limit, untilToday, st, &result)) {
        m_lastWasStale = true;
        result = storedResult(row.recId);
    }
    const int count = m_lastChargeCount;
    t.commit();
    m_lastChargeCount = count;
    return result;
}

int Posting::PostRecurringCharge(const RecurRow& row)
{
    return postOne(row, -1, true);
}

int Posting::PostChargesAhead(const RecurRow& row, int n)
{
    return postOne(row, std::max(0, n), false);
}

PostingReport Posting::PostDueCharges(int chargeAheadDays)
{
    PostingReport report;
    reloadFrequencies();
    // A negative count would also turn "NextDate--N" into a comment.
    const int ahead = std::max(0, chargeAheadDays);
    // A NULL flag reads as 0: such a row is active.
    const QString sql = QStringLiteral("select * from recur where coalesce(Completed,0)=0 and (NextDate-") +
                        sqlNumber(qint64(ahead)) + QStringLiteral(")<='") +
                        SqlDate(Clock::today()) + QStringLiteral("'");

    QList<RecurRow> rows;
    try {
        QSqlQuery q = m_db.select(sql);
        // The driver builds a record's description with queries of its own: take it once and
        // fill in each row's values.
        QSqlRecord record = q.record();
        while (q.next()) {
            for (int c = 0; c < record.count(); ++c)
                record.setValue(c, q.value(c));
            rows.append(RecurRow::fromRecord(record));
        }
    } catch (const DbError& e) {
        report.error = e.message();
        return report;
    }

    // Rows are posted in batches that commit together; each row is a savepoint inside its
    // batch, so a failing row is undone alone and the rows before it are kept. A run cut off
    // anywhere loses at most the uncommitted batch, which the next run posts: nothing twice.
    const int BatchRows = 1000;
    int i = 0;
    bool stopped = false;
    while (i < rows.size() && !stopped) {
        Transaction t(m_db);
        bool own = t.owns();
        Statements st;
        int posted = 0, written = 0, completed = 0;
        for (int inBatch = 0; i < rows.size() && inBatch < BatchRows; ++i, ++inBatch) {
            // Asked to stop: the rows done so far are whole units of work and are kept.
            if (m_stopRequested && m_stopRequested()) {
                report.stopped = true;
                report.rowsLeft = int(rows.size()) - i;
                stopped = true;
                break;
            }
            const RecurRow& row = rows.at(i);
            Step step;
            try {
                step = checkRow(row);
            } catch (const PostingError& e) {
                report.skipped.append({row.recId, e.message()});
                continue;
            }
            try {
                if (own) {
                    if (!st.savepoint)
                        st.savepoint.emplace(m_db.prepare(QStringLiteral("SAVEPOINT POSTING_ROW")));
                    m_db.execPrepared(*st.savepoint);
                }
                int result = Active;
                if (!writeRow(row, step, -1, true, st, &result)) {
                    ++report.rowsStale;
                    continue;
                }
                if (m_lastChargeCount > 0)
                    ++posted;
                written += m_lastChargeCount;
                if (result == Completed)
                    ++completed;
            } catch (const DbError& e) {
                report.error = e.message();
                report.failedRecId = row.recId;
                stopped = true;
                if (own) {
                    try {
                        m_db.exec(QStringLiteral("ROLLBACK TO SAVEPOINT POSTING_ROW"));
                    } catch (const DbError&) {
                        // The batch cannot keep its good rows: leave it all to the next run.
                        posted = written = completed = 0;
                        own = false;
                    }
                }
                break;
            }
        }
        if (own) {
            try {
                t.commit();
            } catch (const DbError& e) {
                if (report.error.isEmpty())
                    report.error = e.message();
                stopped = true;
                posted = written = completed = 0;
            }
        }
        report.rowsPosted += posted;
        report.chargesWritten += written;
        report.rowsCompleted += completed;
    }
    return report;
}
