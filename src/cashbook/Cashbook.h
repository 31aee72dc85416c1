#pragma once

#include "data/Money.h"

#include <QDate>
#include <QString>

class AppState;
class Database;

// One cashbook entry as the entry dialog shows and stores it.
struct CashEntry
{
    QDate date;
    QString description;
    int catId = 0; // 0: no category
    Money amount;  // whichever of INCOME and EXPENSE holds it
    int vendorId = 0; // 0: no vendor
    int apId = 0;     // 0: no unit
    QString notes;
};

// The two totals over the whole book.
struct CashTotals
{
    Money income;
    Money expense;
};

// Cashbook entries made, changed and deleted by hand through the shared cashbook table, and
// the totals over the whole book.
//
// An entry is income or expense by its category: on storing, the amount goes to INCOME (and
// EXPENSE is NULL) when the category's TYPE is not 0, else to EXPENSE (and INCOME is NULL); an
// entry without a category, or whose category is gone, is expense.
//
// The totals are summed by the database over the whole table, whatever the search shows.
// After a store or delete of this class they follow by the change of that one row, read back
// as stored; when anything else changes the book (AppState::cashbookChanged) they are summed
// again when next asked for.
class Cashbook
{
public:
    explicit Cashbook(AppState& state);

    // The entry dialog's checks, in their order, on the trimmed texts: the first message that
    // applies, or an empty text when the entry may be stored. Any amount is accepted, zero and
    // negative ones included.
    static QString check(const QString& description, const QString& amount,
                         const QString& category);
    static const QString BlankDescription;
    static const QString BlankAmount;
    static const QString BlankCategory;
    static const QString DeleteQuestion;

    // Whether the category is an income category. Throws DbError.
    static bool isIncome(Database& db, int catId);

    // A new entry: a row appended to the shared table, nothing stored yet. Returns the values
    // the dialog starts with (dated today).
    CashEntry beginNew();
    // The current entry in edit state, with its values (the amount from INCOME + EXPENSE).
    // False, and nothing done, when the book shows no entry.
    bool beginEdit(CashEntry* entry);
    // Stores ENTRY into the row begun: a new row gets its ACCID from GEN_CASHBOOK_ID. Returns
    // the ACCID. Throws DbError; the row then stays begun, to be corrected or cancelled.
    int store(const CashEntry& entry);
    // Discards the row begun (a new one, or the changes of an edited one).
    void cancel();
    // Deletes the current entry. False when the book shows no entry. Throws DbError.
    bool removeCurrent();

    // The totals, summed by the database when they are not known. Throws DbError.
    CashTotals totals();
    // Sums them again now. Throws DbError.
    CashTotals recompute();

private:
    // INCOME and EXPENSE of a stored entry (0 for NULL, both 0 when there is no such entry).
    CashTotals storedAmounts(int accId);
    // The totals after one entry changed from BEFORE to AFTER, when they were known.
    void follow(bool known, const CashTotals& was, const CashTotals& before, const CashTotals& after);

    AppState& m_state;
};
