// keystead-bench FIXTURES_DIR [--runs N] [--only startup|charges|screens|shared|posting|report|payment|maintenance|cashbook|history]
//   Measures every figure on the generated portfolios in FIXTURES_DIR (small.fdb, large.fdb),
//   prints one line per figure and the same as JSON.
// keystead-bench windows DATA.FDB
//   Opens every window and replaces an agreement; prints the peak memory (child process).
// keystead-bench payment DATA.FDB
//   Collects rent once from a tenant with the whole history; prints the times and peak memory.
// keystead-bench cashbook DATA.FDB
//   The Cashbook window: opening it, searching, going to the last row, storing entries; prints
//   the times and the peak memory.
// keystead-bench history DATA.FDB
//   The payment history of the tenant with the most payments; prints the time to shown.
// keystead-bench startup DATA.FDB on|off
//   One start-up, as the program does it, ending at the idle main window; prints its peak
//   memory. Run as a child process so the figure covers the whole launch.
// keystead-bench report DATA.FDB LINES OUT.pdf [generated]
//   Lays out a grouped report of LINES cashbook lines into a PDF; prints the time, the pages
//   and its peak memory. A child process too, so the memory is the report's own. With
//   "generated" the lines are made up as they are read instead of coming from the database,
//   which shows the engine's and the PDF writer's own memory apart from the database cache.
#include "cashbook/ui/TCashForm.h"
#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"
#include "data/SchemaUpgrade.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"
#include "ledger/RecurringCharges.h"
#include "ledger/ui/TChargeForm.h"
#include "ledger/ui/TTHForm.h"
#include "records/Agreements.h"
#include "records/ui/Pickers.h"
#include "records/Equipment.h"
#include "records/ui/TEquipForm.h"
#include "records/ui/TFApart.h"
#include "reports/ReportCanvas.h"
#include "reports/ReportEngine.h"
#include "reports/ReportLayout.h"
#include "reports/RowSource.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/SearchGroup.h"
#include "shell/ui/TMain.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QPdfWriter>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <memory>
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

// A started program on a copy's folder, user control off, messages answered quietly.
struct Started
{
    QTemporaryDir settings;
    QuietMessages messages;
    AppState state;
    std::unique_ptr<TMain> window;

    bool start(const QString& folder)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        Settings off;
        off.PasswordChecking = false;
        Settings::writeDefault(off);
        Messages::install(&messages);
        Clock::setFixed(FixtureToday);
        state.DataFolder = folder + QLatin1Char('/');
        window = std::make_unique<TMain>(state);
        window->setAutoStart(false);
        window->resize(1280, 800);
        window->show();
        if (!window->firstShowing())
            return false;
        QCoreApplication::processEvents();
        return true;
    }
    ~Started()
    {
        window.reset();
        Messages::install(nullptr);
    }
};

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The building with the most units, and that building's units that have an agreement.
QList<int> unitsWithAgreements(Database& db, int* building)
{
    *building = db.scalar(QStringLiteral(
                              "select first 1 bid from apartments group by bid order by count(*) desc"))
                    .toInt();
    QList<int> units;
    QSqlQuery q = db.select(QStringLiteral("select apid from apartments where bid = %1 and agreeid > 0 "
                                           "and tid > 0 order by apid")
                                .arg(*building));
    while (q.next())
        units << q.value(0).toInt();
    return units;
}

NewAgreement agreementFor(int apId)
{
    NewAgreement a;
    a.apId = apId;
    a.rent = Money::fromCents(95000);
    a.recurs = 3;
    a.leaseStart = FixtureToday.addDays(-40);
    a.leaseEnd = FixtureToday.addYears(1);
    a.firstDue = a.leaseStart;
    a.firstPayment = a.leaseStart;
    a.moveIn = a.leaseStart;
    a.moveOut = a.leaseEnd;
    return a;
}

// The units window on the building with the most units, that unit current in the shared table.
TFApart* unitsWindowOn(TMain& window, AppState& state, int building, int apId)
{
    window.command(QStringLiteral("apartments"))->trigger();
    QCoreApplication::processEvents();
    auto* units = window.findChild<TFApart*>();
    if (!units || !units->selectBuilding(building))
        return nullptr;
    QCoreApplication::processEvents();
    state.tables().Apartments->locate(QStringLiteral("APID"), apId);
    QCoreApplication::processEvents();
    return units;
}

// What the units window does around an agreement or a recurring charge, timed with the
// shared tables' refreshes that follow it.
struct UnitWork
{
    AppState& state;
    int apId;

