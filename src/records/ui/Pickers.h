#pragma once

#include "records/PickerQuery.h"

#include <QDialog>

class Database;
class PickerRowsModel;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

// The common search picker: "Search", "Field", the list and "Ok"/"Cancel". The list is read
// again from the database on every change of the text or the field. Pickers only read.
class SearchPicker : public QDialog
{
    Q_OBJECT
public:
    // The key of the selected row, or -1 when nothing is selected.
    int selectedId() const;
    // The hand-back text of the selected row (empty when nothing is selected).
    QString selectedText() const;

    QLineEdit* searchEdit() const { return m_search; }
    QComboBox* fieldBox() const { return m_field; }
    QTableView* list() const { return m_list; }

    // "Ok": refused with "No item Selected" while no row is selected.
    void accept() override;

protected:
    SearchPicker(Database& db, const PickerQuery& query, QWidget* parent);
    // Runs the query again: with the Search text, or with none (for "Refresh").
    void requery(bool withText = true);
    void setQuery(const PickerQuery& query);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int selectedRow() const;

    Database& m_db;
    PickerQuery m_query;
    PickerRowsModel* m_model;
    QLineEdit* m_search;
    QComboBox* m_field;
    QTableView* m_list;
};

// "Select Building": hands back BUILDID and the description.
class TSelBuild : public SearchPicker
{
    Q_OBJECT
public:
    explicit TSelBuild(Database& db, QWidget* parent = nullptr);
};

// "Select Apartment/Suite": hands back APID and the suite.
class TFSelApart : public SearchPicker
{
    Q_OBJECT
public:
    explicit TFSelApart(Database& db, QWidget* parent = nullptr);
};

// "Select Tenant": hands back TID and first name, blank, last name. In wait-list mode
// ("Tenants on Waitlist") only tenants with a WAITLIST row are listed.
class TSelTen : public SearchPicker
{
    Q_OBJECT
public:
    explicit TSelTen(Database& db, QWidget* parent = nullptr);
    void setWaitListMode(bool on);
};

// "Select Vendor": hands back VID, also as decimal text, and the name.
class TSelVen : public SearchPicker
{
    Q_OBJECT
public:
    explicit TSelVen(Database& db, QWidget* parent = nullptr);
    // The VID as decimal text ("12"); empty when nothing is selected.
    QString selectedIdText() const;
};

// The list picker. As the maintenance status choice it is made once and reused, so it keeps
// the user's last choice for the program's run; entry 0 ("ALL ") means no restriction.
// Made with a label and items it is the several-choice list of the owner and building
// questions.
class TFSelStat : public QDialog
{
    Q_OBJECT
public:
    explicit TFSelStat(QWidget* parent = nullptr);
    // Several items may be chosen; "&OK" and "&Cancel".
    TFSelStat(const QString& label, const QStringList& items, QWidget* parent = nullptr);
    static TFSelStat& shared();
    int selectedIndex() const;
    QString selectedText() const;

    QListWidget* list() const { return m_list; }
    void selectAll();
    // The chosen items' positions, in list order.
    QList<int> selectedRows() const;
    // With several choices allowed, nothing chosen is refused with "No item selected": an
    // empty choice would make a condition the database cannot read.
    void accept() override;

private:
    QListWidget* m_list;
};
