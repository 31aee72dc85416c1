// Saves pictures of the units window, the tenants window and the tenant picker for docs/, as a
// user sees them: run under Xvfb at 1366x768 with a window manager, on the xcb platform, e.g.
//   Xvfb :7 -screen 0 1366x768x24 & DISPLAY=:7 openbox &
//   DISPLAY=:7 QT_QPA_PLATFORM=xcb build/tests/shot_screens docs/ after bench/fixtures/small.fdb
// The pictures are named units-window-TAG.png, tenants-window-TAG.png, tenant-picker-TAG.png.
// With a portfolio file the pictures show a copy of it; otherwise the empty template.
#include "data/Clock.h"
#include "records/ui/Pickers.h"
#include "records/ui/TFApart.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

void grabScreen(const QString& path)
{
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

// Lets the window system draw what was just shown, then runs next.
void after(int ms, std::function<void()> next)
{
    QTimer::singleShot(ms, qApp, std::move(next));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString tag = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("after");
    const QString portfolio = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const auto name = [&](const char* what) {
        return dir + QLatin1Char('/') + QLatin1String(what) + QLatin1Char('-') + tag +
               QStringLiteral(".png");
    };

    ShellFixture f(false);
    if (!portfolio.isEmpty()) {
        QFile::remove(f.databasePath());
        if (!QFile::copy(portfolio, f.databasePath()))
            qFatal("cannot copy %s", qPrintable(portfolio));
        QFile(f.databasePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        // The generated portfolios are dated as of this day.
        Clock::setFixed(QDate(2026, 12, 1));
    }
    TMain& main = f.start();
    main.showMaximized();

    after(800, [&] {
        main.command(QStringLiteral("apartments"))->trigger();
        auto* units =
            qobject_cast<TFApart*>(main.openChildWindow(QStringLiteral("apartments"))->widget());
        // The first building with units, and its second unit, as a user would pick them.
        QTreeWidget* tree = units->tree();
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->childCount() == 0 && (*it)->parent() && (*it)->parent()->parent()) {
                tree->setCurrentItem(*it);
                if (units->unitCount() > 1)
                    break;
            }
        }
        if (units->unitCount() > 1)
            units->unitList()->selectRow(1);
        after(800, [&] {
            grabScreen(name("units-window"));
            main.mdiArea()->closeAllSubWindows();
            main.command(QStringLiteral("tenants"))->trigger();
            after(800, [&] {
                grabScreen(name("tenants-window"));
                auto* picker = new TSelTen(f.state.db, &main);
                picker->setAttribute(Qt::WA_DeleteOnClose);
                picker->open();
                after(800, [&, picker] {
                    grabScreen(name("tenant-picker"));
                    picker->close();
                    app.quit();
                });
            });
        });
    });
    return app.exec();
}
