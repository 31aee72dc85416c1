#pragma once

#include <QDialog>

class AppState;
class ListWindow;
class QLineEdit;
class QRadioButton;

// "Category": the name, description and kind (income or expense) of the shared categories
// table's row in insert or edit state.
class TPropCat : public QDialog
{
    Q_OBJECT
public:
    explicit TPropCat(QWidget* parent = nullptr);
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QRadioButton* incomeButton() const { return m_income; }
    QRadioButton* expenseButton() const { return m_expense; }
    // Refuses a blank name.
    void accept() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_description;
    QRadioButton* m_income;
    QRadioButton* m_expense;
};

// "Cashbook categories": the list of the shared categories table. One window serves the whole
// run, so its search stays as the user left it between openings.
class TCatForm : public QDialog
{
    Q_OBJECT
public:
    // The program's window, made on first use beside the main window that ANCHOR belongs to.
    static TCatForm* instance(AppState& state, QWidget* anchor);

    TCatForm(AppState& state, QWidget* parent = nullptr);
    ListWindow* list() const { return m_list; }

    void newCategory();
    void editCategory();
    void deleteCategory();

    // Runs TPropCat on the current row of the shared table (in insert or edit state); the
    // cashbook entry dialog uses it too. True on OK, with the values set.
    static bool runDialog(AppState& state, QWidget* parent);

private:
    AppState& m_state;
    ListWindow* m_list;
};
