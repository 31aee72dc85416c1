#include "data/Clock.h"
#include "data/Dataset.h"
#include "ledger/Payment.h"
#include "ledger/ui/TChargeForm.h"
#include "ledger/ui/TFAhead.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"
#include "support/Reports.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Tenant 1 (code T1) rents unit 10 under an agreement and owes rent of 500.00 and parking of
// 75.00; tenant 2 (T2) has no unit; tenant 3 (T3) rents unit 11 without an agreement.
void addPortfolio(Database& db)
{
    for (const char* s : {
             "insert into owners (OID, CODE) values (1, 'OWN')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'Elm Court')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME, ADDRESS, CITY, TEL) values "
             "(1, 'T1', 'Ann', 'Lee', '4 Elm Court', 'Springfield', '555-0101')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (2, 'T2', 'Bob', 'Roe')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (3, 'T3', 'Cy', 'Poe')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (10, 1, '1A', 1, 5)",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (11, 1, '1B', 3, -1)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, LATEFEEFLAT, "
             "PERDAY, LFD, APPLIED) values (1, 1, 10, 'Rent', '2024-03-05', 500, 500, 25, 2.5, 0, 0)",
             "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, APPLIED) values "
             "(2, 1, 10, 'Parking', '2024-03-15', 75, 75, 0)",
             "insert into recur (RECID, APID, TID, TYPE, AMOUNT, FREQ, STARTDATE, ENDDATE, "
             "NEXTDATE, COMPLETED) values (1, 10, 1, 'Rent', 500, 3, '2024-01-05', '2025-12-31', "
             "'2024-04-05', 0)",
             "set generator gen_charges_id to 100",
         })
        db.exec(QLatin1String(s));
}

QString snapshot(Database& db)
{
    QString s;
    for (const char* sql :
         {"select CHID, AMT, APPLIED, LFD, MEMO from charges order by CHID",
          "select count(*) from trans", "select count(*) from payments",
          "select count(*) from cashbook", "select RECID, NEXTDATE, COMPLETED from recur"}) {
        QSqlQuery q = db.select(QLatin1String(sql));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                s += q.value(i).toString() + QLatin1Char('|');
        s += QLatin1Char('\n');
    }
    return s;
}

DialogScript::Step pickTenant(const QString& code)
{
    return [code](QDialog* d) {
        type(d, "searchEdit", code);
        click(d, "okButton");
    };
}

// Types into the "Paying" cell of a row as a user would: opens its editor, types, Enter.
void typePaying(TChargeForm* form, int row, const QString& text)
{
    QTableView* grid = form->chargesGrid();
    const QModelIndex cell = grid->model()->index(row, TChargeForm::Paying);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = grid->findChild<QLineEdit*>(QStringLiteral("payingEditor"));
    QVERIFY(editor);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The commit, then what the screen does after it (both queued, as for a user).
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // The closed editor goes now, so the next edit finds its own.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString cellText(TChargeForm* form, int row, int column)
{
    return form->chargesGrid()->model()->index(row, column).data().toString();
}

} // namespace

