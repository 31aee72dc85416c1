#pragma once

#include <QDialog>

class AppState;
class DatasetModel;
class QTableView;

// "Workers": the users list with insert, edit and delete.
class TFormWorkers : public QDialog
{
    Q_OBJECT
public:
    TFormWorkers(AppState& state, QWidget* parent = nullptr);
    QTableView* grid() const { return m_grid; }

    void insertUser();
    void editUser();
    void deleteUser();

    void done(int result) override;

private:
    AppState& m_state;
    QTableView* m_grid;
    DatasetModel* m_model;
};
