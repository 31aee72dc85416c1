#include "reports/TRepInvoice.h"

#include "data/Database.h"
#include "reports/Letterhead.h"
#include "reports/ReportOutput.h"
#include "reports/ReportText.h"
#include "reports/RowSource.h"
#include "shell/AppState.h"
#include "shell/Messages.h"

#include <QSqlQuery>

namespace {

QSqlQuery run(Database& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery q = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    db.execPrepared(q);
    return q;
}

// TENANTS.ID and "LASTNAME, FIRSTNAME"; both empty when the tenant row is gone.
QPair<QString, QString> tenantOf(Database& db, int tid)
{
    QSqlQuery q =
        run(db, QStringLiteral("select id, lastname, firstname from tenants where tid = ?"), {tid});
    if (!q.next())
        return {};
    return {q.value(0).toString(),
            q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString()};
}

// Label and value side by side, the value named for later changes and tests.
void pair(ReportBand& band, const QString& label, const QString& value, const char* name, double x,
          double y, double labelWidth, double valueWidth)
{
    const ReportFont f{10};
    band.label(label, {x, y, labelWidth, 13}, ReportAlign::Left, f);
    band.label(value, {x + labelWidth, y, valueWidth, 13}, ReportAlign::Left, f).name =
        QLatin1String(name);
}

// A money amount of the summary: label on the left, "###,##0.00" right-aligned.
void amount(ReportBand& band, const QString& label, const Money& value, const char* name, double x,
            double y)
{
    const ReportFont f{10};
    band.label(label, {x, y, 80, 13}, ReportAlign::Left, f);
    ReportItem& v = band.label(value.format(), {x + 80, y, 100, 13}, ReportAlign::Right, f);
    v.name = QLatin1String(name);
}

} // namespace

std::optional<InvoicePayment> InvoicePayment::load(Database& db, int transId)
{
    QSqlQuery q = run(db,
                      QStringLiteral("select transid, tdate, apid, tid, duetotal, paytotal, cash, "
                                     "mycheck, ccard from trans where transid = ?"),
                      {transId});
    if (!q.next())
        return std::nullopt;
    InvoicePayment p;
    p.transId = q.value(0).toInt();
    p.date = q.value(1).toDate();
    p.apid = q.value(2).toInt();
    p.tid = q.value(3).toInt();
    p.dueTotal = Money::fromVariant(q.value(4));
    p.payTotal = Money::fromVariant(q.value(5));
    p.cash = Money::fromVariant(q.value(6));
    p.check = Money::fromVariant(q.value(7));
    p.creditCard = Money::fromVariant(q.value(8));
    return p;
}

QList<InvoiceLine> TRepInvoice::chargesBeingPaid(Database& db, int tid)
{
    QSqlQuery q = run(db,
                      QStringLiteral("select fordate, type, amt, applied from charges "
                                     "where tid = ? and amt <> 0 and applied > 0"),
                      {tid});
    QList<InvoiceLine> lines;
    while (q.next())
        lines.append({q.value(0).toDate(), q.value(1).toString(), Money::fromVariant(q.value(2)),
                      Money::fromVariant(q.value(3))});
    return lines;
}

QList<InvoiceLine> TRepInvoice::storedLines(Database& db, int transId)
{
    // Later payments on a charge lowered what it owes; a void puts its payment back and
    // removes its lines, so what the charge owes now plus the payments from this one on is
    // what it owed when this one was made. A charge deleted since counts as owing nothing.
    QSqlQuery q =
        run(db,
            QStringLiteral("select p.fordate, p.type, p.amount, "
                           "coalesce((select c.amt from charges c where c.chid = p.chid), 0) + "
                           "(select sum(l.amount) from payments l "
                           "where l.chid = p.chid and l.transid >= p.transid) "
                           "from payments p where p.transid = ? order by p.payid"),
            {transId});
    QList<InvoiceLine> lines;
    while (q.next())
        lines.append({q.value(0).toDate(), q.value(1).toString(), Money::fromVariant(q.value(3)),
                      Money::fromVariant(q.value(2))});
    return lines;
}

