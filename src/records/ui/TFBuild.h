#pragma once

#include "data/DatasetModel.h"

#include <QWidget>
#include <optional>

class AppState;
class ListWindow;

// "Buildings": every building of every owner. While this window is active the shared
// buildings table shows all buildings (its owner link is released); leaving or closing the
// window links it to the owners again.
class TFBuild : public QWidget
{
    Q_OBJECT
public:
    explicit TFBuild(AppState& state, QWidget* parent = nullptr);
    ~TFBuild() override;
    ListWindow* list() const { return m_list; }

    void newBuilding();
    void editBuilding();
    void deleteBuilding();

    // The building list's columns, also shown by the owners screen.
    static QList<DatasetModel::Column> listColumns();

    // The building operations on the current row of the shared buildings table, shared with
    // the owners screen. New gives the row the owner oid when one is given. Each reports its
    // own messages and errors; true when something was stored or deleted.
    static bool addBuilding(AppState& state, QWidget* parent, std::optional<int> oid);
    static bool changeBuilding(AppState& state, QWidget* parent);
    static bool removeBuilding(AppState& state);

private:
    void setActive(bool active);

    AppState& m_state;
    ListWindow* m_list;
    bool m_active = false;
};
