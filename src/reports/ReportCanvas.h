#pragma once

#include "reports/ReportLayout.h"

#include <QHash>
#include <QLineF>
#include <QList>
#include <QMarginsF>
#include <QPainter>
#include <QRawFont>
#include <QSizeF>
#include <memory>

class QPagedPaintDevice;

// A text as laid out: the item's box on the page and where the text itself starts, in
// points from the page's top-left corner.
struct PlacedText
{
    QRectF box;
    QPointF origin; // top-left of the text as drawn
    double width = 0;
    QString text;
    ReportFont font;
    ReportAlign align = ReportAlign::Left;
};

// Where the layout pass puts its pages: a paint device, or a recorder for tests.
class ReportCanvas
{
public:
    virtual ~ReportCanvas();
    // The whole page and the margins the layout keeps, in points (portrait).
    virtual QSizeF pageSize() const = 0;
    virtual QMarginsF margins() const { return {36, 36, 36, 36}; }
    virtual void beginPage(int number) = 0;
    virtual void text(const PlacedText& text) = 0;
    virtual void line(const QLineF& line, double width) = 0;
    // A band is complete: a painting canvas draws what it gathered for it.
    virtual void endBand() {}
    virtual void endPage() = 0;
};

// Paints onto a printer, a PDF writer or the preview's printer. The device's page size is
// used as it is; the painter works in device pixels, so fonts keep their point sizes.
class PaintCanvas : public ReportCanvas
{
public:
    explicit PaintCanvas(QPagedPaintDevice& device);
    ~PaintCanvas() override;
    QSizeF pageSize() const override;
    QMarginsF margins() const override;
    void beginPage(int number) override;
    void text(const PlacedText& text) override;
    void line(const QLineF& line, double width) override;
    void endBand() override;
    void endPage() override;
    // False when the device could not be opened for painting (no printer).
    bool isActive() const;
    // Ends painting; the device writes its last page.
    void finish();

private:
    struct Batch
    {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    QPointF toDevice(const QPointF& p) const;
    void flush();

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    double m_scale = 1; // device pixels per point
    QPointF m_offset;   // the device's painting origin, in points from the page corner
    bool m_started = false;
    bool m_failed = false;
    // Texts of one band, one glyph run per font: far fewer painter calls for long reports.
    QHash<int, Batch> m_batches;
};

// Records the pages as positioned texts and lines: what tests read back, and what can be
// painted again (written as PDF).
class CapturedPages : public ReportCanvas
{
public:
    explicit CapturedPages(const QSizeF& pageSize = defaultPageSize());
    // US Letter, portrait.
    static QSizeF defaultPageSize() { return {612, 792}; }

    QSizeF pageSize() const override { return m_size; }
    void beginPage(int number) override;
    void text(const PlacedText& text) override;
    void line(const QLineF& line, double width) override;
    void endPage() override {}

    struct Rule
    {
        QLineF line;
        double width = 0;
    };
    struct Page
    {
        QList<PlacedText> texts;
        QList<Rule> lines;
    };
    const QList<Page>& pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }

    // The texts of a page (every page when -1) line by line, top to bottom, each line's texts
    // left to right joined by " | ".
    QStringList lines(int page = -1) const;
    // The first text equal to the given one, from the given page on; nullptr when none.
    const PlacedText* find(const QString& text, int page = -1) const;
    // Every text equal to the given one, on any page.
    QList<PlacedText> findAll(const QString& text) const;
    // The nearest text right of the first text equal to the label, on the same line.
    QString rightOf(const QString& label, int page = -1) const;
    // The page number (0-based) of a placed text found by find().
    int pageOf(const PlacedText* text) const;

    // Paints the recorded pages onto a PDF file. False with a reason when it cannot be written.
    bool writePdf(const QString& path, QString* error = nullptr) const;
    void paint(ReportCanvas& canvas) const;

private:
    QSizeF m_size;
    QList<Page> m_pages;
};
