#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariantMap>

class AppState;
class Database;
class SharedTables;

// Units (APARTMENTS rows): the list query of the units window, the tenant rules of the unit
// dialog and the storing of a unit through the shared Apartments table.
namespace Units {

// The unit list of one building.
QString listQuery(int buildId);
// The same, restricted to rows whose column (one of searchFields()) contains the criteria,
// trimmed, in any letter case. A blank criteria gives listQuery().
QString searchQuery(int buildId, const QString& column, const QString& criteria);
// The "Field" choices of the search: (caption, column of the list query).
const QList<QPair<QString, QString>>& searchFields();

// The unit dialog's checks on OK, in order; empty when they pass.
QString check(const QString& suite, const QString& rent);

// True when the tenant holds another unit than apId (0 for a unit not stored yet): choosing
// such a tenant is warned about, and still allowed.
bool tenantLivesElsewhere(Database& db, int tId, int apId);
inline const QString AssignedElsewhere =
    QStringLiteral("This tenant has already been assigned to another apartment!");

bool waitListEmpty(Database& db);

struct TenantNames
{
    QString company;
    QString firstName;
    QString lastName;
};
// Empty names for a tenant that does not exist (or TID -1).
TenantNames tenantNames(Database& db, int tId);

// Gives the tenant the building's address (ADDRESS, CITY, PROVSTATE as STATE, POSTALCODE).
void copyBuildingAddress(Database& db, int buildId, int tId);

} // namespace Units

// Editing one unit through the shared Apartments table. The link to Buildings is released
// while the row is inserted or edited, so it stays in view whatever building becomes current;
// store() and cancel() restore the link and stand on the unit again. A UnitEdit that is
// neither stored nor cancelled cancels when it goes.
class UnitEdit
{
public:
    // A new unit of the building: TID -1, AGREEID -1.
    static UnitEdit newUnit(SharedTables& tables, int buildId);
    // The current row of Apartments.
    static UnitEdit current(SharedTables& tables);
    ~UnitEdit();
    UnitEdit(UnitEdit&& other) noexcept;
    UnitEdit(const UnitEdit&) = delete;
    UnitEdit& operator=(const UnitEdit&) = delete;
    UnitEdit& operator=(UnitEdit&&) = delete;

    bool isNew() const { return m_new; }

    // Stores the columns (name -> value; a null QVariant stores NULL) in one transaction with
    // what placing its tenant means: the tenant leaves the wait list (and the shared wait-list
    // table is re-read) and gets the building's address. A new unit gets its APID from the
    // generator. Returns the APID. On DbError nothing is stored and the row is as before.
    int store(AppState& state, const QVariantMap& values);
    void cancel();

private:
    UnitEdit(SharedTables& tables, bool isNew, int apId);
    void finish(int apId);

    SharedTables* m_tables;
    bool m_new;
    int m_apId;
    bool m_open = true;
};
