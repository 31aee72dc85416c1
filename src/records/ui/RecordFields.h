#pragma once

#include "data/Money.h"

#include <QString>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLineEdit;

// Small field helpers shared by the record dialogs.
namespace RecordFields {

QLineEdit* text(const char* objectName, int maxLength);
// A whole number; empty means no value.
QLineEdit* integer(const char* objectName);
// An amount or a percentage with up to two decimals, typed in the user's locale (the line
// edit's locale()); empty means no value.
QLineEdit* amount(const char* objectName);

// The same without a sign (rents, fees).
QLineEdit* unsignedAmount(const char* objectName);
// A SMALLINT column.
QLineEdit* smallInteger(const char* objectName);
// A looked-up value shown read-only and passed over by Tab.
QLineEdit* readOnly(const char* objectName);
// A date box with a calendar, starting at today.
QDateEdit* date(const char* objectName);

// The amount typed, 0 for an empty box; ok is false (and 0 given) when it is not an amount,
// with the reason for the user in *error. Every amount field is read through here.
Money readMoney(const QLineEdit* edit, bool* ok = nullptr, QString* error = nullptr);

// Empty for NULL.
void showInteger(QLineEdit* edit, const QVariant& value);
// In the line edit's locale, for editing: "1234,50" in German.
void showAmount(QLineEdit* edit, const QVariant& value);
void showMoney(QLineEdit* edit, Money value);
// NULL for an empty box, otherwise the value (a Money for amounts). ok is false when the
// text is not a number (for amounts, with the reason in *error).
QVariant readInteger(const QLineEdit* edit, bool* ok);
QVariant readAmount(const QLineEdit* edit, bool* ok, QString* error = nullptr);

// A date that may be left out: a tick box beside a date box.
class OptionalDate : public QWidget
{
public:
    OptionalDate(const char* objectName, QWidget* parent = nullptr);
    void setValue(const QVariant& date);
    // NULL while not ticked.
    QVariant value() const;
    QCheckBox* box() const { return m_box; }
    QDateEdit* edit() const { return m_edit; }

private:
    QCheckBox* m_box;
    QDateEdit* m_edit;
};

} // namespace RecordFields