class TestPaymentScreen : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    // Amounts typed into "Paying", a refusal, a wrong amount, the discrepancy, then the payment.
    void payingThroughTheScreen()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        f.messages.clear(); // the start-up's own warnings
        f.messages.answers << Message::No; // no late fees this time
        f.dialogs.then(pickTenant(QStringLiteral("T1")));
        f.dialogs.then([&f](QDialog* d) {
            auto* form = qobject_cast<TChargeForm*>(d);
            QVERIFY(form);
            QCOMPARE(child<QLineEdit>(form, "nameEdit")->text(), QStringLiteral("Ann"));
            QCOMPARE(child<QLineEdit>(form, "buildingEdit")->text(), QStringLiteral("Elm Court"));
            QCOMPARE(child<QLineEdit>(form, "suiteEdit")->text(), QStringLiteral("1A"));
            QCOMPARE(form->chargesGrid()->model()->rowCount(), 2);
            QCOMPARE(form->dueTotalLabel()->text(), QStringLiteral("575.00"));
            form->printReceiptsBox()->setChecked(false);

            typePaying(form, 0, QStringLiteral("600.00"));
            QCOMPARE(f.messages.texts().last(), Payment::TooMuch);
            QCOMPARE(cellText(form, 0, TChargeForm::Paying), QStringLiteral("0.00"));
            typePaying(form, 0, QStringLiteral("12.345"));
            QVERIFY(f.messages.texts().last().contains(QStringLiteral("at most two decimals")));
            typePaying(form, 0, QStringLiteral("-1"));
            QCOMPARE(f.messages.texts().last(), Payment::Negative);
            const int refusals = int(f.messages.shown.size());
            typePaying(form, 0, QStringLiteral("300.00"));
            typePaying(form, 1, QStringLiteral("75"));
            QCOMPARE(f.messages.shown.size(), refusals);
            QCOMPARE(cellText(form, 0, TChargeForm::Paying), QStringLiteral("300.00"));
            QCOMPARE(form->appliedTotalLabel()->text(), QStringLiteral("375.00"));

            type(form, "cashEdit", QStringLiteral("300.00"));
            type(form, "cardEdit", QStringLiteral("70.00"));
            click(form, "okButton");
            QCOMPARE(f.messages.texts().last(), Payment::Discrepancy);
            QVERIFY(form->isVisible());
            type(form, "cardEdit", QStringLiteral("75.001"));
            click(form, "okButton");
            QVERIFY(f.messages.texts().last().contains(QStringLiteral("at most two decimals")));
            QVERIFY(form->isVisible());
            type(form, "cardEdit", QStringLiteral("75.00"));
            type(form, "cardNumberEdit", QStringLiteral("4111-1111"));
            click(form, "okButton");
        });
        main.command(QStringLiteral("collectRent"))->trigger();
        QVERIFY(f.dialogs.done());
        QVERIFY(!f.state.settings.printrec);

        Database& db = f.state.db;
        QSqlQuery q = db.select(QStringLiteral(
            "select CASH, CCARD, CCARDN, PAYTOTAL, APPLIED, DUETOTAL from trans"));
        QVERIFY(q.next());
        QCOMPARE(Money::fromVariant(q.value(0)), Money::fromCents(30000));
        QCOMPARE(Money::fromVariant(q.value(1)), Money::fromCents(7500));
        QCOMPARE(q.value(2).toString(), QStringLiteral("4111-1111"));
        QCOMPARE(Money::fromVariant(q.value(3)), Money::fromCents(37500));
        QCOMPARE(Money::fromVariant(q.value(4)), Money::fromCents(37500));
        QCOMPARE(Money::fromVariant(q.value(5)), Money::fromCents(57500));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from payments")).toInt(), 2);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from cashbook")).toInt(), 2);
        QCOMPARE(Money::fromVariant(db.scalar(QStringLiteral("select AMT from charges where CHID = 1"))),
                 Money::fromCents(20000));
        // The shared charges follow: only what is still owed is listed.
        QCOMPARE(f.state.tables().Charges->rowCount(), 1);
        QVERIFY(!db.inTransaction());
    }

    // With "Print receipts" ticked the receipt goes out through the report output, to the
    // printer when the preview setting is off, listing only the charge being paid.
    void receiptThroughTheOutputSeam()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        f.messages.clear(); // the start-up's own warnings
        f.state.settings.printrec = false;
        f.state.settings.printprev = false;
        ReportRecorder reports;
        f.messages.answers << Message::No;
        f.dialogs.then(pickTenant(QStringLiteral("T1")));
        f.dialogs.then([](QDialog* d) {
            auto* form = qobject_cast<TChargeForm*>(d);
            QVERIFY(!form->printReceiptsBox()->isChecked());
            form->printReceiptsBox()->setChecked(true);
            typePaying(form, 0, QStringLiteral("300"));
            type(form, "checkEdit", QStringLiteral("300.00"));
            click(form, "okButton");
        });
        main.command(QStringLiteral("collectRent"))->trigger();
        QVERIFY(f.dialogs.done());
        QVERIFY(f.state.settings.printrec);
        QCOMPARE(reports.shown.size(), 1);
        QCOMPARE(reports.shown.first().mode, ReportSink::Mode::Print);
        const QStringList lines = reports.last().lines();
        const int transId = f.state.db.scalar(QStringLiteral("select TRANSID from trans")).toInt();
        QVERIFY2(lines.filter(QStringLiteral("| Rent | 500.00 | 300.00")).size() == 1,
                 qPrintable(lines.join(QLatin1Char('\n'))));
        QVERIFY(lines.filter(QStringLiteral("Parking")).isEmpty());
        QVERIFY(lines.filter(QStringLiteral("Invoice #:  | %1").arg(transId)).size() == 1);
    }

    // Cancel after billing a late fee, adding a one-time charge, deleting a charge and
    // charging ahead keeps none of it.
    void cancelKeepsNothing()
    {
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        f.messages.clear(); // the start-up's own warnings
        const QString before = snapshot(f.state.db);
        f.messages.answers << Message::Yes  // bill late fees
                           << Message::Yes; // delete the selected charge
        f.dialogs.then(pickTenant(QStringLiteral("T1")));
        f.dialogs.then([&f](QDialog* d) {
            auto* form = qobject_cast<TChargeForm*>(d);
            QVERIFY(form);
            // The late fee of 25.00 + 2.50 x 10 days is listed and counted.
            QCOMPARE(form->chargesGrid()->model()->rowCount(), 3);
            QCOMPARE(cellText(form, 2, TChargeForm::Type), QStringLiteral("Rent Late Fee"));
            QCOMPARE(cellText(form, 2, TChargeForm::AmtDue), QStringLiteral("50.00"));
            QCOMPARE(form->dueTotalLabel()->text(), QStringLiteral("625.00"));

            f.dialogs.then([](QDialog* ot) {
                auto* types = child<QComboBox>(ot, "typeBox");
                types->setCurrentIndex(types->findText(QStringLiteral("Repairs")));
                type(ot, "amountEdit", QStringLiteral("0"));
                click(ot, "okButton");
                QVERIFY(ot->isVisible()); // "Invalid Amount Entered!"
                type(ot, "amountEdit", QStringLiteral("120.00"));
                click(ot, "okButton");
            });
            click(form, "addButton");
            QCOMPARE(f.messages.texts().last(), Payment::InvalidAmount);
            QCOMPARE(form->chargesGrid()->model()->rowCount(), 4);

            f.dialogs.then([](QDialog* ahead) {
                auto* box = child<PeriodsBox>(ahead, "periodsBox");
                box->findChild<QLineEdit*>()->setText(QStringLiteral("13"));
                click(ahead, "okButton");
                QVERIFY(ahead->isVisible());
                box->stepBy(20);
                QCOMPARE(box->value(), 12);
                box->setValue(2);
                click(ahead, "okButton");
            });
            click(form, "chargeAheadButton");
            QCOMPARE(f.messages.texts().last(), Payment::PeriodsRange);
            QCOMPARE(form->chargesGrid()->model()->rowCount(), 6);

            form->chargesGrid()->selectRow(1);
            click(form, "deleteButton");
            QCOMPARE(form->chargesGrid()->model()->rowCount(), 5);
            click(form, "cancelButton");
        });
        main.command(QStringLiteral("collectRent"))->trigger();
        QVERIFY(f.dialogs.done());
        QCOMPARE(snapshot(f.state.db), before);
        QVERIFY(!f.state.db.inTransaction());
        QCOMPARE(f.state.tables().Charges->rowCount(), 2);
    }

    void findingTheUnit_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("answer"); // to the no-agreement question; 0 when none is asked
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no unit") << QStringLiteral("T2") << 0
                                 << QStringLiteral("No apartment has been assigned to tenant!") << false;
        QTest::newRow("no agreement, No") << QStringLiteral("T3") << int(Message::No)
                                          << QStringLiteral("No rental agreement exists. Do you want to continue?")
                                          << false;
        QTest::newRow("no agreement, Yes") << QStringLiteral("T3") << int(Message::Yes)
                                           << QStringLiteral("No rental agreement exists. Do you want to continue?")
                                           << true;
    }
    void findingTheUnit()
    {
        QFETCH(QString, code);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(bool, opens);
        ShellFixture f(false);
        f.prepare(addPortfolio);
        TMain& main = f.start();
        f.messages.clear(); // the start-up's own warnings
        if (answer)
            f.messages.answers << answer;
        f.dialogs.then(pickTenant(code));
        if (opens)
            f.dialogs.then([](QDialog* d) {
                QCOMPARE(d->objectName(), QStringLiteral("TChargeForm"));
                click(d, "okButton"); // nothing applied, nothing paid
            });
        main.command(QStringLiteral("collectRent"))->trigger();
        QVERIFY(f.dialogs.done());
        QCOMPARE(f.messages.texts().first(), message);
        QCOMPARE(f.state.db.scalar(QStringLiteral("select count(*) from trans")).toInt(), 0);
    }

    void refusedWithoutTheRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, BILL) values (2, 'CLERK', 'Clerk', 0)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        TMain& main = f.start();
        f.messages.clear(); // the start-up's own warnings
        main.command(QStringLiteral("collectRent"))->trigger();
        QCOMPARE(f.messages.texts().last(), TMain::NoRights);
        QVERIFY(f.dialogs.done());
    }
};

QTEST_MAIN(TestPaymentScreen)
#include "tst_paymentscreen.moc"
