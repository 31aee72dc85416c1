#pragma once

#include <QDate>
#include <QString>

class Money;

// Helpers for SQL text. Dates, numbers and typed texts reach SQL only through these.

// YYYY-MM-DD, without quotes; an invalid date gives an empty text.
QString SqlDate(const QDate& date);
// A text literal between single quotes, with every quote inside doubled: O'Brien -> 'O''Brien'.
QString sqlQuote(const QString& text);
// Plain decimal with a point, no thousands separators, whatever the user's locale.
QString sqlNumber(qint64 value);
QString sqlNumber(double value);
QString sqlNumber(const Money& value);
