#include "data/Money.h"

#include <cmath>

Money Money::fromDouble(double value)
{
    return Money(static_cast<int64_t>(std::llround(value * Scale)));
}

Money Money::parse(const QString& text, bool* ok)
{
    QString s = text.trimmed();
    s.remove(QLatin1Char(','));
    bool good = !s.isEmpty();
    bool negative = false;
    if (good && (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+')))) {
        negative = s.startsWith(QLatin1Char('-'));
        s.remove(0, 1);
    }
    int64_t whole = 0;
    int64_t frac = 0;
    int fracDigits = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    bool roundUp = false;
    for (QChar c : s) {
        if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!c.isDigit()) {
            good = false;
            break;
        }
        seenDigit = true;
        const int d = c.digitValue();
        if (!seenPoint) {
            if (whole > (INT64_MAX / Scale - 9) / 10) {
                good = false;
                break;
            }
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = d >= 5;
            ++fracDigits;
        }
    }
    good = good && seenDigit;
    if (ok)
        *ok = good;
    if (!good)
        return Money();
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    int64_t units = whole * Scale + std::min<int64_t>(frac, Scale - 1) + (roundUp ? 1 : 0);
    return Money(negative ? -units : units);
}

Money Money::fromVariant(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return Money();
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parse(value.toString());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return Money(value.toLongLong() * Scale);
    default:
        return fromDouble(value.toDouble());
    }
}

Money Money::roundedToCents() const
{
    const int64_t a = m_units < 0 ? -m_units : m_units;
    int64_t cents = (a + 50) / 100;
    return Money((m_units < 0 ? -cents : cents) * 100);
}

QString Money::toSql() const
{
    const int64_t a = m_units < 0 ? -m_units : m_units;
    QString frac = QString::number(a % Scale).rightJustified(4, QLatin1Char('0'));
    while (frac.size() > 2 && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    return (m_units < 0 ? QStringLiteral("-") : QString()) + QString::number(a / Scale) +
           QLatin1Char('.') + frac;
}

QString Money::format() const
{
    const Money r = roundedToCents();
    const int64_t a = r.m_units < 0 ? -r.m_units : r.m_units;
    QString whole = QString::number(a / Scale);
    for (int i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    const QString cents = QString::number((a % Scale) / 100).rightJustified(2, QLatin1Char('0'));
    return (r.m_units < 0 ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + cents;
}