TRepInvoice::TRepInvoice(Database& db, const QStringList& ownerInfo, const InvoicePayment& payment,
                         const QList<InvoiceLine>& lines)
    : Report(QStringLiteral("Invoice %1").arg(payment.transId))
{
    this->db = &db;
    QList<QVariantList> rows;
    for (const InvoiceLine& l : lines)
        rows << QVariantList{l.forDate, l.type, QVariant::fromValue(l.amount),
                             QVariant::fromValue(l.paid)};
    rowsFactory = [rows] {
        return std::make_unique<MemoryRowSource>(
            QStringList{QStringLiteral("FORDATE"), QStringLiteral("TYPE"), QStringLiteral("AMT"),
                        QStringLiteral("APPLIED")},
            rows);
    };

    const auto [tenantId, tenantName] = tenantOf(db, payment.tid);
    QString building, suite;
    QSqlQuery unit = run(db,
                         QStringLiteral("select buildings.description, apartments.suite "
                                        "from apartments left join buildings "
                                        "on buildings.buildid = apartments.bid "
                                        "where apartments.apid = ?"),
                         {payment.apid});
    if (unit.next()) {
        building = unit.value(0).toString();
        suite = unit.value(1).toString();
    }

    const double top = Letterhead::add(title, ownerInfo) + 4;
    pair(title, QStringLiteral("Tenant #: "), tenantId, "tenantNumber", 0, top, 70, 220);
    pair(title, QStringLiteral("Name:"), tenantName, "tenantName", 0, top + 16, 70, 220);
    pair(title, QStringLiteral("Building:"), building, "building", 0, top + 32, 70, 220);
    pair(title, QStringLiteral("Apt #:"), suite, "suite", 0, top + 48, 70, 220);
    pair(title, QStringLiteral("Invoice #: "), QString::number(payment.transId), "invoiceNumber",
         330, top, 70, 123);
    pair(title, QStringLiteral("Date:"), ReportText::shortDate(payment.date), "invoiceDate", 330,
         top + 16, 70, 123);
    title.rule(top + 70, 0, BodyWidth);
    title.height = top + 76;

    const ReportFont heading{10, true};
    columnHeader.height = 18;
    columnHeader.label(QStringLiteral("Bill Date"), {0, 0, 90, 13}, ReportAlign::Left, heading)
        .name = QStringLiteral("billDateHeading");
    columnHeader.label(QStringLiteral("Category"), {100, 0, 200, 13}, ReportAlign::Left, heading)
        .name = QStringLiteral("categoryHeading");
    columnHeader.label(QStringLiteral("Amt"), {310, 0, 90, 13}, ReportAlign::Right, heading).name =
        QStringLiteral("amtHeading");
    columnHeader.label(QStringLiteral("Paid"), {420, 0, 90, 13}, ReportAlign::Right, heading).name =
        QStringLiteral("paidHeading");

    const ReportFont f{10};
    detail.height = 15;
    detail.field(QStringLiteral("FORDATE"), {0, 0, 90, 13}, ReportMask::Plain, ReportAlign::Left, f)
        .headingItem = QStringLiteral("billDateHeading");
    detail.field(QStringLiteral("TYPE"), {100, 0, 200, 13}, ReportMask::Plain, ReportAlign::Left, f)
        .headingItem = QStringLiteral("categoryHeading");
    detail.field(QStringLiteral("AMT"), {310, 0, 90, 13}, ReportMask::Money, ReportAlign::Right, f)
        .headingItem = QStringLiteral("amtHeading");
    detail
        .field(QStringLiteral("APPLIED"), {420, 0, 90, 13}, ReportMask::Money, ReportAlign::Right,
               f)
        .headingItem = QStringLiteral("paidHeading");

    summary.height = 104;
    summary.rule(4, 0, BodyWidth);
    amount(summary, QStringLiteral("Total Due:"), payment.dueTotal, "totalDue", 0, 12);
    amount(summary, QStringLiteral("Total Paid:"), payment.payTotal, "totalPaid", 0, 28);
    amount(summary, QStringLiteral("Cash:"), payment.cash, "cash", 330, 12);
    amount(summary, QStringLiteral("Check:"), payment.check, "check", 330, 28);
    amount(summary, QStringLiteral("Credit Card:"), payment.creditCard, "creditCard", 330, 44);
    summary.label(QStringLiteral("Signed"), {0, 82, 50, 13}, ReportAlign::Left, f);
    summary.rule(94, 52, 220);

    addPageFooter();
}

void TRepInvoice::produce(AppState& state, const InvoicePayment& payment)
{
    try {
        TRepInvoice invoice(state.db, state.OwnerInfo, payment,
                            chargesBeingPaid(state.db, payment.tid));
        if (state.settings.printprev)
            ReportOutput::preview(invoice);
        else
            ReportOutput::print(invoice);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

bool TRepInvoice::previewStored(AppState& state, int transId)
{
    try {
        const std::optional<InvoicePayment> payment = InvoicePayment::load(state.db, transId);
        if (!payment) {
            Messages::warning(
                QStringLiteral("There is no payment with the invoice number %1.").arg(transId));
            return false;
        }
        TRepInvoice invoice(state.db, state.OwnerInfo, *payment, storedLines(state.db, transId));
        ReportOutput::preview(invoice);
        return true;
    } catch (const DbError& e) {
        Messages::error(e.message());
        return false;
    }
}
