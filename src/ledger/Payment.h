#pragma once

#include "data/Money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>

class Database;
class QLocale;

// A rule of collecting rent said no: the text is the message for the user, and nothing was
// written.
class PaymentRefused : public std::runtime_error
{
public:
    explicit PaymentRefused(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The unit a tenant pays for: the first unit whose TID is the tenant's.
struct PaymentUnit
{
    int apId = 0;
    int tId = 0;
    int agreeId = -1;
    int buildId = 0;
    QString suite;

    bool hasAgreement() const { return agreeId >= 0; }
    // Nothing when no unit is assigned to the tenant. Throws DbError.
    static std::optional<PaymentUnit> ofTenant(Database& db, int tid);
};

// One charge the tenant still owes something on (AMT not 0).
struct OpenCharge
{
    int chId = 0;
    int apId = 0;
    QDate forDate;
    QString type;
    Money amount;  // AMT, still owed
    Money applied; // APPLIED, being paid now
    QString memo;
};

// An overdue charge of the unit and the late fee billing would write for it.
struct LateFee
{
    int overdueChId = 0;
    QDate forDate;
    QString overdueType;
    int days = 0;
    Money flat;
    Money perDay;
    Money fee;
    int chId = 0; // the fee's own charge, once billed
};

// What a confirmed payment wrote for one charge.
struct PaymentLine
{
    int chId = 0;
    QDate forDate;
    QString type;
    Money owedBefore;
    Money paid;
    int accId = 0;
    int payId = 0;
    int catId = 0; // 0: no category has the charge type's name
};

// A confirmed payment: TRANSID 0 when nothing was applied and so no payment was recorded.
struct PaymentResult
{
    int transId = 0;
    QDate date;
    int apId = 0;
    int tId = 0;
    Money cash;
    Money check;
    Money card;
    Money payTotal;
    Money applied;
    Money dueTotal;
    QList<PaymentLine> lines;
};

// Collecting rent from one tenant for one unit. From construction to confirm() or cancel() one
// database transaction is open on the connection: late fees, one-time charges, deleted
// charges, charges posted ahead and the amounts being applied are all inside it, so cancel()
// (or destroying the object) undoes every one of them, and confirm() stores the payment and
// commits them together.
//
// The amounts being paid live in CHARGES.APPLIED while the transaction is open; totals are
// summed by the database over the tenant's open charges, so they are right whatever was added
// or deleted meanwhile.
//
// Errors: a rule that says no throws PaymentRefused with the user's message and changes
// nothing; a database failure throws DbError. confirm() is all or nothing: when it fails the
// open transaction is as it was before it, so the caller may try again or cancel.
class Payment
{
public:
    // Starts the transaction. Throws DbError, or PaymentRefused when another unit of work is
    // already open on the connection.
    Payment(Database& db, const PaymentUnit& unit);
    ~Payment();
    Payment(const Payment&) = delete;
    Payment& operator=(const Payment&) = delete;

    const PaymentUnit& unit() const { return m_unit; }
    bool isOpen() const { return m_open; }

    // The TRANS row being made: "Date Paid:" (today at first), the money received and its
    // references. Amounts are whole cents and not negative (setReceived refuses others).
    QDate date;
    QString checkNo;
    QString cardNo;
    Money cash() const { return m_cash; }
    Money check() const { return m_check; }
    Money card() const { return m_card; }
    void setReceived(Money cash, Money check, Money card);
    // CASH + MYCHECK + CCARD.
    Money payTotal() const { return m_cash + m_check + m_card; }

    // Overdue charges of the unit, whoever owes them, that have drawn no late fee yet: LFD 0,
    // a flat or per-day fee, something still owed, due before today; with the fee of each.
    QList<LateFee> lateFeesDue() const;
    // Bills those fees to the unit's current tenant and marks the overdue charges. Returns
    // what was billed (empty when nothing was due).
    QList<LateFee> billLateFees();

    // The tenant's open charges in stored (key) order, whichever unit they belong to.
    QList<OpenCharge> openCharges() const;
    // Sum of AMT and of APPLIED over those charges.
    struct Totals
    {
        Money due;
        Money applied;
    };
    Totals totals() const;

    // A one-time charge of the unit's tenant; no late-fee terms. Returns its CHID. Refuses an
    // amount of 0 or less ("Invalid Amount Entered!") and one with more than two decimals.
    int addCharge(const QString& type, Money amount, const QDate& forDate);
    // Deletes any of the tenant's charges, paid or not.
    void deleteCharge(int chId);
    // Posts the next PERIODS due dates of every active recurring charge of the unit (rent and
    // the others, whoever they bill). Refuses a count outside 1 to 12. Recurring charges that
    // posting cannot step are left alone and named in *skipped. Returns the charges written.
    int chargeAhead(int periods, QStringList* skipped = nullptr);

    // The amount being paid on one of the tenant's open charges. Refuses a negative amount,
    // more than two decimals, and more than the charge still owes.
    void apply(int chId, Money amount);
    void setMemo(int chId, const QString& memo);

    // The message that stops confirm(), or an empty text: the money received must equal the
    // amount applied, to the cent.
    QString discrepancy() const;

    // Called with the payment's values after its TRANS row is stored and before its lines are
    // (where the receipt is printed from). An exception from it undoes the confirmation.
    using ReceiptHook = std::function<void(const PaymentResult&)>;
    // Stores the payment and commits: the TRANS row, then for each charge with an amount
    // applied, in key order, a cashbook income entry, a payment line and the charge's AMT
    // lowered. With nothing applied no payment is recorded and only the charges' changes are
    // committed. Throws PaymentRefused (discrepancy) or DbError; both leave the transaction
    // open as it was.
    PaymentResult confirm(const ReceiptHook& receipt = {});
    // Undoes everything and ends the transaction.
    void cancel();

    // An amount as typed in LOCALE (the C locale for machine text): blank is 0; otherwise what
    // Money::parseLocale reads, at most two decimals. Nothing, and the user's message in
    // *error, for anything else.
    static std::optional<Money> readAmount(const QString& text, const QLocale& locale,
                                           QString* error = nullptr);

    // The messages of collecting rent.
    static const QString TooMuch;     // more than the charge owes
    static const QString Negative;    // a negative amount paid on a charge
    static const QString Discrepancy; // received and applied differ
    static const QString InvalidAmount;
    static const QString PeriodsRange;

private:
    void requireOpen() const;
    OpenCharge chargeOfTenant(int chId) const;

    Database& m_db;
    PaymentUnit m_unit;
    bool m_open = false;
    Money m_cash;
    Money m_check;
    Money m_card;
};
