#include "ledger/Voiding.h"

#include "data/Database.h"

#include <QSqlQuery>

VoidRefused::VoidRefused(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

namespace Voiding {

VoidResult voidTransaction(Database& db, int transId, bool deleteCashbook)
{
    if (db.inTransaction())
        throw VoidRefused(QStringLiteral("Another piece of work is still open; finish it before "
                                         "voiding a payment."));
    db.begin();
    try {
        VoidResult r;
        {
            QSqlQuery q = db.prepare(QStringLiteral(
                "select TRANSID, TID, APID, TDATE, PAYTOTAL from trans where TRANSID = ?"));
            q.addBindValue(transId);
            db.execPrepared(q);
            if (!q.next())
                throw VoidRefused(QStringLiteral("There is no payment transaction %1.").arg(transId));
            r.transId = q.value(0).toInt();
            r.tId = q.value(1).toInt();
            r.apId = q.value(2).toInt();
            r.date = q.value(3).toDate();
            r.payTotal = Money::fromVariant(q.value(4));
        }
        {
            // The lines in the order the history lists them.
            QSqlQuery q = db.prepare(QStringLiteral("select PAYID, CHID, ACCID, TYPE, FORDATE, "
                                                    "AMOUNT from payments where TRANSID = ? "
                                                    "order by PAYID"));
            q.addBindValue(transId);
            db.execPrepared(q);
            while (q.next()) {
                VoidedLine l;
                l.payId = q.value(0).toInt();
                l.chId = q.value(1).toInt();
                l.accId = q.value(2).toInt();
                l.type = q.value(3).toString();
                l.forDate = q.value(4).toDate();
                l.amount = Money::fromVariant(q.value(5));
                r.lines << l;
            }
        }
        QSqlQuery owed = db.prepare(QStringLiteral("select AMT from charges where CHID = ?"));
        QSqlQuery restore = db.prepare(
            QStringLiteral("update charges set APPLIED = 0, AMT = AMT + ? where CHID = ?"));
        QSqlQuery cashbook = db.prepare(QStringLiteral("delete from cashbook where ACCID = ?"));
        for (VoidedLine& l : r.lines) {
            owed.bindValue(0, l.chId);
            db.execPrepared(owed);
            l.chargeFound = owed.next();
            if (l.chargeFound) {
                l.owedBefore = Money::fromVariant(owed.value(0));
                l.owedAfter = l.owedBefore + l.amount;
            }
            owed.finish();
            // Exact decimal text: the amount is never a floating-point value on its way in.
            restore.bindValue(0, l.amount.toSql());
            restore.bindValue(1, l.chId);
            db.execPrepared(restore);
            if (deleteCashbook && l.accId > 0) {
                cashbook.bindValue(0, l.accId);
                db.execPrepared(cashbook);
                l.cashbookDeleted = cashbook.numRowsAffected() > 0;
            }
        }
        for (const char* sql : {"delete from payments where TRANSID = ?",
                                "delete from trans where TRANSID = ?"}) {
            QSqlQuery q = db.prepare(QLatin1String(sql));
            q.addBindValue(transId);
            db.execPrepared(q);
        }
        db.commit();
        return r;
    } catch (...) {
        db.rollback();
        throw;
    }
}

} // namespace Voiding