    double removeAgreement()
    {
        SharedTables& t = state.tables();
        QElapsedTimer timer;
        timer.start();
        Agreements::remove(state.db, apId);
        for (Dataset* d : {t.Apartments, t.Recurs, t.Agreements})
            d->refresh();
        QCoreApplication::processEvents();
        return msSince(timer);
    }
    double createAgreement()
    {
        SharedTables& t = state.tables();
        QElapsedTimer timer;
        timer.start();
        Agreements::create(state.db, agreementFor(apId));
        for (Dataset* d : {t.Apartments, t.Recurs, t.Charges, t.Agreements})
            d->refresh();
        QCoreApplication::processEvents();
        return msSince(timer);
    }
    double addRecurringCharge()
    {
        SharedTables& t = state.tables();
        RecurringCharges::Values v;
        v.type = QStringLiteral("Parking");
        v.amount = Money::fromCents(4000);
        v.freq = 3;
        v.startDate = FixtureToday;
        v.endDate = FixtureToday.addYears(1);
        QElapsedTimer timer;
        timer.start();
        const int tId = t.Apartments->asInt(QStringLiteral("TID"));
        const RecurringCharges::Added added = RecurringCharges::add(state.db, apId, tId, v);
        t.Recurs->refresh();
        t.Recurs->locate(QStringLiteral("RECID"), added.recId);
        t.Charges->refresh();
        QCoreApplication::processEvents();
        return msSince(timer);
    }
};

// The child process: every window that exists opened, and an agreement replaced; prints the
// peak memory.
int runWindows(const QString& file)
{
    Started p;
    if (!p.start(QFileInfo(file).absolutePath()))
        return 1;
    for (const char* key : {"owners", "buildings", "apartments", "tenants", "equipment", "vendors",
                            "cashbook"}) {
        QAction* a = p.window->command(QLatin1String(key));
        if (a && a->isEnabled())
            a->trigger();
        QCoreApplication::processEvents();
    }
    int building = 0;
    const QList<int> units = unitsWithAgreements(p.state.db, &building);
    if (units.isEmpty() || !unitsWindowOn(*p.window, p.state, building, units.first()))
        return 1;
    UnitWork work{p.state, units.first()};
    work.removeAgreement();
    work.createAgreement();
    out << "peak-rss-kb " << peakRssKb() << '\n';
    out.flush();
    return 0;
}

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

