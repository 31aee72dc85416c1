#include "reports/ReportLayout.h"

#include "data/Database.h"
#include "reports/RowSource.h"

ReportItem& ReportBand::add(ReportItem item)
{
    items.push_back(std::move(item));
    return items.back();
}

ReportItem& ReportBand::label(const QString& text, const QRectF& rect, ReportAlign align,
                              const ReportFont& font)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Label;
    i.text = text;
    i.rect = rect;
    i.align = align;
    i.font = font;
    return add(std::move(i));
}

ReportItem& ReportBand::field(const QString& column, const QRectF& rect, ReportMask mask,
                              ReportAlign align, const ReportFont& font)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Field;
    i.column = column;
    i.rect = rect;
    i.mask = mask;
    i.align = align;
    i.font = font;
    return add(std::move(i));
}

ReportItem& ReportBand::expression(std::function<QVariant(const ReportRow&)> compute,
                                   const QRectF& rect, ReportAlign align, const ReportFont& font)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Field;
    i.expression = std::move(compute);
    i.rect = rect;
    i.align = align;
    i.font = font;
    return add(std::move(i));
}

ReportItem& ReportBand::sum(const QString& column, const QRectF& rect, ReportMask mask,
                            ReportAlign align, const ReportFont& font)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Sum;
    i.column = column;
    i.rect = rect;
    i.mask = mask;
    i.align = align;
    i.font = font;
    return add(std::move(i));
}

ReportItem& ReportBand::count(const QRectF& rect, ReportAlign align, const ReportFont& font)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Count;
    i.rect = rect;
    i.align = align;
    i.font = font;
    return add(std::move(i));
}

ReportItem& ReportBand::rule(double y, double x, double width)
{
    ReportItem i;
    i.kind = ReportItem::Kind::Rule;
    i.rect = QRectF(x, y, width, 0);
    return add(std::move(i));
}

ReportBand& ReportBand::child(double h)
{
    children.emplace_back(Type::Child, h);
    return children.back();
}

Report::Report(const QString& caption) : caption(caption) {}

Report::~Report() = default;

void Report::addPageFooter(const QString& pageText)
{
    pageFooter.height = 18;
    ReportItem page;
    page.kind = ReportItem::Kind::PageNumber;
    page.name = QStringLiteral("pageNumber");
    page.text = pageText;
    page.rect = QRectF(0, 4, 200, 12);
    pageFooter.add(page);
    ReportItem date;
    date.kind = ReportItem::Kind::PrintDate;
    date.name = QStringLiteral("printDate");
    date.rect = QRectF(BodyWidth - 200, 4, 200, 12);
    date.align = ReportAlign::Right;
    pageFooter.add(date);
}

namespace {

void visitBand(ReportBand& band, const std::function<void(ReportBand&)>& visit)
{
    visit(band);
    for (ReportBand& c : band.children)
        visitBand(c, visit);
    for (ReportSubDetail& s : band.subDetails) {
        visitBand(s.header, visit);
        visitBand(s.detail, visit);
        visitBand(s.footer, visit);
    }
}

} // namespace

void Report::forEachBand(const std::function<void(ReportBand&)>& visit)
{
    visitBand(pageHeader, visit);
    visitBand(title, visit);
    visitBand(columnHeader, visit);
    for (ReportGroup& g : groups)
        visitBand(g.header, visit);
    visitBand(detail, visit);
    for (auto it = groups.rbegin(); it != groups.rend(); ++it)
        visitBand(it->footer, visit);
    visitBand(summary, visit);
    visitBand(pageFooter, visit);
}

void Report::forEachBand(const std::function<void(const ReportBand&)>& visit) const
{
    const_cast<Report*>(this)->forEachBand([&](ReportBand& b) { visit(b); });
}

ReportItem* Report::item(const QString& name)
{
    ReportItem* found = nullptr;
    forEachBand([&](ReportBand& b) {
        for (ReportItem& i : b.items)
            if (!found && i.name == name)
                found = &i;
    });
    return found;
}

const ReportItem* Report::item(const QString& name) const
{
    return const_cast<Report*>(this)->item(name);
}

ReportBand* Report::band(const QString& name)
{
    ReportBand* found = nullptr;
    forEachBand([&](ReportBand& b) {
        if (!found && b.name == name)
            found = &b;
    });
    return found;
}

std::unique_ptr<RowSource> Report::makeRows() const
{
    if (rowsFactory)
        return rowsFactory();
    if (!db)
        throw DbError(QStringLiteral("The report %1 has no database.").arg(caption));
    return std::make_unique<SqlRowSource>(*db, query, bindings);
}

bool Report::open()
{
    close();
    auto primed = std::make_unique<PrimedRowSource>(makeRows());
    const bool rows = primed->hasRows();
    m_opened = std::move(primed);
    return rows;
}

void Report::close()
{
    m_opened.reset();
}

std::unique_ptr<RowSource> Report::takeRows()
{
    if (m_opened)
        return std::move(m_opened);
    return makeRows();
}
