#include "data/Clock.h"
#include "data/Database.h"
#include "reports/Letterhead.h"
#include "reports/ReportOutput.h"
#include "reports/TDepReport.h"
#include "reports/TRepInvoice.h"
#include "shell/AppState.h"
#include "support/Reports.h"
#include "support/TestDb.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList OwnerInfo = {QStringLiteral("Marbleway Rentals"),
                               QStringLiteral("12 Main St"),
                               QStringLiteral("Suite 4"),
                               QStringLiteral("Springfield"),
                               QStringLiteral("IL"),
                               QStringLiteral(""),
                               QStringLiteral("555-0100"),
                               QStringLiteral("555-0199"),
                               QStringLiteral(""),
                               QStringLiteral("Ann"),
                               QStringLiteral("Owner")};

void exec(Database& db, const char* sql)
{
    db.exec(QLatin1String(sql));
}

// Tenant 501 (A1, Ann Smith) in unit 70 ("3B", Elm Court) under agreement 900, with open
// charges of which a payment being recorded applies something to two.
void tenantWithCharges(Database& db)
{
    for (int i = 0; i < OwnerInfo.size(); ++i) {
        QSqlQuery q = db.prepare(QStringLiteral("update setup set str = ? where setuporder = ?"));
        q.bindValue(0, OwnerInfo.at(i));
        q.bindValue(1, i + 1);
        db.execPrepared(q);
    }
    exec(db,
         "insert into tenants (tid, id, firstname, lastname) values (501, 'A1', 'Ann', 'Smith')");
    exec(db,
         "insert into tenants (tid, id, firstname, lastname) values (502, 'B2', 'Bob', 'Jones')");
    exec(db, "insert into buildings (buildid, description) values (7, 'Elm Court')");
    exec(db,
         "insert into apartments (apid, bid, suite, tid, agreeid) values (70, 7, '3B', 501, 900)");
    exec(db, "insert into agreements (rid, apid, tid, damage) values (900, 70, 501, 1000)");
    // Paid in full, paid in part, not touched, settled already, and another tenant's.
    exec(db, "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
             "values (1, 501, 70, 'Rent', '2008-03-01', 1200, 1200, 1200)");
    exec(db, "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
             "values (2, 501, 70, 'Parking', '2008-03-01', 75, 75, 34.5)");
    exec(db, "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
             "values (3, 501, 70, 'Rent', '2008-04-01', 500, 500, 0)");
    exec(db, "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
             "values (4, 501, 70, 'Laundry', '2008-02-01', 0, 10, 5)");
    exec(db, "insert into charges (chid, tid, apid, type, fordate, amt, origamount, applied) "
             "values (5, 502, 70, 'Rent', '2008-03-01', 900, 900, 900)");
}

// Payment 12 of the charges above stored (the charges lowered), then payment 13 paying 20.00
// more on the parking.
void storedPayments(Database& db)
{
    exec(db, "update charges set amt = amt - applied, applied = 0 where tid = 501");
    exec(db, "insert into trans (transid, tid, apid, tdate, cash, mycheck, ccard, paytotal, "
             "duetotal, applied) "
             "values (12, 501, 70, '2008-03-05', 1234.5, 0, 0, 1234.5, 1775, 1234.5)");
    exec(db, "insert into payments (payid, transid, chid, type, fordate, datepaid, amount) "
             "values (40, 12, 1, 'Rent', '2008-03-01', '2008-03-05', 1200)");
    exec(db, "insert into payments (payid, transid, chid, type, fordate, datepaid, amount) "
             "values (41, 12, 2, 'Parking', '2008-03-01', '2008-03-05', 34.5)");
    exec(db, "insert into trans (transid, tid, apid, tdate, cash, mycheck, ccard, paytotal, "
             "duetotal, applied) "
             "values (13, 501, 70, '2008-03-20', 0, 20, 0, 20, 540.5, 20)");
    exec(db, "insert into payments (payid, transid, chid, type, fordate, datepaid, amount) "
             "values (42, 13, 2, 'Parking', '2008-03-01', '2008-03-20', 20)");
    exec(db, "update charges set amt = amt - 20 where chid = 2");
}

