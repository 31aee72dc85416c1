#include "data/Money.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

// Digits in the rightmost group and in each group to its left. Qt keeps a locale's grouping
// to itself, so it is read off a formatted number.
struct Grouping
{
    int primary = 3;
    int secondary = 3;
};

Grouping groupingOf(const QLocale& locale)
{
    QLocale l(locale);
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    Grouping g;
    const QString separator = l.groupSeparator();
    if (separator.isEmpty())
        return g;
    const QStringList parts = l.toString(Q_INT64_C(1234567890123456)).split(separator);
    if (parts.size() >= 3) {
        g.primary = int(parts.at(parts.size() - 1).size());
        g.secondary = int(parts.at(parts.size() - 2).size());
    }
    return g;
}

bool allDigits(const QString& s)
{
    for (const QChar c : s)
        if (!c.isDigit())
            return false;
    return true;
}

bool isSpaceSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

} // namespace

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

std::optional<Money> Money::parseLocale(const QString& text, const QLocale& locale, Sign sign,
                                        QString* error)
{
    const QString typed = text.trimmed();
    QLocale plain(locale);
    plain.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString example = plain.toString(1234.5, 'f', 2);
    auto refuse = [error](const QString& why) -> std::optional<Money> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    auto notAnAmount = [&] {
        return refuse(QStringLiteral("\"%1\" is not a valid amount. Type an amount like %2.")
                          .arg(typed, example));
    };
    if (typed.isEmpty())
        return refuse(QStringLiteral("No amount was entered."));

    QString s = typed;
    auto strip = [&s](const QString& mark) {
        if (mark.isEmpty() || !s.startsWith(mark))
            return false;
        s.remove(0, mark.size());
        return true;
    };
    const bool negative = strip(locale.negativeSign()) || strip(QStringLiteral("-")) ||
                          strip(QString(QChar(0x2212)));
    if (!negative && !strip(locale.positiveSign()))
        strip(QStringLiteral("+"));

    const QString point = locale.decimalPoint();
    QString group = locale.groupSeparator();
    // Where the locale groups with a (narrow) no-break space, a plain blank is what people type.
    if (group.size() == 1 && isSpaceSeparator(group.at(0))) {
        for (QChar& c : s)
            if (isSpaceSeparator(c))
                c = group.at(0);
    }

    const qsizetype at = s.indexOf(point);
    if (at >= 0 && s.indexOf(point, at + point.size()) >= 0)
        return notAnAmount();
    const QString whole = at >= 0 ? s.left(at) : s;
    const QString fraction = at >= 0 ? s.mid(at + point.size()) : QString();
    if ((whole.isEmpty() && fraction.isEmpty()) || !allDigits(fraction))
        return notAnAmount();
    if (fraction.size() > 2)
        return refuse(
            QStringLiteral("\"%1\" is not a valid amount: at most two decimals are allowed.")
                .arg(typed));

    QString digits = whole;
    if (!group.isEmpty() && whole.contains(group)) {
        // Groups only where they belong: each full, the leftmost one to three digits.
        const Grouping g = groupingOf(locale);
        const QStringList parts = whole.split(group);
        bool placed = true;
        for (int i = 0; i < parts.size() && placed; ++i) {
            const QString& part = parts.at(i);
            if (!allDigits(part))
                return notAnAmount();
            const int size = int(part.size());
            if (i == parts.size() - 1)
                placed = size == g.primary;
            else if (i > 0)
                placed = size == g.secondary;
            else
                placed = size >= 1 && size <= g.secondary && part.at(0).digitValue() != 0;
        }
        if (!placed)
            return refuse(QStringLiteral("\"%1\" is not a valid amount: the group separator "
                                         "\"%2\" belongs only between groups of digits, as in "
                                         "%3.")
                              .arg(typed, group, example));
        digits = parts.join(QString());
    } else if (!allDigits(whole)) {
        return notAnAmount();
    }

    while (digits.size() > 1 && digits.at(0).digitValue() == 0)
        digits.remove(0, 1);
    // NUMERIC(15,2) keeps thirteen digits before the decimal separator.
    if (digits.size() > 13)
        return refuse(QStringLiteral("\"%1\" is too large for an amount.").arg(typed));
    if (negative && sign == Sign::Unsigned)
        return refuse(
            QStringLiteral("\"%1\" is not a valid amount: it cannot be negative.").arg(typed));

    int64_t units = 0;
    for (const QChar c : digits)
        units = units * 10 + c.digitValue();
    int64_t cents = 0;
    for (int i = 0; i < 2; ++i)
        cents = cents * 10 + (i < fraction.size() ? fraction.at(i).digitValue() : 0);
    units = units * Scale + cents * 100;
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

QString Money::toLocaleText(const QLocale& locale) const
{
    const Money r = roundedToCents();
    const int64_t a = r.m_units < 0 ? -r.m_units : r.m_units;
    const QString cents = QString::number((a % Scale) / 100).rightJustified(2, QLatin1Char('0'));
    return (r.m_units < 0 ? locale.negativeSign() : QString()) + QString::number(a / Scale) +
           locale.decimalPoint() + cents;
}
