#pragma once

#include "reports/ReportCanvas.h"
#include "reports/ReportOutput.h"

#include <QList>
#include <QStringList>
#include <memory>

class Report;

// Lays a report out onto captured pages (US Letter), as the preview would show them.
std::unique_ptr<CapturedPages> capture(Report& report);

// The report seam for tests: every report shown is laid out at once and kept as captured
// pages, with whether it was previewed or sent to the printer.
class ReportRecorder : public ReportSink
{
public:
    ReportRecorder();
    ~ReportRecorder() override;
    void show(Report& report, Mode mode) override;

    struct Shown
    {
        QString caption;
        Mode mode;
        std::shared_ptr<CapturedPages> pages;
    };
    QList<Shown> shown;
    const CapturedPages& last() const { return *shown.last().pages; }
};

// The text pdftotext reads from a PDF file (layout kept); fails the test when it cannot run.
QString pdfText(const QString& path);
