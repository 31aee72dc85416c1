#include "data/Clock.h"
#include "data/SqlText.h"
#include "support/TestDb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/syscall.h>

// The built programs, started for real and stopped the way a system shutdown or kill does.
// They run on the real clock, so the fixtures are dated from today.

namespace {

// True once the process holds PATH open (its database is connected).
bool holdsOpen(qint64 pid, const QString& path)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == wanted)
            return true;
    return false;
}

// True while the process's main thread waits in an event loop (blocked in poll).
bool waitsForEvents(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/syscall").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int call = QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 0).toInt(&ok);
#ifdef SYS_poll
    if (ok && call == SYS_poll)
        return true;
#endif
    return ok && call == SYS_ppoll;
}

// Bytes the process has written so far: how far its work has come.
qint64 bytesWritten(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/io").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    return 0;
}

// Sends SIGNAL and waits for the process to end; fails the test when it does not do so promptly.
bool stopsPromptly(QProcess& p, int signal)
{
    QElapsedTimer timer;
    timer.start();
    ::kill(pid_t(p.processId()), signal);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        qWarning("still running 20 s after the signal");
        return false;
    }
    if (timer.elapsed() > 10000) {
        qWarning("took %lld ms to stop", timer.elapsed());
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit;
}

// Recurring charges whose NEXTDATE and charges disagree: each row either has no charge and its
// first NEXTDATE, or all its PERIODS weekly charges and the NEXTDATE after them. Each row bills
// its own tenant.
int halfWritten(Database& db, const QDate& first, int periods)
{
    QHash<int, int> charges;
    QSqlQuery c = db.select(QStringLiteral("select tid, count(*) from charges group by tid"));
    while (c.next())
        charges.insert(c.value(0).toInt(), c.value(1).toInt());
    int bad = 0;
    QSqlQuery r = db.select(QStringLiteral("select tid, nextdate from recur"));
    while (r.next()) {
        const int n = charges.value(r.value(0).toInt());
        const QDate next = r.value(1).toDate();
        if (!((n == 0 && next == first) || (n == periods && next == first.addDays(7 * periods))))
            ++bad;
    }
    return bad;
}

// ROWS weekly recurring charges, each PERIODS weeks overdue, each for its own tenant and unit.
void addOverdueRows(Database& db, int rows, int periods)
{
    const QDate today = Clock::today();
    Transaction t(db);
    QSqlQuery q = db.prepare(QStringLiteral(
        "insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, nextdate, "
        "completed, latefee, perday) values (?, ?, ?, 'Rent', 100, 5, ?, ?, ?, 0, 0, 0)"));
    const QDate first = today.addDays(-7 * (periods - 1));
    for (int i = 1; i <= rows; ++i) {
        q.bindValue(0, i);
        q.bindValue(1, i);
        q.bindValue(2, i);
        q.bindValue(3, first);
        q.bindValue(4, today.addYears(1));
        q.bindValue(5, first);
        db.execPrepared(q);
    }
    t.commit();
}

} // namespace

class TestStopSignals : public QObject
{
    Q_OBJECT

private slots:
    void programClosesAsFileCloseDoes_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void programClosesAsFileCloseDoes()
    {
        QFETCH(int, signal);
        // The program takes its data folder from beside itself: a copy of it in a folder of
        // its own, with a copy of the template database and its own settings.
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("keystead"));
        QVERIFY(QFile::copy(QStringLiteral(KEYSTEAD_APP), program));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("MYDATA")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("config/Marbleway")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("runtime")));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString data = dir.filePath(QStringLiteral("MYDATA/DATA.FDB"));
        TestDb::copyTemplate(data);
        {
            // Three weekly charges to post at start-up, then the late-charges warning waits
            // for an answer.
            Database db(QStringLiteral("fixture"));
            QVERIFY(db.Connect(data));
            addOverdueRows(db, 1, 3);
        }
        const QString settingsFile = dir.filePath(QStringLiteral("config/Marbleway/keystead.conf"));
        {
            QSettings settings(settingsFile, QSettings::IniFormat);
            settings.setValue(QStringLiteral("2008/data/PasswordChecking"), 0); // no login waits
        }

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        p.setProcessEnvironment(env);
        p.start(program, {});
        QVERIFY(p.waitForStarted());
        // Connected and waiting in an event loop: the start-up has come as far as it can alone.
        QVERIFY(QTest::qWaitFor([&] { return holdsOpen(p.processId(), data) && waitsForEvents(p.processId()); },
                                60000));
        QVERIFY(stopsPromptly(p, signal));
        QCOMPARE(p.exitCode(), 0);

        // The settings were written back and the database reopens, nothing half-written.
        QSettings settings(settingsFile, QSettings::IniFormat);
        QVERIFY(settings.contains(QStringLiteral("2008/data/printrec")));
        QCOMPARE(settings.value(QStringLiteral("2008/data/PasswordChecking")).toInt(), 0);
        Database db(QStringLiteral("after"));
        QVERIFY(db.Connect(data));
        QCOMPARE(halfWritten(db, Clock::today().addDays(-14), 3), 0);
    }

    // post-due ends after the recurring charge it is at; what it posted is committed.
    void adminStopsBetweenRecurringCharges()
    {
        TestDb t;
        const int rows = 4000, periods = 20;
        addOverdueRows(t.db(), rows, periods);
        t.db().Disconnect();

        QProcess p;
        p.start(QStringLiteral(KEYSTEAD_ADMIN), {QStringLiteral("post-due"), t.path()});
        QVERIFY(p.waitForStarted());
        // Well into the run (the whole of it writes about 15 MB).
        QVERIFY(QTest::qWaitFor([&] { return bytesWritten(p.processId()) > 2000000; }, 60000));
        QVERIFY(stopsPromptly(p, SIGTERM));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(QLatin1String("stopped by SIGTERM")), qPrintable(err));
        QCOMPARE(p.exitCode(), 128 + SIGTERM);

        t.reconnect();
        const QDate first = Clock::today().addDays(-7 * (periods - 1));
        QCOMPARE(halfWritten(t.db(), first, periods), 0);
        const int left = t.db()
                             .scalar(QStringLiteral("select count(*) from recur where nextdate='%1'")
                                         .arg(SqlDate(first)))
                             .toInt();
        QVERIFY2(left > 0, "the run ended before the signal");
        QVERIFY(left < rows);
        QVERIFY2(err.contains(QStringLiteral(" %1 recurring charges are left").arg(left)), qPrintable(err));
    }

    // generate ends between its batches and removes the unfinished file.
    void adminGenerateStopsAndRemovesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("portfolio.fdb"));
        QProcess p;
        p.start(QStringLiteral(KEYSTEAD_ADMIN),
                {QStringLiteral("generate"), path, QStringLiteral("--size"), QStringLiteral("small")});
        QVERIFY(p.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return holdsOpen(p.processId(), path); }, 60000));
        QVERIFY(stopsPromptly(p, SIGINT));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitCode(), 128 + SIGINT);
        QVERIFY2(err.contains(QLatin1String("stopped by SIGINT")), qPrintable(err));
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
