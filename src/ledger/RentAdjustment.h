#pragma once

#include "data/Money.h"

#include <QString>
#include <stdexcept>

class Database;

// An adjustment that was refused: the text is the message for the user, nothing was written.
class AdjustmentRefused : public std::runtime_error
{
public:
    explicit AdjustmentRefused(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Raising (or, with a negative value, lowering) rents in bulk: by a percentage or by an
// amount, for every unit, the units of one building, the units of one tenant or one unit; on
// the units' asking rents (future rates), on the running agreements and their active rent
// recurring charges (current agreements, so every rent posted from now on), or on both.
// Charges already posted never change.
struct RentAdjustment
{
    enum class Scope
    {
        AllUnits,
        Tenant,   // id is a TID
        Building, // id is a BUILDID
        Unit,     // id is an APID
    };
    enum class Kind
    {
        Percentage,
        Amount,
    };
    enum class Target
    {
        FutureRates,
        CurrentAgreements,
        Both,
    };

    Scope scope = Scope::AllUnits;
    int id = 0;
    Kind kind = Kind::Percentage;
    Money value; // the percentage (5 for 5 %) or the amount, at most two decimals
    Target target = Target::FutureRates;

    // The multiplier of a percentage: 5 gives 1.05, 3.5 gives 1.035, -10 gives 0.9.
    Money factor() const;
    // " * 1.05" or " + 25.00": what is done to each rent.
    QString operatorText() const;

    // The messages of the adjustment dialog.
    static const QString NothingSelected;
    static const QString NoAmount;
    static const QString NoPercentage;
    static const QString Done;
    // An adjustment that would take a rent below zero; %1 is how many.
    static const QString BelowZero;
};

// What one adjustment changed in one table: the rows, and their rents summed before and after.
struct RentChange
{
    int rows = 0;
    Money before;
    Money after;
};

struct RentAdjustResult
{
    RentChange units;      // APARTMENTS.RENT
    RentChange agreements; // AGREEMENTS.RENT of agreements not completed
    RentChange recurring;  // RECUR.AMOUNT of active recurring charges of type rent, any case
};

namespace RentAdjust {

// Runs the adjustment as one database transaction: all of it or, when a statement fails,
// nothing. Each new value is the old one changed and rounded to the cent, half away from
// zero. Throws AdjustmentRefused (no id for a scope that needs one, more than two decimals,
// a rent that would fall below zero) or DbError; in every case nothing is changed.
RentAdjustResult adjust(Database& db, const RentAdjustment& adjustment);

} // namespace RentAdjust
