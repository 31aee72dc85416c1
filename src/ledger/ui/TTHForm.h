#pragma once

#include <QDialog>

class AppState;
class DatasetModel;
class QPushButton;
class Grid;

// "Payment History": the payment transactions of the tenant the shared transactions table is
// restricted to, the charges each one paid, voiding one, and its receipt printed again.
class TTHForm : public QDialog
{
    Q_OBJECT
public:
    explicit TTHForm(AppState& state, QWidget* parent = nullptr);

    Grid* transactionsGrid() const { return m_transGrid; }
    Grid* chargesGrid() const { return m_chargesGrid; }

    // "Void &Transaction...": the right, the two questions, then the void as one unit of work.
    void voidTransaction();
    // "&Print Receipt...": the selected payment's receipt in the preview.
    void printReceipt();

    static const QString VoidQuestion;
    static const QString CashbookQuestion;

private:
    AppState& m_state;
    Grid* m_transGrid;
    Grid* m_chargesGrid;
};

// The payment history of one tenant: the shared transactions restricted to the tenant
// (transactions filter mode 2), the payment lines read again, the dialog, and the restriction
// switched off when it closes.
void showPaymentHistory(AppState& state, int tid, QWidget* parent);
