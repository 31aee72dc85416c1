#pragma once

#include "data/Money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <stdexcept>

class Database;

// A void that was refused: the text is the message for the user, and nothing was written.
class VoidRefused : public std::runtime_error
{
public:
    explicit VoidRefused(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// What voiding did with one payment line of the transaction.
struct VoidedLine
{
    int payId = 0;
    int chId = 0;
    int accId = 0; // 0: the line names no cashbook entry
    QString type;
    QDate forDate;
    Money amount;               // what the line paid, owed again
    bool chargeFound = false;   // false: the charge has been deleted since; nothing changed
    Money owedBefore;           // the charge's AMT before and after the void
    Money owedAfter;
    bool cashbookDeleted = false;
};

// A voided payment: the TRANS row as it was and its lines.
struct VoidResult
{
    int transId = 0;
    int tId = 0;
    int apId = 0;
    QDate date;
    Money payTotal;
    QList<VoidedLine> lines;
};

// Voiding a payment: every charge it paid owes again what its line paid (APPLIED back to 0),
// its cashbook entries are deleted when asked, and its payment lines and its TRANS row are
// deleted. All of it is one database transaction: a failure anywhere leaves nothing of it.
// Late-fee marks and late fees billed with the payment stay.
namespace Voiding {

// Throws VoidRefused (no such transaction, or another unit of work open on the connection)
// or DbError; in both cases nothing is changed.
VoidResult voidTransaction(Database& db, int transId, bool deleteCashbook);

} // namespace Voiding
