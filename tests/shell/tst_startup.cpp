#include "data/Clock.h"
#include "data/Dataset.h"
#include "shell/SharedTables.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/Splash.h"
#include "shell/ui/TMain.h"
#include "shell/ui/TPromptForm.h"
#include "support/Gui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QString LateWarning = QStringLiteral(
    "There are late charges! Click on view late payments or press CTRL+L to view report!");
const QString ExpiredWarning = QStringLiteral("There are expired leases! Press CTRL+E to view report");

// A unit with an agreement whose lease ends on LEASEEND and a monthly rent due on NEXTDATE.
void unitWithRent(Database& db, const QString& nextDate, const QString& leaseEnd)
{
    db.exec(QStringLiteral("insert into apartments (apid, bid, suite, tid, agreeid) values (1, 1, '1A', 1, 1)"));
    db.exec(QStringLiteral("insert into agreements (rid, apid, tid, leaseend) values (1, 1, 1, '%1')").arg(leaseEnd));
    db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, "
                           "nextdate, completed) values (1, 1, 1, 'Rent', 500, 3, '%1', '2099-12-31', '%1', 0)")
                .arg(nextDate));
}

int charges(TMain& main)
{
    return main.state().db.scalar(QStringLiteral("select count(*) from charges")).toInt();
}

// The windows on screen, apart from the main window, with whether each stays on top.
QStringList otherWindows(const QWidget* main)
{
    QStringList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != main)
            shown << w->objectName() +
                         (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? "/on top" : "");
    return shown;
}

