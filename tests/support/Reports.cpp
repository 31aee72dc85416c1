#include "support/Reports.h"

#include "reports/ReportEngine.h"
#include "reports/ReportLayout.h"

#include <QProcess>
#include <QTest>

std::unique_ptr<CapturedPages> capture(Report& report)
{
    auto pages = std::make_unique<CapturedPages>();
    ReportEngine::render(report, *pages);
    return pages;
}

ReportRecorder::ReportRecorder()
{
    ReportOutput::install(this);
}

ReportRecorder::~ReportRecorder()
{
    ReportOutput::install(nullptr);
}

void ReportRecorder::show(Report& report, Mode mode)
{
    shown.append({report.caption, mode, std::shared_ptr<CapturedPages>(capture(report))});
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("pdftotext could not read %1 (poppler-utils is "
                                               "installed by scripts/setup-deps)")
                                    .arg(path)),
                     __FILE__, __LINE__);
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}
