#pragma once

#include "shell/ui/Grid.h"

#include <QWidget>

class AppState;
class DatasetModel;
class ListWindow;

// "Owners": the owner list above and the "&Buildings" tab of the selected owner below. While
// this window is active the shared buildings table is linked to the shared owners table.
class TFTOwn : public QWidget
{
    Q_OBJECT
public:
    explicit TFTOwn(AppState& state, QWidget* parent = nullptr);
    ListWindow* list() const { return m_list; }
    Grid* buildingsGrid() const { return m_buildingsGrid; }

    void newOwner();
    void editOwner();
    void deleteOwner();

    // The "&Buildings" tab.
    void addBuilding();
    void newBuilding();
    void editBuilding();
    void deleteBuilding();

private:
    // Shows the owner dialog on the current row (insert or edit state); true once stored.
    bool runDialog(bool inserting);
    void linkBuildings();

    AppState& m_state;
    ListWindow* m_list;
    Grid* m_buildingsGrid;
    DatasetModel* m_buildingsModel;
};
