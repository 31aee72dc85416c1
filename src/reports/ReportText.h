#pragma once

#include "data/Money.h"
#include "reports/ReportLayout.h"

#include <QList>
#include <QRawFont>
#include <QString>
#include <QVariant>

// Text measuring and value formatting shared by the layout pass and the painting canvases.
// Widths come from the font's own outlines at a fixed size, never from a device, so a page
// lays out the same in the preview, on the printer and in a PDF.
namespace ReportText {

inline const QString Family = QStringLiteral("DejaVu Sans");

// The font at a pixel size (1 pixel = 1 point when measuring).
QRawFont rawFont(const ReportFont& font, double pixelSize);

// Glyphs of a text and their advances in points. missing is set when the font lacks a glyph
// (the painter then draws that text with the system's fallback fonts).
struct Glyphs
{
    QList<quint32> indexes;
    QList<double> advances;
    double width = 0;
    bool missing = false;
};
Glyphs shape(const QString& text, const ReportFont& font);

double width(const QString& text, const ReportFont& font);
double ascent(const ReportFont& font);
double lineHeight(const ReportFont& font);

// The longest start of text that fits the width.
QString cut(const QString& text, const ReportFont& font, double width);
// Lines of at most the width, broken at blanks where possible; line breaks in the text stay.
QStringList wrap(const QString& text, const ReportFont& font, double width);

// A money value: a Money, a decimal text or a number (NULL is zero).
Money money(const QVariant& value);
// A value as the report prints it: dates in the user's short date format, money masks with
// separators and two decimals, NULL as empty.
QString format(const QVariant& value, ReportMask mask);
// A value as a CSV cell: money as a plain decimal with a point, dates as YYYY-MM-DD.
QString csv(const QVariant& value, ReportMask mask);
// The short date format of the user's regional settings.
QString shortDate(const QDate& date);

} // namespace ReportText
