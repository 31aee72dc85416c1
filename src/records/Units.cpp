#include "records/Units.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "data/SqlText.h"
#include "records/PickerQuery.h"
#include "shell/AppState.h"
#include "shell/SharedTables.h"

#include <QSqlQuery>

namespace {

// A tenant without a last name still shows the first name (a NULL would blank the whole text).
const char* const ListHead =
    "select apartments.bid,apartments.apid,apartments.suite,apartments.squarefootage,"
    "apartments.bedrooms,apartments.bathrooms,apartments.floor,apartments.status,"
    "apartments.rent,coalesce(Tenants.firstname,'')||' '||coalesce(Tenants.lastname,'') as "
    "Tenant,Tenants.Company from "
    "Tenants right join apartments on Tenants.tid = apartments.tid";

QString id(int value)
{
    return sqlNumber(qint64(value));
}

} // namespace

namespace Units {

QString listQuery(int buildId)
{
    return QLatin1String(ListHead) + QStringLiteral(" where BID=") + id(buildId);
}

const QList<QPair<QString, QString>>& searchFields()
{
    static const QList<QPair<QString, QString>> fields = {
        {QStringLiteral("Suite"), QStringLiteral("apartments.suite")},
        {QStringLiteral("Firstname"), QStringLiteral("Tenants.firstname")},
        {QStringLiteral("Lastname"), QStringLiteral("Tenants.lastname")},
        {QStringLiteral("Company"), QStringLiteral("Tenants.Company")},
        {QStringLiteral("Status"), QStringLiteral("apartments.status")},
    };
    return fields;
}

QString searchQuery(int buildId, const QString& column, const QString& criteria)
{
    const QString text = criteria.trimmed().toLower();
    QString known;
    for (const auto& f : searchFields())
        if (f.second.compare(column, Qt::CaseInsensitive) == 0)
            known = f.second;
    if (text.isEmpty() || known.isEmpty())
        return listQuery(buildId);
    // "%" and "_" typed into the criteria match themselves, as in the pickers.
    return QLatin1String(ListHead) + QStringLiteral(" where bid =") + id(buildId) +
           QStringLiteral(" and lower(") + known + QStringLiteral(") like ") +
           sqlQuote(likeContains(text)) + likeEscape();
}

QString check(const QString& suite, const QString& rent)
{
    if (suite.trimmed().isEmpty())
        return QStringLiteral("Suite # is blank!");
    if (rent.trimmed().isEmpty())
        return QStringLiteral("The rent field is blank!");
    return QString();
}

bool tenantLivesElsewhere(Database& db, int tId, int apId)
{
    if (tId <= 0)
        return false;
    return db.scalar(QStringLiteral("select count(*) from apartments where tid = ") + id(tId) +
                     QStringLiteral(" and apid <> ") + id(apId))
               .toInt() > 0;
}

bool waitListEmpty(Database& db)
{
    return db.scalar(QStringLiteral("select count(*) from waitlist")).toInt() == 0;
}

TenantNames tenantNames(Database& db, int tId)
{
    TenantNames n;
    if (tId <= 0)
        return n;
    QSqlQuery q = db.select(
        QStringLiteral("select company, firstname, lastname from tenants where tid=") + id(tId));
    if (q.next()) {
        n.company = q.value(0).toString();
        n.firstName = q.value(1).toString();
        n.lastName = q.value(2).toString();
    }
    return n;
}

void copyBuildingAddress(Database& db, int buildId, int tId)
{
    QSqlQuery b =
        db.select(QStringLiteral(
                      "select address, city, provstate, postalcode from buildings where buildid=") +
                  id(buildId));
    if (!b.next())
        return;
    const QVariant address = b.value(0), city = b.value(1), state = b.value(2);
    // The tenant's postal code is shorter than the building's; a long one must not stop the
    // unit from being stored.
    QVariant postal = b.value(3);
    if (!postal.isNull())
        postal = postal.toString().left(20);
    b.finish();
    QSqlQuery q = db.prepare(
        QStringLiteral("update tenants set address=?, city=?, state=?, postalcode=? where tid=?"));
    q.addBindValue(address);
    q.addBindValue(city);
    q.addBindValue(state);
    q.addBindValue(postal);
    q.addBindValue(tId);
    db.execPrepared(q);
}

} // namespace Units

UnitEdit::UnitEdit(SharedTables& tables, bool isNew, int apId)
    : m_tables(&tables), m_new(isNew), m_apId(apId)
{
}

UnitEdit::UnitEdit(UnitEdit&& other) noexcept
    : m_tables(other.m_tables), m_new(other.m_new), m_apId(other.m_apId), m_open(other.m_open)
{
    other.m_open = false;
}

UnitEdit::~UnitEdit()
{
    if (!m_open)
        return;
    try {
        cancel();
    } catch (const DbError&) {
        // The table is left as it is; nothing was stored.
    }
}

UnitEdit UnitEdit::newUnit(SharedTables& tables, int buildId)
{
    Dataset& units = *tables.Apartments;
    units.releaseLink();
    UnitEdit e(tables, true, 0);
    units.append();
    units.setValue(QStringLiteral("BID"), buildId);
    units.setValue(QStringLiteral("AGREEID"), -1);
    units.setValue(QStringLiteral("TID"), -1);
    return e;
}

UnitEdit UnitEdit::current(SharedTables& tables)
{
    Dataset& units = *tables.Apartments;
    UnitEdit e(tables, false, units.asInt(QStringLiteral("APID")));
    units.releaseLink();
    units.edit();
    return e;
}

void UnitEdit::finish(int apId)
{
    m_open = false;
    Dataset& units = *m_tables->Apartments;
    units.restoreLink();
    if (apId > 0)
        units.locate(QStringLiteral("APID"), apId);
}

int UnitEdit::store(AppState& state, const QVariantMap& values)
{
    Dataset& units = *m_tables->Apartments;
    Database& db = state.db;
    int apId = m_apId;
    bool posted = false;
    try {
        Transaction tx(db);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            units.setValue(it.key(), it.value());
        if (m_new) {
            apId = db.NextKey(QStringLiteral("GEN_APARTMENTS_ID"));
            units.setValue(QStringLiteral("APID"), apId);
        }
        const int tId = units.asInt(QStringLiteral("TID"));
        const int buildId = units.asInt(QStringLiteral("BID"));
        if (tId > 0)
            db.exec(QStringLiteral("delete from waitlist where TID = ") + id(tId));
        units.post();
        posted = true;
        if (tId > 0)
            Units::copyBuildingAddress(db, buildId, tId);
        tx.commit();
        if (tId > 0) {
            m_tables->WaitList->refresh();
            m_tables->Tenants->refresh();
        }
    } catch (const DbError&) {
        if (posted)
            units.refresh(); // the row the table holds was rolled back
        else
            units.cancel();
        finish(m_apId);
        throw;
    }
    finish(apId);
    return apId;
}

void UnitEdit::cancel()
{
    if (!m_open)
        return;
    m_tables->Apartments->cancel();
    finish(m_apId);
}
