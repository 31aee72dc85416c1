#pragma once

#include "data/Money.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <stdexcept>

class Database;
class QSqlRecord;

// A recurring charge that posting refuses to touch: its frequency cannot move a due date
// forward (DAYS 0, negative or NULL, or no FREQUENCY row), or it has no next or end date.
// Nothing has been written for the row when this is thrown.
class PostingError : public std::runtime_error
{
public:
    PostingError(int recId, const QString& message);
    int recId() const { return m_recId; }
    const QString& message() const { return m_message; }

private:
    int m_recId;
    QString m_message;
};

// The columns of one RECUR row. Money columns are read exactly, a NULL flag reads as 0.
struct RecurRow
{
    int recId = 0;
    int apId = 0;
    int tId = 0;
    QString type;
    Money amount;
    int freq = 0;
    QDate startDate;
    QDate endDate;
    QDate nextDate;
    int completed = 0;
    Money lateFee;
    Money perDay;

    // From the current row of a "select * from recur ..." (columns found by name, any case).
    static RecurRow fromRecord(const QSqlRecord& record);
    // The row with this RECID, or nothing when there is none. Throws DbError.
    static std::optional<RecurRow> load(Database& db, int recId);
    // Stores this row as a new active RECUR row (COMPLETED 0) with its RECID. A TYPE longer
    // than the column is refused by the database rather than cut. Throws DbError.
    void insert(Database& db) const;
};

// A row that PostDueCharges left alone, and why.
struct PostingSkip
{
    int recId = 0;
    QString reason;
};

// What one PostDueCharges run did. Counts cover committed work only.
struct PostingReport
{
    int rowsPosted = 0;     // recurring charges that got their charges
    int chargesWritten = 0; // CHARGES rows stored
    int rowsCompleted = 0;  // recurring charges completed by this run
    int rowsStale = 0;      // rows posted by someone else after this run read them
    bool stopped = false;   // the stop check asked to end early; the rest waits for a later run
    int rowsLeft = 0;       // candidates not looked at because of that
    QList<PostingSkip> skipped;
    // The database's text when an error stopped the run, and the row being posted then.
    QString error;
    int failedRecId = 0;

    bool ok() const { return error.isEmpty(); }
};

// Turns recurring charges into CHARGES rows.
//
// Unit of work: the charges of one RECUR row and that row's NEXTDATE/COMPLETED update commit
// together, so an interrupted run neither loses a period nor posts one twice. When the caller
// already has a transaction open the work joins it and commit or rollback is the caller's.
//
// A row is posted only from the NEXTDATE it was read with: given a stale row (one that another
// call or run has posted since), the routines post nothing. No charge falls due after ENDDATE.
//
// Errors: a frequency that cannot advance a date (and a row without next or end date) throws
// PostingError before anything is written; a database failure throws DbError and the row's
// work is rolled back. PostDueCharges catches both: it skips and lists the first kind and
// goes on, and stops at the second, reporting it in PostingReport::error.
//
// FREQUENCY.DAYS is read once per FREQID and kept (the cache is emptied at the start of each
// PostDueCharges and by reloadFrequencies()).
//
// The repeated statements are prepared once per transaction and reused (the QIBASE driver
// ties a prepared statement to the transaction it was prepared in). A row's charge keys are
// drawn from GEN_CHARGES_ID in one step for all of its due dates.
class Posting
{
public:
    explicit Posting(Database& db);
    ~Posting();
    Posting(const Posting&) = delete;
    Posting& operator=(const Posting&) = delete;

    enum Result
    {
        Active = 1,
        Completed = 2
    };

    // The due date after DATE: fixed steps for the built-in ids 1 to 6, FREQUENCY.DAYS for
    // any other. Calendar-month steps end on the month's last day when the day is missing.
    QDate AdvanceChargeDate(const QDate& date, int freqId);

    // Posts the row's NEXTDATE and every later due date up to today; 1 active, 2 completed.
    // A row whose NEXTDATE lies after its ENDDATE is completed without a charge; a stale row
    // posts nothing and gives the stored state.
    int PostRecurringCharge(const RecurRow& row);
    // Posts the next N due dates whatever today is, stopping at ENDDATE; 1 or 2 as above.
    int PostChargesAhead(const RecurRow& row, int n);
    // Posts every active row whose NEXTDATE is at most CHARGEAHEADDAYS after today (a negative
    // count is taken as 0). Each row is its own unit of work; never throws for a row, see
    // PostingReport. Inside a caller's transaction a reported error leaves that transaction
    // for the caller to roll back.
    PostingReport PostDueCharges(int chargeAheadDays);

    // Charges stored by the last PostRecurringCharge or PostChargesAhead (0 when it failed).
    int lastChargeCount() const { return m_lastChargeCount; }
    // The last PostRecurringCharge or PostChargesAhead found the row posted meanwhile.
    bool lastWasStale() const { return m_lastWasStale; }

    // Asked between recurring charges by PostDueCharges; true ends the run early, keeping
    // the rows already posted (SIGTERM, for instance).
    void setStopCheck(std::function<bool()> check) { m_stopRequested = std::move(check); }

    // Forgets the cached FREQUENCY rows (after the user edited them).
    void reloadFrequencies();

    // ChargeAheadDays as kept in the first SETUP row (NULL reads as 0). Throws DbError.
    static int chargeAheadDays(Database& db);

private:
    struct Step
    {
        int months = 0;
        int days = 0;
    };

    Step stepFor(int freqId, int recId);
    Step checkRow(const RecurRow& row);
    static QDate advance(const QDate& date, Step step);
    struct Statements;
    // Stores the charges of one row (at most LIMIT, or up to today, or until the end date)
    // and its NEXTDATE and COMPLETED updates, inside the open transaction; *RESULT is 1 or 2.
    // False, with nothing written, when the stored NEXTDATE is no longer the row's.
    bool writeRow(const RecurRow& row, Step step, int limit, bool untilToday, Statements& st,
                  int* result);
    int postOne(const RecurRow& row, int limit, bool untilToday);
    int storedResult(int recId);

    Database& m_db;
    // DAYS of the user frequencies looked up so far; nullopt when there is no usable row,
    // with the reason in m_badFrequency.
    QHash<int, std::optional<int>> m_days;
    QHash<int, QString> m_badFrequency;
    int m_lastChargeCount = 0;
    bool m_lastWasStale = false;
    std::function<bool()> m_stopRequested;
};
