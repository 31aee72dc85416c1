#include "reports/ReportEngine.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "reports/ReportCanvas.h"
#include "reports/ReportText.h"
#include "reports/RowSource.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <map>

// ---- look-ups ------------------------------------------------------------------------------

// Runs each look-up query once per distinct parameter value and keeps the answer: a report
// of thousands of lines names only a handful of categories.
class LookupCache
{
public:
    LookupCache(Database* db, const std::vector<ReportLookup>& lookups) : m_db(db)
    {
        for (const ReportLookup& l : lookups)
            m_defs.insert(l.name.toUpper(), &l);
    }

    bool isLookup(const QString& prefix) const { return m_defs.contains(prefix.toUpper()); }

    QVariant value(const QString& lookup, const QString& column, const ReportRow& row)
    {
        const ReportLookup* def = m_defs.value(lookup.toUpper());
        State& state = m_state[def];
        if (!state.prepared) {
            if (!m_db)
                throw DbError(QStringLiteral("The look-up %1 has no database.").arg(def->name));
            state.query = m_db->prepare(def->sql);
            state.prepared = true;
        }
        const QVariant param = row.value(def->param);
        const QString key = param.isNull() ? QStringLiteral("\x01null") : param.toString();
        auto it = state.answers.find(key);
        if (it == state.answers.end()) {
            // Bounded, so a look-up keyed by something unique per line cannot grow unchecked.
            if (state.answers.size() > 20000)
                state.answers.clear();
            Answer a;
            state.query.bindValue(0, param);
            m_db->execPrepared(state.query);
            const QSqlRecord record = state.query.record();
            for (int i = 0; i < record.count(); ++i)
                a.columns.insert(record.fieldName(i).toUpper(), i);
            if (state.query.next()) {
                for (int i = 0; i < record.count(); ++i)
                    a.values << state.query.value(i);
            }
            state.query.finish();
            it = state.answers.insert(key, a);
        }
        const int index = it->columns.value(column.toUpper(), -1);
        if (index < 0)
            throw DbError(
                QStringLiteral("The look-up %1 has no column %2.").arg(def->name, column));
        return index < it->values.size() ? it->values.at(index) : QVariant();
    }

private:
    struct Answer
    {
        QHash<QString, int> columns;
        QVariantList values; // empty when the look-up found no row
    };
    struct State
    {
        QSqlQuery query;
        bool prepared = false;
        QHash<QString, Answer> answers;
    };
    Database* m_db;
    QHash<QString, const ReportLookup*> m_defs;
    std::map<const ReportLookup*, State> m_state;
};

// ---- ReportRow -----------------------------------------------------------------------------

QVariant ReportRow::value(const QString& name) const
{
    if (!m_index)
        return QVariant();
    int index = m_index->indexOf(name);
    if (index < 0) {
        const int dot = name.indexOf(QLatin1Char('.'));
        if (dot > 0 && m_lookups && m_lookups->isLookup(name.left(dot)))
            return hasValues() ? m_lookups->value(name.left(dot), name.mid(dot + 1), *this)
                               : QVariant();
        throw DbError(
            QStringLiteral("The report names the column %1, which its rows lack.").arg(name));
    }
    if (!m_values || index >= m_values->size())
        return QVariant();
    return m_values->at(index);
}

QString ReportRow::text(const QString& name) const
{
    return ReportText::format(value(name), ReportMask::Plain);
}

// ---- the layout pass -----------------------------------------------------------------------

