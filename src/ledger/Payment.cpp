#include "ledger/Payment.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "ledger/Posting.h"

#include <QHash>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

PaymentRefused::PaymentRefused(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

const QString Payment::TooMuch =
    QStringLiteral("The applied charges cannot be more than the amount due!");
const QString Payment::Negative =
    QStringLiteral("The amount paid on a charge cannot be negative: a payment never raises what "
                   "is owed.");
const QString Payment::Discrepancy =
    QStringLiteral("DISCREPANCY: The paid amount must be equal to the applied amount!");
const QString Payment::InvalidAmount = QStringLiteral("Invalid Amount Entered!");
const QString Payment::PeriodsRange =
    QStringLiteral("The number of periods to charge ahead must be from 1 to 12!");

namespace {

// The generated late-fee type must fit CHARGES.TYPE.
constexpr int TypeWidth = 40;

QVariant textOrNull(const QString& s)
{
    return s.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

QSqlQuery run(Database& db, const QString& sql, const QVariantList& binds)
{
    QSqlQuery q = db.prepare(sql);
    for (const QVariant& b : binds)
        q.addBindValue(b);
    db.execPrepared(q);
    return q;
}

bool wholeCents(Money m)
{
    return m == m.roundedToCents();
}

// The last of N keys drawn from a generator in one step.
int drawKeys(Database& db, const char* generator, int n)
{
    QSqlQuery q = db.select(QStringLiteral("SELECT Gen_ID(%1,%2) as id FROM RDB$DATABASE")
                                .arg(QLatin1String(generator))
                                .arg(n));
    if (!q.next())
        throw DbError(QStringLiteral("The key generator %1 returned no row.")
                          .arg(QLatin1String(generator)));
    return q.value(0).toInt();
}

} // namespace

// ---- the unit ------------------------------------------------------------------------------

std::optional<PaymentUnit> PaymentUnit::ofTenant(Database& db, int tid)
{
    QSqlQuery q = run(db,
                      QStringLiteral("select APID, TID, AGREEID, BID, SUITE from apartments "
                                     "where tid = ? order by APID"),
                      {tid});
    if (!q.next())
        return std::nullopt;
    PaymentUnit u;
    u.apId = q.value(0).toInt();
    u.tId = q.value(1).toInt();
    u.agreeId = q.value(2).isNull() ? -1 : q.value(2).toInt();
    u.buildId = q.value(3).toInt();
    u.suite = q.value(4).toString();
    return u;
}

// ---- the unit of work ----------------------------------------------------------------------

Payment::Payment(Database& db, const PaymentUnit& unit) : m_db(db), m_unit(unit)
{
    if (m_db.inTransaction())
        throw PaymentRefused(QStringLiteral("Another piece of work is still open; finish it "
                                            "before collecting rent."));
    m_db.begin();
    m_open = true;
    date = Clock::today();
}

Payment::~Payment()
{
    if (m_open)
        m_db.rollback();
}

void Payment::requireOpen() const
{
    if (!m_open)
        throw PaymentRefused(QStringLiteral("This payment is already closed."));
}

void Payment::cancel()
{
    if (!m_open)
        return;
    m_open = false;
    m_db.rollback();
}

void Payment::setReceived(Money cash, Money check, Money card)
{
    for (Money m : {cash, check, card}) {
        if (m < Money())
            throw PaymentRefused(QStringLiteral("The money received cannot be negative."));
        if (!wholeCents(m))
            throw PaymentRefused(
                QStringLiteral("Amounts have at most two decimals."));
    }
    m_cash = cash;
    m_check = check;
    m_card = card;
}

std::optional<Money> Payment::readAmount(const QString& text, const QLocale& locale,
                                         QString* error)
{
    if (text.trimmed().isEmpty())
        return Money();
    return Money::parseLocale(text, locale, Money::Sign::Signed, error);
}

// ---- late fees -----------------------------------------------------------------------------

QList<LateFee> Payment::lateFeesDue() const
{
    requireOpen();
    const QDate today = Clock::today();
    // NULL flags and fees read as 0.
    QSqlQuery q = run(m_db,
                      QStringLiteral("select CHID, FORDATE, TYPE, LATEFEEFLAT, PERDAY from charges "
                                     "where coalesce(LFD, 0) = 0 and (coalesce(LATEFEEFLAT, 0) + "
                                     "coalesce(PERDAY, 0)) > 0 and AMT > 0 and APID = ? and "
                                     "FORDATE < ? order by CHID"),
                      {m_unit.apId, today});
    QList<LateFee> fees;
    while (q.next()) {
        LateFee f;
        f.overdueChId = q.value(0).toInt();
        f.forDate = q.value(1).toDate();
        f.overdueType = q.value(2).toString();
        f.flat = Money::fromVariant(q.value(3));
        f.perDay = Money::fromVariant(q.value(4));
        f.days = int(f.forDate.daysTo(today));
        f.fee = f.flat + f.perDay * f.days;
        fees << f;
    }
    return fees;
}

QList<LateFee> Payment::billLateFees()
{
    QList<LateFee> fees = lateFeesDue();
    if (fees.isEmpty())
        return fees;
    const QDate today = Clock::today();
    const int last = drawKeys(m_db, "GEN_CHARGES_ID", int(fees.size()));
    QSqlQuery insert = m_db.prepare(QStringLiteral(
        "insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, LATEFEEFLAT, "
        "PERDAY, APPLIED, PAID, LFD, MEMO) values (?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, 0, '')"));
    QSqlQuery mark = m_db.prepare(QStringLiteral("update charges set LFD = 1 where CHID = ?"));
    for (int i = 0; i < fees.size(); ++i) {
        LateFee& f = fees[i];
        f.chId = last - int(fees.size()) + 1 + i;
        insert.bindValue(0, f.chId);
        insert.bindValue(1, m_unit.tId);
        insert.bindValue(2, m_unit.apId);
        insert.bindValue(3, (f.overdueType + QStringLiteral(" Late Fee")).left(TypeWidth));
        insert.bindValue(4, today);
        insert.bindValue(5, f.fee.toSql());
        insert.bindValue(6, f.fee.toSql());
        m_db.execPrepared(insert);
        mark.bindValue(0, f.overdueChId);
        m_db.execPrepared(mark);
    }
    return fees;
}

// ---- charges -------------------------------------------------------------------------------

QList<OpenCharge> Payment::openCharges() const
{
    requireOpen();
    QSqlQuery q = run(m_db,
                      QStringLiteral("select CHID, APID, FORDATE, TYPE, AMT, APPLIED, MEMO from "
                                     "charges where TID = ? and AMT <> 0 order by CHID"),
                      {m_unit.tId});
    QList<OpenCharge> out;
    while (q.next()) {
        OpenCharge c;
        c.chId = q.value(0).toInt();
        c.apId = q.value(1).toInt();
        c.forDate = q.value(2).toDate();
        c.type = q.value(3).toString();
        c.amount = Money::fromVariant(q.value(4));
        c.applied = Money::fromVariant(q.value(5));
        c.memo = q.value(6).toString();
        out << c;
    }
    return out;
}

Payment::Totals Payment::totals() const
{
    requireOpen();
    QSqlQuery q = run(m_db,
                      QStringLiteral("select sum(AMT), sum(APPLIED) from charges where TID = ? "
                                     "and AMT <> 0"),
                      {m_unit.tId});
    Totals t;
    if (q.next()) {
        t.due = Money::fromVariant(q.value(0));
        t.applied = Money::fromVariant(q.value(1));
    }
    return t;
}

OpenCharge Payment::chargeOfTenant(int chId) const
{
    QSqlQuery q = run(m_db,
                      QStringLiteral("select CHID, APID, FORDATE, TYPE, AMT, APPLIED, MEMO from "
                                     "charges where CHID = ? and TID = ? and AMT <> 0"),
                      {chId, m_unit.tId});
    if (!q.next())
        throw PaymentRefused(
            QStringLiteral("Charge %1 is not an open charge of this tenant.").arg(chId));
    OpenCharge c;
    c.chId = chId;
    c.apId = q.value(1).toInt();
    c.forDate = q.value(2).toDate();
    c.type = q.value(3).toString();
    c.amount = Money::fromVariant(q.value(4));
    c.applied = Money::fromVariant(q.value(5));
    c.memo = q.value(6).toString();
    return c;
}

int Payment::addCharge(const QString& type, Money amount, const QDate& forDate)
{
    requireOpen();
    if (amount <= Money())
        throw PaymentRefused(InvalidAmount);
    if (!wholeCents(amount))
        throw PaymentRefused(QStringLiteral("Amounts have at most two decimals."));
    const int chId = m_db.NextKey(QStringLiteral("GEN_CHARGES_ID"));
    run(m_db,
        QStringLiteral("insert into charges (CHID, TID, APID, TYPE, FORDATE, AMT, ORIGAMOUNT, "
                       "LATEFEEFLAT, PERDAY, APPLIED, PAID, LFD, MEMO) values (?, ?, ?, ?, ?, ?, "
                       "?, 0, 0, 0, 0, 0, '')"),
        {chId, m_unit.tId, m_unit.apId, textOrNull(type), forDate, amount.toSql(),
         amount.toSql()});
    return chId;
}

void Payment::deleteCharge(int chId)
{
    requireOpen();
    run(m_db, QStringLiteral("delete from charges where CHID = ? and TID = ?"),
        {chId, m_unit.tId});
}

int Payment::chargeAhead(int periods, QStringList* skipped)
{
    requireOpen();
    if (periods < 1 || periods > 12)
        throw PaymentRefused(PeriodsRange);
    QList<RecurRow> rows;
    {
        QSqlQuery q = run(m_db,
                          QStringLiteral("select * from recur where coalesce(COMPLETED, 0) = 0 "
                                         "and APID = ? order by RECID"),
                          {m_unit.apId});
        while (q.next())
            rows << RecurRow::fromRecord(q.record());
    }
    Posting posting(m_db);
    int written = 0;
    for (const RecurRow& row : rows) {
        try {
            posting.PostChargesAhead(row, periods);
            written += posting.lastChargeCount();
        } catch (const PostingError& e) {
            // Nothing of that row was written; the others go on.
            if (skipped)
                *skipped << QStringLiteral("%1 (%2)").arg(row.type, e.message());
        }
    }
    return written;
}

void Payment::apply(int chId, Money amount)
{
    requireOpen();
    if (amount < Money())
        throw PaymentRefused(Negative);
    if (!wholeCents(amount))
        throw PaymentRefused(QStringLiteral("Amounts have at most two decimals."));
    const OpenCharge c = chargeOfTenant(chId);
    // Clearing an amount is always allowed, even on a credit.
    if (!amount.isZero() && amount > c.amount)
        throw PaymentRefused(TooMuch);
    run(m_db, QStringLiteral("update charges set APPLIED = ? where CHID = ?"),
        {amount.toSql(), chId});
}

void Payment::setMemo(int chId, const QString& memo)
{
    requireOpen();
    chargeOfTenant(chId);
    run(m_db, QStringLiteral("update charges set MEMO = ? where CHID = ?"), {memo, chId});
}

// ---- confirming ----------------------------------------------------------------------------

QString Payment::discrepancy() const
{
    requireOpen();
    return payTotal().roundedToCents() == totals().applied.roundedToCents() ? QString()
                                                                              : Discrepancy;
}

PaymentResult Payment::confirm(const ReceiptHook& receipt)
{
    requireOpen();
    const Totals t = totals();
    if (payTotal().roundedToCents() != t.applied.roundedToCents())
        throw PaymentRefused(Discrepancy);

    PaymentResult r;
    r.date = date;
    r.apId = m_unit.apId;
    r.tId = m_unit.tId;
    r.cash = m_cash;
    r.check = m_check;
    r.card = m_card;
    r.applied = t.applied;
    r.payTotal = t.applied;
    r.dueTotal = t.due;
    if (t.applied.isZero()) {
        // No payment: only the charges' own changes are kept.
        m_open = false;
        m_db.commit();
        return r;
    }

    // A failure anywhere below leaves the screen's work as it was before OK.
    m_db.exec(QStringLiteral("SAVEPOINT PAYMENT_CONFIRM"));
    try {
        r.transId = m_db.NextKey(QStringLiteral("GEN_TRANS_ID"));
        run(m_db,
            QStringLiteral("insert into trans (TRANSID, TID, APID, TDATE, CASH, MYCHECK, CHECKN, "
                           "CCARD, CCARDN, PAYTOTAL, DUETOTAL, APPLIED) values (?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?)"),
            {r.transId, r.tId, r.apId, r.date, r.cash.toSql(), r.check.toSql(), checkNo,
             r.card.toSql(), cardNo, r.payTotal.toSql(), r.dueTotal.toSql(), r.applied.toSql()});
        if (receipt)
            receipt(r);

        // Every charge of the tenant with an amount applied, whichever unit it belongs to.
        {
            QSqlQuery q = run(m_db,
                              QStringLiteral("select CHID, FORDATE, TYPE, AMT, APPLIED from charges "
                                             "where AMT <> 0 and APPLIED <> 0 and TID = ? order "
                                             "by CHID"),
                              {r.tId});
            while (q.next()) {
                PaymentLine l;
                l.chId = q.value(0).toInt();
                l.forDate = q.value(1).toDate();
                l.type = q.value(2).toString();
                l.owedBefore = Money::fromVariant(q.value(3));
                l.paid = Money::fromVariant(q.value(4));
                r.lines << l;
            }
        }
        const int n = int(r.lines.size());
        const int lastAcc = drawKeys(m_db, "GEN_CASHBOOK_ID", n);
        const int lastPay = drawKeys(m_db, "GEN_PAYMENTS_ID", n);
        QSqlQuery category =
            m_db.prepare(QStringLiteral("select first 1 CATID from categories where NAME = ?"));
        QSqlQuery cashbook = m_db.prepare(
            QStringLiteral("insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, INCOME, APID) "
                           "values (?, ?, ?, ?, ?, ?)"));
        QSqlQuery payment = m_db.prepare(
            QStringLiteral("insert into payments (PAYID, TRANSID, CHID, ACCID, AMOUNT, DATEPAID, "
                           "FORDATE, TYPE) values (?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery lower = m_db.prepare(
            QStringLiteral("update charges set AMT = AMT - APPLIED, APPLIED = 0 where CHID = ?"));
        QHash<QString, int> categories;
        for (int i = 0; i < n; ++i) {
            PaymentLine& l = r.lines[i];
            l.accId = lastAcc - n + 1 + i;
            l.payId = lastPay - n + 1 + i;
            auto known = categories.constFind(l.type);
            if (known == categories.constEnd()) {
                category.bindValue(0, l.type);
                m_db.execPrepared(category);
                const int catId = category.next() ? category.value(0).toInt() : 0;
                category.finish();
                known = categories.insert(l.type, catId);
            }
            l.catId = known.value();
            cashbook.bindValue(0, l.accId);
            cashbook.bindValue(1, r.date);
            cashbook.bindValue(2, (QStringLiteral("Payment collected: ") + l.type).left(100));
            cashbook.bindValue(3, l.catId ? QVariant(l.catId) : QVariant(QMetaType::fromType<int>()));
            cashbook.bindValue(4, l.paid.toSql());
            cashbook.bindValue(5, r.apId);
            m_db.execPrepared(cashbook);
            payment.bindValue(0, l.payId);
            payment.bindValue(1, r.transId);
            payment.bindValue(2, l.chId);
            payment.bindValue(3, l.accId);
            payment.bindValue(4, l.paid.toSql());
            payment.bindValue(5, r.date);
            payment.bindValue(6, l.forDate);
            payment.bindValue(7, l.type);
            m_db.execPrepared(payment);
            lower.bindValue(0, l.chId);
            m_db.execPrepared(lower);
        }
    } catch (...) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK TO SAVEPOINT PAYMENT_CONFIRM"));
        } catch (const DbError&) {
            // The transaction cannot go back to before OK: none of it may be kept.
            cancel();
        }
        throw;
    }
    m_open = false;
    m_db.commit();
    return r;
}
