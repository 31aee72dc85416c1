#include "data/Clock.h"
#include "data/Dataset.h"
#include "ledger/Payment.h"
#include "ledger/RentAdjustment.h"
#include "ledger/ui/TTHForm.h"
#include "records/ui/TTenForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"
#include "support/Reports.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Ann Lee (T1) rents unit 10 of Elm Court, Bob Roe (T2) unit 11 of Oak Row. Ann paid twice:
// 300.00 on her March rent of 500.00, then 75.00 parking and 100.00 more rent; Bob once.
void addPayments(Database& db)
{
    for (const char* s : {
             "insert into owners (OID, CODE) values (1, 'OWN')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'Elm Court')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (2, 1, 'Oak Row')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (1, 'T1', 'Ann', 'Lee')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (2, 'T2', 'Bob', 'Roe')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID, RENT) values (10, 1, '1A', 1, -1, 500)",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID, RENT) values (11, 2, '2B', 2, -1, 600)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED) values "
             "(1, 1, 10, 'Rent', '2024-03-01', 500, 500, 0)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED) values "
             "(2, 1, 10, 'Parking', '2024-03-01', 75, 75, 0)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED) values "
             "(3, 2, 11, 'Rent', '2024-03-01', 600, 600, 0)",
         })
        db.exec(QLatin1String(s));
    auto pay = [&db](int tid, const QList<QPair<int, qint64>>& cents) {
        Payment p(db, *PaymentUnit::ofTenant(db, tid));
        Money total;
        for (const auto& [chId, c] : cents) {
            p.apply(chId, Money::fromCents(c));
            total += Money::fromCents(c);
        }
        p.setReceived(Money(), total, Money());
        p.confirm();
    };
    pay(1, {{1, 30000}});
    pay(1, {{1, 10000}, {2, 7500}});
    pay(2, {{3, 60000}});
}

QString snapshot(Database& db)
{
    QString s;
    for (const char* sql : {"select CHID, AMT, APPLIED from charges order by CHID",
                            "select TRANSID, TID from trans order by TRANSID",
                            "select PAYID, TRANSID from payments order by PAYID",
                            "select ACCID, INCOME from cashbook order by ACCID"}) {
        QSqlQuery q = db.select(QLatin1String(sql));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                s += q.value(i).toString() + QLatin1Char('|');
        s += QLatin1Char('\n');
    }
    return s;
}

int count(Database& db, const char* sql)
{
    return db.scalar(QLatin1String(sql)).toInt();
}

DialogScript::Step pickTenant(const QString& code)
{
    return [code](QDialog* d) {
        type(d, "searchEdit", code);
        click(d, "okButton");
    };
}

