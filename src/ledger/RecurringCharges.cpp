#include "ledger/RecurringCharges.h"

#include "data/Database.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"

#include <QSqlQuery>

namespace {

QVariant dateValue(const QDate& d)
{
    return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
}

// A type longer than the column is refused by the engine rather than cut by the driver.
const char* const TypeParam = "cast(? as varchar(41))";

} // namespace

namespace RecurringCharges {

QString check(const Values& v)
{
    if (v.endDate < v.startDate)
        return QStringLiteral("Invalid date range!");
    return QString();
}

Added add(Database& db, int apId, int tId, const Values& v, const QDate& firstDue)
{
    Transaction tx(db);
    RecurRow row;
    row.recId = db.NextKey(QStringLiteral("GEN_RECUR_ID"));
    row.apId = apId;
    row.tId = tId;
    row.type = v.type;
    row.amount = v.amount;
    row.lateFee = v.lateFee;
    row.perDay = v.perDay;
    row.freq = v.freq;
    row.startDate = v.startDate;
    row.endDate = v.endDate;
    row.nextDate = firstDue.isValid() ? firstDue : v.startDate;
    row.insert(db);
    Posting posting(db);
    Added added;
    added.recId = row.recId;
    added.completed = posting.PostRecurringCharge(row) == Posting::Completed;
    added.chargesPosted = posting.lastChargeCount();
    tx.commit();
    return added;
}

void update(Database& db, int recId, const Values& v)
{
    Transaction tx(db);
    QSqlQuery q =
        db.prepare(QStringLiteral("update recur set TYPE=%1, AMOUNT=?, LATEFEE=?, "
                                  "PERDAY=?, FREQ=?, STARTDATE=?, ENDDATE=? where RECID=?")
                       .arg(QLatin1String(TypeParam)));
    q.addBindValue(v.type);
    q.addBindValue(v.amount.toSql());
    q.addBindValue(v.lateFee.toSql());
    q.addBindValue(v.perDay.toSql());
    q.addBindValue(v.freq);
    q.addBindValue(dateValue(v.startDate));
    q.addBindValue(dateValue(v.endDate));
    q.addBindValue(recId);
    db.execPrepared(q);
    q.finish();
    tx.commit();
}

bool mayDelete(const QString& type)
{
    return type != QLatin1String("Rent");
}

void remove(Database& db, int recId)
{
    db.exec(QStringLiteral("delete from recur where RecID=") + sqlNumber(qint64(recId)));
}

} // namespace RecurringCharges