// The open charges of one tenant (AMT > 0 and TID = ?), for every tenant who has some. A
// fixture generated before the indexes existed is upgraded first, as its first start would.
void measureOpenCharges(const QString& fixture, QList<Figure>& figures)
{
    QTemporaryDir dir;
    const QString copy = copyFixture(fixture, dir);
    Database db(QStringLiteral("bench-open-charges"));
    if (!db.Connect(copy))
        return;
    QElapsedTimer timer;
    timer.start();
    const UpgradeResult upgrade = UpgradeSchema(db);
    if (!upgrade.ok) {
        out << "  upgrade failed: " << upgrade.error << '\n';
        return;
    }
    if (!upgrade.stepsRun.isEmpty())
        figures.append({QStringLiteral("schema upgrade of an older fixture, large (once)"),
                        double(timer.elapsed()), QStringLiteral("ms"), 0});
    std::vector<int> tenants;
    {
        QSqlQuery q = db.select(QStringLiteral("select distinct tid from charges where amt > 0"));
        while (q.next())
            tenants.push_back(q.value(0).toInt());
    }
    QSqlQuery open = db.prepare(QStringLiteral("select * from charges where AMT > 0 and TID = ?"));
    std::vector<double> times;
    for (int tid : tenants) {
        timer.restart();
        open.bindValue(0, tid);
        db.execPrepared(open);
        while (open.next()) {
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    figures.append({QStringLiteral("open charges of one tenant, large"), median(times),
                    QStringLiteral("µs"), 5000});
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

// Cashbook lines by building and unit, with a category look-up per line and sums and counts
// at every level: the shape of the money reports, at a size no real report reaches.
std::unique_ptr<Report> benchReport(Database& db, int lines)
{
    auto r = std::make_unique<Report>(QStringLiteral("Cashbook by building"));
    r->db = &db;
    r->query = QStringLiteral(
                   "select first %1 c.accid, c.tdate, c.description, c.income, c.expense, c.catid, "
                   "c.apid, a.bid, a.suite, b.description as building from cashbook c "
                   "join apartments a on a.apid = c.apid join buildings b on b.buildid = a.bid "
                   "order by c.accid")
                   .arg(lines);
    r->lookups.push_back({QStringLiteral("Category"),
                          QStringLiteral("select name from categories where catid = :catid"),
                          QStringLiteral("CATID")});
    const ReportFont bold{9, true};
    r->title.height = 24;
    r->title.label(QStringLiteral("CASHBOOK BY BUILDING"), {0, 0, Report::BodyWidth, 18},
                   ReportAlign::Center, {14, true});
    r->columnHeader.height = 14;
    r->columnHeader.label(QStringLiteral("Date"), {30, 0, 60, 12}, ReportAlign::Left, bold);
    r->columnHeader.label(QStringLiteral("Description"), {95, 0, 170, 12}, ReportAlign::Left, bold);
    r->columnHeader.label(QStringLiteral("Category"), {270, 0, 80, 12}, ReportAlign::Left, bold);
    r->columnHeader.label(QStringLiteral("Income"), {355, 0, 80, 12}, ReportAlign::Right, bold);
    r->columnHeader.label(QStringLiteral("Expense"), {440, 0, 80, 12}, ReportAlign::Right, bold);
    ReportGroup building;
    building.column = QStringLiteral("BID");
    building.header.height = 16;
    building.header.label(QStringLiteral("Building:"), {0, 2, 60, 12}, ReportAlign::Left, bold);
    building.header.field(QStringLiteral("BUILDING"), {60, 2, 300, 12}, ReportMask::Plain,
                          ReportAlign::Left, bold);
    building.footer.height = 16;
    building.footer.label(QStringLiteral("Building total:"), {95, 0, 170, 12});
    building.footer.count({270, 0, 80, 12});
    building.footer.sum(QStringLiteral("INCOME"), {355, 0, 80, 12});
    building.footer.sum(QStringLiteral("EXPENSE"), {440, 0, 80, 12});
    ReportGroup unit;
    unit.column = QStringLiteral("APID");
    unit.header.height = 14;
    unit.header.label(QStringLiteral("Unit"), {10, 0, 40, 12});
    unit.header.field(QStringLiteral("SUITE"), {60, 0, 100, 12});
    unit.footer.height = 14;
    unit.footer.label(QStringLiteral("Unit total:"), {95, 0, 170, 12});
    unit.footer.count({270, 0, 80, 12});
    unit.footer.sum(QStringLiteral("INCOME"), {355, 0, 80, 12}, ReportMask::MoneyWide);
    unit.footer.sum(QStringLiteral("EXPENSE"), {440, 0, 80, 12}, ReportMask::MoneyWide);
    r->groups = {building, unit};
    r->detail.height = 12;
    r->detail.count({0, 0, 26, 11}, ReportAlign::Right);
    r->detail.field(QStringLiteral("TDATE"), {30, 0, 60, 11});
    r->detail.field(QStringLiteral("DESCRIPTION"), {95, 0, 170, 11});
    r->detail.field(QStringLiteral("Category.NAME"), {270, 0, 80, 11});
    r->detail.field(QStringLiteral("INCOME"), {355, 0, 80, 11}, ReportMask::Money,
                    ReportAlign::Right);
    r->detail.field(QStringLiteral("EXPENSE"), {440, 0, 80, 11}, ReportMask::Money,
                    ReportAlign::Right);
    r->summary.height = 18;
    r->summary.label(QStringLiteral("Total:"), {95, 4, 170, 12}, ReportAlign::Left, bold);
    r->summary.count({270, 4, 80, 12});
    r->summary.sum(QStringLiteral("INCOME"), {355, 4, 80, 12});
    r->summary.sum(QStringLiteral("EXPENSE"), {440, 4, 80, 12});
    r->addPageFooter();
    return r;
}

// Lines like the query's, made up one at a time: 12 per unit, 12 units per building.
class GeneratedRows : public RowSource
{
public:
    explicit GeneratedRows(int lines) : m_lines(lines) {}
    QStringList columns() const override
    {
        return {QStringLiteral("ACCID"),   QStringLiteral("TDATE"),   QStringLiteral("DESCRIPTION"),
                QStringLiteral("INCOME"),  QStringLiteral("EXPENSE"), QStringLiteral("CATID"),
                QStringLiteral("APID"),    QStringLiteral("BID"),     QStringLiteral("SUITE"),
                QStringLiteral("BUILDING")};
    }
    bool next(QVariantList& v) override
    {
        if (m_at >= m_lines)
            return false;
        const int i = m_at++;
        const int unit = i / 12;
        const QDate date = QDate(2016, 1, 1).addMonths(i % 12);
        v = {i + 1,
             date,
             QStringLiteral("Rent %1 %2").arg(unit).arg(date.toString(QStringLiteral("MMM yyyy"))),
             QStringLiteral("1940.00"),
             QStringLiteral("0.00"),
             1 + i % 3,
             unit,
             unit / 12,
             QString::number(unit % 12 + 1) + QLatin1Char('A'),
             QStringLiteral("Market Towers %1").arg(unit / 12)};
        return true;
    }

private:
    int m_lines;
    int m_at = 0;
};

// The child process: one report into a PDF.
int runReport(const QString& file, int lines, const QString& pdf, bool generated)
{
    Database db(QStringLiteral("bench-report"));
    QString error;
    if (!db.Connect(file, &error)) {
        out << "cannot open " << file << ": " << error << '\n';
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    int pages = 0;
    try {
        auto report = benchReport(db, lines);
        if (generated)
            report->rowsFactory = [lines] { return std::make_unique<GeneratedRows>(lines); };
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        PaintCanvas canvas(writer);
        pages = ReportEngine::render(*report, canvas);
        canvas.finish();
    } catch (const DbError& e) {
        out << "report failed: " << e.message() << '\n';
        return 1;
    }
    out << "report-ms " << timer.elapsed() << "\npages " << pages << "\npeak-rss-kb " << peakRssKb()
        << '\n';
    out.flush();
    return 0;
}

QHash<QString, double> reportChild(const QString& program, const QString& copy, int lines,
                                   const QString& pdf, bool generated = false)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    QStringList args{QStringLiteral("report"), copy, QString::number(lines), pdf};
    if (generated)
        args << QStringLiteral("generated");
    child.start(program, args);
    child.waitForFinished(600000);
    QHash<QString, double> values;
    const QString text = QString::fromLocal8Bit(child.readAllStandardOutput());
    if (child.exitCode() != 0) {
        out << "report run failed: " << text << '\n';
        return values;
    }
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.contains(QLatin1Char(' ')))
            values.insert(line.section(QLatin1Char(' '), 0, 0),
                          line.section(QLatin1Char(' '), 1).toDouble());
    return values;
}

// A report of 100,000 lines in groups to PDF, and whether memory grows with the pages.
void measureReport(const QString& program, const QString& fixture, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    const QString copy = copyFixture(fixture, dir);
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    std::vector<double> times, rss, growth, ownGrowth;
    const auto kb = [](const QHash<QString, double>& run) {
        return run.value(QStringLiteral("peak-rss-kb"));
    };
    for (int i = 0; i < runs; ++i) {
        const QHash<QString, double> small = reportChild(program, copy, 10000, pdf);
        const QHash<QString, double> big = reportChild(program, copy, 100000, pdf);
        const QHash<QString, double> smallMade = reportChild(program, copy, 10000, pdf, true);
        const QHash<QString, double> bigMade = reportChild(program, copy, 100000, pdf, true);
        if (small.isEmpty() || big.isEmpty() || smallMade.isEmpty() || bigMade.isEmpty())
            continue;
        times.push_back(big.value(QStringLiteral("report-ms")));
        rss.push_back(kb(big) / 1024.0);
        growth.push_back((kb(big) - kb(small)) / 1024.0);
        ownGrowth.push_back((kb(bigMade) - kb(smallMade)) / 1024.0);
        out << "  report run " << i + 1 << ": 100,000 lines, " << big.value(QStringLiteral("pages"))
            << " pages in " << big.value(QStringLiteral("report-ms")) << " ms, "
            << QFileInfo(pdf).size() / 1024 << " KB of PDF; 10,000 lines, "
            << small.value(QStringLiteral("pages")) << " pages\n";
        out.flush();
    }
    figures.append({QStringLiteral("report, 100,000 lines in groups to PDF, large"), median(times),
                    QStringLiteral("ms"), 10000});
    figures.append(
        {QStringLiteral("peak memory, that report"), median(rss), QStringLiteral("MB"), 300});
    // The database's page cache fills as more rows are read (up to its set size); the
    // engine and the PDF writer hold nothing per page.
    figures.append({QStringLiteral("memory growth, 10,000 to 100,000 lines, with database"),
                    median(growth), QStringLiteral("MB"), 0});
    figures.append({QStringLiteral("memory growth, 10,000 to 100,000 lines, engine and PDF"),
                    median(ownGrowth), QStringLiteral("MB"), 4});
}

// The shared tables over the history tables at full scale, and the unit work on them.
void measureSharedTables(const QString& program, const QString& fixture, int runs,
                         QList<Figure>& figures)
{
    {
        QTemporaryDir dir;
        const QString copy = copyFixture(fixture, dir);
        Started p;
        if (!p.start(dir.path()))
            return;
        Database& db = p.state.db;
        SharedTables& t = p.state.tables();

        // The first rows of a shared history table, as a grid over it would show them.
        auto firstRows = [&](Dataset* d) {
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) {
                QElapsedTimer timer;
                timer.start();
                d->refresh();
                for (int i = 0; i < std::min(40, d->rowCount()); ++i)
                    d->valueAt(i, 0);
                times.push_back(msSince(timer));
            }
            return median(times);
        };
        figures.append({QStringLiteral("shared CHARGES, first rows, large"), firstRows(t.Charges),
                        QStringLiteral("ms"), 300});
        figures.append({QStringLiteral("shared TRANS with PAYMENTS, first rows, large"),
                        firstRows(t.Trans) + firstRows(t.Payments), QStringLiteral("ms"), 300});
        figures.append({QStringLiteral("shared CASHBOOK, first rows, large"), firstRows(t.Cashbook),
                        QStringLiteral("ms"), 300});

        // The units window on its largest building: moving down its units, each move
        // followed by the unit's recurring charges, schedules and work orders.
        int building = 0;
        const QList<int> units = unitsWithAgreements(db, &building);
        if (units.isEmpty() || !unitsWindowOn(*p.window, p.state, building, units.first()))
            return;
        for (Dataset* d : {t.Recurs, t.Schedules, t.Maint})
            d->rowCount();
        std::vector<double> moves;
        t.Apartments->first();
        while (moves.size() < 40) {
            QElapsedTimer timer;
            timer.start();
            if (!t.Apartments->next())
                break;
            t.Recurs->rowCount();
            t.Maint->rowCount();
            QCoreApplication::processEvents();
            moves.push_back(msSince(timer));
        }
        figures.append({QStringLiteral("moving in the units list with its details, large"),
                        median(moves), QStringLiteral("ms"), 20});

        std::vector<double> removed, created, added;
        for (int run = 0; run < runs && run < units.size(); ++run) {
            t.Apartments->locate(QStringLiteral("APID"), units.at(run));
            UnitWork work{p.state, units.at(run)};
            removed.push_back(work.removeAgreement());
            created.push_back(work.createAgreement());
            added.push_back(work.addRecurringCharge());
        }
        figures.append({QStringLiteral("deleting an agreement, large"), median(removed),
                        QStringLiteral("ms"), 200});
        figures.append({QStringLiteral("creating an agreement, large"), median(created),
                        QStringLiteral("ms"), 200});
        figures.append({QStringLiteral("adding a recurring charge, large"), median(added),
                        QStringLiteral("ms"), 200});
        p.window->command(QStringLiteral("closeAll"))->trigger();
    }

    // Peak memory, in a process of its own so that nothing else counts.
    QTemporaryDir dir;
    std::vector<double> rss;
    for (int run = 0; run < std::min(runs, 2); ++run) {
        const QString copy = copyFixture(fixture, dir);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(program, {QStringLiteral("windows"), copy});
        child.waitForFinished(600000);
        const QString text = QString::fromLocal8Bit(child.readAllStandardOutput());
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("peak-rss-kb ")))
                rss.push_back(line.mid(12).toDouble() / 1024.0);
        if (child.exitCode() != 0)
            out << "windows run failed: " << text << '\n';
    }
    figures.append({QStringLiteral("peak memory, every window open and an agreement made, large"),
                    median(rss), QStringLiteral("MB"), 200});
}

