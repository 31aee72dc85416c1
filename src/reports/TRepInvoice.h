#pragma once

#include "data/Money.h"
#include "reports/ReportLayout.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

class AppState;
class Database;

// The values of one payment's TRANS row that its receipt prints.
struct InvoicePayment
{
    int transId = 0;
    QDate date;
    int apid = 0;
    int tid = 0;
    Money dueTotal;
    Money payTotal;
    Money cash;
    Money check;
    Money creditCard;

    // The stored TRANS row, or nothing when there is none. Throws DbError.
    static std::optional<InvoicePayment> load(Database& db, int transId);
};

// One charge the payment settles: the amount owed on it and the part paid.
struct InvoiceLine
{
    QDate forDate;
    QString type;
    Money amount;
    Money paid;
};

// The payment invoice (the receipt of a payment): letterhead, tenant block with the invoice
// number and date, one line per charge paid, the totals and how it was paid, and a line to
// sign on.
class TRepInvoice : public Report
{
public:
    TRepInvoice(Database& db, const QStringList& ownerInfo, const InvoicePayment& payment,
                const QList<InvoiceLine>& lines);

    // The lines of a payment being recorded: the tenant's charges that it pays something on
    // (AMT not 0, APPLIED above 0), in stored order, with AMT and APPLIED. Throws DbError.
    static QList<InvoiceLine> chargesBeingPaid(Database& db, int tid);
    // The lines of a stored payment, from its PAYMENTS rows: the part paid, and the amount
    // that was owed on the charge before it (what it owes now plus this and later payments
    // on it). Throws DbError.
    static QList<InvoiceLine> storedLines(Database& db, int transId);

    // The receipt of a payment being recorded, right after its TRANS row is stored and before
    // its payment lines are (when receipts are printed): shown in the preview when the
    // preview setting is on, else sent to the printer. A database error is shown with its
    // own text.
    static void produce(AppState& state, const InvoicePayment& payment);
    // The receipt of a stored payment, printed again in the preview. False, with the
    // message shown, when the payment does not exist.
    static bool previewStored(AppState& state, int transId);
};
