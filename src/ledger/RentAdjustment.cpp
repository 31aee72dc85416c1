#include "ledger/RentAdjustment.h"

#include "data/Database.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

AdjustmentRefused::AdjustmentRefused(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

const QString RentAdjustment::NothingSelected =
    QStringLiteral("No Building/Apartment/Tenant Selected!");
const QString RentAdjustment::NoAmount = QStringLiteral("No amount entered!");
const QString RentAdjustment::NoPercentage = QStringLiteral("No percentage increase entered!");
const QString RentAdjustment::Done = QStringLiteral("Rates adjusted successfully");
const QString RentAdjustment::BelowZero =
    QStringLiteral("This adjustment would make %1 rent(s) less than zero. Nothing was changed.");

Money RentAdjustment::factor() const
{
    // value has at most two decimals, so value / 100 is whole ten-thousandths.
    return Money::fromUnits(Money::Scale + value.units() / 100);
}

QString RentAdjustment::operatorText() const
{
    if (kind == Kind::Amount)
        return QStringLiteral(" + ") + value.toSql();
    // The factor as a plain decimal: 1.05, 1.035, 0.9.
    QString number = factor().toSql();
    while (number.endsWith(QLatin1Char('0')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return QStringLiteral(" * ") + number;
}

namespace RentAdjust {

namespace {

// The rows of one table an adjustment reaches, as a condition with its bound values.
struct Rows
{
    QString where;
    QVariantList binds;
};

Rows unitsIn(const RentAdjustment& a)
{
    switch (a.scope) {
    case RentAdjustment::Scope::AllUnits:
        return {QString(), {}};
    case RentAdjustment::Scope::Tenant:
        return {QStringLiteral("TID = ?"), {a.id}};
    case RentAdjustment::Scope::Building:
        return {QStringLiteral("BID = ?"), {a.id}};
    case RentAdjustment::Scope::Unit:
        return {QStringLiteral("APID = ?"), {a.id}};
    }
    return {};
}

// Agreements and recurring charges that are running (a NULL flag counts as not completed),
// in the adjustment's scope.
Rows runningIn(const RentAdjustment& a, const QString& extra = QString())
{
    Rows r{QStringLiteral("coalesce(COMPLETED, 0) = 0") + extra, {}};
    switch (a.scope) {
    case RentAdjustment::Scope::AllUnits:
        break;
    case RentAdjustment::Scope::Tenant:
        r.where += QStringLiteral(" and TID = ?");
        r.binds << a.id;
        break;
    case RentAdjustment::Scope::Building:
        r.where += QStringLiteral(" and APID in (select APID from apartments where BID = ?)");
        r.binds << a.id;
        break;
    case RentAdjustment::Scope::Unit:
        r.where += QStringLiteral(" and APID = ?");
        r.binds << a.id;
        break;
    }
    return r;
}

QSqlQuery run(Database& db, const QString& sql, const QVariantList& binds)
{
    QSqlQuery q = db.prepare(sql);
    for (const QVariant& b : binds)
        q.addBindValue(b);
    db.execPrepared(q);
    return q;
}

RentChange change(Database& db, const QString& table, const QString& column, const Rows& rows,
                  const RentAdjustment& a)
{
    const QString where = rows.where.isEmpty() ? QString() : QStringLiteral(" where ") + rows.where;
    auto sum = [&] {
        QSqlQuery q = run(db, QStringLiteral("select count(*), sum(%1) from %2%3").arg(column, table, where),
                          rows.binds);
        return q.next() ? std::pair{q.value(0).toInt(), Money::fromVariant(q.value(1))}
                        : std::pair{0, Money()};
    };
    RentChange c;
    const auto [count, before] = sum();
    c.rows = count;
    c.before = before;
    // The engine works out each new value from the old one; the operand is bound as exact
    // decimal text, cast so that the engine keeps all of its decimals.
    const QString value = a.kind == RentAdjustment::Kind::Percentage
                              ? QStringLiteral("round(%1 * cast(? as numeric(18,4)), 2)").arg(column)
                              : QStringLiteral("%1 + cast(? as numeric(18,2))").arg(column);
    QVariantList binds{(a.kind == RentAdjustment::Kind::Percentage ? a.factor() : a.value).toSql()};
    binds << rows.binds;
    // A rent is never made negative: such an adjustment is refused whole.
    {
        const QString below = QStringLiteral("select count(*) from %1 where %2 < 0 and %3 >= 0%4")
                                  .arg(table, value, column,
                                       rows.where.isEmpty() ? QString()
                                                            : QStringLiteral(" and ") + rows.where);
        QSqlQuery q = run(db, below, binds);
        const int negative = q.next() ? q.value(0).toInt() : 0;
        if (negative > 0)
            throw AdjustmentRefused(RentAdjustment::BelowZero.arg(negative));
    }
    run(db, QStringLiteral("update %1 set %2 = %3%4").arg(table, column, value, where), binds);
    c.after = sum().second;
    return c;
}

} // namespace

RentAdjustResult adjust(Database& db, const RentAdjustment& a)
{
    if (a.scope != RentAdjustment::Scope::AllUnits && a.id <= 0)
        throw AdjustmentRefused(RentAdjustment::NothingSelected);
    if (a.value != a.value.roundedToCents())
        throw AdjustmentRefused(QStringLiteral("Amounts and percentages have at most two decimals."));
    const bool units = a.target != RentAdjustment::Target::CurrentAgreements;
    const bool agreements = a.target != RentAdjustment::Target::FutureRates;
    RentAdjustResult r;
    // Half an adjustment is not kept: every statement or none.
    Transaction tx(db);
    if (units)
        r.units = change(db, QStringLiteral("apartments"), QStringLiteral("RENT"), unitsIn(a), a);
    if (agreements) {
        r.agreements = change(db, QStringLiteral("agreements"), QStringLiteral("RENT"), runningIn(a), a);
        r.recurring = change(db, QStringLiteral("recur"), QStringLiteral("AMOUNT"),
                             runningIn(a, QStringLiteral(" and lower(TYPE) = 'rent'")), a);
    }
    tx.commit();
    return r;
}

} // namespace RentAdjust
