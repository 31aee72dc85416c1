#include "data/Money.h"
#include "reports/ReportEngine.h"
#include "reports/ReportLayout.h"
#include "reports/ReportOutput.h"
#include "reports/ReportText.h"
#include "reports/RowSource.h"
#include "support/Reports.h"
#include "support/TestDb.h"

#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList Columns = {QStringLiteral("BUILDING"), QStringLiteral("UNIT"),
                             QStringLiteral("TDATE"), QStringLiteral("DESCRIPTION"),
                             QStringLiteral("AMOUNT")};

QVariantList line(const char* building, const char* unit, int day, const char* description,
                  const char* amount)
{
    return {QLatin1String(building), QLatin1String(unit), QDate(2008, 3, day),
            QLatin1String(description), QLatin1String(amount)};
}

// Lines grouped by building and, inside, by unit, with sums and counts at every level.
std::unique_ptr<Report> groupedReport(QList<QVariantList> rows)
{
    auto r = std::make_unique<Report>(QStringLiteral("Grouped"));
    r->rowsFactory = [rows] { return std::make_unique<MemoryRowSource>(Columns, rows); };
    r->columnHeader.height = 16;
    r->columnHeader.label(QStringLiteral("Date"), {30, 0, 70, 12}).name =
        QStringLiteral("dateHeading");
    r->columnHeader.label(QStringLiteral("Description"), {110, 0, 200, 12});
    r->columnHeader.label(QStringLiteral("Amount"), {320, 0, 90, 12}, ReportAlign::Right);

    ReportGroup building;
    building.column = QStringLiteral("BUILDING");
    building.header.height = 14;
    building.header.label(QStringLiteral("Building:"), {0, 0, 60, 12});
    building.header.field(QStringLiteral("BUILDING"), {60, 0, 100, 12});
    building.footer.height = 14;
    building.footer.label(QStringLiteral("Building total:"), {110, 0, 100, 12});
    building.footer.sum(QStringLiteral("AMOUNT"), {320, 0, 90, 12});
    building.footer.count({420, 0, 40, 12});
    ReportGroup unit;
    unit.column = QStringLiteral("UNIT");
    unit.header.height = 14;
    unit.header.label(QStringLiteral("Unit"), {10, 0, 40, 12});
    unit.header.field(QStringLiteral("UNIT"), {60, 0, 100, 12});
    unit.footer.height = 14;
    unit.footer.label(QStringLiteral("Unit total:"), {110, 0, 100, 12});
    unit.footer.sum(QStringLiteral("AMOUNT"), {320, 0, 90, 12}, ReportMask::MoneyWide);
    unit.footer.count({420, 0, 40, 12});
    r->groups = {building, unit};

    r->detail.height = 14;
    r->detail.count({0, 0, 25, 12}, ReportAlign::Right);
    r->detail.field(QStringLiteral("TDATE"), {30, 0, 70, 12}).headingItem =
        QStringLiteral("dateHeading");
    r->detail.field(QStringLiteral("DESCRIPTION"), {110, 0, 200, 12}).heading =
        QStringLiteral("Description");
    r->detail
        .field(QStringLiteral("AMOUNT"), {320, 0, 90, 12}, ReportMask::Money, ReportAlign::Right)
        .heading = QStringLiteral("Amount");

    r->summary.height = 16;
    r->summary.label(QStringLiteral("Total:"), {110, 2, 100, 12});
    r->summary.sum(QStringLiteral("AMOUNT"), {320, 2, 90, 12});
    r->summary.count({420, 2, 40, 12});
    r->addPageFooter();
    r->printDate = QDate(2008, 4, 2);
    return r;
}

QList<QVariantList> manyLines(int n)
{
    QList<QVariantList> rows;
    for (int i = 0; i < n; ++i)
        rows << line(i < n / 2 ? "North" : "South", i < n / 2 ? "1A" : "2B", 1 + i % 28, "Rent",
                     "1.00");
    return rows;
}

// Counts the rows handed out, to see how far the query has been read.
class CountingRows : public MemoryRowSource
{
public:
    CountingRows(QList<QVariantList> rows, int* read) : MemoryRowSource(Columns, rows), m_read(read)
    {
    }
    bool next(QVariantList& values) override
    {
        const bool more = MemoryRowSource::next(values);
        if (more)
            ++*m_read;
        return more;
    }

private:
    int* m_read;
};

