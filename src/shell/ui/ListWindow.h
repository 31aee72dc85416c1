#pragma once

#include "data/DatasetModel.h"

#include <QPair>
#include <QWidget>

class AppState;
class Dataset;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

// The list pattern of the record screens: a grid over a shared table, "&New...", "&Edit...",
// "&Delete", "&Print", and the search group ("Field", "Criteria", "&Search", "&Clear").
// The screen connects the buttons to its own rules; the search is the same everywhere.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    // fields: (caption shown in "Field", column searched), the first one preselected.
    ListWindow(AppState& state, Dataset& table, const QList<DatasetModel::Column>& columns,
               const QList<QPair<QString, QString>>& fields, QWidget* parent = nullptr);

    Dataset& table() const { return m_table; }
    QTableView* grid() const { return m_grid; }
    DatasetModel* model() const { return m_model; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* printButton() const { return m_print; }
    QComboBox* fieldBox() const { return m_field; }
    QLineEdit* criteriaEdit() const { return m_criteria; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* clearButton() const { return m_clear; }
    // Extra buttons a screen adds below the standard ones ("&Close" for dialogs).
    void addButton(QPushButton* button);

    // "&Search": nothing for a blank criteria text; otherwise the shared search filter with
    // the chosen column and the text as typed.
    void search();
    // "&Clear": filtering off and the criteria box emptied.
    void clearSearch();

signals:
    void newRequested();
    void editRequested();
    void deleteRequested();
    void printRequested();

private:
    AppState& m_state;
    Dataset& m_table;
    QList<QPair<QString, QString>> m_fields;
    QTableView* m_grid;
    DatasetModel* m_model;
    QPushButton* m_new;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_print;
    QComboBox* m_field;
    QLineEdit* m_criteria;
    QPushButton* m_search;
    QPushButton* m_clear;
    class QVBoxLayout* m_buttons;
};
