#pragma once

#include "ledger/RecurringCharges.h"

#include <QDialog>

class Database;
class QComboBox;
class DateField;
class QLineEdit;
class QPushButton;

// "Recurring charges": one recurring charge of a unit.
class TRecurForm : public QDialog
{
    Q_OBJECT
public:
    explicit TRecurForm(Database& db, QWidget* parent = nullptr);

    void setValues(const RecurringCharges::Values& v);
    // The values as typed; amounts that do not read as money count as 0 (accept() refuses them).
    RecurringCharges::Values values() const;

    QComboBox* typeBox() const { return m_type; }
    QLineEdit* amountEdit() const { return m_amount; }
    QLineEdit* lateFeeEdit() const { return m_lateFee; }
    QLineEdit* perDayEdit() const { return m_perDay; }
    QComboBox* frequencyBox() const { return m_freq; }
    DateField* startDateEdit() const { return m_start; }
    DateField* endDateEdit() const { return m_end; }

    void accept() override;

private:
    QComboBox* m_type;
    QLineEdit* m_amount;
    QLineEdit* m_lateFee;
    QLineEdit* m_perDay;
    QComboBox* m_freq;
    DateField* m_start;
    DateField* m_end;
    QPushButton* m_newType;
};
