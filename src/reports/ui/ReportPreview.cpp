#include "reports/ui/ReportPreview.h"

#include "data/Database.h"
#include "reports/ReportCanvas.h"
#include "reports/ReportEngine.h"
#include "reports/ReportLayout.h"
#include "shell/Messages.h"
#include "shell/ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// Report pages: US Letter, portrait, laid out from the paper's corner (the layout keeps its
// own margins, wider where the printer needs it).
void setUp(QPrinter& printer, const Report& report)
{
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(report.caption);
}

// Lays the report out onto the printer; false after a reported failure.
bool paintOnto(Report& report, QPrinter& printer)
{
    PaintCanvas canvas(printer);
    try {
        ReportEngine::render(report, canvas);
    } catch (const DbError& e) {
        canvas.finish();
        Messages::error(e.message());
        return false;
    }
    canvas.finish();
    if (!canvas.isActive()) {
        Messages::warning(QStringLiteral("The report could not be sent to the printer."));
        return false;
    }
    return true;
}

} // namespace

TReportPreview::TReportPreview(Report& report, QPrinter* printer, QWidget* parent)
    : QPrintPreviewDialog(printer, parent), m_report(report)
{
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(report.caption);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &TReportPreview::paint);

    QStyle* s = style();
    m_savePdf = new QAction(s->standardIcon(QStyle::SP_DialogSaveButton),
                            QStringLiteral("Save as PDF..."), this);
    m_savePdf->setObjectName(QStringLiteral("savePdfAction"));
    m_savePdf->setIconText(m_savePdf->text());
    m_savePdf->setToolTip(QStringLiteral("Save as PDF..."));
    connect(m_savePdf, &QAction::triggered, this, &TReportPreview::savePdf);
    m_saveCsv = new QAction(s->standardIcon(QStyle::SP_FileDialogDetailedView),
                            QStringLiteral("Save as CSV..."), this);
    m_saveCsv->setObjectName(QStringLiteral("saveCsvAction"));
    m_saveCsv->setIconText(m_saveCsv->text());
    m_saveCsv->setToolTip(QStringLiteral("Save as CSV..."));
    connect(m_saveCsv, &QAction::triggered, this, &TReportPreview::saveCsv);
    if (QToolBar* bar = findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(m_savePdf);
        bar->addAction(m_saveCsv);
        // New to the preview: shown with their names, not as bare icons.
        for (QAction* a : {m_savePdf, m_saveCsv})
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
                button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        addAction(m_savePdf);
        addAction(m_saveCsv);
    }
}

void TReportPreview::paint(QPrinter* printer)
{
    paintOnto(m_report, *printer);
}

void TReportPreview::savePdf()
{
    const QString path =
        Dialogs::getSaveFileName(this, QStringLiteral("Save as PDF"),
                                 QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    QString error;
    try {
        if (!ReportOutput::writePdf(m_report, path, &error))
            Messages::error(error);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TReportPreview::saveCsv()
{
    const QString path =
        Dialogs::getSaveFileName(this, QStringLiteral("Save as CSV"),
                                 QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QString error;
    try {
        if (!ReportOutput::writeCsv(m_report, path, &error))
            Messages::error(error);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void ReportPreviewSink::show(Report& report, Mode mode)
{
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, report);
    if (mode == Mode::Print) {
        if (!printer.isValid()) {
            Messages::warning(QStringLiteral("No printer is set up; the report was not printed."));
            return;
        }
        paintOnto(report, printer);
        return;
    }
    TReportPreview preview(report, &printer, QApplication::activeWindow());
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    Dialogs::exec(&preview);
}