// Gives up with a database error after some rows.
class FailingRows : public MemoryRowSource
{
public:
    explicit FailingRows(QList<QVariantList> rows) : MemoryRowSource(Columns, rows) {}
    bool next(QVariantList& values) override
    {
        if (++m_read > 100)
            throw DbError(QStringLiteral("connection lost"));
        return MemoryRowSource::next(values);
    }

private:
    int m_read = 0;
};

// Notes how many rows had been read when each page was finished.
class PageWatch : public CapturedPages
{
public:
    explicit PageWatch(const int* read) : m_read(read) {}
    void endPage() override { readAtPageEnd << *m_read; }
    QList<int> readAtPageEnd;

private:
    const int* m_read;
};

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void nestedGroupsSumAndCountPerGroupAndResetAfterEach()
    {
        auto r = groupedReport(
            {line("North", "1A", 1, "Rent", "10.00"), line("North", "1A", 2, "Parking", "20.00"),
             line("North", "2B", 3, "Rent", "5.00"), line("South", "2B", 4, "Rent", "1.25"),
             line("South", "2B", 5, "Repair", "1233.25")});
        auto pages = capture(*r);
        QCOMPARE(pages->pageCount(), 1);
        // The inner group starts again when the outer key changes, although "2B" repeats.
        const QStringList expected = {
            QStringLiteral("Date | Description | Amount"),
            QStringLiteral("Building: | North"),
            QStringLiteral("Unit | 1A"),
            QStringLiteral("1 | 3/1/08 | Rent | 10.00"),
            QStringLiteral("2 | 3/2/08 | Parking | 20.00"),
            QStringLiteral("Unit total: | 30.00 | 2"),
            QStringLiteral("Unit | 2B"),
            QStringLiteral("3 | 3/3/08 | Rent | 5.00"),
            QStringLiteral("Unit total: | 5.00 | 1"),
            QStringLiteral("Building total: | 35.00 | 3"),
            QStringLiteral("Building: | South"),
            QStringLiteral("Unit | 2B"),
            QStringLiteral("4 | 3/4/08 | Rent | 1.25"),
            QStringLiteral("5 | 3/5/08 | Repair | 1,233.25"),
            QStringLiteral("Unit total: | 1,234.50 | 2"),
            QStringLiteral("Building total: | 1,234.50 | 2"),
            QStringLiteral("Total: | 1,269.50 | 5"),
            QStringLiteral("Page 1 | 4/2/08"),
        };
        QCOMPARE(pages->lines(), expected);

        // Money right-aligned: every amount ends where its column ends.
        const PlacedText* wide = pages->find(QStringLiteral("1,233.25"));
        const PlacedText* narrow = pages->find(QStringLiteral("5.00"));
        QVERIFY(wide && narrow);
        QCOMPARE(wide->origin.x() + wide->width, narrow->origin.x() + narrow->width);
        QVERIFY(wide->origin.x() < narrow->origin.x());
    }

    void sumsAreExactOverManyCents()
    {
        // 0.10 ten thousand times: a double sum drifts, Money does not.
        QList<QVariantList> rows;
        for (int i = 0; i < 10000; ++i)
            rows << line("North", "1A", 1, "Fee", "0.10");
        auto r = groupedReport(rows);
        r->detail.visible = false;
        auto pages = capture(*r);
        QCOMPARE(pages->rightOf(QStringLiteral("Total:")), QStringLiteral("1,000.00"));
    }

    void masks_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("text");
        const int money = int(ReportMask::Money);
        const int wide = int(ReportMask::MoneyWide);
        const int plain = int(ReportMask::Plain);
        QTest::newRow("decimal text") << QVariant(QStringLiteral("1234.5")) << money << "1,234.50";
        QTest::newRow("double") << QVariant(1234.5) << wide << "1,234.50";
        QTest::newRow("Money") << QVariant::fromValue(Money::fromCents(123450)) << money
                               << "1,234.50";
        QTest::newRow("a million, both masks alike")
            << QVariant(QStringLiteral("1234567.891")) << wide << "1,234,567.89";
        QTest::newRow("negative") << QVariant(QStringLiteral("-0.5")) << money << "-0.50";
        QTest::newRow("zero") << QVariant(0) << money << "0.00";
        QTest::newRow("NULL prints nothing")
            << QVariant(QMetaType::fromType<double>()) << money << "";
        QTest::newRow("date, short format") << QVariant(QDate(2008, 12, 31)) << plain << "12/31/08";
        QTest::newRow("text") << QVariant(QStringLiteral("Smith")) << plain << "Smith";
    }
    void masks()
    {
        QFETCH(QVariant, value);
        QFETCH(int, mask);
        QFETCH(QString, text);
        QCOMPARE(ReportText::format(value, ReportMask(mask)), text);
    }

    void pageBreakRepeatsHeadingsAndNumbersThePages()
    {
        int read = 0;
        const QList<QVariantList> rows = manyLines(200);
        auto r = groupedReport({});
        r->rowsFactory = [&] { return std::make_unique<CountingRows>(rows, &read); };
        r->title.height = 30;
        r->title.label(QStringLiteral("GROUPED LINES"), {0, 0, Report::BodyWidth, 20},
                       ReportAlign::Center, {14, true});
        PageWatch pages(&read);
        const int count = ReportEngine::render(*r, pages);
        QCOMPARE(count, pages.pageCount());
        QVERIFY(count >= 4);

        const double bottom = 792 - 36 - r->pageFooter.height;
        double headingY = -1;
        for (int p = 0; p < count; ++p) {
            // The column headings open every page at the same height, the title only the first.
            const PlacedText* heading = pages.find(QStringLiteral("Date"), p);
            QVERIFY(heading && pages.pageOf(heading) == p);
            if (p == 1)
                headingY = heading->origin.y();
            if (p > 1)
                QCOMPARE(heading->origin.y(), headingY);
            const PlacedText* number = pages.find(QStringLiteral("Page %1").arg(p + 1));
            QVERIFY2(number && pages.pageOf(number) == p, qPrintable(QString::number(p)));
            QVERIFY(pages.find(QStringLiteral("4/2/08"), p));
            // Nothing of the body runs into the footer.
            for (const PlacedText& t : pages.pages().at(p).texts)
                if (!t.text.startsWith(QLatin1String("Page ")) && t.text != QLatin1String("4/2/08"))
                    QVERIFY(t.origin.y() + ReportText::lineHeight(t.font) <= bottom + 0.01);
        }
        QCOMPARE(pages.findAll(QStringLiteral("GROUPED LINES")).size(), 1);
        QCOMPARE(pages.pageOf(pages.find(QStringLiteral("GROUPED LINES"))), 0);

        // The running number goes on across pages: every line once, in order.
        QStringList numbers;
        for (const QString& l : pages.lines())
            if (l.contains(QLatin1String(" | Rent | ")))
                numbers << l.section(QStringLiteral(" | "), 0, 0);
        QCOMPARE(numbers.size(), 200);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(numbers.at(i), QString::number(i + 1));

        // Rows are read as the pages fill, not all before the first page.
        QCOMPARE(pages.readAtPageEnd.size(), count);
        QVERIFY2(pages.readAtPageEnd.first() < 70,
                 qPrintable(QString::number(pages.readAtPageEnd.first())));
        QCOMPARE(pages.readAtPageEnd.last(), 200);
    }

    void bandTooTallForTheRestOfThePageMovesToTheNext()
    {
        // Lines start at 52 (margin and headings) and the footer begins at 738: 44 lines of 14
        // leave 70 points, too few for a 150-point summary.
        auto r = groupedReport(manyLines(44));
        r->groups.clear();
        r->summary.height = 150;
        auto pages = capture(*r);
        QCOMPARE(pages->pageCount(), 2);
        const PlacedText* total = pages->find(QStringLiteral("Total:"));
        QCOMPARE(pages->pageOf(total), 1);
        // At the top of the new page, right under the repeated headings.
        const PlacedText* heading = pages->find(QStringLiteral("Description"), 1);
        QCOMPARE(total->origin.y(), heading->origin.y() + 16 + 2);
        QVERIFY(pages->find(QStringLiteral("Page 2")));

        // The same summary fits when it is short.
        r->summary.height = 16;
        QCOMPARE(capture(*r)->pageCount(), 1);
    }

    void emptyReportPrintsTitleHeadingsAndZeroTotals()
    {
        auto r = groupedReport({});
        auto pages = capture(*r);
        QCOMPARE(pages->lines(), (QStringList{QStringLiteral("Date | Description | Amount"),
                                              QStringLiteral("Total: | 0.00 | 0"),
                                              QStringLiteral("Page 1 | 4/2/08")}));
    }

    void expressionsChildBandsSubDetailsAndHiddenFields()
    {
        const QStringList columns = {QStringLiteral("SUITE"), QStringLiteral("TENANT"),
                                     QStringLiteral("COMPANY"), QStringLiteral("RENT")};
        const QList<QVariantList> rows = {
            {QStringLiteral("101"), QStringLiteral("Ann Lee"), QStringLiteral(""),
             QStringLiteral("500")},
            {QStringLiteral("102"), QStringLiteral(""), QStringLiteral("Acme Ltd"),
             QStringLiteral("900")},
            {QStringLiteral("103"), QVariant(), QVariant(), QStringLiteral("450")}};
        Report r;
        r.rowsFactory = [&] { return std::make_unique<MemoryRowSource>(columns, rows); };
        r.detail.height = 14;
        r.detail.field(QStringLiteral("SUITE"), {0, 0, 50, 12});
        // The tenant, else the company, else "vacant".
        r.detail.expression(
            [](const ReportRow& row) -> QVariant {
                for (const char* c : {"TENANT", "COMPANY"})
                    if (!row.text(QLatin1String(c)).isEmpty())
                        return row.value(QLatin1String(c));
                return QStringLiteral("vacant");
            },
            {60, 0, 120, 12});
        r.detail
            .field(QStringLiteral("RENT"), {200, 0, 80, 12}, ReportMask::Money, ReportAlign::Right)
            .name = QStringLiteral("rent");
        ReportBand& note = r.detail.child(12);
        note.expression(
            [](const ReportRow& row) {
                return QVariant(QStringLiteral("note for ") + row.text(QStringLiteral("SUITE")));
            },
            {10, 0, 200, 12});
        ReportSubDetail keys;
        keys.rows = [](const ReportRow& master) -> std::unique_ptr<RowSource> {
            QList<QVariantList> k;
            if (master.text(QStringLiteral("SUITE")) != QLatin1String("103"))
                k << QVariantList{QStringLiteral("front")} << QVariantList{QStringLiteral("back")};
            return std::make_unique<MemoryRowSource>(QStringList{QStringLiteral("KEYNAME")}, k);
        };
        keys.detail.height = 12;
        keys.detail.count({20, 0, 20, 12});
        keys.detail.field(QStringLiteral("KEYNAME"), {40, 0, 100, 12});
        keys.footer.height = 12;
        keys.footer.label(QStringLiteral("keys:"), {20, 0, 40, 12});
        keys.footer.count({60, 0, 20, 12});
        r.detail.subDetails.push_back(keys);
        r.item(QStringLiteral("rent"))->visible = false;

        auto pages = capture(r);
        QCOMPARE(pages->lines(), (QStringList{
                                     QStringLiteral("101 | Ann Lee"),
                                     QStringLiteral("note for 101"),
                                     QStringLiteral("1 | front"),
                                     QStringLiteral("2 | back"),
                                     QStringLiteral("keys: | 2"),
                                     QStringLiteral("102 | Acme Ltd"),
                                     QStringLiteral("note for 102"),
                                     QStringLiteral("1 | front"),
                                     QStringLiteral("2 | back"),
                                     QStringLiteral("keys: | 2"),
                                     QStringLiteral("103 | vacant"),
                                     QStringLiteral("note for 103"),
                                 }));

        // Shown again, the field prints; a column the rows lack is an error, not a blank.
        r.item(QStringLiteral("rent"))->visible = true;
        QVERIFY(capture(r)->find(QStringLiteral("900.00")));
        r.item(QStringLiteral("rent"))->column = QStringLiteral("RENTT");
        QVERIFY_THROWS_EXCEPTION(DbError, capture(r));
    }

    void lookupsRunOncePerValueAndJoinedColumnsByTable()
    {
        TestDb t;
        Database& db = t.db();
        // The new database's categories: 1 Rent, 3 Parking; there is no 99.
        db.exec(QStringLiteral("insert into buildings (buildid, description, address) values (7, "
                               "'Elm Court', '1 Elm St')"));
        db.exec(QStringLiteral(
            "insert into apartments (apid, bid, suite, tid, agreeid) values (70, 7, '3', -1, -1)"));
        const int categories[] = {1, 3, 1, 1, 99};
        for (int day = 1; day <= 5; ++day)
            db.exec(QStringLiteral(
                        "insert into cashbook (accid, tdate, description, catid, income, apid) "
                        "values (%1, '2008-03-0%2', 'Payment %1', %3, 10, 70)")
                        .arg(99 + day)
                        .arg(day)
                        .arg(categories[day - 1]));

        Report r;
        r.db = &db;
        r.query = QStringLiteral("select * from cashbook, apartments, buildings where "
                                 "apartments.apid = cashbook.apid and buildings.buildid = "
                                 "apartments.bid and cashbook.tdate >= ? order by cashbook.accid");
        r.bindings = {QDate(2008, 3, 2)};
        r.lookups.push_back({QStringLiteral("Category"),
                             QStringLiteral("select * from categories where catid =:catid"),
                             QStringLiteral("CATID")});
        r.detail.height = 14;
        r.detail.field(QStringLiteral("DESCRIPTION"), {0, 0, 100, 12});
        r.detail.field(QStringLiteral("Category.NAME"), {110, 0, 100, 12});
        r.detail.field(QStringLiteral("BUILDINGS.DESCRIPTION"), {220, 0, 100, 12});
        r.detail.field(QStringLiteral("INCOME"), {330, 0, 60, 12}, ReportMask::Money,
                       ReportAlign::Right);

        QStringList statements;
        db.beforeExec = [&](const QString& sql) { statements << sql; };
        std::unique_ptr<CapturedPages> pages;
        try {
            pages = capture(r);
        } catch (const DbError& e) {
            QFAIL(qPrintable(e.message()));
        }
        db.beforeExec = nullptr;
        QCOMPARE(pages->lines(), (QStringList{
                                     QStringLiteral("Payment 101 | Parking | Elm Court | 10.00"),
                                     QStringLiteral("Payment 102 | Rent | Elm Court | 10.00"),
                                     QStringLiteral("Payment 103 | Rent | Elm Court | 10.00"),
                                     // A category that is gone leaves the field empty.
                                     QStringLiteral("Payment 104 | Elm Court | 10.00"),
                                 }));
        QCOMPARE(statements.count(QStringLiteral("select * from categories where catid =:catid")),
                 3);
    }

    void pdfCarriesTheTextsAndCsvTheDetailLines()
    {
        auto r = groupedReport({line("North", "1A", 1, "Rent, March", "1234.5"),
                                line("North", "1A", 2, "Say \"hi\"", "20")});
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("grouped.pdf"));
        QString error;
        QVERIFY2(ReportOutput::write(*r, pdf, &error), qPrintable(error));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QLatin1String("Building total:")), qPrintable(text));
        QVERIFY(text.contains(QLatin1String("1,254.50")));
        QVERIFY(text.contains(QLatin1String("Rent, March")));
        QVERIFY(text.contains(QLatin1String("Page 1")));

        const QString csv = dir.filePath(QStringLiteral("grouped.CSV"));
        QVERIFY2(ReportOutput::write(*r, csv, &error), qPrintable(error));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QStringLiteral("Date,Description,Amount\r\n"
                                "2008-03-01,\"Rent, March\",1234.50\r\n"
                                "2008-03-02,\"Say \"\"hi\"\"\",20.00\r\n"));

        // The captured pages written as PDF read the same as the PDF written directly.
        const QString again = dir.filePath(QStringLiteral("again.pdf"));
        QVERIFY(capture(*r)->writePdf(again, &error));
        QCOMPARE(pdfText(again), text);

        // A report that fails half-way (pages already laid out) leaves no file behind.
        const QString broken = dir.filePath(QStringLiteral("broken.pdf"));
        const QList<QVariantList> rows = manyLines(300);
        r->rowsFactory = [rows] { return std::make_unique<FailingRows>(rows); };
        QVERIFY_THROWS_EXCEPTION(DbError, ReportOutput::writePdf(*r, broken));
        QVERIFY(!QFileInfo::exists(broken));

        QVERIFY(!ReportOutput::write(*r, dir.filePath(QStringLiteral("grouped.txt")), &error));
        QVERIFY(error.contains(QLatin1String(".pdf")));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
