#include "reports/TDepReport.h"

#include "data/Database.h"
#include "data/Money.h"
#include "reports/Letterhead.h"
#include "reports/ReportOutput.h"
#include "reports/RowSource.h"
#include "shell/AppState.h"
#include "shell/Messages.h"

#include <QSqlQuery>

namespace {

QSqlQuery run(Database& db, const QString& sql, int tid)
{
    QSqlQuery q = db.prepare(sql);
    q.bindValue(0, tid);
    db.execPrepared(q);
    return q;
}

} // namespace

TDepReport::TDepReport(Database& db, const QStringList& ownerInfo, int tid)
    : Report(QStringLiteral("Receipt: Security Deposit"))
{
    this->db = &db;
    headQuery = query =
        QStringLiteral("select tdate, amount, paymenttype from deposits where tid = ?");
    bindings = {tid};

    QString tenantId, tenantName;
    {
        QSqlQuery q = run(
            db, QStringLiteral("select id, lastname, firstname from tenants where tid = ?"), tid);
        if (q.next()) {
            tenantId = q.value(0).toString();
            tenantName = q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString();
        }
    }
    // The deposit the tenant's current agreement asks for; none without an agreement.
    Money required;
    {
        QSqlQuery q = run(db,
                          QStringLiteral("select damage from agreements,apartments where "
                                         "agreements.rid = apartments.agreeid and "
                                         "apartments.tid = ?"),
                          tid);
        if (q.next())
            required = Money::fromVariant(q.value(0));
    }

    const ReportFont f{10};
    const double top = Letterhead::add(title, ownerInfo) + 4;
    title.label(QStringLiteral("Tenant #: "), {0, top, 70, 13}, ReportAlign::Left, f);
    title.label(tenantId, {70, top, 220, 13}, ReportAlign::Left, f).name =
        QStringLiteral("tenantNumber");
    title.label(QStringLiteral("Name:"), {0, top + 16, 70, 13}, ReportAlign::Left, f);
    title.label(tenantName, {70, top + 16, 220, 13}, ReportAlign::Left, f).name =
        QStringLiteral("tenantName");
    // The title prints with the first deposit as its line: its date, empty without one.
    title.label(QStringLiteral("Date:"), {330, top, 70, 13}, ReportAlign::Left, f);
    title
        .field(QStringLiteral("TDATE"), {400, top, 123, 13}, ReportMask::Plain, ReportAlign::Left,
               f)
        .name = QStringLiteral("firstDepositDate");
    title.height = top + 32;

    // Building and suite of every unit the tenant holds; the labels print without one too.
    ReportSubDetail units;
    units.name = QStringLiteral("units");
    units.rows = [&db, tid](const ReportRow&) -> std::unique_ptr<RowSource> {
        return std::make_unique<SqlRowSource>(
            db,
            QStringLiteral("select buildings.description, apartments.suite from apartments, "
                           "buildings where\napartments.tid=? and apartments.bid= "
                           "buildings.buildid\n"),
            QVariantList{tid});
    };
    units.printWhenEmpty = true;
    units.detail.height = 32;
    units.detail.label(QStringLiteral("Building:"), {0, 0, 70, 13}, ReportAlign::Left, f);
    units.detail
        .field(QStringLiteral("DESCRIPTION"), {70, 0, 250, 13}, ReportMask::Plain,
               ReportAlign::Left, f)
        .name = QStringLiteral("building");
    units.detail.label(QStringLiteral("Apt #:"), {0, 16, 70, 13}, ReportAlign::Left, f);
    units.detail
        .field(QStringLiteral("SUITE"), {70, 16, 250, 13}, ReportMask::Plain, ReportAlign::Left, f)
        .name = QStringLiteral("suite");
    title.subDetails.push_back(units);

    const ReportFont heading{10, true};
    columnHeader.height = 46;
    columnHeader.label(QStringLiteral("Receipt: Security Deposit"), {0, 6, BodyWidth, 16},
                       ReportAlign::Center, {12, true});
    columnHeader.label(QStringLiteral("Date"), {0, 30, 90, 13}, ReportAlign::Left, heading).name =
        QStringLiteral("dateHeading");
    columnHeader.label(QStringLiteral("Amount"), {100, 30, 100, 13}, ReportAlign::Right, heading)
        .name = QStringLiteral("amountHeading");
    columnHeader
        .label(QStringLiteral("Payment Method"), {220, 30, 200, 13}, ReportAlign::Left, heading)
        .name = QStringLiteral("methodHeading");

    detail.height = 15;
    detail.field(QStringLiteral("TDATE"), {0, 0, 90, 13}, ReportMask::Plain, ReportAlign::Left, f)
        .headingItem = QStringLiteral("dateHeading");
    detail
        .field(QStringLiteral("AMOUNT"), {100, 0, 100, 13}, ReportMask::Money, ReportAlign::Right,
               f)
        .headingItem = QStringLiteral("amountHeading");
    detail
        .field(QStringLiteral("PAYMENTTYPE"), {220, 0, 200, 13}, ReportMask::Plain,
               ReportAlign::Left, f)
        .headingItem = QStringLiteral("methodHeading");

    summary.height = 44;
    summary.rule(4, 0, BodyWidth);
    summary.label(QStringLiteral("Total:"), {0, 10, 70, 13}, ReportAlign::Left, f);
    summary
        .sum(QStringLiteral("AMOUNT"), {100, 10, 100, 13}, ReportMask::Money, ReportAlign::Right, f)
        .name = QStringLiteral("total");
    summary.label(QStringLiteral("Required Deposit"), {0, 26, 100, 13}, ReportAlign::Left, f);
    summary.label(required.format(), {100, 26, 100, 13}, ReportAlign::Right, f).name =
        QStringLiteral("requiredDeposit");

    addPageFooter();
}

void TDepReport::preview(AppState& state, int tid)
{
    try {
        TDepReport receipt(state.db, state.OwnerInfo, tid);
        ReportOutput::preview(receipt);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
