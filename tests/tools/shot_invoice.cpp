// Saves a picture of a payment invoice in the preview for the user guide: run under Xvfb with
// a window manager, e.g. DISPLAY=:1 build/tests/shot_invoice docs/ (screen 1366x768).
#include "data/Clock.h"
#include "data/Database.h"
#include "reports/Letterhead.h"
#include "reports/TRepInvoice.h"
#include "reports/ui/ReportPreview.h"
#include "support/Gui.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    ShellFixture f(false);
    Clock::setFixed(QDate(2008, 3, 5));
    f.prepare([](Database& db) {
        const char* info[] = {"Harbor Property Management",
                              "400 Shore Drive",
                              "Suite 200",
                              "Madison",
                              "WI",
                              "53703",
                              "(608) 555-0142"};
        for (int i = 0; i < 7; ++i)
            db.exec(QStringLiteral("update setup set str = '%1' where setuporder = %2")
                        .arg(QLatin1String(info[i]))
                        .arg(i + 1));
        for (const char* sql : {
                 "insert into tenants (tid, id, firstname, lastname) values (1, 'T1', 'Laura', "
                 "'Bennett')",
                 "insert into buildings (buildid, description) values (1, 'Lakeview Apartments')",
                 "insert into apartments (apid, bid, suite, tid, agreeid) values (1, 1, '101', 1, "
                 "-1)",
                 "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
                 "values (1, 1, 1, 'Rent', '2008-03-01', 1150, 1150, 1150)",
                 "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
                 "values (2, 1, 1, 'Parking', '2008-03-01', 75, 75, 75)",
                 "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
                 "values (3, 1, 1, 'Rent Late Fee', '2008-02-15', 45, 45, 20)",
             })
            db.exec(QLatin1String(sql));
    });
    f.state.db.Connect(f.databasePath());
    f.state.OwnerInfo = Letterhead::load(f.state.db);
    InvoicePayment payment;
    payment.transId = 1027;
    payment.date = QDate(2008, 3, 5);
    payment.apid = 1;
    payment.tid = 1;
    payment.dueTotal = Money::fromCents(127000);
    payment.payTotal = Money::fromCents(124500);
    payment.cash = Money::fromCents(20000);
    payment.check = Money::fromCents(104500);
    ReportPreviewSink sink;
    ReportOutput::install(&sink);
    // The preview runs modally; the picture is taken from inside it.
    Dialogs::setHandler([&](QDialog* d) {
        d->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        QTimer::singleShot(800, [&, d] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(
                dir + QStringLiteral("/invoice-preview.png"));
            d->reject();
        });
        d->exec();
    });
    TRepInvoice::produce(f.state, payment);
    return 0;
}
