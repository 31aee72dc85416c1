#pragma once

#include "data/DatasetModel.h"
#include "shell/ui/Grid.h"

#include <QPair>
#include <QWidget>

class AppState;
class Dataset;
class QComboBox;
class QLineEdit;
class QPushButton;
class SearchGroup;

// The list pattern of the record screens: a grid over a shared table, "&New...", "&Edit...",
// "&Delete", "&Print", and the search group ("Field", "Criteria", "&Search", "&Clear").
// The screen connects the buttons to its own rules; the search is the same everywhere. Enter
// on a row edits it; in the search group Enter searches and Escape clears. The grid follows
// the table's current row, so a new or edited row is the one selected.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    // columns: the grid's columns, titled in words; fields: (caption shown in "Field", column
    // searched), the first one preselected.
    ListWindow(AppState& state, Dataset& table, const QList<DatasetModel::Column>& columns,
               const QList<QPair<QString, QString>>& fields, QWidget* parent = nullptr);

    Dataset& table() const { return m_table; }
    Grid* grid() const { return m_grid; }
    DatasetModel* model() const { return m_model; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* printButton() const { return m_print; }
    SearchGroup* searchGroup() const { return m_searchGroup; }
    QComboBox* fieldBox() const;
    QLineEdit* criteriaEdit() const;
    QPushButton* searchButton() const;
    QPushButton* clearButton() const;
    // Extra buttons a screen adds below the standard ones ("&Close" for dialogs).
    void addButton(QPushButton* button);
    // An extra button placed right after another one of the column.
    void insertButtonAfter(QPushButton* after, QPushButton* button);

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
    Grid* m_grid;
    DatasetModel* m_model;
    QPushButton* m_new;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_print;
    SearchGroup* m_searchGroup;
    class QVBoxLayout* m_buttons;
};
