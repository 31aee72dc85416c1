#include "reports/ReportText.h"

#include "data/Database.h"

#include "data/Money.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QLocale>

namespace {

constexpr double MeasureSize = 100;

// Raw fonts at the measuring size, by style. Emptied before the application object goes, as
// font engines must not outlive the font database.
QHash<int, QRawFont>* g_fonts = nullptr;

const QRawFont& measuringFont(const ReportFont& font)
{
    if (!g_fonts) {
        g_fonts = new QHash<int, QRawFont>;
        qAddPostRoutine([] {
            delete g_fonts;
            g_fonts = nullptr;
        });
    }
    const int key = (font.bold ? 1 : 0) | (font.italic ? 2 : 0);
    auto it = g_fonts->find(key);
    if (it == g_fonts->end()) {
        QFont f(ReportText::Family);
        f.setPixelSize(int(MeasureSize));
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setKerning(false);
        it = g_fonts->insert(key, QRawFont::fromFont(f));
    }
    return *it;
}

} // namespace

namespace ReportText {

QRawFont rawFont(const ReportFont& font, double pixelSize)
{
    QRawFont raw = measuringFont(font);
    raw.setPixelSize(pixelSize);
    return raw;
}

Glyphs shape(const QString& text, const ReportFont& font)
{
    Glyphs g;
    if (text.isEmpty())
        return g;
    const QRawFont& raw = measuringFont(font);
    const double scale = font.size / MeasureSize;
    g.indexes = raw.glyphIndexesForString(text);
    const QList<QPointF> advances =
        raw.advancesForGlyphIndexes(g.indexes, QRawFont::UseDesignMetrics);
    g.advances.reserve(advances.size());
    for (int i = 0; i < advances.size(); ++i) {
        const double a = advances.at(i).x() * scale;
        g.advances.append(a);
        g.width += a;
        if (g.indexes.at(i) == 0)
            g.missing = true;
    }
    return g;
}

double width(const QString& text, const ReportFont& font)
{
    return shape(text, font).width;
}

double ascent(const ReportFont& font)
{
    return measuringFont(font).ascent() * font.size / MeasureSize;
}

double lineHeight(const ReportFont& font)
{
    const QRawFont& raw = measuringFont(font);
    return (raw.ascent() + raw.descent() + raw.leading()) * font.size / MeasureSize;
}

QString cut(const QString& text, const ReportFont& font, double w)
{
    const Glyphs g = shape(text, font);
    if (g.width <= w + 0.01)
        return text;
    // One glyph per UTF-16 unit holds for the texts the font covers; a surrogate pair maps
    // to one glyph, so walk the text by code points.
    double sum = 0;
    int glyph = 0;
    int pos = 0;
    while (pos < text.size() && glyph < g.advances.size()) {
        if (sum + g.advances.at(glyph) > w + 0.01)
            break;
        sum += g.advances.at(glyph++);
        pos += text.at(pos).isHighSurrogate() && pos + 1 < text.size() ? 2 : 1;
    }
    return text.left(pos);
}

QStringList wrap(const QString& text, const ReportFont& font, double w)
{
    QStringList lines;
    const QString flat = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString& paragraph : flat.split(QLatin1Char('\n'))) {
        QString rest = paragraph;
        if (rest.isEmpty()) {
            lines << QString();
            continue;
        }
        while (!rest.isEmpty()) {
            QString fits = cut(rest, font, w);
            if (fits.size() < rest.size()) {
                const int blank = fits.lastIndexOf(QLatin1Char(' '));
                if (blank > 0)
                    fits = fits.left(blank);
                else if (fits.isEmpty())
                    fits = rest.left(1); // a glyph wider than the column still moves on
            }
            lines << fits;
            rest = rest.mid(fits.size());
            while (rest.startsWith(QLatin1Char(' ')))
                rest.remove(0, 1);
        }
    }
    return lines;
}

QString shortDate(const QDate& date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

Money money(const QVariant& value)
{
    if (value.typeId() == qMetaTypeId<Money>())
        return value.value<Money>();
    return Money::fromVariant(value);
}

QString format(const QVariant& value, ReportMask mask)
{
    // NULL prints as nothing, also under a money mask.
    if (value.isNull() || !value.isValid())
        return QString();
    if (mask == ReportMask::Money || mask == ReportMask::MoneyWide)
        return money(value).format();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return shortDate(value.toDate());
    case QMetaType::QDateTime:
        return shortDate(value.toDateTime().date());
    case QMetaType::Double:
    case QMetaType::Float:
        return QLocale::c().toString(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return Database::memoText(value);
    default:
        if (value.typeId() == qMetaTypeId<Money>())
            return value.value<Money>().toSql();
        return value.toString();
    }
}

QString csv(const QVariant& value, ReportMask mask)
{
    if (value.isNull() || !value.isValid())
        return QString();
    if (mask == ReportMask::Money || mask == ReportMask::MoneyWide)
        return money(value).roundedToCents().toSql();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    default:
        return format(value, mask);
    }
}

} // namespace ReportText
