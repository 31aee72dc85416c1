#include "reports/ReportOutput.h"
#include "reports/ui/ReportPreview.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/StopSignals.h"
#include "shell/ui/Application.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/Splash.h"
#include "shell/ui/TMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

int main(int argc, char** argv)
{
    // SIGTERM and SIGINT close the program as File > Close does.
    StopSignals::install();
    Application app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Marbleway"));
    QApplication::setApplicationName(QStringLiteral("keystead"));

    // Closed by the first dialog or message of the start-up, or when the start-up ends.
    Splash splash;
    splash.show();
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 100)
        app.processEvents(QEventLoop::AllEvents, 20);

    MessageBoxSink messages;
    Messages::install(&messages);
    ReportPreviewSink reports;
    ReportOutput::install(&reports);

    AppState state;
    TMain window(state);
    StopSignalNotifier stop;
    QObject::connect(&stop, &StopSignalNotifier::stopRequested, &window, &TMain::closeForStop);
    window.setWindowIcon(QIcon(Splash::picture().scaled(64, 64)));
    // Without a window manager "maximized" is not honoured: start at the screen's size.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    return app.exec();
}
