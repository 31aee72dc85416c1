#pragma once

#include "data/Money.h"

#include <QDate>
#include <QString>

class Database;

// A unit's recurring charges as the user adds, edits and deletes them (the agreement's rent
// row is made by Agreements::create).
namespace RecurringCharges {

// What the recurring-charge dialog edits.
struct Values
{
    QString type; // a cashbook category name
    Money amount;
    Money lateFee;
    Money perDay;
    int freq = 1; // FREQUENCY.FREQID
    QDate startDate;
    QDate endDate;
};

struct Added
{
    int recId = 0;
    int chargesPosted = 0;
    bool completed = false;
};

// "Invalid date range!" when the end date lies before the start date; empty otherwise.
QString check(const Values& v);

// Stores a new active row for the unit and tenant with NEXTDATE := FIRSTDUE (the start date
// when not given) and posts it at once (that date's charge, and every later period up to
// today), in one transaction that joins the caller's. Throws DbError or PostingError with
// nothing stored.
Added add(Database& db, int apId, int tId, const Values& v, const QDate& firstDue = QDate());

// Stores the dialog's columns; NEXTDATE, COMPLETED and the charges already posted stay.
void update(Database& db, int recId, const Values& v);

// The agreement's rent row goes only with the agreement: a TYPE of exactly "Rent" (letter
// case counts) may not be deleted here.
bool mayDelete(const QString& type);
inline const QString RentRefusal =
    QStringLiteral("To delete the rent delete the rental agreement!");

// Deletes the row; charges already posted from it stay.
void remove(Database& db, int recId);

} // namespace RecurringCharges
