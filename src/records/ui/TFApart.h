#pragma once

#include <QWidget>

class AppState;
class DatasetModel;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class UnitListModel;

// "Apartments": the buildings tree of every owner, the units of the chosen building, and the
// recurring charges of the chosen unit. Units, their tenants, rental agreements and recurring
// charges are kept from here.
class TFApart : public QWidget
{
    Q_OBJECT
public:
    explicit TFApart(AppState& state, QWidget* parent = nullptr);
    ~TFApart() override;

    // The window became active: the buildings follow the owners again, the tree is rebuilt
    // when buildings changed meanwhile, and the unit list is read again.
    void becameActive();

    QTreeWidget* tree() const { return m_tree; }
    QTableView* unitList() const { return m_units; }
    QTableView* recurList() const { return m_recurs; }
    int listedBuilding() const { return m_buildId; }
    int unitCount() const;
    // Selects the list row of the unit (and makes it the current unit); false when not listed.
    bool selectUnit(int apId);
    // Selects the tree node of the building and lists its units; false when not in the tree.
    bool selectBuilding(int buildId);

    void newUnit();
    void editUnit();
    void deleteUnit();
    void search();
    void clearSearch();
    void newAgreement();
    void deleteAgreement();
    void addRecurringCharge();
    void editRecurringCharge();
    void deleteRecurringCharge();

private:
    void buildTree();
    void onTreeSelection();
    // Makes the owner and building current in the shared tables.
    bool makeBuildingCurrent(int oid, int buildId);
    void listUnits(const QString& sql);
    void relist();
    void onUnitRowChanged();
    // Makes the unit selected in the list the current row of the shared units table; false
    // (after the plain message "error" when it cannot be found) when the list has no such unit.
    bool syncUnit();
    int selectedApId() const;

    AppState& m_state;
    int m_oid = 0;
    int m_buildId = 0;
    QString m_query;
    QTreeWidget* m_tree;
    QTableView* m_units;
    UnitListModel* m_unitModel;
    QTableView* m_recurs;
    DatasetModel* m_recurModel;
    QComboBox* m_field;
    QLineEdit* m_criteria;
};
