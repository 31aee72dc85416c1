#include "data/DateText.h"

#include "data/Clock.h"

#include <QStringList>

namespace DateText {

namespace {

// The runs of one pattern letter in a format: "dd/MM/yyyy" -> dd, /, MM, /, yyyy.
QStringList runs(const QString& format)
{
    QStringList out;
    for (QChar c : format) {
        if (!out.isEmpty() && out.last().back() == c)
            out.last() += c;
        else
            out << QString(c);
    }
    return out;
}

// The order of day, month and year in a format, as the letters d, M and y.
QString fieldOrder(const QString& format)
{
    QString order;
    for (const QString& run : runs(format)) {
        const QChar c = run.front();
        // dddd is the weekday's name, not the day.
        if ((c == QLatin1Char('d') && run.size() <= 2) || c == QLatin1Char('M') ||
            c == QLatin1Char('y')) {
            if (!order.contains(c))
                order += c;
        }
    }
    return order.size() == 3 ? order : QStringLiteral("dMy");
}

int monthOfName(const QString& word, const QLocale& locale)
{
    const QString w = word.toLower();
    for (int m = 1; m <= 12; ++m) {
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (const QString& name :
                 {locale.monthName(m, type), locale.standaloneMonthName(m, type)}) {
                QString n = name.toLower();
                if (n.endsWith(QLatin1Char('.')))
                    n.chop(1);
                if (w == n || (w.size() >= 3 && n.startsWith(w)))
                    return m;
            }
        }
    }
    return 0;
}

// A year typed with one or two digits: the one within 80 years before and 20 after base.
int fullYear(const QString& digits, int baseYear)
{
    const int y = digits.toInt();
    if (digits.size() > 2)
        return y;
    int year = baseYear - baseYear % 100 + y;
    if (year > baseYear + 20)
        year -= 100;
    else if (year <= baseYear - 80)
        year += 100;
    return year;
}

} // namespace

QString format(const QLocale& locale)
{
    QString out;
    for (const QString& run : runs(locale.dateFormat(QLocale::ShortFormat))) {
        if (run.front() == QLatin1Char('y'))
            out += QStringLiteral("yyyy");
        else
            out += run;
    }
    return out;
}

QString show(const QDate& date, const QLocale& locale)
{
    return date.isValid() ? locale.toString(date, format(locale)) : QString();
}

QDate parse(const QString& text, const QDate& base, const QLocale& locale)
{
    const QDate from = base.isValid() ? base : Clock::today();
    QStringList numbers;
    int namedMonth = 0;
    QString word;
    QString digits;
    auto endWord = [&]() -> bool {
        if (!word.isEmpty()) {
            const int m = monthOfName(word, locale);
            if (m == 0 || namedMonth != 0)
                return false;
            namedMonth = m;
            word.clear();
        }
        if (!digits.isEmpty()) {
            numbers << digits;
            digits.clear();
        }
        return true;
    };
    for (QChar c : text.trimmed()) {
        if (c.isDigit()) {
            if (!word.isEmpty() && !endWord())
                return QDate();
            digits += QChar(QLatin1Char(char('0' + c.digitValue())));
        } else if (c.isLetter()) {
            if (!digits.isEmpty() && !endWord())
                return QDate();
            word += c;
        } else if (!endWord()) {
            return QDate();
        }
    }
    if (!endWord() || (numbers.isEmpty() && namedMonth == 0))
        return QDate();

    QString order = fieldOrder(format(locale));
    if (namedMonth != 0)
        order.remove(QLatin1Char('M'));
    // Digits typed without separators: two for the day and month, two or four for the year.
    if (namedMonth == 0 && numbers.size() == 1 &&
        (numbers.first().size() == 6 || numbers.first().size() == 8)) {
        const QString all = numbers.takeFirst();
        int at = 0;
        for (QChar field : order) {
            const int width = field == QLatin1Char('y') ? int(all.size()) - 4 : 2;
            numbers << all.mid(at, width);
            at += width;
        }
    }
    if (namedMonth == 0 && numbers.size() == 3 && numbers.first().size() == 4)
        order = QStringLiteral("yMd");

    int day = from.day();
    int month = namedMonth != 0 ? namedMonth : from.month();
    int year = from.year();
    // With fewer numbers than fields, the year is what is left out, then the month.
    QString fields = order;
    if (numbers.size() < fields.size())
        fields.remove(QLatin1Char('y'));
    if (numbers.size() < fields.size())
        fields.remove(QLatin1Char('M'));
    if (numbers.size() != fields.size())
        return QDate();
    for (int i = 0; i < fields.size(); ++i) {
        const QString& n = numbers.at(i);
        if (fields.at(i) == QLatin1Char('y')) {
            if (n.size() == 3 || n.size() > 4)
                return QDate();
            year = fullYear(n, from.year());
        } else {
            if (n.size() > 2)
                return QDate();
            (fields.at(i) == QLatin1Char('d') ? day : month) = n.toInt();
        }
    }
    return QDate(year, month, day);
}

} // namespace DateText
