// Saves pictures of the Cashbook window and of a tenant's payment history for docs/, on a copy
// of a generated portfolio, as a user sees them: run under Xvfb at 1366x768 with a window
// manager, on the xcb platform, e.g.
//   Xvfb :7 -screen 0 1366x768x24 & DISPLAY=:7 openbox &
//   DISPLAY=:7 QT_QPA_PLATFORM=xcb build/tests/shot_cashbook bench/fixtures/small.fdb docs/
#include "cashbook/ui/TCashForm.h"
#include "data/Clock.h"
#include "data/Database.h"
#include "ledger/ui/TTHForm.h"
#include "shell/ui/Grid.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

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
    if (argc < 3) {
        qWarning("usage: shot_cashbook PORTFOLIO.fdb OUTPUT_DIR");
        return 2;
    }
    const QString portfolio = QString::fromLocal8Bit(argv[1]);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    // The day the portfolios are generated for.
    Clock::setFixed(QDate(2026, 12, 1));
    ShellFixture f(false);
    QFile::remove(f.databasePath());
    if (!QFile::copy(portfolio, f.databasePath()))
        return 1;
    QFile::setPermissions(f.databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    TMain& main = f.start();
    main.showMaximized();

    after(800, [&] {
        main.command(QStringLiteral("cashbook"))->trigger();
        after(800, [&] {
            // The latest entries, where a user starts.
            auto* form = main.findChild<TCashForm*>();
            QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
            QCoreApplication::sendEvent(form->list()->grid(), &end);
            form->list()->grid()->selectRow(form->list()->grid()->model()->rowCount() - 4);
            after(800, [&] {
                grabScreen(dir + QStringLiteral("/cashbook-window.png"));
                // The history of the tenant with the most payments.
                const int tid = f.state.db
                                    .scalar(QStringLiteral("select first 1 tid from trans group by "
                                                           "tid order by count(*) desc, tid"))
                                    .toInt();
                Dialogs::setHandler([&](QDialog* d) {
                    d->show();
                    auto* history = qobject_cast<TTHForm*>(d);
                    if (history)
                        history->transactionsGrid()->selectRow(
                            history->transactionsGrid()->model()->rowCount() - 1);
                    QEventLoop loop;
                    QTimer::singleShot(800, &loop, &QEventLoop::quit);
                    loop.exec();
                    grabScreen(dir + QStringLiteral("/payment-history.png"));
                    d->reject();
                });
                showPaymentHistory(f.state, tid, &main);
                Dialogs::setHandler(nullptr);
                app.quit();
            });
        });
    });
    return app.exec();
}
