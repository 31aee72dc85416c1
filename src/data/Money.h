#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>
#include <optional>

class QLocale;

// An exact amount of money in whole ten-thousandths of the currency unit.
// Amounts come from the database as NUMERIC(15,2); sums are done here, never in double.
class Money
{
public:
    static constexpr int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromCents(int64_t cents) { return Money(cents * 100); }
    // Rounds half away from zero to the nearest ten-thousandth.
    static Money fromDouble(double value);
    // Machine text (SQL results, command-line arguments), C locale: "1234.5", "-0.25",
    // "1,234.56" (thousands separators allowed). ok=false on junk.
    static Money parse(const QString& text, bool* ok = nullptr);

    enum class Sign
    {
        Signed,
        Unsigned
    };
    // An amount as the user types it in LOCALE: the locale's decimal separator, its group
    // separator only between whole groups ("1,234.50" in English, "1.234,50" in German, or no
    // groups at all), at most two decimals, a leading minus only when SIGN allows it. Anything
    // else, an empty text included, gives nothing and a sentence for the user in *error.
    static std::optional<Money> parseLocale(const QString& text, const QLocale& locale,
                                            Sign sign = Sign::Signed, QString* error = nullptr);
    // A database value: NULL is zero; strings are parsed exactly, numbers rounded.
    static Money fromVariant(const QVariant& value);

    constexpr int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    bool isZero() const { return m_units == 0; }

    // Rounded to whole cents, half away from zero (what a NUMERIC(15,2) column keeps).
    Money roundedToCents() const;

    // Exact decimal text with a point, no separators, at least two decimals: "1234.50", "-0.0125".
    QString toSql() const;
    // "#,##0.00": thousands separator, two decimals, no currency sign.
    QString format() const;
    // Two decimals with LOCALE's decimal separator and no group separators, as an amount field
    // shows it for editing: parseLocale() reads it back unchanged.
    QString toLocaleText(const QLocale& locale) const;

    constexpr Money operator+(Money o) const { return Money(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return Money(m_units - o.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    Money& operator+=(Money o)
    {
        m_units += o.m_units;
        return *this;
    }
    Money& operator-=(Money o)
    {
        m_units -= o.m_units;
        return *this;
    }
    constexpr Money operator*(int64_t n) const { return Money(m_units * n); }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(int64_t units) : m_units(units) {}
    int64_t m_units = 0;
};

Q_DECLARE_METATYPE(Money)