// Answers the late-fee question No, everything else as QuietMessages does.
class NoLateFees : public MessageSink
{
public:
    int show(const Message& m) override
    {
        if (m.text == QLatin1String("Do you want to bill late fees?"))
            return Message::No;
        return (m.buttons & Message::Ok) ? Message::Ok : Message::Yes;
    }
};

// The child process: one collection of rent as a user makes it, on a tenant with the whole
// history of the portfolio and at least two open charges. Prints the time from the picker's OK
// to the payment screen shown, from the screen's OK (two charges paid in full, no receipt) to
// the screen closed and the shared tables read again, and the peak memory.
int runPayment(const QString& file)
{
    Started p;
    if (!p.start(QFileInfo(file).absolutePath()))
        return 1;
    NoLateFees messages;
    Messages::install(&messages);
    Database& db = p.state.db;
    const int tid = db.scalar(QStringLiteral("select first 1 c.tid from charges c where c.amt <> 0 "
                                             "and exists (select 1 from apartments a where a.tid "
                                             "= c.tid and a.agreeid > 0) group by c.tid having "
                                             "count(*) >= 2 order by min(c.fordate)"))
                        .toInt();
    const QString code =
        db.scalar(QStringLiteral("select ID from tenants where TID = %1").arg(tid)).toString();
    QElapsedTimer timer;
    double openMs = -1, confirmMs = -1;
    int history = db.scalar(QStringLiteral("select count(*) from charges where tid = %1").arg(tid)).toInt();
    Dialogs::setHandler([&](QDialog* d) {
        if (auto* picker = qobject_cast<TSelTen*>(d)) {
            picker->searchEdit()->setText(code);
            QCoreApplication::processEvents();
            for (int row = 0; picker->selectedId() != tid && row < 1000; ++row)
                picker->list()->selectRow(row);
            timer.start();
            picker->accept();
            return;
        }
        auto* form = qobject_cast<TChargeForm*>(d);
        if (!form) {
            d->reject();
            return;
        }
        QCoreApplication::processEvents();
        openMs = msSince(timer);
        QAbstractItemModel* m = form->chargesGrid()->model();
        Money total;
        for (int row = 0; row < 2; ++row) {
            const Money owed = Dataset::toMoney(
                p.state.tables().Charges->valueAt(row, QStringLiteral("AMT")));
            m->setData(m->index(row, TChargeForm::Paying), owed.roundedToCents().toSql());
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            total += owed;
        }
        form->cashEdit()->setText(total.roundedToCents().toSql());
        form->printReceiptsBox()->setChecked(false);
        timer.start();
        form->accept();
    });
    p.window->command(QStringLiteral("collectRent"))->trigger();
    QCoreApplication::processEvents();
    confirmMs = msSince(timer);
    Dialogs::setHandler(nullptr);
    const int paid = db.scalar(QStringLiteral("select count(*) from payments p join trans t on "
                                              "t.transid = p.transid where t.tid = %1 and t.tdate "
                                              "= '%2'")
                                   .arg(tid)
                                   .arg(SqlDate(FixtureToday)))
                         .toInt();
    out << "tenant " << tid << " with " << history << " charges; payment lines written " << paid
        << "\nopen-ms " << openMs << "\nconfirm-ms " << confirmMs << "\npeak-rss-kb "
        << peakRssKb() << '\n';
    out.flush();
    return paid == 2 && openMs >= 0 ? 0 : 1;
}

