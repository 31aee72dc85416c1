#include "data/Dataset.h"
#include "records/ui/TTenForm.h"
#include "reports/ReportLayout.h"
#include "reports/RowSource.h"
#include "reports/ui/ReportPreview.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"
#include "support/Reports.h"

#include <QAction>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

std::unique_ptr<Report> smallReport()
{
    auto r = std::make_unique<Report>(QStringLiteral("Two lines"));
    r->rowsFactory = [] {
        return std::make_unique<MemoryRowSource>(
            QStringList{QStringLiteral("NAME"), QStringLiteral("AMOUNT")},
            QList<QVariantList>{{QStringLiteral("Rent"), QStringLiteral("1234.5")},
                                {QStringLiteral("Parking"), QStringLiteral("20")}});
    };
    r->columnHeader.height = 14;
    r->columnHeader.label(QStringLiteral("Name"), {0, 0, 100, 12}).name =
        QStringLiteral("nameHeading");
    r->detail.height = 14;
    r->detail.field(QStringLiteral("NAME"), {0, 0, 100, 12}).headingItem =
        QStringLiteral("nameHeading");
    r->detail
        .field(QStringLiteral("AMOUNT"), {110, 0, 80, 12}, ReportMask::Money, ReportAlign::Right)
        .heading = QStringLiteral("Amount");
    r->addPageFooter();
    return r;
}

} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT
private slots:
    void previewShowsThePagesAndSavesPdfAndCsv()
    {
        ShellFixture f(false);
        QTemporaryDir dir;
        auto report = smallReport();
        ReportPreviewSink sink;
        int pages = -1;
        QStringList tools;
        f.dialogs.then([&](QDialog* d) {
            QCOMPARE(d->objectName(), QStringLiteral("reportPreview"));
            QCOMPARE(d->windowTitle(), QStringLiteral("Two lines"));
            auto* preview = d->findChild<QPrintPreviewWidget*>();
            preview->updatePreview();
            pages = preview->pageCount();
            for (QAction* a : d->findChild<QToolBar*>()->actions())
                tools << a->objectName();
            Dialogs::queueFileName(dir.filePath(QStringLiteral("saved.pdf")));
            Dialogs::queueFileName(dir.filePath(QStringLiteral("saved.csv")));
            auto* tp = qobject_cast<TReportPreview*>(d);
            tp->savePdfAction()->trigger();
            tp->saveCsvAction()->trigger();
            d->reject();
        });
        sink.show(*report, ReportSink::Mode::Preview);
        QVERIFY(f.dialogs.done());
        QCOMPARE(pages, 1);
        QVERIFY(tools.contains(QStringLiteral("savePdfAction")));
        QVERIFY(tools.contains(QStringLiteral("saveCsvAction")));
        QVERIFY(
            pdfText(dir.filePath(QStringLiteral("saved.pdf"))).contains(QLatin1String("1,234.50")));
        QFile csv(dir.filePath(QStringLiteral("saved.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), QByteArray("Name,Amount\r\nRent,1234.50\r\nParking,20.00\r\n"));
        QVERIFY(f.messages.shown.isEmpty());

        // Cancelling the save dialog writes nothing.
        f.dialogs.then([&](QDialog* d) {
            Dialogs::queueFileName(QString());
            qobject_cast<TReportPreview*>(d)->savePdfAction()->trigger();
            d->reject();
        });
        sink.show(*report, ReportSink::Mode::Preview);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void tenantsWindowPrintsTheSelectedTenantsDeposits()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into tenants (tid, id, firstname, lastname) values "
                                   "(501, 'A1', 'Ann', 'Smith')"));
            db.exec(QStringLiteral("insert into tenants (tid, id, firstname, lastname) values "
                                   "(502, 'B2', 'Bob', 'Jones')"));
            db.exec(QStringLiteral("insert into deposits (depid, tid, tdate, amount, paymenttype) "
                                   "values (1, 501, '2008-03-01', 600, 'Cash')"));
            db.exec(QStringLiteral("insert into deposits (depid, tid, tdate, amount, paymenttype) "
                                   "values (2, 502, '2008-03-02', 250, 'Check')"));
        });
        f.start();
        ReportRecorder reports;
        f.main->command(QStringLiteral("tenants"))->trigger();
        auto* w = f.main->findChild<TTenForm*>();
        QVERIFY(w);
        auto* print = child<QPushButton>(w, "depositPrintButton");
        QVERIFY(print->isEnabled());
        QVERIFY(f.state.tables().Tenants->locate(QStringLiteral("TID"), 502));
        print->click();
        QCOMPARE(reports.shown.size(), 1);
        QCOMPARE(reports.shown.first().mode, ReportSink::Mode::Preview);
        const QStringList lines = reports.last().lines();
        QVERIFY2(lines.contains(QStringLiteral("Name: | Jones, Bob")),
                 qPrintable(lines.join(QLatin1Char('\n'))));
        QCOMPARE(reports.last().rightOf(QStringLiteral("Total:")), QStringLiteral("250.00"));

        // No tenants listed: nothing to print.
        f.state.db.exec(QStringLiteral("delete from tenants"));
        f.state.tables().Tenants->refresh();
        print->click();
        QCOMPARE(reports.shown.size(), 1);
        QVERIFY(f.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
