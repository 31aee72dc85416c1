#include "reports/ReportCanvas.h"

#include "reports/ReportText.h"

#include <QFont>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

ReportCanvas::~ReportCanvas() = default;

// ---- PaintCanvas ---------------------------------------------------------------------------

PaintCanvas::PaintCanvas(QPagedPaintDevice& device) : m_device(device)
{
    m_scale = device.logicalDpiY() / 72.0;
    const QPageLayout layout = device.pageLayout();
    m_offset = layout.paintRectPoints().topLeft();
}

PaintCanvas::~PaintCanvas()
{
    finish();
}

QSizeF PaintCanvas::pageSize() const
{
    return m_device.pageLayout().fullRectPoints().size();
}

QMarginsF PaintCanvas::margins() const
{
    // Half an inch, or more where the printer cannot print.
    QPageLayout layout = m_device.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF least = layout.minimumMargins();
    return {std::max(36.0, least.left()), std::max(36.0, least.top()),
            std::max(36.0, least.right()), std::max(36.0, least.bottom())};
}

bool PaintCanvas::isActive() const
{
    return !m_failed;
}

QPointF PaintCanvas::toDevice(const QPointF& p) const
{
    return (p - m_offset) * m_scale;
}

void PaintCanvas::beginPage(int number)
{
    if (m_failed)
        return;
    if (!m_started) {
        m_started = true;
        if (!m_painter.begin(&m_device)) {
            m_failed = true;
            return;
        }
    } else if (number > 1) {
        m_device.newPage();
    }
}

void PaintCanvas::text(const PlacedText& t)
{
    if (m_failed || t.text.isEmpty())
        return;
    const ReportText::Glyphs g = ReportText::shape(t.text, t.font);
    const double baseline = t.origin.y() + ReportText::ascent(t.font);
    if (g.missing) {
        // Characters the report font lacks: let the painter find a fallback font.
        flush();
        QFont f(ReportText::Family);
        f.setPointSizeF(t.font.size);
        f.setBold(t.font.bold);
        f.setItalic(t.font.italic);
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        m_painter.drawText(toDevice(QPointF(t.origin.x(), baseline)), t.text);
    } else {
        const int key = (t.font.bold ? 1 : 0) | (t.font.italic ? 2 : 0) |
                        (int(std::lround(t.font.size * 100)) << 2);
        auto it = m_batches.find(key);
        if (it == m_batches.end()) {
            Batch b;
            b.font = ReportText::rawFont(t.font, t.font.size * m_scale);
            it = m_batches.insert(key, b);
        }
        double x = t.origin.x();
        for (int i = 0; i < g.indexes.size(); ++i) {
            it->glyphs.append(g.indexes.at(i));
            it->positions.append(toDevice(QPointF(x, baseline)));
            x += g.advances.at(i);
        }
    }
    if (t.font.underline) {
        const double y = baseline + t.font.size * 0.12;
        line(QLineF(t.origin.x(), y, t.origin.x() + t.width, y), t.font.size / 15);
    }
}

void PaintCanvas::line(const QLineF& l, double width)
{
    if (m_failed)
        return;
    QPen pen(Qt::black);
    pen.setWidthF(width * m_scale);
    m_painter.setPen(pen);
    m_painter.drawLine(QLineF(toDevice(l.p1()), toDevice(l.p2())));
}

void PaintCanvas::flush()
{
    for (Batch& b : m_batches) {
        if (b.glyphs.isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(b.font);
        run.setGlyphIndexes(b.glyphs);
        run.setPositions(b.positions);
        m_painter.setPen(Qt::black);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
        b.glyphs.clear();
        b.positions.clear();
    }
}

void PaintCanvas::endBand()
{
    if (!m_failed)
        flush();
}

void PaintCanvas::endPage()
{
    if (!m_failed)
        flush();
}

void PaintCanvas::finish()
{
    if (m_painter.isActive()) {
        flush();
        m_painter.end();
    }
}

// ---- CapturedPages -------------------------------------------------------------------------

CapturedPages::CapturedPages(const QSizeF& pageSize) : m_size(pageSize) {}

void CapturedPages::beginPage(int)
{
    m_pages.append(Page());
}

void CapturedPages::text(const PlacedText& text)
{
    if (!text.text.isEmpty())
        m_pages.last().texts.append(text);
}

void CapturedPages::line(const QLineF& line, double width)
{
    m_pages.last().lines.append({line, width});
}

QStringList CapturedPages::lines(int page) const
{
    QStringList out;
    for (int p = 0; p < m_pages.size(); ++p) {
        if (page >= 0 && p != page)
            continue;
        QList<PlacedText> texts = m_pages.at(p).texts;
        std::stable_sort(texts.begin(), texts.end(), [](const PlacedText& a, const PlacedText& b) {
            if (std::abs(a.origin.y() - b.origin.y()) > 0.5)
                return a.origin.y() < b.origin.y();
            return a.origin.x() < b.origin.x();
        });
        QStringList line;
        double y = -1;
        for (const PlacedText& t : texts) {
            if (!line.isEmpty() && std::abs(t.origin.y() - y) > 0.5) {
                out << line.join(QStringLiteral(" | "));
                line.clear();
            }
            y = t.origin.y();
            line << t.text;
        }
        if (!line.isEmpty())
            out << line.join(QStringLiteral(" | "));
    }
    return out;
}

const PlacedText* CapturedPages::find(const QString& text, int page) const
{
    for (int p = std::max(0, page); p < m_pages.size(); ++p)
        for (const PlacedText& t : m_pages.at(p).texts)
            if (t.text == text)
                return &t;
    return nullptr;
}

QList<PlacedText> CapturedPages::findAll(const QString& text) const
{
    QList<PlacedText> found;
    for (const Page& p : m_pages)
        for (const PlacedText& t : p.texts)
            if (t.text == text)
                found << t;
    return found;
}

int CapturedPages::pageOf(const PlacedText* text) const
{
    for (int p = 0; p < m_pages.size(); ++p)
        for (const PlacedText& t : m_pages.at(p).texts)
            if (&t == text)
                return p;
    return -1;
}

QString CapturedPages::rightOf(const QString& label, int page) const
{
    const PlacedText* l = find(label, page);
    if (!l)
        return QString();
    const int p = pageOf(l);
    const PlacedText* best = nullptr;
    for (const PlacedText& t : m_pages.at(p).texts) {
        if (&t == l || std::abs(t.origin.y() - l->origin.y()) > 0.5 ||
            t.origin.x() < l->origin.x() + l->width - 0.5)
            continue;
        if (!best || t.origin.x() < best->origin.x())
            best = &t;
    }
    return best ? best->text : QString();
}

void CapturedPages::paint(ReportCanvas& canvas) const
{
    for (int p = 0; p < m_pages.size(); ++p) {
        canvas.beginPage(p + 1);
        for (const Rule& l : m_pages.at(p).lines)
            canvas.line(l.line, l.width);
        for (const PlacedText& t : m_pages.at(p).texts)
            canvas.text(t);
        canvas.endBand();
        canvas.endPage();
    }
}

bool CapturedPages::writePdf(const QString& path, QString* error) const
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(m_size, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    PaintCanvas canvas(writer);
    paint(canvas);
    canvas.finish();
    if (!canvas.isActive()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written.").arg(path);
        return false;
    }
    return true;
}