// Collecting rent at full scale, each run in a process of its own on a fresh copy.
// The maintenance log of the unit with the most work orders, from "&Maintenance..." to the
// painted dialog; the Equipment Manager from its command to the painted window; and choosing
// another unit in it.
void measureMaintenance(const QString& fixture, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    copyFixture(fixture, dir);
    Started p;
    if (!p.start(dir.path()))
        return;
    TMain& window = *p.window;
    Database& db = p.state.db;
    const int apId = db.scalar(QStringLiteral(
                                   "select first 1 apid from maintenance group by apid order by count(*) desc"))
                         .toInt();
    const int building =
        db.scalar(QStringLiteral("select bid from apartments where apid = %1").arg(apId)).toInt();
    TFApart* units = unitsWindowOn(window, p.state, building, apId);
    if (!units || !units->selectUnit(apId))
        return;
    std::vector<double> log;
    int orders = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        Dialogs::setHandler([&](QDialog* d) {
            QCoreApplication::processEvents();
            log.push_back(msSince(t));
            if (auto* grid = d->findChild<QTableView*>())
                orders = grid->model()->rowCount();
            d->reject();
        });
        t.start();
        units->openMaintenance();
    }
    Dialogs::setHandler(nullptr);
    out << "  maintenance log of unit " << apId << ": " << orders << " orders\n";
    figures.append({QStringLiteral("opening a unit's maintenance log, large"), median(log),
                    QStringLiteral("ms"), 100});

    std::vector<double> manager, select;
    const int lastUnit = db.scalar(QStringLiteral("select max(apid) from apartments")).toInt();
    for (int run = 0; run < runs; ++run) {
        window.command(QStringLiteral("closeAll"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        window.command(QStringLiteral("equipment"))->trigger();
        QCoreApplication::processEvents();
        manager.push_back(msSince(t));
        auto* equipment = window.findChild<TEquipForm*>();
        if (!equipment)
            return;
        t.restart();
        equipment->tables().selectUnit(lastUnit);
        QCoreApplication::processEvents();
        select.push_back(msSince(t));
    }
    window.command(QStringLiteral("closeAll"))->trigger();
    figures.append({QStringLiteral("opening the Equipment Manager, large"), median(manager),
                    QStringLiteral("ms"), 300});
    figures.append({QStringLiteral("Equipment Manager, another unit chosen, large"), median(select),
                    QStringLiteral("ms"), 50});
}

void measurePayment(const QString& program, const QString& fixture, int runs, QList<Figure>& figures)
{
    QTemporaryDir dir;
    std::vector<double> open, confirm, rss;
    for (int run = 0; run < runs; ++run) {
        const QString copy = copyFixture(fixture, dir);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(program, {QStringLiteral("payment"), copy});
        child.waitForFinished(600000);
        const QString text = QString::fromLocal8Bit(child.readAllStandardOutput());
        if (child.exitCode() != 0) {
            out << "payment run failed: " << text << '\n';
            continue;
        }
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("open-ms ")))
                open.push_back(line.mid(8).toDouble());
            else if (line.startsWith(QLatin1String("confirm-ms ")))
                confirm.push_back(line.mid(11).toDouble());
            else if (line.startsWith(QLatin1String("peak-rss-kb ")))
                rss.push_back(line.mid(12).toDouble() / 1024.0);
            else if (run == 0 && line.startsWith(QLatin1String("tenant ")))
                out << "  " << line << '\n';
        }
    }
    figures.append({QStringLiteral("payment screen, picker OK to shown, large"), median(open),
                    QStringLiteral("ms"), 300});
    figures.append({QStringLiteral("payment of two charges, OK to closed, large"), median(confirm),
                    QStringLiteral("ms"), 100});
    figures.append({QStringLiteral("peak memory after a payment, large"), median(rss),
                    QStringLiteral("MB"), 300});
}

