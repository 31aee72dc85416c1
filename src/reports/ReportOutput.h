#pragma once

#include <QString>

class Report;

// Where a finished report goes. The program installs the modal preview (and the printer);
// tests install a recorder that captures the laid-out pages.
class ReportSink
{
public:
    enum class Mode
    {
        Preview, // the modal preview, from which the user may print or save
        Print,   // straight to the default printer, no window
    };
    virtual ~ReportSink();
    // Lays the report out for the user. Errors are reported to the user by the sink.
    virtual void show(Report& report, Mode mode) = 0;
};

namespace ReportOutput {

void install(ReportSink* sink);
ReportSink* installed();

void preview(Report& report);
void print(Report& report);

// The report as a PDF file, US Letter portrait, laid out page by page straight into the file
// (memory does not grow with the pages). False with a reason when the file cannot be
// written. Throws DbError.
bool writePdf(Report& report, const QString& path, QString* error = nullptr);
// The detail lines with their column headings as CSV (comma separated, quoted where
// needed, CRLF, UTF-8), money as plain decimals and dates as YYYY-MM-DD. Throws DbError.
bool writeCsv(Report& report, const QString& path, QString* error = nullptr);
// PDF or CSV by the file's extension (.pdf, .csv, any letter case).
bool write(Report& report, const QString& path, QString* error = nullptr);

} // namespace ReportOutput
