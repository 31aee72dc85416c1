#pragma once

#include <QWidget>

class AppState;
class DatasetModel;
class Grid;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class SearchGroup;
class UnitListModel;

// "Apartments": the buildings tree of every owner, the units of the chosen building, and the
// recurring charges of the chosen unit. Units, their tenants, rental agreements and recurring
// charges are kept from here. The recurring charges always belong to the unit selected in the
// list: with none selected the panel is empty and its buttons are disabled. The tree follows
// owners and buildings stored or deleted elsewhere the next time the window becomes active.
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
    QTableView* unitList() const;
    QTableView* recurList() const;
    SearchGroup* searchGroup() const { return m_search; }
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
    // "&Maintenance...": the maintenance log of the selected unit.
    void openMaintenance();

private:
    // Builds the tree again; the building keepBuilding stays chosen when it is still there,
    // otherwise the first owner's first building.
    void buildTree(int keepBuilding = 0);
    void onTreeSelection();
    // Makes the owner and building current in the shared tables.
    bool makeBuildingCurrent(int oid, int buildId);
    void listUnits(const QString& sql);
    void relist();
    void onUnitRowChanged();
    // The recurring charges panel shows the selected unit's rows, or nothing.
    void followUnit();
    // Makes the unit selected in the list the current row of the shared units table; false
    // (after the plain message "error" when it cannot be found) when the list has no such unit.
    bool syncUnit();
    int selectedApId() const;

    AppState& m_state;
    int m_oid = 0;
    int m_buildId = 0;
    QString m_query;
    // Owners were stored or deleted since the tree was built.
    bool m_ownersChanged = false;
    QTreeWidget* m_tree;
    Grid* m_units;
    UnitListModel* m_unitModel;
    Grid* m_recurs;
    DatasetModel* m_recurModel;
    QPushButton* m_addRecur;
    QPushButton* m_editRecur;
    QPushButton* m_deleteRecur;
    SearchGroup* m_search;
};
