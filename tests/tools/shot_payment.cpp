// Saves a picture of the payment screen for the user guide, on a copy of a generated
// portfolio: run on an X display with a window manager, e.g. Xvfb :7 -screen 0 1366x768x24 with
// openbox, then DISPLAY=:7 build/tests/shot_payment bench/fixtures/small.fdb docs/
#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"
#include "ledger/ui/TChargeForm.h"
#include "records/ui/Pickers.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qWarning("usage: shot_payment PORTFOLIO.fdb OUTPUT_DIR");
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
    main.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    main.show();
    QTest::qWait(300);

    // A tenant who owes rent from two months and has late-fee terms.
    Database& db = f.state.db;
    const int tid = db.scalar(QStringLiteral(
                                  "select first 1 c.tid from charges c where c.amt > 0 and "
                                  "c.latefeeflat > 0 and exists (select 1 from apartments a where "
                                  "a.tid = c.tid and a.agreeid > 0) group by c.tid having "
                                  "count(*) >= 2 order by count(*) desc, c.tid"))
                        .toInt();
    const QString code =
        db.scalar(QStringLiteral("select ID from tenants where TID = %1").arg(tid)).toString();
    f.messages.answers << Message::Yes; // bill the late fees
    f.dialogs.then([&](QDialog* d) {
        auto* picker = qobject_cast<SearchPicker*>(d);
        picker->searchEdit()->setText(code);
        for (int row = 0; picker->selectedId() != tid && row < 200; ++row)
            picker->list()->selectRow(row);
        click(d, "okButton");
    });
    f.dialogs.then([&](QDialog* d) {
        auto* form = qobject_cast<TChargeForm*>(d);
        form->move(120, 60);
        QAbstractItemModel* m = form->chargesGrid()->model();
        Dataset& charges = *f.state.tables().Charges;
        Money total;
        for (int row = 0; row < std::min(2, m->rowCount()); ++row) {
            const Money owed = Dataset::toMoney(charges.valueAt(row, QStringLiteral("AMT")));
            m->setData(m->index(row, TChargeForm::Paying), owed.roundedToCents().toSql());
            QTest::qWait(50);
            total += owed;
        }
        type(form, "checkEdit", total.roundedToCents().toSql());
        type(form, "checkNumberEdit", QStringLiteral("2417"));
        emit form->checkEdit()->editingFinished(); // the totals follow
        form->chargesGrid()->setFocus();
        QTest::qWait(600);
        QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QStringLiteral("/payment-screen.png"));
        click(form, "cancelButton");
    });
    main.command(QStringLiteral("collectRent"))->trigger();
    return f.dialogs.done() ? 0 : 1;
}