// Notes when a grid has first painted its rows after arm(), timed by the given timer: what
// the user sees as the rows shown. Whatever the event loop does after that paint does not
// count.
class GridPaints : public QObject
{
public:
    GridPaints() { qApp->installEventFilter(this); }
    ~GridPaints() override { qApp->removeEventFilter(this); }
    void arm(const QString& gridName, const QElapsedTimer& timer)
    {
        m_name = gridName;
        m_timer = &timer;
        painted = false;
        ms = -1;
    }
    // Runs the event loop until the grid has painted (10 s at most); the time, or -1.
    double wait()
    {
        QElapsedTimer idle;
        idle.start();
        while (!painted && idle.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return ms;
    }
    bool painted = false;
    double ms = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || painted || m_busy)
            return false;
        auto* grid = qobject_cast<Grid*>(watched->parent());
        if (!grid || grid->viewport() != watched || grid->objectName() != m_name ||
            !grid->model() || grid->model()->rowCount() == 0)
            return false;
        // The whole grid, not a row repainted for the selection, and with its cells laid out.
        if (!static_cast<QPaintEvent*>(event)->region().contains(grid->viewport()->rect()) ||
            grid->horizontalHeader()->count() == 0 || grid->rowAt(0) < 0 || grid->columnAt(0) < 0)
            return false;
        // Painted here (through the grid's own filters), so that the time is taken when the
        // rows are drawn.
        m_busy = true;
        QCoreApplication::sendEvent(watched, event);
        m_busy = false;
        painted = true;
        ms = msSince(*m_timer);
        return true;
    }

private:
    QString m_name;
    const QElapsedTimer* m_timer = nullptr;
    bool m_busy = false;
};