QStringList column(QTableView* grid, int col)
{
    QStringList out;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        out << grid->model()->index(row, col).data().toString();
    return out;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    // The tenant's payments and the lines of the one selected; No to the first question
    // changes nothing and asks nothing more; Yes and Yes void it with its cashbook entries.
    void historyAndVoid()
    {
        ShellFixture f(false);
        f.prepare(addPayments);
        TMain& main = f.start();
        f.messages.clear();
        Database& db = f.state.db;
        const QString before = snapshot(db);
        f.dialogs.then(pickTenant(QStringLiteral("T1")));
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TTHForm*>(d);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("Payment History"));
            QCOMPARE(column(form->transactionsGrid(), 2), (QStringList{"300.00", "175.00"}));
            QCOMPARE(column(form->transactionsGrid(), 4), (QStringList{"300.00", "175.00"}));
            form->transactionsGrid()->selectRow(1);
            QCOMPARE(column(form->chargesGrid(), 1), (QStringList{"Rent", "Parking"}));
            QCOMPARE(column(form->chargesGrid(), 2), (QStringList{"100.00", "75.00"}));

            f.messages.answers << Message::No;
            click(form, "voidButton");
            QCOMPARE(f.messages.texts(), QStringList{TTHForm::VoidQuestion});
            QCOMPARE(snapshot(db), before);

            f.messages.answers << Message::Yes << Message::Yes;
            click(form, "voidButton");
            QCOMPARE(f.messages.texts().mid(1), (QStringList{TTHForm::VoidQuestion, TTHForm::CashbookQuestion}));
            for (const Message& m : f.messages.shown) {
                QCOMPARE(m.icon, Message::Question);
                QCOMPARE(m.caption, QStringLiteral("Marbleway"));
            }
            QCOMPARE(column(form->transactionsGrid(), 2), QStringList{"300.00"});
            click(form, "closeButton");
        });
        main.command(QStringLiteral("paymentHistory"))->trigger();
        QVERIFY(f.dialogs.done());
        QCOMPARE(Money::fromVariant(db.scalar("select AMT from charges where CHID = 1")), Money::fromCents(20000));
        QCOMPARE(Money::fromVariant(db.scalar("select AMT from charges where CHID = 2")), Money::fromCents(7500));
        QCOMPARE(count(db, "select count(*) from trans"), 2);
        QCOMPARE(count(db, "select count(*) from payments"), 2);
        QCOMPARE(count(db, "select count(*) from cashbook"), 2);
        QVERIFY(!f.state.tables().Trans->isFiltered());
        QCOMPARE(f.state.tables().Trans->rowCount(), 2);
    }

    // A failure in the middle of a void: "Unknown error", and nothing of it is kept.
    void failedVoidSaysUnknownError()
    {
        ShellFixture f(false);
        f.prepare(addPayments);
        TMain& main = f.start();
        f.messages.clear();
        Database& db = f.state.db;
        const QString before = snapshot(db);
        f.dialogs.then(pickTenant(QStringLiteral("T1")));
        f.dialogs.then([&](QDialog* d) {
            db.beforeExec = [](const QString& sql) {
                if (sql.startsWith(QLatin1String("delete from trans")))
                    throw DbError(QStringLiteral("update conflicts with concurrent update"), sql);
            };
            f.messages.answers << Message::Yes << Message::No;
            click(d, "voidButton");
            db.beforeExec = nullptr;
            const Message& shown = f.messages.shown.last();
            QCOMPARE(shown.text, QStringLiteral("Unknown error"));
            QCOMPARE(shown.icon, Message::NoIcon);
            QCOMPARE(shown.caption, QStringLiteral("Marbleway Keystead  2008"));
            QCOMPARE(qobject_cast<TTHForm*>(d)->transactionsGrid()->model()->rowCount(), 2);
            click(d, "closeButton");
        });
        main.command(QStringLiteral("paymentHistory"))->trigger();
        QVERIFY(f.dialogs.done());
        QCOMPARE(snapshot(db), before);
        QVERIFY(!db.inTransaction());
    }

    // The Tenants window opens the history of its selected tenant without the VOIDTRANS right,
    // which voiding still asks for; the receipt of a payment prints again from its lines.
    void fromTheTenantsWindowWithoutTheRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            addPayments(db);
            db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, TENANTS, VOIDTRANS) "
                                   "values (2, 'CLERK', 'Clerk', 1, 0)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        TMain& main = f.start();
        f.messages.clear();
        main.command(QStringLiteral("paymentHistory"))->trigger();
        QCOMPARE(f.messages.texts(), QStringList{TMain::NoRights});

        main.command(QStringLiteral("tenants"))->trigger();
        auto* tenants = main.findChild<TTenForm*>();
        QVERIFY(tenants);
        tenants->list()->grid()->selectRow(1); // Bob Roe
        ReportRecorder reports;
        const QString before = snapshot(f.state.db);
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TTHForm*>(d);
            QCOMPARE(column(form->transactionsGrid(), 2), QStringList{"600.00"});
            click(form, "voidButton");
            QCOMPARE(f.messages.texts().last(), TMain::NoRights);
            click(form, "printReceiptButton");
            click(form, "closeButton");
        });
        click(tenants, "paymentHistoryButton");
        QVERIFY(f.dialogs.done());
        QCOMPARE(snapshot(f.state.db), before);
        QCOMPARE(reports.shown.size(), 1);
        QCOMPARE(reports.shown.first().mode, ReportSink::Mode::Preview);
        const QStringList lines = reports.last().lines();
        QVERIFY2(lines.filter(QStringLiteral("| Rent | 600.00 | 600.00")).size() == 1,
                 qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // The dialog's three checks, then an adjustment of one building's rents by an amount.
    void adjustRentalRate()
    {
        ShellFixture f(false);
        f.prepare(addPayments);
        TMain& main = f.start();
        f.messages.clear();
        f.dialogs.then([&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Adjust Rental Rate"));
            QVERIFY(child<QRadioButton>(d, "allButton")->isChecked());
            QVERIFY(!child<QWidget>(d, "searchButton")->isEnabled());
            child<QRadioButton>(d, "unitButton")->setChecked(true);
            click(d, "okButton");
            child<QRadioButton>(d, "allButton")->setChecked(true);
            click(d, "okButton");
            child<QRadioButton>(d, "amountButton")->setChecked(true);
            click(d, "okButton");
            QVERIFY(d->isVisible());

            child<QRadioButton>(d, "buildingButton")->setChecked(true);
            f.dialogs.then([](QDialog* picker) {
                type(picker, "searchEdit", QStringLiteral("Oak"));
                click(picker, "okButton");
            });
            click(d, "searchButton");
            QCOMPARE(child<QLineEdit>(d, "selectionEdit")->text(), QStringLiteral("Oak Row"));
            type(d, "amountEdit", QStringLiteral("25"));
            child<QRadioButton>(d, "bothButton")->setChecked(true);
            click(d, "okButton");
        });
        main.command(QStringLiteral("adjustRent"))->trigger();
        QVERIFY(f.dialogs.done());
        QCOMPARE(f.messages.texts(),
                 (QStringList{RentAdjustment::NothingSelected, RentAdjustment::NoPercentage,
                              RentAdjustment::NoAmount, RentAdjustment::Done}));
        QCOMPARE(f.messages.shown.last().icon, Message::NoIcon);
        Database& db = f.state.db;
        QCOMPARE(Money::fromVariant(db.scalar(QStringLiteral("select RENT from apartments where APID = 11"))),
                 Money::fromCents(62500));
        QCOMPARE(Money::fromVariant(db.scalar(QStringLiteral("select RENT from apartments where APID = 10"))),
                 Money::fromCents(50000));
    }

    void adjustRentalRateNeedsTheApartmentsRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, APARTMENTS) values (2, 'CLERK', 'Clerk', 0)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        TMain& main = f.start();
        f.messages.clear();
        main.command(QStringLiteral("adjustRent"))->trigger();
        QCOMPARE(f.messages.texts(), QStringList{TMain::NoRights});
        QVERIFY(f.dialogs.done());
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