namespace {

bool accumulates(const ReportItem& i)
{
    return i.kind == ReportItem::Kind::Sum || i.kind == ReportItem::Kind::Count;
}

// Every sum and count of a band and its children (not of its sub-details, which keep their
// own).
void collectTotals(const ReportBand& band, std::vector<const ReportItem*>& out)
{
    for (const ReportItem& i : band.items)
        if (accumulates(i))
            out.push_back(&i);
    for (const ReportBand& c : band.children)
        collectTotals(c, out);
}

QVariant groupKey(const ReportGroup& g, const ReportRow& row)
{
    return g.key ? g.key(row) : row.value(g.column);
}

bool sameKey(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace

class ReportPass
{
public:
    ReportPass(Report& report, ReportCanvas& canvas)
        : m_report(report), m_canvas(canvas), m_lookups(report.db, report.lookups)
    {
        m_page = canvas.pageSize();
        m_margins = canvas.margins();
        m_printDate = report.printDate.isValid() ? report.printDate : Clock::today();
        for (const ReportGroup& g : report.groups) {
            std::vector<const ReportItem*> items;
            collectTotals(g.header, items);
            collectTotals(g.footer, items);
            m_groupTotals.push_back(items);
        }
        collectTotals(report.pageHeader, m_pageTotals);
        collectTotals(report.pageFooter, m_pageTotals);
        for (const auto& g : m_groupTotals)
            m_mainTotals.insert(m_mainTotals.end(), g.begin(), g.end());
        m_mainTotals.insert(m_mainTotals.end(), m_pageTotals.begin(), m_pageTotals.end());
        collectTotals(report.title, m_mainTotals);
        collectTotals(report.columnHeader, m_mainTotals);
        collectTotals(report.detail, m_mainTotals);
        collectTotals(report.summary, m_mainTotals);
    }

    int run()
    {
        std::unique_ptr<RowSource> rows = m_report.takeRows();
        const ColumnIndex index(*rows);
        QVariantList current, next;
        bool hasCurrent = rows->next(current);
        m_row = rowOf(index, current, &m_lookups, 0);
        const int levels = int(m_report.groups.size());
        std::vector<QVariant> keys(static_cast<size_t>(levels));
        bool first = true;

        if (!hasCurrent)
            openPage(); // no lines: the first page with its title and headings, then the summary
        while (hasCurrent) {
            const bool hasNext = rows->next(next);
            m_row.m_line = m_lines + 1;

            // Headers of the groups that start here: the first whose key changed and every
            // group inside it.
            int startLevel = levels;
            for (int g = 0; g < levels; ++g) {
                const QVariant k = groupKey(m_report.groups[size_t(g)], m_row);
                if (startLevel == levels && (first || !sameKey(k, keys[size_t(g)])))
                    startLevel = g;
                keys[size_t(g)] = k;
            }
            for (int g = startLevel; g < levels; ++g)
                for (const ReportItem* i : m_groupTotals[size_t(g)])
                    m_totals[i] = Total();
            first = false;

            ++m_lines;
            for (const ReportItem* i : m_mainTotals)
                add(i, m_row);
            for (int g = startLevel; g < levels; ++g)
                printBand(m_report.groups[size_t(g)].header, m_row);
            printBand(m_report.detail, m_row);

            // Footers of the groups that end here, innermost first.
            int endLevel = levels;
            if (!hasNext) {
                endLevel = 0;
            } else {
                const ReportRow after = rowOf(index, next, &m_lookups, m_lines + 1);
                for (int g = 0; g < levels; ++g) {
                    if (!sameKey(groupKey(m_report.groups[size_t(g)], after), keys[size_t(g)])) {
                        endLevel = g;
                        break;
                    }
                }
            }
            for (int g = levels - 1; g >= endLevel; --g)
                printBand(m_report.groups[size_t(g)].footer, m_row);

            if (!hasNext)
                break; // the summary sees the last line
            std::swap(current, next);
        }
        m_row.m_line = m_lines;
        printBand(m_report.summary, m_row);
        closePage();
        return m_pageNumber;
    }

    static ReportRow rowOf(const ColumnIndex& index, const QVariantList& values,
                           LookupCache* lookups, int line)
    {
        ReportRow r;
        r.m_index = &index;
        r.m_values = &values;
        r.m_lookups = lookups;
        r.m_line = line;
        return r;
    }

private:
    struct Total
    {
        Money sum;
        int count = 0;
    };

    void add(const ReportItem* item, const ReportRow& row)
    {
        Total& t = m_totals[item];
        ++t.count;
        if (item->kind == ReportItem::Kind::Sum) {
            const QVariant v = item->expression ? item->expression(row) : row.value(item->column);
            t.sum += ReportText::money(v);
        }
    }

    double bodyBottom() const
    {
        const double footer = m_report.pageFooter.visible ? m_report.pageFooter.height : 0;
        return m_page.height() - m_margins.bottom() - footer;
    }

    void openPage()
    {
        ++m_pageNumber;
        m_canvas.beginPage(m_pageNumber);
        m_pageOpen = true;
        m_y = m_margins.top();
        for (const ReportItem* i : m_pageTotals)
            m_totals[i] = Total();
        m_fixed = true;
        printBand(m_report.pageHeader, m_row);
        if (m_pageNumber == 1)
            printBand(m_report.title, m_row);
        printBand(m_report.columnHeader, m_row);
        m_fixed = false;
        m_pageHasBody = false;
    }

    void closePage()
    {
        if (!m_pageOpen)
            openPage();
        const ReportBand& footer = m_report.pageFooter;
        if (footer.visible) {
            m_fixed = true;
            m_y = m_page.height() - m_margins.bottom() - footer.height;
            printBand(footer, m_row);
            m_fixed = false;
        }
        m_canvas.endPage();
        m_pageOpen = false;
    }

    // Room for a band of this height: otherwise the band goes to the top of the next page.
    // A band taller than a whole page still prints, from the top of a page.
    void makeRoom(double height)
    {
        if (m_fixed)
            return;
        if (!m_pageOpen)
            openPage();
        if (m_y + height > bodyBottom() + 0.001 && m_pageHasBody) {
            closePage();
            openPage();
        }
        m_pageHasBody = true;
    }

    QString itemText(const ReportItem& item, const ReportRow& row)
    {
        switch (item.kind) {
        case ReportItem::Kind::Label:
            return item.text;
        case ReportItem::Kind::Field:
            return ReportText::format(
                item.expression ? item.expression(row) : row.value(item.column), item.mask);
        case ReportItem::Kind::Sum: {
            const Total t = m_totals.value(&item);
            return ReportText::format(QVariant::fromValue(t.sum), item.mask == ReportMask::Plain
                                                                      ? ReportMask::Money
                                                                      : item.mask);
        }
        case ReportItem::Kind::Count:
            return QString::number(m_totals.value(&item).count);
        case ReportItem::Kind::PageNumber:
            return item.text + QString::number(m_pageNumber);
        case ReportItem::Kind::PrintDate:
            return ReportText::shortDate(m_printDate);
        case ReportItem::Kind::Rule:
            return QString();
        }
        return QString();
    }

    struct Prepared
    {
        const ReportItem* item;
        QStringList lines;
    };

    void printBand(const ReportBand& band, const ReportRow& row)
    {
        if (!band.visible)
            return;
        if (!band.items.empty() || band.height > 0) {
            std::vector<Prepared> prepared;
            prepared.reserve(band.items.size());
            double height = band.height;
            for (const ReportItem& item : band.items) {
                if (!item.visible)
                    continue;
                Prepared p{&item, {}};
                if (item.kind != ReportItem::Kind::Rule) {
                    const QString text = itemText(item, row);
                    if (item.wrap && item.rect.width() > 0) {
                        p.lines = ReportText::wrap(text, item.font, item.rect.width());
                        const double need =
                            item.rect.top() + p.lines.size() * ReportText::lineHeight(item.font);
                        height = std::max(height, need);
                    } else if (item.rect.width() > 0) {
                        p.lines << ReportText::cut(text, item.font, item.rect.width());
                    } else {
                        p.lines << text;
                    }
                }
                prepared.push_back(std::move(p));
            }
            makeRoom(height);
            const double left = m_margins.left();
            for (const Prepared& p : prepared) {
                const ReportItem& item = *p.item;
                const QRectF box = item.rect.translated(left, m_y);
                if (item.kind == ReportItem::Kind::Rule) {
                    m_canvas.line(QLineF(box.left(), box.top(), box.right(), box.top()), 0.75);
                    continue;
                }
                const double lh = ReportText::lineHeight(item.font);
                for (int l = 0; l < p.lines.size(); ++l) {
                    const QString& text = p.lines.at(l);
                    if (text.isEmpty())
                        continue;
                    PlacedText t;
                    t.box = box;
                    t.text = text;
                    t.font = item.font;
                    t.align = item.align;
                    t.width = ReportText::width(text, item.font);
                    double x = box.left();
                    if (item.align == ReportAlign::Right)
                        x = box.right() - t.width;
                    else if (item.align == ReportAlign::Center)
                        x = box.left() + (box.width() - t.width) / 2;
                    t.origin = QPointF(x, box.top() + l * lh);
                    m_canvas.text(t);
                }
            }
            m_y += height;
            m_canvas.endBand();
        }
        for (const ReportBand& c : band.children)
            printBand(c, row);
        for (const ReportSubDetail& s : band.subDetails)
            printSubDetail(s, row);
    }

    void printSubDetail(const ReportSubDetail& sub, const ReportRow& master)
    {
        if (!sub.rows)
            return;
        std::unique_ptr<RowSource> rows = sub.rows(master);
        if (!rows)
            return;
        const ColumnIndex index(*rows);
        std::vector<const ReportItem*> totals;
        collectTotals(sub.header, totals);
        collectTotals(sub.detail, totals);
        collectTotals(sub.footer, totals);
        for (const ReportItem* i : totals)
            m_totals[i] = Total();
        QVariantList values;
        ReportRow row = rowOf(index, values, &m_lookups, 0);
        int lines = 0;
        while (rows->next(values)) {
            if (lines == 0)
                printBand(sub.header, row);
            row.m_line = ++lines;
            for (const ReportItem* i : totals)
                add(i, row);
            printBand(sub.detail, row);
        }
        if (lines == 0 && sub.printWhenEmpty) {
            values = QVariantList(index.count());
            printBand(sub.header, row);
            printBand(sub.detail, row);
            ++lines;
        }
        if (lines > 0)
            printBand(sub.footer, row);
    }

    Report& m_report;
    ReportCanvas& m_canvas;
    LookupCache m_lookups;
    QSizeF m_page;
    QMarginsF m_margins;
    QDate m_printDate;
    ReportRow m_row;
    int m_pageNumber = 0;
    int m_lines = 0;
    double m_y = 0;
    bool m_pageOpen = false;
    bool m_pageHasBody = false;
    bool m_fixed = false;
    std::vector<std::vector<const ReportItem*>> m_groupTotals;
    std::vector<const ReportItem*> m_pageTotals;
    std::vector<const ReportItem*> m_mainTotals;
    QHash<const ReportItem*, Total> m_totals;
};

namespace ReportEngine {

int render(Report& report, ReportCanvas& canvas)
{
    ReportPass pass(report, canvas);
    return pass.run();
}

void detailLines(Report& report, const std::function<void(const QStringList&)>& line)
{
    std::vector<const ReportItem*> fields;
    for (const ReportItem& i : report.detail.items)
        if (i.visible && i.kind == ReportItem::Kind::Field)
            fields.push_back(&i);
    std::stable_sort(fields.begin(), fields.end(), [](const ReportItem* a, const ReportItem* b) {
        return a->rect.left() < b->rect.left();
    });
    QStringList headings;
    for (const ReportItem* f : fields) {
        const ReportItem* label = f->headingItem.isEmpty() ? nullptr : report.item(f->headingItem);
        headings << (label ? label->text : !f->heading.isEmpty() ? f->heading : f->column);
    }
    line(headings);

    std::unique_ptr<RowSource> rows = report.takeRows();
    const ColumnIndex index(*rows);
    LookupCache lookups(report.db, report.lookups);
    QVariantList values;
    int number = 0;
    while (rows->next(values)) {
        const ReportRow row = ReportPass::rowOf(index, values, &lookups, ++number);
        QStringList cells;
        for (const ReportItem* f : fields)
            cells << ReportText::csv(f->expression ? f->expression(row) : row.value(f->column),
                                     f->mask);
        line(cells);
    }
}

} // namespace ReportEngine