// Launches as the program does: the splash, then the main window, whose start-up runs from
// the event loop once it shows. Returns when the start-up has ended.
bool launch(ShellFixture& f)
{
    auto* splash = new Splash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    f.makeMain();
    f.main->setAutoStart(true);
    QSignalSpy ended(f.main.get(), &TMain::startupEnded);
    f.main->show();
    return ended.wait(20000) && !Splash::current();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(QDate(2026, 12, 11)); }
    void cleanup() { Clock::reset(); }

    // A landlord who works without logins is billed and warned all the same.
    void userControlOffSkipsOnlyTheLogin()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            unitWithRent(db, QStringLiteral("2026-10-01"), QStringLiteral("2026-01-01"));
            db.exec(QStringLiteral("insert into reminders (remid, title, description, tdate, reminder) "
                                   "values (1, 'Today', 'Call the plumber', '2026-12-11', 1)"));
        });
        TMain& main = f.start();
        QVERIFY(f.dialogs.seen.isEmpty()); // no login
        QCOMPARE(charges(main), 3);
        QCOMPARE(f.messages.texts(), (QStringList{LateWarning, ExpiredWarning}));
        QCOMPARE(main.findChildren<TPromptForm*>().size(), 1);
    }

    void userControlOnPostsThenWarnsInOrder()
    {
        ShellFixture f;
        // Due 1 October: October, November and December are posted; the first two are late by
        // the time the warning looks.
        f.prepare([](Database& db) { unitWithRent(db, QStringLiteral("2026-10-11"), QStringLiteral("2026-12-10")); });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        TMain& main = f.start();
        QCOMPARE(charges(main), 3);
        QCOMPARE(f.messages.texts(), (QStringList{LateWarning, ExpiredWarning}));
        QCOMPARE(f.messages.shown.at(0).icon, Message::Warning);
        QCOMPARE(f.messages.shown.at(0).caption, QStringLiteral("Marbleway"));
        // The shared tables see what was posted.
        Dataset* units = f.state.tables().Apartments;
        units->releaseLink();
        QVERIFY(units->locate(QStringLiteral("APID"), 1));
        QCOMPARE(f.state.tables().Recurs->rowCount(), 1);
        QCOMPARE(f.state.tables().Recurs->asDate(QStringLiteral("NEXTDATE")), QDate(2027, 1, 11));
        units->restoreLink();
    }

    void dueTodayIsNotLateAndEndingTodayIsNotExpired()
    {
        ShellFixture f;
        f.prepare([](Database& db) { unitWithRent(db, QStringLiteral("2026-12-11"), QStringLiteral("2026-12-11")); });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        TMain& main = f.start();
        QCOMPARE(charges(main), 1);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void onlyTheUnitsCurrentAgreementCountsAsExpired()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into apartments (apid, bid, suite, tid, agreeid) values (1, 1, '1A', 1, 2)"));
            db.exec(QStringLiteral("insert into agreements (rid, apid, tid, leaseend) values (1, 1, 1, '2020-01-01')"));
            db.exec(QStringLiteral("insert into agreements (rid, apid, tid, leaseend) values (2, 1, 1, '2030-01-01')"));
        });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        f.start();
        QVERIFY(f.messages.shown.isEmpty());
    }

    void dueRemindersPopUp()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            const char* rows[] = {"(1, 'Today', 'Call the plumber', '2026-12-11', 1)",
                                  "(2, 'Tomorrow', 'x', '2026-12-12', 1)",
                                  "(3, 'Not shown', 'x', '2026-01-01', 0)",
                                  "(4, 'Undated', 'Check the boiler', null, 1)",
                                  "(5, 'Unset', 'x', '2026-01-01', null)",
                                  "(6, 'Last week', 'Renew insurance', '2026-12-04', 1)"};
            for (const char* r : rows)
                db.exec(QStringLiteral("insert into reminders (remid, title, description, tdate, reminder) values ") +
                        QLatin1String(r));
        });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        TMain& main = f.start();
        QStringList titles;
        for (TPromptForm* p : main.findChildren<TPromptForm*>()) {
            QVERIFY(p->isVisible());
            QVERIFY(!p->isModal());
            titles << p->windowTitle();
        }
        titles.sort();
        QCOMPARE(titles, (QStringList{QStringLiteral("Last week"), QStringLiteral("Today"), QStringLiteral("Undated")}));
    }

    void postingErrorIsShownAndTheWindowStaysUsable()
    {
        ShellFixture f;
        f.prepare([](Database& db) { unitWithRent(db, QStringLiteral("2026-10-11"), QStringLiteral("2030-01-01")); });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        f.makeMain();
        f.state.db.beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("update recur set nextdate")))
                throw DbError(QStringLiteral("lock conflict on no wait transaction"), sql);
        };
        QVERIFY(f.main->firstShowing());
        f.state.db.beforeExec = nullptr;
        QCOMPARE(charges(*f.main), 0); // the row's work was rolled back whole
        QCOMPARE(f.messages.texts().value(0), QStringLiteral("lock conflict on no wait transaction"));
        QCOMPARE(f.messages.shown.size(), 1); // the start-up ended there
    }

    void missingDatabaseEndsTheProgram()
    {
        ShellFixture f;
        QFile::remove(f.databasePath());
        f.makeMain();
        QVERIFY(!f.main->firstShowing());
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Error Connecting to database 1")});
        QCOMPARE(f.messages.shown.at(0).caption, QStringLiteral("Marbleway Keystead  2008"));
        QCOMPARE(f.messages.shown.at(0).icon, Message::NoIcon);
    }

    void missingTableOrColumnEndsTheProgram_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("table") << "drop table todo" << QStringList{"TODO"};
        QTest::newRow("column") << "alter table charges drop memo" << QStringList{"CHARGES", "MEMO"};
    }
    void missingTableOrColumnEndsTheProgram()
    {
        QFETCH(QString, statement);
        QFETCH(QStringList, named);
        ShellFixture f;
        f.prepare([&](Database& db) { db.exec(statement); });
        f.makeMain();
        QVERIFY(!f.main->firstShowing());
        QCOMPARE(f.messages.texts().value(0), QStringLiteral("Error accessing database. Program will quit now!"));
        QCOMPARE(f.messages.shown.value(0).icon, Message::Warning);
        for (const QString& word : named)
            QVERIFY2(f.messages.texts().value(1).contains(word), qPrintable(f.messages.texts().value(1)));
    }

    // Under the splash window, which stays on top, the login could not be seen: it closes
    // before the login shows, and the login is the active window on top with the keyboard.
    void theLoginIsTheVisibleActiveWindow()
    {
        ShellFixture f;
        QStringList windows;
        bool active = false;
        QString caret;
        f.dialogs.then([&](QDialog* d) {
            windows = otherWindows(f.main.get());
            // Activation comes from the window system, after the dialog shows.
            QTRY_VERIFY(QApplication::activeWindow() == d);
            active = QApplication::activeModalWidget() == d;
            caret =
                QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            loginAs(QStringLiteral("ADMIN"))(d);
        });
        QVERIFY(launch(f));
        QVERIFY(f.dialogs.done());
        QCOMPARE(windows, QStringList{QStringLiteral("TFormPass")});
        QVERIFY(active);
        QCOMPARE(caret, QStringLiteral("passwordEdit"));
        QCOMPARE(f.state.CurrentUserWID, 1);
    }

    // The start-up's warnings, in the program's own message boxes, come up on screen.
    void startupWarningsComeUpVisible()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            unitWithRent(db, QStringLiteral("2026-10-11"), QStringLiteral("2026-12-10"));
        });
        MessageBoxSink boxes;
        Messages::install(&boxes);
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        QStringList seen;
        QTimer watcher;
        // Looks at each box while it waits for an answer, then answers it.
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen << box->text() + QStringLiteral(" | ") + otherWindows(f.main.get()).join(',');
            box->button(QMessageBox::Ok)->click();
        });
        watcher.start(0);
        const bool ended = launch(f);
        watcher.stop();
        Messages::install(&f.messages);
        QVERIFY(ended);
        // Each box alone beside the main window, nothing over it.
        QCOMPARE(seen,
                 (QStringList{LateWarning + " | messageBox", ExpiredWarning + " | messageBox"}));
    }

    void logOffAsAnotherUserChangesRightsAndPostsNothing()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, firstname, npassword, modusers) values (2, 'clerk', 'C', '', null)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
        TMain& main = f.start();
        QVERIFY(f.state.CheckRight(QStringLiteral("MODUSERS")));
        // A charge falls due while the program runs; logging off must not post it.
        f.state.db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, "
                                       "nextdate, completed) values (9, 1, 1, 'Rent', 5, 3, '2026-01-01', '2099-01-01', '2026-01-01', 0)"));
        f.messages.answers.enqueue(Message::Ok);
        f.dialogs.then(loginAs(QStringLiteral("clerk")));
        main.command(QStringLiteral("logOff"))->trigger();
        QCOMPARE(f.messages.texts().last(), QStringLiteral("Logging off!"));
        QCOMPARE(f.messages.shown.last().icon, Message::Information);
        QCOMPARE(f.state.CurrentUserWID, 2);
        QCOMPARE(charges(main), 0);
        f.messages.clear();
        main.command(QStringLiteral("users"))->trigger();
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("You do not have rights to access users!")});
        QCOMPARE(f.messages.shown.at(0).icon, Message::Information);
    }

    void fewerThanElevenSetupRowsRepeatTheLast()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("delete from setup where setuporder > 3"));
            db.exec(QStringLiteral("update setup set str = 'Row ' || setuporder, \"int\" = 7"));
        });
        f.start();
        QCOMPARE(f.state.ChargeAheadDays, 7);
        QCOMPARE(f.state.OwnerInfo.value(0), QStringLiteral("Row 1"));
        QCOMPARE(f.state.OwnerInfo.value(2), QStringLiteral("Row 3"));
        QCOMPARE(f.state.OwnerInfo.value(10), QStringLiteral("Row 3"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