// The child process: the Cashbook window on a copy of a portfolio, as a user works in it.
int runCashbook(const QString& file)
{
    Started p;
    if (!p.start(QFileInfo(file).absolutePath()))
        return 1;
    Database& db = p.state.db;
    GridPaints paints;
    QElapsedTimer timer;

    // Opening the window: the first rows on screen, then the totals beside them.
    timer.start();
    paints.arm(QStringLiteral("grid"), timer);
    p.window->command(QStringLiteral("cashbook"))->trigger();
    const double openMs = paints.wait();
    if (openMs < 0)
        return 1;
    auto* form = p.window->findChild<TCashForm*>();
    if (!form)
        return 1;
    while (form->totalIncomeLabel()->text() == QLatin1String("0.00") && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const double totalsMs = msSince(timer);
    const QString totalsBefore = form->totalExpenseLabel()->text();
    ListWindow* list = form->list();
    Grid* grid = list->grid();

    // Searches: a word most entries have, one that a few in a hundred have, one entry's own.
    const QString one =
        db.scalar(QStringLiteral("select first 1 description from cashbook where description "
                                 "containing 'Invoice' order by accid desc"))
            .toString();
    auto search = [&](const QString& text) {
        list->criteriaEdit()->setText(text);
        timer.start();
        paints.arm(QStringLiteral("grid"), timer);
        list->searchButton()->click();
        const double ms = paints.wait();
        out << "search \"" << text << "\": " << list->table().rowsAvailable()
            << (list->table().canFetchMore() ? "+" : "") << " rows\n";
        return ms;
    };
    const double searchCommon = search(QStringLiteral("rent"));
    const double searchSome = search(QStringLiteral("invoice"));
    const double searchOne = search(one);
    list->clearButton()->click();
    QCoreApplication::processEvents();

    // Ctrl+End, as often as it takes, until the last row of the book is the one selected.
    auto toEnd = [&] {
        Dataset& book = list->table();
        timer.start();
        double ms = -1;
        for (int i = 0; i < 5 && (book.canFetchMore() || book.currentIndex() != book.rowsAvailable() - 1); ++i) {
            paints.arm(QStringLiteral("grid"), timer);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
            QCoreApplication::sendEvent(grid, &press);
            ms = paints.wait();
        }
        return ms;
    };
    const double endMs = toEnd();
    const int lastRow = list->table().currentIndex();
    // The last of a search's rows: counting the search comes with it.
    search(QStringLiteral("invoice"));
    const double searchEndMs = toEnd();
    list->clearButton()->click();
    QCoreApplication::processEvents();

    // Storing: a new expense dated today, then its amount changed, each through the dialog,
    // until the totals and the row are on screen.
    const QString repairs =
        db.scalar(QStringLiteral("select first 1 name from categories where type = 0 order by catid")).toString();
    double storeMs = -1, editMs = -1;
    Dialogs::setHandler([&](QDialog* d) {
        auto* entry = qobject_cast<TCashProp*>(d);
        if (!entry) {
            d->reject();
            return;
        }
        if (entry->descriptionEdit()->text().isEmpty()) {
            entry->descriptionEdit()->setText(QStringLiteral("Gutters cleaned"));
            entry->categoryBox()->setCurrentIndex(entry->categoryBox()->findText(repairs));
        }
        entry->amountEdit()->setText(storeMs < 0 ? QStringLiteral("145.00") : QStringLiteral("150.00"));
        timer.start();
        d->accept();
    });
    paints.arm(QStringLiteral("grid"), timer);
    form->newEntry();
    storeMs = paints.wait();
    const QString totalsAfter = form->totalExpenseLabel()->text();
    paints.arm(QStringLiteral("grid"), timer);
    form->editEntry();
    editMs = paints.wait();
    Dialogs::setHandler(nullptr);

    out << "book of " << list->table().rowCount() << " entries; last row " << lastRow
        << "; total expense " << totalsBefore << " -> " << totalsAfter << " -> "
        << form->totalExpenseLabel()->text() << "\nopen-ms " << openMs << "\ntotals-ms "
        << totalsMs << "\nsearch-common-ms " << searchCommon << "\nsearch-some-ms " << searchSome
        << "\nsearch-one-ms " << searchOne << "\nend-ms " << endMs << "\nsearch-end-ms "
        << searchEndMs << "\nstore-ms " << storeMs
        << "\nedit-ms " << editMs << "\npeak-rss-kb " << peakRssKb() << '\n';
    out.flush();
    return 0;
}

// The child process: the payment history of the tenant with the most payments.
int runHistory(const QString& file)
{
    Started p;
    if (!p.start(QFileInfo(file).absolutePath()))
        return 1;
    Database& db = p.state.db;
    const int tid = db.scalar(QStringLiteral("select first 1 tid from trans group by tid order by "
                                             "count(*) desc, tid"))
                        .toInt();
    GridPaints paints;
    QElapsedTimer timer;
    double shownMs = -1;
    int rows = 0;
    Dialogs::setHandler([&](QDialog* d) {
        auto* form = qobject_cast<TTHForm*>(d);
        if (form) {
            form->show();
            shownMs = paints.wait();
            rows = form->transactionsGrid()->model()->rowCount();
        }
        d->reject();
    });
    timer.start();
    paints.arm(QStringLiteral("transactionsGrid"), timer);
    showPaymentHistory(p.state, tid, p.window.get());
    Dialogs::setHandler(nullptr);
    out << "tenant " << tid << " with " << rows << " payments\nshown-ms " << shownMs << '\n';
    out.flush();
    return shownMs >= 0 && rows > 0 ? 0 : 1;
}

// Runs a child process on fresh copies of the fixture; returns each "name value" line's values.
QHash<QString, std::vector<double>> runChild(const QString& program, const QString& part,
                                             const QString& fixture, int runs)
{
    QHash<QString, std::vector<double>> values;
    QTemporaryDir dir;
    for (int run = 0; run < runs; ++run) {
        const QString copy = copyFixture(fixture, dir);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(program, {part, copy});
        child.waitForFinished(600000);
        const QString text = QString::fromLocal8Bit(child.readAllStandardOutput());
        if (child.exitCode() != 0) {
            out << part << " run failed: " << text << '\n';
            continue;
        }
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const QStringList words = line.split(QLatin1Char(' '));
            bool number = false;
            const double v = words.size() == 2 ? words.at(1).toDouble(&number) : 0;
            if (number && words.at(0).endsWith(QLatin1String("-ms")))
                values[words.at(0)].push_back(v);
            else if (number && words.at(0) == QLatin1String("peak-rss-kb"))
                values[words.at(0)].push_back(v / 1024.0);
            else if (run == 0 && !line.isEmpty())
                out << "  " << line << '\n';
        }
    }
    return values;
}

