#include "data/Dataset.h"
#include "shell/SharedTables.h"
#include "shell/ui/CommandBar.h"
#include "shell/ui/Header.h"
#include "shell/ui/Icons.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

QMenu* topMenu(TMain& main, const QString& text)
{
    for (QAction* a : main.menuBar()->actions())
        if (a->text() == text)
            return a->menu();
    return nullptr;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void layoutMenusAndCommandBar()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        QCOMPARE(main.windowTitle(), QStringLiteral("Marbleway Keystead 2008"));
        QCOMPARE(main.header()->height(), 38);
        QVERIFY(!main.header()->dateText().isEmpty());
        QCOMPARE(main.commandBar()->width(), 200);

        QStringList tops;
        for (QAction* a : main.menuBar()->actions())
            tops << a->text();
        QCOMPARE(tops, (QStringList{"&File", "&System Parameters", "&Emails", "&Rentals", "&Window",
                                    "&Tools", "Re&ports", "&Help"}));
        QCOMPARE(menuTexts(topMenu(main, "&File")),
                 (QStringList{"&Backup...", "&Restore...", "&Log Off...", "-", "&Setup", "&Options...", "-", "&Close"}));
        QCOMPARE(menuTexts(topMenu(main, "&Window")),
                 (QStringList{"&Tile Vertically", "&Cascade", "&Arrange", "-", "&Minimize All",
                              "C&lose", "Clos&e All"}));
        QCOMPARE(main.command("close")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(main.command("users")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
        QCOMPARE(main.command("latePayments")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QCOMPARE(main.command("rptExpiredLeases")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(main.command("help")->shortcut(), QKeySequence(Qt::Key_F1));

        CommandBar* bar = main.commandBar();
        QStringList groups;
        for (int i = 0; i < bar->groupCount(); ++i)
            groups << bar->groupCaption(i);
        QCOMPARE(groups, (QStringList{"Main", "Accounting", "System Parameters", "EMail", "Other Tools", "Letters"}));
        QCOMPARE(bar->currentGroup(), 0);
        QStringList accounting;
        for (QToolButton* b : bar->buttons(1))
            accounting << b->text();
        QCOMPARE(accounting, (QStringList{"CashBook", "Collect Rent ", "Record Expense", "Record Income", "Payment History"}));
        QCOMPARE(bar->buttons(3).at(2)->text(), QStringLiteral("Configure Expiring Leases  Email"));
    }

    void unbuiltCommandsAreDisabledAndButtonsFollowTheirCommand()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        for (const char* key : {"backup", "options", "customEmailSend", "rptPayments", "help"})
            QVERIFY2(!main.command(key)->isEnabled(), key);
        for (const char* key : {"users", "frequencies", "logOff", "close", "restore", "closeAll",
                                "collectRent", "categories", "creditCards", "cashbook",
                                "recordExpense", "recordIncome"})
            QVERIFY2(main.command(key)->isEnabled(), key);
        QToolButton* users = main.commandBar()->buttons(2).at(0);
        QCOMPARE(users->text(), QStringLiteral("Users"));
        QVERIFY(users->isEnabled());
        QVERIFY(main.commandBar()->buttons(1).at(1)->isEnabled()); // "Collect Rent "
        QVERIFY(main.commandBar()->buttons(1).at(2)->isEnabled()); // "Record Expense"
        QVERIFY(!main.commandBar()->buttons(3).at(5)->isEnabled()); // "Send Custom Email"
    }

    void rights_data()
    {
        QTest::addColumn<bool>("userControl");
        QTest::addColumn<QString>("modusers"); // the clerk's flag, as SQL
        QTest::addColumn<bool>("opens");
        QTest::newRow("right held") << true << "1" << true;
        QTest::newRow("right refused") << true << "0" << false;
        QTest::newRow("right NULL") << true << "null" << false;
        QTest::newRow("user control off") << false << "null" << true;
    }
    void rights()
    {
        QFETCH(bool, userControl);
        QFETCH(QString, modusers);
        QFETCH(bool, opens);
        ShellFixture f(userControl);
        f.prepare([&](Database& db) {
            db.exec(QStringLiteral("update users set modusers=%1, progoptions=0 where wid=1").arg(modusers));
        });
        if (userControl)
            f.dialogs.then(loginAs("ADMIN"));
        TMain& main = f.start();
        if (opens)
            f.dialogs.then([](QDialog* d) { click(d, "closeButton"); });
        main.command("users")->trigger();
        QCOMPARE(f.dialogs.seen.contains("TFormWorkers"), opens);
        QCOMPARE(f.messages.texts(),
                 opens ? QStringList() : QStringList{"You do not have rights to access users!"});
        QCOMPARE(f.state.mayOpenOptions(), !userControl);
    }

    void optionsRightIsTheOneReadAtLogin()
    {
        ShellFixture f;
        f.dialogs.then(loginAs("ADMIN"));
        f.start();
        QVERIFY(f.state.mayOpenOptions());
        f.state.db.exec(QStringLiteral("update users set progoptions=0"));
        f.state.tables().Users->refresh();
        QVERIFY(f.state.mayOpenOptions());
    }

    void userControlSwitchedOnDuringARunRefusesUntilLogin()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        f.state.settings.PasswordChecking = true; // as the options dialog would
        main.command("users")->trigger();
        QCOMPARE(f.messages.texts(), QStringList{"You do not have rights to access users!"});
        QVERIFY(!f.state.mayOpenOptions());
        f.messages.answers.enqueue(Message::Ok);
        f.dialogs.then(loginAs("ADMIN"));
        main.command("logOff")->trigger();
        QVERIFY(f.state.CheckRight("MODUSERS"));
    }

    void openChildMakesOneWindowAndANewOneAfterClosing()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        main.show();
        int made = 0;
        auto factory = [&] {
            ++made;
            auto* w = new QLabel(QStringLiteral("screen"));
            return w;
        };
        QMdiSubWindow* first = main.OpenChild("tenants", factory);
        QMdiSubWindow* other = main.OpenChild("owners", factory);
        QCOMPARE(main.mdiArea()->activeSubWindow(), other);
        QCOMPARE(main.OpenChild("tenants", factory), first);
        QCOMPARE(made, 2);
        QCOMPARE(main.mdiArea()->activeSubWindow(), first);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(main.OpenChild("tenants", factory) != nullptr);
        QCOMPARE(made, 3);
        main.command("closeAll")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
    }

    // Every command its own picture from the program's icon set, 32 pixels in the bar.
    void commandBarPictures()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        CommandBar* bar = main.commandBar();
        QStringList names;
        for (int g = 0; g < bar->groupCount(); ++g) {
            for (QToolButton* b : bar->buttons(g)) {
                QCOMPARE(b->iconSize(), QSize(32, 32));
                const QIcon icon = b->icon();
                QVERIFY2(!icon.name().isEmpty(), qPrintable(b->text()));
                QVERIFY2(!icon.pixmap(32, 32).isNull(), qPrintable(b->text()));
                names << icon.name();
            }
        }
        QCOMPARE(names.size(), 29);
        names.removeDuplicates();
        QCOMPARE(names.size(), 29);
        // The menu item of a command shows the same picture.
        QCOMPARE(main.command("owners")->icon().name(), Icons::commandIconName("owners"));
    }

    // White caption text, centred on the gradient.
    void groupCaptionsAreCentred()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        for (int g = 0; g < main.commandBar()->groupCount(); ++g) {
            QAbstractButton* caption = main.commandBar()->captionBar(g);
            QCOMPARE(caption->width(), 200);
            const QImage image = caption->grab().toImage();
            int left = image.width(), right = -1;
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (qGray(image.pixel(x, y)) > 235) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            QVERIFY2(right > left, qPrintable(caption->text()));
            QVERIFY2(std::abs((left + right) / 2 - image.width() / 2) <= 3,
                     qPrintable(QStringLiteral("%1: text from %2 to %3")
                                    .arg(caption->text())
                                    .arg(left)
                                    .arg(right)));
        }
    }

    // Tiling, cascading and arranging many child windows leave the main window as it was;
    // child windows that do not fit are scrolled to.
    void arrangingNeverGrowsTheMainWindow()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        const QRect screen = main.screen()->availableGeometry();
        main.resize(screen.size());
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        for (const char* key : {"owners", "tenants", "buildings", "apartments", "vendors"})
            main.command(key)->trigger();
        const QSize size = main.size();
        for (const char* key : {"tile", "cascade", "arrange", "tile"}) {
            main.command(key)->trigger();
            QCoreApplication::processEvents();
            QCOMPARE(main.size(), size);
            QVERIFY(main.minimumSizeHint().width() <= screen.width());
            QVERIFY(main.minimumSizeHint().height() <= screen.height());
        }
        // Tile Vertically: side by side, each from the top, left to right.
        int x = -1;
        for (QMdiSubWindow* w : main.mdiArea()->subWindowList()) {
            QCOMPARE(w->y(), 0);
            QVERIFY(w->x() > x);
            x = w->x();
        }
    }

    // The title bar of a message box shows its whole caption, however short the text.
    void messageBoxesAreAsWideAsTheirCaption()
    {
        QWidget parent;
        const auto box = MessageBoxSink::makeBox(
            {Titles::Program, Message::NoIcon, Message::Ok, QStringLiteral("error")}, &parent);
        QFont bold = box->font();
        bold.setBold(true);
        QVERIFY(box->sizeHint().width() >
                QFontMetrics(bold).horizontalAdvance(Titles::Program) + 100);
        const auto warning = MessageBoxSink::makeBox(
            {QStringLiteral("Marbleway"), Message::Warning, Message::Ok, QStringLiteral("x")},
            &parent);
        QCOMPARE(warning->icon(), QMessageBox::NoIcon); // the program's own picture instead
        QVERIFY(!warning->iconPixmap().isNull());
    }

    void closeWritesTheSettingsBack()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        f.state.settings.printprev = false;
        main.close();
        QVERIFY(!f.state.db.isOpen());
        Settings read;
        Settings::readDefault(read);
        QVERIFY(!read.printprev);
        QVERIFY(!read.PasswordChecking);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
