#include "cashbook/Cashbook.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"
#include "shell/AppState.h"
#include "shell/SharedTables.h"

#include <QSqlQuery>

const QString Cashbook::BlankDescription = QStringLiteral("The description field is blank!");
const QString Cashbook::BlankAmount = QStringLiteral("The amount field is blank!");
const QString Cashbook::BlankCategory = QStringLiteral("The category field is blank!");
const QString Cashbook::DeleteQuestion =
    QStringLiteral("Are you sure you want to delete the selected record?");

namespace {

QVariant keyOrNull(int id)
{
    return id > 0 ? QVariant(id) : QVariant(QMetaType::fromType<int>());
}

} // namespace

Cashbook::Cashbook(AppState& state) : m_state(state) {}

QString Cashbook::check(const QString& description, const QString& amount, const QString& category)
{
    if (description.trimmed().isEmpty())
        return BlankDescription;
    if (amount.trimmed().isEmpty())
        return BlankAmount;
    if (category.trimmed().isEmpty())
        return BlankCategory;
    return QString();
}

bool Cashbook::isIncome(Database& db, int catId)
{
    if (catId <= 0)
        return false;
    QSqlQuery q = db.prepare(QStringLiteral("select TYPE from categories where CATID = ?"));
    q.addBindValue(catId);
    db.execPrepared(q);
    return q.next() && q.value(0).toInt() != 0;
}

CashEntry Cashbook::beginNew()
{
    m_state.tables().Cashbook->append();
    CashEntry e;
    e.date = Clock::today();
    return e;
}

bool Cashbook::beginEdit(CashEntry* entry)
{
    Dataset& t = *m_state.tables().Cashbook;
    if (t.isEmpty())
        return false;
    t.edit();
    CashEntry e;
    e.date = t.asDate(QStringLiteral("TDATE"));
    e.description = t.asText(QStringLiteral("DESCRIPTION"));
    e.catId = t.asInt(QStringLiteral("CATID"));
    e.amount = t.asMoney(QStringLiteral("EXPENSE")) + t.asMoney(QStringLiteral("INCOME"));
    e.vendorId = t.asInt(QStringLiteral("VID"));
    e.apId = t.asInt(QStringLiteral("APID"));
    e.notes = t.asText(QStringLiteral("NOTES"));
    *entry = e;
    return true;
}

CashTotals Cashbook::storedAmounts(int accId)
{
    QSqlQuery q = m_state.db.prepare(
        QStringLiteral("select INCOME, EXPENSE from cashbook where ACCID = ?"));
    q.addBindValue(accId);
    m_state.db.execPrepared(q);
    CashTotals t;
    if (q.next()) {
        t.income = Money::fromVariant(q.value(0));
        t.expense = Money::fromVariant(q.value(1));
    }
    return t;
}

void Cashbook::follow(bool known, const CashTotals& was, const CashTotals& before,
                      const CashTotals& after)
{
    // Storing through the shared table announced a change of the book; this one is known.
    if (!known)
        return;
    m_state.TotalIncome = was.income - before.income + after.income;
    m_state.TotalExpense = was.expense - before.expense + after.expense;
    m_state.TotalsKnown = true;
}

int Cashbook::store(const CashEntry& e)
{
    Dataset& t = *m_state.tables().Cashbook;
    const bool inserted = t.state() == Dataset::State::Insert;
    const QString accId = QStringLiteral("ACCID");
    const CashTotals before = inserted ? CashTotals() : storedAmounts(t.asInt(accId));
    const bool income = isIncome(m_state.db, e.catId);
    t.setValue(QStringLiteral("TDATE"), e.date);
    t.setValue(QStringLiteral("DESCRIPTION"), e.description);
    t.setValue(QStringLiteral("CATID"), keyOrNull(e.catId));
    const QVariant amount = QVariant::fromValue(e.amount);
    const QVariant none(QMetaType::fromType<QString>());
    t.setValue(QStringLiteral("INCOME"), income ? amount : none);
    t.setValue(QStringLiteral("EXPENSE"), income ? none : amount);
    t.setValue(QStringLiteral("VID"), keyOrNull(e.vendorId));
    t.setValue(QStringLiteral("APID"), keyOrNull(e.apId));
    t.setValue(QStringLiteral("NOTES"), e.notes);
    // A new row keeps the key it drew when a first try to store it failed.
    if (inserted && t.value(accId).isNull())
        t.setValue(accId, m_state.db.NextKey(QStringLiteral("GEN_CASHBOOK_ID")));
    const int id = t.asInt(accId);
    const bool known = m_state.TotalsKnown;
    const CashTotals was{m_state.TotalIncome, m_state.TotalExpense};
    t.post();
    follow(known, was, before, storedAmounts(id));
    return id;
}

void Cashbook::cancel()
{
    m_state.tables().Cashbook->cancel();
}

bool Cashbook::removeCurrent()
{
    Dataset& t = *m_state.tables().Cashbook;
    if (t.isEmpty())
        return false;
    t.cancel();
    const CashTotals before = storedAmounts(t.asInt(QStringLiteral("ACCID")));
    const bool known = m_state.TotalsKnown;
    const CashTotals was{m_state.TotalIncome, m_state.TotalExpense};
    t.remove();
    follow(known, was, before, CashTotals());
    return true;
}

CashTotals Cashbook::totals()
{
    if (!m_state.TotalsKnown)
        return recompute();
    return {m_state.TotalIncome, m_state.TotalExpense};
}

CashTotals Cashbook::recompute()
{
    QSqlQuery q = m_state.db.select(
        QStringLiteral("select sum(income) as sincome, sum(expense) as sexpense from cashbook"));
    CashTotals t;
    if (q.next()) {
        t.income = Money::fromVariant(q.value(0));
        t.expense = Money::fromVariant(q.value(1));
    }
    m_state.TotalIncome = t.income;
    m_state.TotalExpense = t.expense;
    m_state.TotalsKnown = true;
    return t;
}
