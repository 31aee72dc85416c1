#pragma once

#include "reports/ReportOutput.h"

#include <QPrintPreviewDialog>

class QAction;
class QPrinter;
class Report;

// The modal preview: page navigation, zoom and print from Qt's preview, and "Save as PDF..."
// and "Save as CSV..." beside them.
class TReportPreview : public QPrintPreviewDialog
{
    Q_OBJECT
public:
    TReportPreview(Report& report, QPrinter* printer, QWidget* parent = nullptr);

    QAction* savePdfAction() const { return m_savePdf; }
    QAction* saveCsvAction() const { return m_saveCsv; }

    void savePdf();
    void saveCsv();

private:
    void paint(QPrinter* printer);

    Report& m_report;
    QAction* m_savePdf;
    QAction* m_saveCsv;
};

// The program's report output: the modal preview, or the default printer without a window.
class ReportPreviewSink : public ReportSink
{
public:
    void show(Report& report, Mode mode) override;
};
