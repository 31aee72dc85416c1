#include "reports/ReportOutput.h"

#include "reports/ReportCanvas.h"
#include "reports/ReportEngine.h"
#include "reports/ReportLayout.h"

#include <QPdfWriter>
#include <QSaveFile>
#include <QtGlobal>

ReportSink::~ReportSink() = default;

namespace {

// Without a window system there is nowhere to show a report.
class NoSink : public ReportSink
{
public:
    void show(Report& report, Mode) override
    {
        qWarning("The report \"%s\" cannot be shown without a window.", qPrintable(report.caption));
    }
};

NoSink g_none;
ReportSink* g_sink = &g_none;

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

namespace ReportOutput {

void install(ReportSink* sink)
{
    g_sink = sink ? sink : &g_none;
}

ReportSink* installed()
{
    return g_sink;
}

void preview(Report& report)
{
    g_sink->show(report, ReportSink::Mode::Preview);
}

void print(Report& report)
{
    g_sink->show(report, ReportSink::Mode::Print);
}

bool writePdf(Report& report, const QString& path, QString* error)
{
    // Written aside and put in place only when whole: a failure leaves no half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(report.caption);
        writer.setCreator(QStringLiteral("Keystead"));
        PaintCanvas canvas(writer);
        ReportEngine::render(report, canvas);
        canvas.finish();
        if (!canvas.isActive()) {
            if (error)
                *error = QStringLiteral("%1 cannot be written.").arg(path);
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool writeCsv(Report& report, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    ReportEngine::detailLines(report, [&file](const QStringList& cells) {
        QStringList quoted;
        for (const QString& c : cells)
            quoted << csvCell(c);
        file.write((quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
    });
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool write(Report& report, const QString& path, QString* error)
{
    if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return writePdf(report, path, error);
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return writeCsv(report, path, error);
    if (error)
        *error = QStringLiteral("%1 is neither a .pdf nor a .csv file.").arg(path);
    return false;
}

} // namespace ReportOutput
