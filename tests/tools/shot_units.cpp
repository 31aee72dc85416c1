// Saves a picture of the units window for the user guide: run under Xvfb with the xcb platform,
// e.g. xvfb-run -a -s "-screen 0 1280x800x24" build/tests/shot_units docs/
#include "data/Clock.h"
#include "data/Database.h"
#include "records/Agreements.h"
#include "records/ui/TFApart.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

namespace {

void addSample(Database& db)
{
    for (
        const char* sql : {
            "insert into owners (oid, code, name) values (1, 'HARBOR', 'Harbor Holdings')",
            "insert into owners (oid, code, name) values (2, 'ELMWOOD', 'Elmwood Estates')",
            "insert into buildings (buildid, oid, description, address, city, provstate) values "
            "(1, 1, 'Lakeview Apartments', '400 Shore Drive', 'Madison', 'WI')",
            "insert into buildings (buildid, oid, description) values (2, 1, 'Harbor Lofts')",
            "insert into buildings (buildid, oid, description) values (3, 2, 'Elm Street Duplex')",
            "insert into buildings (buildid, oid, description) values (4, 2, 'Cedar Row')",
            "insert into tenants (tid, id, firstname, lastname) values (1, 'T1', 'Laura', "
            "'Bennett')",
            "insert into tenants (tid, id, firstname, lastname) values (2, 'T2', 'Marcus', "
            "'Ortega')",
            "insert into tenants (tid, id, company) values (3, 'T3', 'Northwind Design LLC')",
            "insert into tenants (tid, id, firstname, lastname) values (4, 'T4', 'Priya', 'Raman')",
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, squarefootage, "
            "bedrooms, bathrooms, floor) values (1, 1, '101', 1, -1, 1150, 'Renting', 780, 2, 1, "
            "1)",
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, squarefootage, "
            "bedrooms, bathrooms, floor) values (2, 1, '102', -1, -1, 990, 'Normal', 640, 1, 1, 1)",
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, squarefootage, "
            "bedrooms, bathrooms, floor) values (3, 1, '201', 2, -1, 1275, 'Renting', 910, 2, 2, "
            "2)",
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, squarefootage, "
            "bedrooms, bathrooms, floor) values (4, 1, '202', 3, -1, 1400, 'Leasing', 1020, 3, 2, "
            "2)",
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, squarefootage, "
            "bedrooms, bathrooms, floor) values (5, 1, '301', -1, -1, 1050, 'Renovated', 700, 1, "
            "1, 3)",
            "set generator gen_apartments_id to 10",
        })
        db.exec(QLatin1String(sql));
    const QDate today = Clock::today();
    for (int apId : {1, 3, 4}) {
        NewAgreement a;
        a.apId = apId;
        a.rent = Money::fromCents(apId == 1 ? 115000 : apId == 3 ? 127500 : 140000);
        a.recurs = 3;
        a.leaseStart = today.addMonths(-2).addDays(1 - today.day());
        a.leaseEnd = a.leaseStart.addYears(1).addDays(-1);
        a.firstPayment = a.firstDue = a.moveIn = a.leaseStart;
        a.moveOut = a.leaseEnd;
        Agreements::create(db, a);
    }
    db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, "
                           "enddate, nextdate, completed) select gen_id(gen_recur_id, 1), 1, 1, "
                           "'Parking', 45, 3, startdate, enddate, nextdate, 0 from recur where "
                           "apid = 1"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    ShellFixture f(false);
    f.prepare(addSample);
    TMain& main = f.start();
    main.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    main.show();
    main.command(QStringLiteral("apartments"))->trigger();
    auto* units =
        qobject_cast<TFApart*>(main.openChildWindow(QStringLiteral("apartments"))->widget());
    units->selectUnit(1);
    QTimer::singleShot(400, [&] {
        main.grab().save(dir + QStringLiteral("/units-window.png"));
        app.quit();
    });
    return app.exec();
}
