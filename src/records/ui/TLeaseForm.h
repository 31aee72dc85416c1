#pragma once

#include <QDialog>

class AppState;
class DatasetModel;
class QLineEdit;
class QTableView;

// "Lease Terms": the names offered as an agreement's lease term.
class TLeaseForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLeaseForm(AppState& state, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QTableView* list() const { return m_list; }

    void insertTerm();
    void deleteTerm();

private:
    AppState& m_state;
    QLineEdit* m_name;
    QTableView* m_list;
    DatasetModel* m_model;
};
