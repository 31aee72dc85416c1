#pragma once

#include <QDialog>

class AppState;
class DatasetModel;
class QLineEdit;
class QTableView;

// "Accepted Credit Cards": the names of the shared credit-card table, with a box to insert one.
class TCcardForm : public QDialog
{
    Q_OBJECT
public:
    explicit TCcardForm(AppState& state, QWidget* parent = nullptr);
    QLineEdit* nameEdit() const { return m_name; }
    QTableView* list() const { return m_list; }

    // "&Insert": a new name unless it is blank or known in any letter case; the box is
    // emptied either way.
    void insertCard();
    // "&Delete": the selected card, without asking.
    void deleteCard();

private:
    AppState& m_state;
    QLineEdit* m_name;
    QTableView* m_list;
    DatasetModel* m_model;
};
