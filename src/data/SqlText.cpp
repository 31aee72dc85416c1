#include "data/SqlText.h"

#include "data/Money.h"

#include <QLocale>

QString SqlDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1-%2-%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString sqlQuote(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString sqlNumber(qint64 value)
{
    return QString::number(value);
}

QString sqlNumber(double value)
{
    // Shortest text that reads back as the same double, C locale: a point, no separators.
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString sqlNumber(const Money& value)
{
    return value.toSql();
}
