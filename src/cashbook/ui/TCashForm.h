#pragma once

#include "cashbook/Cashbook.h"

#include <QDialog>
#include <QWidget>
#include <functional>

class AppState;
class ListWindow;
class QComboBox;
class DateField;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// "Cashbook Entry": one entry's date, description, category, amount, vendor, unit and
// comments. Whether the amount is income or expense is the category's.
class TCashProp : public QDialog
{
    Q_OBJECT
public:
    explicit TCashProp(AppState& state, QWidget* parent = nullptr);

    void showEntry(const CashEntry& entry);
    // What the dialog holds (the amount 0 when it is not one; accept() refuses that).
    CashEntry entry() const;

    // Run by OK once the checks pass; the dialog closes only when it returns true, so an entry
    // the database refuses keeps what was typed.
    std::function<bool()> onAccept;
    // The checks in their order: blank description, amount, category; an amount that is
    // not one.
    void accept() override;

    // "&New..." beside Category: a new category through the category dialog; the entry's own
    // category stays as it was.
    void newCategory();
    // "Ne&w..." beside Vendor: a new vendor; the entry's vendor stays as it was.
    void newVendor();
    // "&Search..." beside Apartment: the unit picker.
    void chooseUnit();

    DateField* dateEdit() const { return m_date; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QComboBox* categoryBox() const { return m_category; }
    QLineEdit* amountEdit() const { return m_amount; }
    QComboBox* vendorBox() const { return m_vendor; }
    QLineEdit* apartmentEdit() const { return m_apartment; }
    QPlainTextEdit* commentsEdit() const { return m_comments; }

private:
    void fillCategories(int select);
    void fillVendors(int select);

    AppState& m_state;
    DateField* m_date;
    QLineEdit* m_description;
    QComboBox* m_category;
    QLineEdit* m_amount;
    QComboBox* m_vendor;
    QLineEdit* m_apartment;
    QPlainTextEdit* m_comments;
    int m_apId = 0;
};

// "Cashbook": every entry of the book in date order, searched by description, with the totals
// of income and expense over the whole book.
class TCashForm : public QWidget
{
    Q_OBJECT
public:
    explicit TCashForm(AppState& state, QWidget* parent = nullptr);
    ~TCashForm() override;

    ListWindow* list() const { return m_list; }
    QLabel* totalExpenseLabel() const { return m_totalExpense; }
    QLabel* totalIncomeLabel() const { return m_totalIncome; }

    void newEntry();
    void editEntry();
    void deleteEntry();
    // The two labels from the totals (summed again when something else changed the book).
    void refreshTotals();

    // A new entry through the entry dialog (also "Record Expense" and "Record Income"). True
    // when one was stored.
    static bool addEntry(AppState& state, QWidget* parent);

private:
    void rememberSearch();
    void restoreSearch();
    void setActive(bool active);

    AppState& m_state;
    ListWindow* m_list;
    QLabel* m_totalExpense;
    QLabel* m_totalIncome;
    QString m_searchText;
    bool m_active = false;
};
