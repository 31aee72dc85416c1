#pragma once

#include "data/Money.h"

#include <QString>
#include <QVariant>
#include <QWidget>

class DateField;
class QLineEdit;

// Small field helpers shared by the record dialogs.
namespace RecordFields {

QLineEdit* text(const char* objectName, int maxLength);

// What a whole-number column can hold and what makes sense in it.
struct Range
{
    qint64 min;
    qint64 max;
};
constexpr Range SmallInt{-32768, 32767};
constexpr Range Integer{-2147483647LL - 1, 2147483647};
// A count: none or more.
constexpr Range SmallCount{0, 32767};
constexpr Range Count{0, 2147483647};
// A whole number kept in a NUMERIC(15,2) column.
constexpr Range WholeNumeric{0, 9999999999999LL};

// A whole number for a column; empty means no value. Nothing typed is dropped or changed:
// checkFields() refuses, on OK, a text that is not a whole number within the range, naming
// the field by its caption.
QLineEdit* whole(const char* objectName, const QString& caption, Range range);
// Empty for NULL; a decimal value is shown rounded.
void showWhole(QLineEdit* edit, const QVariant& value);
// NULL for an empty box, otherwise the number (after checkFields() passed).
QVariant readWhole(const QLineEdit* edit);
// The refusal for a whole-number box, empty when its text is fit to store.
QString wholeRefusal(const QLineEdit* edit);

// The one date field, named for checkFields(); starts at today. An optional one may be left
// empty (no date).
DateField* date(const char* objectName, const QString& caption, bool optional = false);
// The refusal for a date field, empty when it holds a date (or nothing, when optional).
QString dateRefusal(const DateField* field);

// Checks every whole-number box and date field of the dialog in turn. The first that cannot
// be stored is refused with a warning naming it, shown (its tab made current) and focused;
// then false, and the dialog stores nothing.
bool checkFields(QWidget* dialog);

// An amount or a percentage with up to two decimals, typed in the user's locale (the line
// edit's locale()); empty means no value.
QLineEdit* amount(const char* objectName);

// The same without a sign (rents, fees).
QLineEdit* unsignedAmount(const char* objectName);
// A looked-up value shown read-only and passed over by Tab.
QLineEdit* readOnly(const char* objectName);

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

} // namespace RecordFields