InvoicePayment payment12()
{
    InvoicePayment p;
    p.transId = 12;
    p.date = QDate(2008, 3, 5);
    p.apid = 70;
    p.tid = 501;
    p.dueTotal = Money::parse(QStringLiteral("1775"));
    p.payTotal = Money::parse(QStringLiteral("1234.5"));
    p.cash = Money::parse(QStringLiteral("1234.5"));
    return p;
}

} // namespace

class TestReceipts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void invoiceOfAPaymentBeingRecorded()
    {
        TestDb t;
        tenantWithCharges(t.db());
        TRepInvoice invoice(t.db(), Letterhead::load(t.db()), payment12(),
                            TRepInvoice::chargesBeingPaid(t.db(), 501));
        auto pages = capture(invoice);
        QCOMPARE(pages->pageCount(), 1);
        // Two charges settled: each with what was owed under Amt and the part paid under Paid;
        // the untouched, the settled and the other tenant's charges do not print.
        QCOMPARE(pages->lines(), (QStringList{
                                     QStringLiteral("Marbleway Rentals"),
                                     QStringLiteral("12 Main St"),
                                     QStringLiteral("Suite 4"),
                                     QStringLiteral("Springfield, IL, "),
                                     QStringLiteral("555-0100"),
                                     QStringLiteral("Tenant #:  | A1 | Invoice #:  | 12"),
                                     QStringLiteral("Name: | Smith, Ann | Date: | 3/5/08"),
                                     QStringLiteral("Building: | Elm Court"),
                                     QStringLiteral("Apt #: | 3B"),
                                     QStringLiteral("Bill Date | Category | Amt | Paid"),
                                     QStringLiteral("3/1/08 | Rent | 1,200.00 | 1,200.00"),
                                     QStringLiteral("3/1/08 | Parking | 75.00 | 34.50"),
                                     QStringLiteral("Total Due: | 1,775.00 | Cash: | 1,234.50"),
                                     QStringLiteral("Total Paid: | 1,234.50 | Check: | 0.00"),
                                     QStringLiteral("Credit Card: | 0.00"),
                                     QStringLiteral("Signed"),
                                     QStringLiteral("Page 1 | ") +
                                         QLocale().toString(Clock::today(), QLocale::ShortFormat),
                                 }));
        // The letterhead is centred; the payment's means on the right-hand side.
        const PlacedText* company = pages->find(QStringLiteral("Marbleway Rentals"));
        QVERIFY(qAbs(company->origin.x() + company->width / 2 - (36 + Report::BodyWidth / 2)) <
                0.01);
        QVERIFY(company->font.bold);
        QVERIFY(pages->find(QStringLiteral("Cash:"))->origin.x() > 300);
        QVERIFY(pages->find(QStringLiteral("Total Due:"))->origin.x() < 100);
        // Rules under the letterhead, over the headings, over the totals and to sign on.
        QCOMPARE(pages->pages().first().lines.size(), 4);
    }

    void invoiceWithoutTenantRowStillPrints()
    {
        TestDb t;
        tenantWithCharges(t.db());
        exec(t.db(), "delete from tenants where tid = 501");
        TRepInvoice invoice(t.db(), OwnerInfo, payment12(),
                            TRepInvoice::chargesBeingPaid(t.db(), 501));
        auto pages = capture(invoice);
        QVERIFY(pages->lines().contains(QStringLiteral("Tenant #:  | Invoice #:  | 12")));
        QVERIFY(pages->lines().contains(QStringLiteral("Name: | Date: | 3/5/08")));
        QVERIFY(pages->lines().contains(QStringLiteral("Building: | Elm Court")));
        QCOMPARE(pages->rightOf(QStringLiteral("Cash:")), QStringLiteral("1,234.50"));
    }

    void invoiceOfAStoredPaymentPrintsAgain()
    {
        TestDb t;
        Database& db = t.db();
        tenantWithCharges(db);
        storedPayments(db);

        const auto twelve = InvoicePayment::load(db, 12);
        QVERIFY(twelve);
        auto pages = capture(*std::make_unique<TRepInvoice>(db, OwnerInfo, *twelve,
                                                            TRepInvoice::storedLines(db, 12)));
        QVERIFY(pages->lines().contains(QStringLiteral("3/1/08 | Rent | 1,200.00 | 1,200.00")));
        QVERIFY(pages->lines().contains(QStringLiteral("3/1/08 | Parking | 75.00 | 34.50")));
        QCOMPARE(pages->rightOf(QStringLiteral("Total Due:")), QStringLiteral("1,775.00"));
        QCOMPARE(pages->rightOf(QStringLiteral("Cash:")), QStringLiteral("1,234.50"));

        const auto thirteen = InvoicePayment::load(db, 13);
        pages = capture(*std::make_unique<TRepInvoice>(db, OwnerInfo, *thirteen,
                                                       TRepInvoice::storedLines(db, 13)));
        QVERIFY(pages->lines().contains(QStringLiteral("3/1/08 | Parking | 40.50 | 20.00")));
        QCOMPARE(pages->rightOf(QStringLiteral("Check:")), QStringLiteral("20.00"));
        QVERIFY(!InvoicePayment::load(db, 99));
    }

    void previewOrPrinterByTheSetting()
    {
        TestDb t;
        tenantWithCharges(t.db());
        AppState state;
        QVERIFY(state.db.Connect(t.path()));
        state.OwnerInfo = OwnerInfo;
        ReportRecorder reports;
        state.settings.printprev = true;
        TRepInvoice::produce(state, payment12());
        state.settings.printprev = false;
        TRepInvoice::produce(state, payment12());
        QCOMPARE(reports.shown.size(), 2);
        QCOMPARE(reports.shown.at(0).mode, ReportSink::Mode::Preview);
        QCOMPARE(reports.shown.at(1).mode, ReportSink::Mode::Print);
        QVERIFY(
            reports.last().lines().contains(QStringLiteral("3/1/08 | Parking | 75.00 | 34.50")));

        // Printed again later from the stored payment: always in the preview.
        storedPayments(t.db());
        QVERIFY(TRepInvoice::previewStored(state, 13));
        QCOMPARE(reports.shown.size(), 3);
        QCOMPARE(reports.last().rightOf(QStringLiteral("Invoice #: ")), QStringLiteral("13"));
        QCOMPARE(reports.shown.last().mode, ReportSink::Mode::Preview);
        QVERIFY(!TRepInvoice::previewStored(state, 99));
        QCOMPARE(reports.shown.size(), 3);
    }

    void invoiceAsPdfAndCsv()
    {
        TestDb t;
        tenantWithCharges(t.db());
        TRepInvoice invoice(t.db(), OwnerInfo, payment12(),
                            TRepInvoice::chargesBeingPaid(t.db(), 501));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("invoice.pdf"));
        QString error;
        QVERIFY2(ReportOutput::writePdf(invoice, pdf, &error), qPrintable(error));
        const QString text = pdfText(pdf);
        for (const char* pattern :
             {"Marbleway Rentals", "Invoice #:\\s+12", "Name:\\s+Smith, Ann", "Date:\\s+3/5/08",
              "3/1/08\\s+Rent\\s+1,200.00\\s+1,200.00", "3/1/08\\s+Parking\\s+75.00\\s+34.50",
              "Total Due:\\s+1,775.00\\s+Cash:\\s+1,234.50", "Credit Card:\\s+0.00", "Signed",
              "Page 1"})
            QVERIFY2(text.contains(QRegularExpression(QLatin1String(pattern))),
                     qPrintable(QLatin1String(pattern) + QStringLiteral("\n") + text));
        QVERIFY(!text.contains(QLatin1String("500.00")));

        const QString csv = dir.filePath(QStringLiteral("invoice.csv"));
        QVERIFY(ReportOutput::writeCsv(invoice, csv, &error));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QStringLiteral("Bill Date,Category,Amt,Paid\r\n"
                                "2008-03-01,Rent,1200.00,1200.00\r\n"
                                "2008-03-01,Parking,75.00,34.50\r\n"));
    }

    void fromTheCommandLine()
    {
        TestDb t;
        tenantWithCharges(t.db());
        storedPayments(t.db());
        exec(t.db(), "insert into deposits (depid, tid, tdate, amount, paymenttype) values (1, "
                     "501, '2008-03-01', 1000, 'Cash')");
        t.db().Disconnect();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("receipt.pdf"));
        QString out, err;
        QCOMPARE(runAdmin({QStringLiteral("report"), QStringLiteral("invoice"), t.path(),
                           QStringLiteral("--trans"), QStringLiteral("12"), QStringLiteral("--out"),
                           pdf},
                          &out, &err),
                 0);
        QVERIFY(out.contains(pdf));
        QString text = pdfText(pdf);
        // The letterhead comes from the owner information stored in the file.
        for (const char* pattern : {"Marbleway Rentals", "Springfield, IL,", "Invoice #:\\s+12",
                                    "Parking\\s+75.00\\s+34.50", "Total Paid:\\s+1,234.50"})
            QVERIFY2(text.contains(QRegularExpression(QLatin1String(pattern))),
                     qPrintable(QLatin1String(pattern) + QStringLiteral("\n") + text));

        const QString csv = dir.filePath(QStringLiteral("receipt.csv"));
        QCOMPARE(runAdmin({QStringLiteral("report"), QStringLiteral("invoice"), t.path(),
                           QStringLiteral("--trans"), QStringLiteral("13"), QStringLiteral("--out"),
                           csv}),
                 0);
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("Bill Date,Category,Amt,Paid\r\n2008-03-01,Parking,40.50,20.00\r\n"));

        QCOMPARE(runAdmin({QStringLiteral("report"), QStringLiteral("deposit-receipt"), t.path(),
                           QStringLiteral("--tenant"), QStringLiteral("501"),
                           QStringLiteral("--out"), pdf}),
                 0);
        text = pdfText(pdf);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Total:\\s+1,000.00"))),
                 qPrintable(text));
        QVERIFY(text.contains(QLatin1String("Receipt: Security Deposit")));
    }

    void commandLineRefusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString db = QStringLiteral("DB");
        const QString out = QStringLiteral("--out");
        const QString pdf = QStringLiteral("OUT/r.pdf");
        QTest::newRow("unknown report")
            << QStringList{QStringLiteral("frobnicate"), db, out, pdf} << 2 << "there is no report";
        QTest::newRow("selection missing")
            << QStringList{QStringLiteral("invoice"), db, out, pdf} << 2 << "needs --trans";
        QTest::newRow("selection it does not take")
            << QStringList{QStringLiteral("invoice"), db,  QStringLiteral("--tenant"),
                           QStringLiteral("5"),       out, pdf}
            << 2 << "does not take --tenant";
        QTest::newRow("not a number")
            << QStringList{QStringLiteral("invoice"), db,  QStringLiteral("--trans"),
                           QStringLiteral("x1"),      out, pdf}
            << 2 << "record number";
        QTest::newRow("neither pdf nor csv")
            << QStringList{QStringLiteral("invoice"), db,  QStringLiteral("--trans"),
                           QStringLiteral("12"),      out, QStringLiteral("OUT/r.txt")}
            << 2 << ".pdf or .csv";
        QTest::newRow("no such payment")
            << QStringList{QStringLiteral("invoice"), db,  QStringLiteral("--trans"),
                           QStringLiteral("99"),      out, pdf}
            << 1 << "no payment with TRANSID 99";
        QTest::newRow("no such tenant") << QStringList{QStringLiteral("deposit-receipt"),
                                                       db,
                                                       QStringLiteral("--tenant"),
                                                       QStringLiteral("999"),
                                                       out,
                                                       pdf}
                                        << 1 << "no tenant with TID 999";
        QTest::newRow("no such file") << QStringList{QStringLiteral("invoice"),
                                                     QStringLiteral("OUT/none.fdb"),
                                                     QStringLiteral("--trans"),
                                                     QStringLiteral("12"),
                                                     out,
                                                     pdf}
                                      << 1 << "does not exist";
        QTest::newRow("output not writable")
            << QStringList{QStringLiteral("invoice"), db,  QStringLiteral("--trans"),
                           QStringLiteral("12"),      out, QStringLiteral("OUT/no/such/dir/r.csv")}
            << 1 << "cannot be written";
        // The database refuses the report's query: its own text, and no file.
        QTest::newRow("database error") << QStringList{QStringLiteral("deposit-receipt"),
                                                       db,
                                                       QStringLiteral("--tenant"),
                                                       QStringLiteral("501"),
                                                       out,
                                                       pdf}
                                        << 1 << "DEPOSITS";
    }
    void commandLineRefusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        TestDb t;
        tenantWithCharges(t.db());
        storedPayments(t.db());
        if (QByteArray(QTest::currentDataTag()) == "database error")
            exec(t.db(), "drop table deposits");
        t.db().Disconnect();
        QTemporaryDir dir;
        for (QString& a : args)
            a.replace(QLatin1String("OUT"), dir.path()).replace(QLatin1String("DB"), t.path());
        QString err;
        QCOMPARE(runAdmin(QStringList{QStringLiteral("report")} + args, nullptr, &err), code);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("r.pdf"))));
    }

    void depositReceiptOfTwoInstalments()
    {
        TestDb t;
        Database& db = t.db();
        tenantWithCharges(db);
        exec(db, "insert into apartments (apid, bid, suite, tid, agreeid) values (71, 7, '4C', "
                 "501, -1)");
        exec(db, "insert into deposits (depid, tid, tdate, amount, paymenttype) values (1, 501, "
                 "'2008-03-15', 400, 'Check')");
        exec(db, "insert into deposits (depid, tid, tdate, amount, paymenttype) values (2, 501, "
                 "'2008-03-01', 600, 'Cash')");
        exec(db, "insert into deposits (depid, tid, tdate, amount, paymenttype) values (3, 502, "
                 "'2008-03-01', 50, 'Cash')");
        TDepReport receipt(db, OwnerInfo, 501);
        auto pages = capture(receipt);
        QCOMPARE(pages->lines(), (QStringList{
                                     QStringLiteral("Marbleway Rentals"),
                                     QStringLiteral("12 Main St"),
                                     QStringLiteral("Suite 4"),
                                     QStringLiteral("Springfield, IL, "),
                                     QStringLiteral("555-0100"),
                                     // The date of the first deposit row as stored.
                                     QStringLiteral("Tenant #:  | A1 | Date: | 3/15/08"),
                                     QStringLiteral("Name: | Smith, Ann"),
                                     // Every unit of the tenant.
                                     QStringLiteral("Building: | Elm Court"),
                                     QStringLiteral("Apt #: | 3B"),
                                     QStringLiteral("Building: | Elm Court"),
                                     QStringLiteral("Apt #: | 4C"),
                                     QStringLiteral("Receipt: Security Deposit"),
                                     QStringLiteral("Date | Amount | Payment Method"),
                                     QStringLiteral("3/15/08 | 400.00 | Check"),
                                     QStringLiteral("3/1/08 | 600.00 | Cash"),
                                     QStringLiteral("Total: | 1,000.00"),
                                     QStringLiteral("Required Deposit | 1,000.00"),
                                     QStringLiteral("Page 1 | ") +
                                         QLocale().toString(Clock::today(), QLocale::ShortFormat),
                                 }));
        QVERIFY(pages->find(QStringLiteral("Receipt: Security Deposit"))->font.bold);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("deposit.pdf"));
        QVERIFY(ReportOutput::writePdf(receipt, pdf));
        const QString text = pdfText(pdf);
        for (const char* pattern : {"Receipt: Security Deposit", "3/15/08\\s+400.00\\s+Check",
                                    "Total:\\s+1,000.00", "Required Deposit\\s+1,000.00"})
            QVERIFY2(text.contains(QRegularExpression(QLatin1String(pattern))),
                     qPrintable(QLatin1String(pattern) + QStringLiteral("\n") + text));
    }

    void depositReceiptWithNothingToShow()
    {
        // No deposits, no unit, no agreement, and no tenant row: the header, empty values,
        // a total of 0.00 and no required deposit.
        TestDb t;
        TDepReport receipt(t.db(), OwnerInfo, 777);
        auto pages = capture(receipt);
        const QStringList lines = pages->lines();
        QVERIFY(lines.contains(QStringLiteral("Tenant #:  | Date:")));
        QVERIFY(lines.contains(QStringLiteral("Name:")));
        QVERIFY(lines.contains(QStringLiteral("Building:")));
        QVERIFY(lines.contains(QStringLiteral("Apt #:")));
        QVERIFY(lines.contains(QStringLiteral("Date | Amount | Payment Method")));
        QVERIFY(lines.contains(QStringLiteral("Total: | 0.00")));
        QVERIFY(lines.contains(QStringLiteral("Required Deposit | 0.00")));
        QCOMPARE(lines.size(), 14); // the lines above, the letterhead and the page footer
    }
};

QTEST_MAIN(TestReceipts)
#include "tst_receipts.moc"
