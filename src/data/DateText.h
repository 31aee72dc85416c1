#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Dates as the user reads and types them: the short date format of the user's locale, with
// the year always in four digits so that a shown date is never ambiguous.
namespace DateText {

// "M/d/yyyy" for the United States, "dd/MM/yyyy" for Britain, "dd.MM.yyyy" for Germany.
QString format(const QLocale& locale = QLocale());
// Empty for an invalid date.
QString show(const QDate& date, const QLocale& locale = QLocale());

// A date typed in the user's short date format, parts in the format's order. What is left out
// comes from base: a day alone ("20") is that day of base's month, a day and month that day of
// base's year. A year of two digits is taken within 80 years before and 20 after base's year.
// Month names of the locale, digits without separators ("20122026") and yyyy-MM-dd are read too.
// An invalid date for text that is not a date.
QDate parse(const QString& text, const QDate& base, const QLocale& locale = QLocale());

} // namespace DateText
