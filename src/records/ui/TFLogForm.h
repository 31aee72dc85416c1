#pragma once

#include <QDialog>

class AppState;
class ListWindow;

// "Maintenance Log": the work orders of the current unit of the shared units table, which the
// shared maintenance table follows.
class TFLogForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFLogForm(AppState& state, QWidget* parent = nullptr);
    ListWindow* list() const { return m_list; }

    void newOrder();
    void editOrder();
    void deleteOrder();

private:
    // Runs the work-order dialog on the row in insert or edit state and stores it on OK.
    void runDialog();

    AppState& m_state;
    ListWindow* m_list;
};
