#pragma once

#include <QDialog>

class Dataset;
class QComboBox;
class DateField;
class QLineEdit;
class QPlainTextEdit;

// "Deposit Property": one security deposit's date, amount, payment method and memo.
class TFormDeposit : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDeposit(QWidget* parent = nullptr);

    // Fills the fields from the current deposit row.
    void showDeposit(const Dataset& deposits);
    // Writes the fields into the current row (in insert or edit state). A payment method that
    // is not one of the choices stays as it was, since the list cannot show it.
    void storeDeposit(Dataset& deposits) const;

    // "Enter a valid amount" for a blank or unreadable amount; the dialog stays open.
    void accept() override;

    DateField* dateEdit() const { return m_date; }
    QLineEdit* amountEdit() const { return m_amount; }
    QComboBox* paymentTypeBox() const { return m_paymentType; }
    QPlainTextEdit* memoEdit() const { return m_memo; }

private:
    DateField* m_date;
    QLineEdit* m_amount;
    QComboBox* m_paymentType;
    QPlainTextEdit* m_memo;
};
