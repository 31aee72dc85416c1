#pragma once

#include <QDate>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class Database;
class ReportRow;
class RowSource;

// A banded report: bands of positioned items, groups, look-up queries and the rows of one
// main query. The layout is plain data; ReportEngine lays it out onto pages. Positions are in
// points (1/72 inch) from the band's top-left corner.

enum class ReportAlign
{
    Left,
    Center,
    Right
};

// Every report prints in one font family (DejaVu Sans, regular and bold from
// fonts-dejavu-core), so pages lay out the same everywhere. Italic needs DejaVu Sans Oblique,
// which that package lacks.
struct ReportFont
{
    double size = 9; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const ReportFont&) const = default;
};

// How a value becomes text.
enum class ReportMask
{
    Plain, // as stored; dates in the user's short date format
    Money, // "#,##0.00"
    // "###,##0.00": the comma in the mask turns on separators throughout, so it prints as
    // "#,##0.00" does.
    MoneyWide,
};

struct ReportItem
{
    enum class Kind
    {
        Label,      // fixed text
        Field,      // a column of the main or a look-up query, or an expression
        Sum,        // sum of a money column over the lines of the band's scope
        Count,      // running line number in a detail band, lines of the scope elsewhere
        PageNumber, // text followed by the page number ("Page 3")
        PrintDate,  // the report's print date in the short date format
        Rule,       // a horizontal line across the item's width, at its top
    };

    Kind kind = Kind::Label;
    QString name; // addressed by run-time changes; unique within a report when set
    QString text; // Label: the text; PageNumber: what precedes the number
    // Field and Sum: "COLUMN", "TABLE.COLUMN" (of a join) or "lookup.COLUMN".
    QString column;
    // Field: a computed value instead of a column (concatenations, conditional texts).
    std::function<QVariant(const ReportRow&)> expression;
    ReportMask mask = ReportMask::Plain;
    QRectF rect;
    ReportAlign align = ReportAlign::Left;
    ReportFont font;
    bool visible = true;
    // Field: long text breaks into lines and the band grows; otherwise it is cut to the width.
    bool wrap = false;
    // Field in a detail band: its column heading when the lines are written as CSV. When
    // headingItem names a label, that label's current text is the heading instead.
    QString heading;
    QString headingItem;
};

struct ReportSubDetail;

struct ReportBand
{
    enum class Type
    {
        Title, // first page only
        PageHeader,
        ColumnHeader, // every page, under the page header
        GroupHeader,
        GroupFooter,
        Detail,
        Child, // printed right after its parent band
        SubDetailHeader,
        SubDetail,
        SubDetailFooter,
        Summary,
        PageFooter,
    };

    ReportBand() = default;
    explicit ReportBand(Type t, double h = 0) : type(t), height(h) {}

    Type type = Type::Detail;
    QString name;
    double height = 0;
    bool visible = true;
    std::vector<ReportItem> items;
    // Printed after this band, in order, whenever it prints.
    std::vector<ReportBand> children;
    // Their lines follow this band and its children, for the band's current row.
    std::vector<ReportSubDetail> subDetails;

    bool isEmpty() const { return items.empty() && children.empty() && subDetails.empty(); }

    ReportItem& add(ReportItem item);
    ReportItem& label(const QString& text, const QRectF& rect,
                      ReportAlign align = ReportAlign::Left, const ReportFont& font = {});
    ReportItem& field(const QString& column, const QRectF& rect,
                      ReportMask mask = ReportMask::Plain, ReportAlign align = ReportAlign::Left,
                      const ReportFont& font = {});
    ReportItem& expression(std::function<QVariant(const ReportRow&)> compute, const QRectF& rect,
                           ReportAlign align = ReportAlign::Left, const ReportFont& font = {});
    ReportItem& sum(const QString& column, const QRectF& rect, ReportMask mask = ReportMask::Money,
                    ReportAlign align = ReportAlign::Right, const ReportFont& font = {});
    ReportItem& count(const QRectF& rect, ReportAlign align = ReportAlign::Left,
                      const ReportFont& font = {});
    ReportItem& rule(double y, double x, double width);
    ReportBand& child(double height);
};

// Lines of a second query for each row of its master band (the rows of one transaction, the
// units of one tenant).
struct ReportSubDetail
{
    QString name;
    std::function<std::unique_ptr<RowSource>(const ReportRow& master)> rows;
    ReportBand header{ReportBand::Type::SubDetailHeader};
    ReportBand detail{ReportBand::Type::SubDetail};
    ReportBand footer{ReportBand::Type::SubDetailFooter};
    // With no lines for the master, one detail line prints with every value empty.
    bool printWhenEmpty = false;
};

// A new group starts whenever its key changes from one line to the next; its footer prints
// after its last line. Groups nest: the first is the outermost.
struct ReportGroup
{
    QString name;
    QString column; // the key column, or:
    std::function<QVariant(const ReportRow&)> key;
    ReportBand header{ReportBand::Type::GroupHeader};
    ReportBand footer{ReportBand::Type::GroupFooter};
};

// A query run again for each line with a value taken from that line, such as
// "select * from categories where catid =:catid" with CATID of the line. Fields name its
// columns as name + "." + COLUMN.
struct ReportLookup
{
    QString name;
    QString sql;
    QString param; // the main query's column whose value is bound to the one parameter
};

// One report layout with its main query. Not copyable: it may hold open rows between a run's
// check for data and the pages being laid out.
class Report
{
public:
    explicit Report(const QString& caption = QString());
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The preview window's title and the PDF's document title.
    QString caption;

    // The main query: the head is the stored text a run appends to; query is what runs
    // (equal to the head between runs). Values bind positionally to "?" in the text.
    Database* db = nullptr;
    QString headQuery;
    QString query;
    QVariantList bindings;
    // Rows handed over by the caller instead of the query (a payment still being recorded).
    std::function<std::unique_ptr<RowSource>()> rowsFactory;
    std::vector<ReportLookup> lookups;

    ReportBand pageHeader{ReportBand::Type::PageHeader};
    ReportBand title{ReportBand::Type::Title};
    ReportBand columnHeader{ReportBand::Type::ColumnHeader};
    std::vector<ReportGroup> groups; // outermost first
    ReportBand detail{ReportBand::Type::Detail};
    ReportBand summary{ReportBand::Type::Summary};
    ReportBand pageFooter{ReportBand::Type::PageFooter};

    // The date printed in the page footer; today (Clock) when not set.
    QDate printDate;

    // The width the layouts are drawn for: an A4 or Letter page less half an inch each side.
    static constexpr double BodyWidth = 523;

    // "Page " and the number on the left, the print date on the right.
    void addPageFooter(const QString& pageText = QStringLiteral("Page "));

    // The item or band with this name, searched through every band; nullptr when none.
    ReportItem* item(const QString& name);
    const ReportItem* item(const QString& name) const;
    ReportBand* band(const QString& name);
    // Every band, depth first, in printing order.
    void forEachBand(const std::function<void(ReportBand&)>& visit);
    void forEachBand(const std::function<void(const ReportBand&)>& visit) const;

    // Runs the main query and reads its first row; true when there is one. The open rows are
    // laid out by the next render, so the check costs no second run. Throws DbError.
    bool open();
    bool isOpen() const { return m_opened != nullptr; }
    void close();
    // The rows for a layout pass: the ones open() left, or the query run afresh.
    std::unique_ptr<RowSource> takeRows();

private:
    std::unique_ptr<RowSource> makeRows() const;
    std::unique_ptr<RowSource> m_opened;
};
