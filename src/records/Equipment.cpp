#include "records/Equipment.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "shell/SearchFilter.h"

#include <QSqlQuery>

namespace Equipment {

QString noUnitsMessage()
{
    return QStringLiteral("There are no apartments.");
}

QString descriptionMessage(const QString& description)
{
    return description.trimmed().isEmpty() ? QStringLiteral("Description is blank!") : QString();
}

const QList<QPair<QString, QString>>& searchFields()
{
    static const QList<QPair<QString, QString>> fields = {
        {QStringLiteral("Description"), QStringLiteral("DESCRIPTION")},
        {QStringLiteral("Model"), QStringLiteral("MODEL")},
        {QStringLiteral("Serial"), QStringLiteral("SERIAL")},
        {QStringLiteral("Brand"), QStringLiteral("BRAND")}};
    return fields;
}

} // namespace Equipment

EquipmentTables::EquipmentTables(Database& db)
    : m_db(db),
      m_units(std::make_unique<Dataset>(db, QStringLiteral("APARTMENTS"), QStringLiteral("APID"))),
      m_equipment(
          std::make_unique<Dataset>(db, QStringLiteral("EQUIPMENTS"), QStringLiteral("EQUIPID")))
{
    // Only the selected unit is ever shown: the units are read a page at a time.
    m_units->setPaged(true);
    m_equipment->setMasterLink(m_units.get(), QStringLiteral("APID"), QStringLiteral("APID"));
    SearchFilter::install(*m_equipment, [this] { return SearchFilter::Terms{m_field, m_text}; });
}

// The equipment goes first (members go in reverse order): unlinking it instead would read
// every unit's equipment on the way out.
EquipmentTables::~EquipmentTables() = default;

void EquipmentTables::open()
{
    m_units->open();
    m_equipment->open();
    m_units->first();
}

bool EquipmentTables::selectUnit(int apId)
{
    return m_units->locate(QStringLiteral("APID"), apId);
}

int EquipmentTables::selectedUnit() const
{
    return m_units->isEmpty() ? 0 : m_units->asInt(QStringLiteral("APID"));
}

QString EquipmentTables::suite() const
{
    return m_units->isEmpty() ? QString() : m_units->asText(QStringLiteral("SUITE"));
}

QString EquipmentTables::building() const
{
    if (m_units->isEmpty())
        return QString();
    // Read here rather than looked up in the shared buildings, which may be following an
    // owner or searching.
    QSqlQuery q = m_db.prepare(QStringLiteral("select description from buildings where buildid = ?"));
    q.addBindValue(m_units->value(QStringLiteral("BID")));
    m_db.execPrepared(q);
    return q.next() ? q.value(0).toString() : QString();
}

bool EquipmentTables::search(const QString& field, const QString& text)
{
    if (text.trimmed().isEmpty())
        return false;
    m_field = field;
    m_text = text;
    // Switching on again reads with the new terms; one read instead of off and on.
    m_equipment->setFiltered(true);
    return true;
}

void EquipmentTables::clearSearch()
{
    m_equipment->setFiltered(false);
}

bool EquipmentTables::isSearching() const
{
    return m_equipment->isFiltered();
}

bool EquipmentTables::append()
{
    if (m_units->isEmpty())
        return false;
    m_equipment->append();
    return true;
}

void EquipmentTables::post()
{
    if (m_equipment->state() == Dataset::State::Insert)
        m_equipment->setValue(QStringLiteral("EQUIPID"),
                              m_db.NextKey(QStringLiteral("GEN_EQUIPMENTS_ID")));
    m_equipment->post();
}
