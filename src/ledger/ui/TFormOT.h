#pragma once

#include "data/Money.h"

#include <QDate>
#include <QDialog>

class AppState;
class QComboBox;
class DateField;
class QLineEdit;

// "Add One Time Charge": a charge of a category's type, an amount and a billing date.
class TFormOT : public QDialog
{
    Q_OBJECT
public:
    explicit TFormOT(AppState& state, QWidget* parent = nullptr);

    QComboBox* typeBox() const { return m_type; }
    QLineEdit* amountEdit() const { return m_amount; }
    DateField* billingDateEdit() const { return m_date; }

    QString type() const;
    // The amount typed (0 when it is not one; accept() refuses that).
    Money amount() const;
    QDate billingDate() const;

    // Takes the typed amount over, then refuses one that is not an amount above 0.
    void accept() override;
    // "&New...": the categories window, then the list of types again with the new one chosen.
    void newType();

private:
    void fillTypes(const QString& select);

    AppState& m_state;
    QComboBox* m_type;
    QLineEdit* m_amount;
    DateField* m_date;
};
