#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class Database;
class Dataset;

// The rules of the Equipment Manager, without any window.
namespace Equipment {

// What New says when there is no unit to put equipment in.
QString noUnitsMessage();
// What the equipment dialog's OK says, or an empty text when it may close.
QString descriptionMessage(const QString& description);
// The window's Field list: (caption, column), "Description" first.
const QList<QPair<QString, QString>>& searchFields();

} // namespace Equipment

// The Equipment Manager's own tables: every unit in table order, the selected one current,
// and the equipment of that unit, linked on APID in SQL. Its search is its own too, so that
// the shared search of the list windows neither reaches it nor is changed by it.
class EquipmentTables
{
public:
    explicit EquipmentTables(Database& db);
    ~EquipmentTables();
    EquipmentTables(const EquipmentTables&) = delete;
    EquipmentTables& operator=(const EquipmentTables&) = delete;

    Dataset& units() const { return *m_units; }
    Dataset& equipment() const { return *m_equipment; }

    // Opens both tables; the first unit is the selected one.
    void open();
    // Makes the unit the selected one; the equipment follows. False when there is no such unit.
    bool selectUnit(int apId);
    // The selected unit's APID, or 0 when there is no unit.
    int selectedUnit() const;
    // The selected unit's suite and its building's description (empty without a unit).
    QString suite() const;
    QString building() const;

    // Search: nothing for a blank text (false); otherwise the filter with FIELD and the text
    // as typed, for whichever unit is selected.
    bool search(const QString& field, const QString& text);
    void clearSearch();
    bool isSearching() const;
    QString searchField() const { return m_field; }
    QString searchText() const { return m_text; }

    // Starts a new item of the selected unit; false, and nothing started, without units.
    bool append();
    // Stores the item being inserted under a new key from GEN_EQUIPMENTS_ID, or the one being
    // edited.
    void post();

private:
    Database& m_db;
    std::unique_ptr<Dataset> m_units;
    std::unique_ptr<Dataset> m_equipment;
    QString m_field;
    QString m_text;
};