void measureCashbook(const QString& program, const QString& fixture, int runs, QList<Figure>& figures)
{
    auto v = runChild(program, QStringLiteral("cashbook"), fixture, runs);
    auto figure = [&](const char* key, const char* name, const char* unit, double budget) {
        figures.append({QLatin1String(name), median(v.value(QLatin1String(key))), QLatin1String(unit), budget});
    };
    figure("open-ms", "cashbook window, command to first rows shown, large", "ms", 300);
    figure("totals-ms", "cashbook window, command to totals shown, large", "ms", 0);
    figure("search-common-ms", "cashbook search, most entries match, to rows shown", "ms", 300);
    figure("search-some-ms", "cashbook search, 3 entries in 100 match, to rows shown", "ms", 300);
    figure("search-one-ms", "cashbook search, one entry matches, to rows shown", "ms", 300);
    figure("end-ms", "cashbook, Ctrl+End to the last row shown, large", "ms", 1000);
    figure("search-end-ms", "cashbook, Ctrl+End to a search's last row shown", "ms", 1000);
    figure("store-ms", "cashbook, new entry stored, totals and row shown", "ms", 100);
    figure("edit-ms", "cashbook, entry changed, totals and row shown", "ms", 100);
    figure("peak-rss-kb", "peak memory, cashbook scrolled to the end, large", "MB", 300);
}

void measureHistory(const QString& program, const QString& fixture, int runs, QList<Figure>& figures)
{
    auto v = runChild(program, QStringLiteral("history"), fixture, runs);
    figures.append({QStringLiteral("payment history, ten years of payments, to shown"),
                    median(v.value(QStringLiteral("shown-ms"))), QStringLiteral("ms"), 200});
}

int runAll(const QString& program, const QString& fixtures, int runs, const QString& only)
{
    auto wanted = [&only](const char* part) { return only.isEmpty() || only == QLatin1String(part); };
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
            if (wanted("startup"))
                measureStartup(program, file, name, on, runs, figures);
    }
    if (wanted("charges"))
        measureOpenCharges(large, figures);
    if (wanted("screens"))
        measureScreens(large, runs, figures);
    if (wanted("shared"))
        measureSharedTables(program, large, runs, figures);
    if (wanted("posting"))
        measurePosting(large, runs, figures);
    if (wanted("report"))
        measureReport(program, large, runs, figures);
    if (wanted("payment"))
        measurePayment(program, large, runs, figures);
    if (wanted("maintenance"))
        measureMaintenance(large, runs, figures);
    if (wanted("cashbook"))
        measureCashbook(program, large, runs, figures);
    if (wanted("history"))
        measureHistory(program, large, runs, figures);

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
    if (args.size() >= 3 && args.at(1) == QLatin1String("windows"))
        return runWindows(args.at(2));
    if (args.size() >= 5 && args.at(1) == QLatin1String("report"))
        return runReport(args.at(2), args.at(3).toInt(), args.at(4),
                         args.size() >= 6 && args.at(5) == QLatin1String("generated"));
    if (args.size() >= 3 && args.at(1) == QLatin1String("payment"))
        return runPayment(args.at(2));
    if (args.size() >= 3 && args.at(1) == QLatin1String("cashbook"))
        return runCashbook(args.at(2));
    if (args.size() >= 3 && args.at(1) == QLatin1String("history"))
        return runHistory(args.at(2));
    if (args.size() < 2) {
        out << "Usage: keystead-bench FIXTURES_DIR [--runs N] [--only "
               "startup|charges|screens|shared|posting|report|payment|maintenance|cashbook|history]\n";
        return 2;
    }
    int runs = 3;
    const int r = args.indexOf(QStringLiteral("--runs"));
    if (r > 0 && r + 1 < args.size())
        runs = std::max(1, args.at(r + 1).toInt());
    const int o = args.indexOf(QStringLiteral("--only"));
    const QString only = (o > 0 && o + 1 < args.size()) ? args.at(o + 1) : QString();
    return runAll(app.applicationFilePath(), args.at(1), runs, only);
}
