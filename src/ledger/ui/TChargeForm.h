#pragma once

#include <QDialog>

class AppState;
class ChargesModel;
class Payment;
class QCheckBox;
class DateField;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// "Make Payments": the tenant's open charges (the shared charges table, filtered to the
// tenant), the money received, and the totals. Everything it does goes through the Payment
// it is given, inside that payment's transaction; the caller ends it (OK has confirmed and
// committed it, Cancel leaves it for the caller to undo).
class TChargeForm : public QDialog
{
    Q_OBJECT
public:
    TChargeForm(AppState& state, Payment& payment, QWidget* parent = nullptr);
    ~TChargeForm() override;

    // The opening steps: the late-fee question, the list of the tenant's charges, the totals.
    void prepare();

    QTableView* chargesGrid() const { return m_grid; }
    QLineEdit* cashEdit() const { return m_cash; }
    QLineEdit* checkEdit() const { return m_check; }
    QLineEdit* cardEdit() const { return m_card; }
    QLabel* dueTotalLabel() const { return m_due; }
    QLabel* appliedTotalLabel() const { return m_applied; }
    QCheckBox* printReceiptsBox() const { return m_printReceipts; }
    // Grid columns.
    enum Column
    {
        DateDue,
        Type,
        AmtDue,
        Paying,
        Memo
    };

    // "&OK": the receipt setting, the amounts received, the discrepancy check, then the
    // payment stored and committed.
    void accept() override;

    void addCharge();
    void deleteCharge();
    void chargeAhead();

private:
    // An amount typed into "Paying" or a memo, for a row of the grid; false when refused.
    bool editCharge(int row, int column, const QString& text);
    // "Cash", "Check", "Credit Card" read again; false (with the message shown and the field
    // focused) when one is not an amount.
    bool readReceived();
    // Reads the charges again, staying on CHID when given, and shows the totals.
    void relist(int chId = 0);
    void showTotals();

    AppState& m_state;
    Payment& m_payment;
    ChargesModel* m_model;
    QTableView* m_grid;
    DateField* m_date;
    QLineEdit* m_cash;
    QLineEdit* m_check;
    QLineEdit* m_checkNo;
    QLineEdit* m_card;
    QLineEdit* m_cardNo;
    QLineEdit* m_payTotal;
    QLabel* m_due;
    QLabel* m_paying;
    QLabel* m_applied;
    QCheckBox* m_printReceipts;
    bool m_busy = false;
};
