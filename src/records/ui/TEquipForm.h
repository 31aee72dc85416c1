#pragma once

#include <QWidget>
#include <memory>

class AppState;
class DatasetModel;
class EquipmentTables;
class Grid;
class QComboBox;
class QLineEdit;
class SearchGroup;

// "Equipment Manager": the equipment of one unit at a time, the unit chosen with the unit
// picker. It works on tables of its own and keeps a search of its own.
class TEquipForm : public QWidget
{
    Q_OBJECT
public:
    explicit TEquipForm(AppState& state, QWidget* parent = nullptr);
    ~TEquipForm() override;

    EquipmentTables& tables() const { return *m_tables; }
    Grid* grid() const { return m_grid; }
    QLineEdit* suiteEdit() const { return m_suite; }
    QLineEdit* buildingEdit() const { return m_building; }
    SearchGroup* searchGroup() const { return m_search; }

    void newEquipment();
    void editEquipment();
    void deleteEquipment();
    // "Select...": the unit picker; on OK its unit becomes the selected one.
    void selectUnit();
    void search();
    void clearSearch();

private:
    void showUnit();
    // Runs the equipment dialog on the row in insert or edit state and stores it on OK.
    void runDialog();

    AppState& m_state;
    std::unique_ptr<EquipmentTables> m_tables;
    QLineEdit* m_suite;
    QLineEdit* m_building;
    Grid* m_grid;
    DatasetModel* m_model;
    SearchGroup* m_search;
};
