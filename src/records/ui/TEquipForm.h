#pragma once

#include <QWidget>
#include <memory>

class AppState;
class DatasetModel;
class EquipmentTables;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

// "Equipment Manager": the equipment of one unit at a time, the unit chosen with the unit
// picker. It works on tables of its own and keeps a search of its own.
class TEquipForm : public QWidget
{
    Q_OBJECT
public:
    explicit TEquipForm(AppState& state, QWidget* parent = nullptr);
    ~TEquipForm() override;

    EquipmentTables& tables() const { return *m_tables; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* suiteEdit() const { return m_suite; }
    QLineEdit* buildingEdit() const { return m_building; }
    QComboBox* fieldBox() const { return m_field; }
    QLineEdit* criteriaEdit() const { return m_criteria; }

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
    QTableView* m_grid;
    DatasetModel* m_model;
    QComboBox* m_field;
    QLineEdit* m_criteria;
};
