#include "reports/ReportOutput.h"
#include "reports/ui/ReportPreview.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/StopSignals.h"
#include "shell/ui/Application.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/TMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>

namespace {

QPixmap splashPicture()
{
    QPixmap picture(420, 220);
    QPainter p(&picture);
    QLinearGradient g(0, 0, 0, picture.height());
    g.setColorAt(0, QColor(114, 215, 243));
    g.setColorAt(1, QColor(12, 117, 148));
    p.fillRect(picture.rect(), g);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Arial"), 30, QFont::Bold);
    p.setFont(title);
    p.drawText(picture.rect().adjusted(0, -30, 0, 0), Qt::AlignCenter, QStringLiteral("Keystead"));
    p.setFont(QFont(QStringLiteral("Arial"), 11));
    p.drawText(picture.rect().adjusted(0, 60, 0, 0), Qt::AlignCenter,
               QStringLiteral("Rental property management"));
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    // SIGTERM and SIGINT close the program as File > Close does.
    StopSignals::install();
    Application app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Marbleway"));
    QApplication::setApplicationName(QStringLiteral("keystead"));

    QSplashScreen splash(splashPicture(), Qt::WindowStaysOnTopHint);
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
    window.setWindowIcon(QIcon(splashPicture().scaled(64, 64)));
    // Without a window manager "maximized" is not honoured: start at the screen's size.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    // Closed at once: finish() would wait for the window in an event loop of its own, and the
    // start-up would run there instead of in the main loop.
    splash.close();
    return app.exec();
}
