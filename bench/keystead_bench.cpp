// keystead-bench FIXTURES_DIR [--runs N]
//   Measures every figure on the generated portfolios in FIXTURES_DIR (small.fdb, large.fdb),
//   prints one line per figure and the same as JSON.
// keystead-bench startup DATA.FDB on|off
//   One start-up, as the program does it, ending at the idle main window; prints its peak
//   memory. Run as a child process so the figure covers the whole launch.
#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"
#include "ledger/Posting.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"
#include "records/ui/Pickers.h"
#include "records/ui/TFApart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The day the fixtures are generated for; posting catch-up runs a year later.
const QDate FixtureToday(2026, 12, 1);

QTextStream out(stdout);

struct Figure
{
    QString name;
    double value = 0;
    QString unit;
    double budget = 0;
    bool lowerIsBetter = true;
    bool pass() const { return lowerIsBetter ? value <= budget : value >= budget; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

qint64 peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

class QuietMessages : public MessageSink
{
public:
    int show(const Message& m) override
    {
        return (m.buttons & Message::Ok) ? Message::Ok : Message::Yes;
    }
};

// The child process: one start-up on a copy's folder, then the idle window.
int runStartup(const QString& file, bool userControl)
{
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Settings s;
    s.PasswordChecking = userControl;
    Settings::writeDefault(s);
    QuietMessages messages;
    Messages::install(&messages);
    Dialogs::setHandler([](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("userIdEdit"))->setText(QStringLiteral("ADMIN"));
        d->accept();
    });
    Clock::setFixed(FixtureToday);
    AppState state;
    state.DataFolder = QFileInfo(file).absolutePath() + QLatin1Char('/');
    state.DatabaseFile = QFileInfo(file).fileName();
    TMain window(state);
    window.setAutoStart(false);
    window.show();
    if (!window.firstShowing())
        return 1;
    QCoreApplication::processEvents();
    out << "startup-ms " << sinceLaunch.elapsed() << "\npeak-rss-kb " << peakRssKb() << '\n';
    out.flush();
    return 0;
}

QString copyFixture(const QString& fixture, QTemporaryDir& dir)
{
    const QString copy = dir.filePath(QStringLiteral("DATA.FDB"));
    QFile::remove(copy);
    QFile::copy(fixture, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// Launch to idle window, measured from outside the child so the launch itself counts.
void measureStartup(const QString& program, const QString& fixture, const QString& size,
                    bool userControl, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    std::vector<double> times, rss;
    for (int i = 0; i < runs; ++i) {
        const QString copy = copyFixture(fixture, dir);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        child.start(program, {QStringLiteral("startup"), copy,
                              userControl ? QStringLiteral("on") : QStringLiteral("off")});
        child.waitForFinished(600000);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        const QString text = QString::fromLocal8Bit(child.readAllStandardOutput());
        if (child.exitCode() != 0) {
            out << "startup run failed: " << text << '\n';
            continue;
        }
        times.push_back(ms);
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("peak-rss-kb ")))
                rss.push_back(line.mid(12).toDouble() / 1024.0);
    }
    const QString mode = userControl ? QStringLiteral("user control on") : QStringLiteral("user control off");
    figures.append({QStringLiteral("start-up to idle window, %1, %2").arg(size, mode), median(times),
                    QStringLiteral("ms"), 1500});
    if (size == QLatin1String("large") && userControl)
        figures.append({QStringLiteral("peak memory after start-up, large"), median(rss),
                        QStringLiteral("MB"), 300});
}

// Posting catch-up after twelve missed months, against the raw insert rate of the same rows.
void measurePosting(const QString& fixture, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    std::vector<double> ratios, postRates, rawRates;
    for (int i = 0; i < runs; ++i) {
        const QString copy = copyFixture(fixture, dir);
        Database db(QStringLiteral("bench-posting"));
        if (!db.Connect(copy))
            return;
        Clock::setFixed(FixtureToday.addMonths(12));
        Posting posting(db);
        QElapsedTimer timer;
        timer.start();
        const PostingReport report = posting.PostDueCharges(0);
        const double postSeconds = double(timer.nsecsElapsed()) / 1e9;
        const int written = report.chargesWritten;

        // The same rows again, as plain prepared inserts in one transaction.
        struct Row
        {
            QVariant tid, apid, type, fordate, amt, late, perday;
        };
        std::vector<Row> rows;
        {
            QSqlQuery q = db.select(QStringLiteral(
                "select tid, apid, type, fordate, amt, latefeeflat, perday from charges where fordate > '") +
                FixtureToday.toString(Qt::ISODate) + QStringLiteral("'"));
            while (q.next())
                rows.push_back({q.value(0), q.value(1), q.value(2), q.value(3), q.value(4), q.value(5), q.value(6)});
        }
        db.Disconnect();
        // Into a fresh copy, so both runs start from the same file and a cold cache.
        const QString rawCopy = copyFixture(fixture, dir);
        if (!db.Connect(rawCopy))
            return;
        const int firstKey = db.scalar(QStringLiteral("select gen_id(gen_charges_id, %1) from rdb$database")
                                           .arg(rows.size())).toInt() - int(rows.size()) + 1;
        timer.restart();
        {
            Transaction t(db);
            QSqlQuery insert = db.prepare(QStringLiteral(
                "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, LATEFEEFLAT, "
                "PERDAY, APPLIED, PAID, LFD, MEMO) values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, '')"));
            int key = firstKey;
            for (const Row& r : rows) {
                insert.bindValue(0, key++);
                insert.bindValue(1, r.tid);
                insert.bindValue(2, r.apid);
                insert.bindValue(3, r.type);
                insert.bindValue(4, r.fordate);
                insert.bindValue(5, Money::fromVariant(r.amt).toSql());
                insert.bindValue(6, Money::fromVariant(r.amt).toSql());
                insert.bindValue(7, Money::fromVariant(r.late).toSql());
                insert.bindValue(8, Money::fromVariant(r.perday).toSql());
                db.execPrepared(insert);
            }
            t.commit();
        }
        const double rawSeconds = double(timer.nsecsElapsed()) / 1e9;
        db.Disconnect();
        if (written == 0 || rows.empty())
            continue;
        postRates.push_back(written / postSeconds);
        rawRates.push_back(double(rows.size()) / rawSeconds);
        ratios.push_back((written / postSeconds) / (double(rows.size()) / rawSeconds));
        out << "  posting run " << i + 1 << ": " << written << " charges in " << postSeconds
            << " s; raw inserts " << rows.size() << " in " << rawSeconds << " s\n";
        out.flush();
    }
    figures.append({QStringLiteral("posting catch-up, twelve months, large"), median(postRates),
                    QStringLiteral("charges/s"), 0, false});
    figures.append({QStringLiteral("raw insert rate, same rows"), median(rawRates),
                    QStringLiteral("rows/s"), 0, false});
    figures.append({QStringLiteral("posting rate / raw insert rate"), median(ratios),
                    QStringLiteral("ratio"), 0.5, false});
}

// Interactive figures on a started program: picker keystrokes and opening record windows.
void measureScreens(const QString& fixture, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    const QString copy = copyFixture(fixture, dir);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Settings off;
    off.PasswordChecking = false;
    Settings::writeDefault(off);
    QuietMessages messages;
    Messages::install(&messages);
    Clock::setFixed(FixtureToday);
    AppState state;
    state.DataFolder = dir.path() + QLatin1Char('/');
    TMain window(state);
    window.setAutoStart(false);
    window.resize(1280, 800);
    window.show();
    if (!window.firstShowing())
        return;
    QCoreApplication::processEvents();

    // Search as you type: each keystroke re-queries and refills the list.
    std::vector<double> keystrokes;
    for (int run = 0; run < runs; ++run) {
        TSelTen picker(state.db, &window);
        picker.show();
        QCoreApplication::processEvents();
        const QString typed = QStringLiteral("smith");
        for (int i = 1; i <= typed.size(); ++i) {
            QElapsedTimer t;
            t.start();
            picker.searchEdit()->setText(typed.left(i));
            QCoreApplication::processEvents();
            keystrokes.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        for (int i = typed.size() - 1; i >= 0; --i) {
            QElapsedTimer t;
            t.start();
            picker.searchEdit()->setText(typed.left(i));
            QCoreApplication::processEvents();
            keystrokes.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        picker.close();
    }
    figures.append({QStringLiteral("tenant picker, one keystroke to the new list, large"),
                    median(keystrokes), QStringLiteral("ms"), 50});

    // Opening a record window from its command, until it has painted.
    auto openWindow = [&](const QString& key, const std::function<void()>& after) {
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            window.command(QStringLiteral("closeAll"))->trigger();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            QElapsedTimer t;
            t.start();
            window.command(key)->trigger();
            QCoreApplication::processEvents();
            if (after)
                after();
            QCoreApplication::processEvents();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        return median(times);
    };
    if (window.command(QStringLiteral("tenants"))->isEnabled())
        figures.append({QStringLiteral("opening the tenants window, large"),
                        openWindow(QStringLiteral("tenants"), {}), QStringLiteral("ms"), 300});
    const int buildingToSelect =
        state.db.scalar(QStringLiteral("select max(buildid) from buildings")).toInt();
    if (window.command(QStringLiteral("apartments"))->isEnabled())
        figures.append({QStringLiteral("opening the units window and selecting a building, large"),
                        openWindow(QStringLiteral("apartments"),
                                   [&] {
                                       // A building in the tree, as the user's first click.
                                       auto* units = window.findChild<TFApart*>();
                                       if (units)
                                           units->selectBuilding(buildingToSelect);
                                   }),
                        QStringLiteral("ms"), 300});
    window.command(QStringLiteral("closeAll"))->trigger();
    Messages::install(nullptr);
}

int runAll(const QString& program, const QString& fixtures, int runs)
{
    QList<Figure> figures;
    const QString small = fixtures + QStringLiteral("/small.fdb");
    const QString large = fixtures + QStringLiteral("/large.fdb");
    for (const auto& [name, file] : {std::pair{QStringLiteral("small"), small},
                                     std::pair{QStringLiteral("large"), large}}) {
        if (!QFile::exists(file)) {
            out << "missing fixture " << file << '\n';
            return 1;
        }
        for (bool on : {false, true})
            measureStartup(program, file, name, on, runs, figures);
    }
    measureScreens(large, runs, figures);
    measurePosting(large, runs, figures);

    QJsonArray json;
    out << '\n';
    for (const Figure& f : figures) {
        out << QStringLiteral("%1  %2 %3  budget %4 %5  %6\n")
                   .arg(f.name.leftJustified(52))
                   .arg(f.value, 0, 'f', f.unit == QLatin1String("ratio") ? 2 : 0)
                   .arg(f.unit)
                   .arg(f.lowerIsBetter ? QStringLiteral("<=") : QStringLiteral(">="))
                   .arg(f.budget)
                   .arg(f.budget == 0 ? QStringLiteral("info") : f.pass() ? QStringLiteral("pass") : QStringLiteral("FAIL"));
        QJsonObject o;
        o[QStringLiteral("name")] = f.name;
        o[QStringLiteral("value")] = f.value;
        o[QStringLiteral("unit")] = f.unit;
        o[QStringLiteral("budget")] = f.budget;
        o[QStringLiteral("result")] = f.budget == 0 ? QStringLiteral("info") : f.pass() ? QStringLiteral("pass") : QStringLiteral("fail");
        json.append(o);
    }
    out << '\n' << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args.at(1) == QLatin1String("startup"))
        return runStartup(args.at(2), args.at(3) == QLatin1String("on"));
    if (args.size() < 2) {
        out << "Usage: keystead-bench FIXTURES_DIR [--runs N]\n";
        return 2;
    }
    int runs = 3;
    const int r = args.indexOf(QStringLiteral("--runs"));
    if (r > 0 && r + 1 < args.size())
        runs = std::max(1, args.at(r + 1).toInt());
    return runAll(app.applicationFilePath(), args.at(1), runs);
}
