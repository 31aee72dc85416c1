#pragma once

#include "data/Money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <stdexcept>

class Database;
class Dataset;

// A rule refused the request before anything was written; message() is the text for the user.
class AgreementRefused : public std::runtime_error
{
public:
    explicit AgreementRefused(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// What a new rental agreement needs. The unit must exist, have a tenant (APARTMENTS.TID > 0)
// and no agreement (AGREEID -1); the agreement's TID is the unit's tenant.
struct NewAgreement
{
    int apId = 0;     // APARTMENTS.APID of the unit
    Money rent;       // AGREEMENTS.RENT and the AMOUNT of each rent charge
    Money damage;     // lease/damage deposit: stored only, no charge is made for it
    Money lateFee;    // flat late fee, copied into the rent recurring charge
    Money perDay;     // daily late fee, copied into the rent recurring charge
    int recurs = 1;   // FREQUENCY.FREQID of the rent (1 to 6 built in, or a user frequency)
    QDate firstDue;   // "First Payment Due on": stored only
    QDate leaseStart; // becomes the rent recurring charge's STARTDATE
    QDate leaseEnd;   // becomes its ENDDATE: no rent falls due after it
    QDate moveIn;
    QDate moveOut;
    QDate firstPayment; // due date of the first rent charge: the rent row's NEXTDATE;
                        // must lie within leaseStart..leaseEnd
    QString leaseTerm;  // a LEASES name, may be empty
    QString terms;      // free text
};

struct CreatedAgreement
{
    int rid = 0;            // AGREEMENTS.RID, now the unit's AGREEID
    int recId = 0;          // RECID of the rent recurring charge
    int chargesPosted = 0;  // rent charges stored at once (the first one, and every later
                            // period up to today)
    bool completed = false; // the rent recurring charge was completed by that posting
};

// The stored agreement a unit points at.
struct UnitAgreement
{
    int rid = 0;
    int tId = 0;
};

namespace Agreements {

// The three date checks of the agreement dialog, in order; empty when all pass.
// Equal dates pass every check.
QString check(const NewAgreement& a);

// Writes a rental agreement in one database transaction (joining the caller's when one is
// open): the AGREEMENTS row, the "Rent" RECUR row, the posting of that row up to today
// (its first charge is always stored, even when firstPayment lies in the future), and the
// unit's AGREEID. Throws AgreementRefused (the unit is missing, has no tenant, already has an
// agreement, or a date check fails), PostingError (the frequency cannot step a date) or
// DbError; after any throw nothing of it is stored (inside a caller's transaction, the caller
// rolls back).
CreatedAgreement create(Database& db, const NewAgreement& a);

// The agreement of the unit, or nothing when its AGREEID is -1 or the unit does not exist.
// A dangling AGREEID (no such AGREEMENTS row) is given with tId 0.
std::optional<UnitAgreement> ofUnit(Database& db, int apId);

// Deletes the unit's agreement and the recurring charges of that agreement's tenant in this
// unit (those of the tenant's other units stay), and sets the unit's AGREEID to -1, in one
// transaction. Charges already posted stay, and the unit keeps its tenant. True when an agreement was deleted; false when the unit
// has none (a dangling AGREEID is then reset to -1). Throws DbError.
bool remove(Database& db, int apId);

// Adds a lease-term name through the shared Leases table unless one exists that differs only
// in letter case. The text is trimmed; a blank one adds nothing. True when a row was added.
bool addLeaseTerm(Database& db, Dataset& leases, const QString& text);

} // namespace Agreements
