// Saves pictures of the main window for the user guide: run under Xvfb with the xcb platform,
// e.g. xvfb-run -a -s "-screen 0 1280x800x24" build/tests/shot_mainwindow docs/
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    ShellFixture f(false);
    TMain& main = f.start();
    main.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    main.show();
    QTimer::singleShot(300, [&] {
        main.grab().save(dir + QStringLiteral("/main-window.png"));
        QMenu* menu = main.menuBar()->actions().at(1)->menu();
        menu->popup(main.menuBar()->mapToGlobal(
            main.menuBar()->actionGeometry(main.menuBar()->actions().at(1)).bottomLeft()));
        QTimer::singleShot(300, [&] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QStringLiteral("/main-window-menu.png"));
            app.quit();
        });
    });
    return app.exec();
}
