#include "records/Agreements.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "data/SqlText.h"
#include "ledger/RecurringCharges.h"

#include <QSqlQuery>

AgreementRefused::AgreementRefused(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

namespace {

QVariant dateValue(const QDate& d)
{
    return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
}

QString unitWhere(int apId)
{
    return QStringLiteral(" where apid=") + sqlNumber(qint64(apId));
}

} // namespace

namespace Agreements {

QString check(const NewAgreement& a)
{
    if (a.moveIn > a.moveOut)
        return QStringLiteral("Move-out date cannot be before move-in date!");
    if (a.leaseStart > a.leaseEnd)
        return QStringLiteral("Lease end date cannot be before Lease start date!");
    if (a.firstPayment < a.leaseStart || a.firstPayment > a.leaseEnd)
        return QStringLiteral("The first payment date is invalid!");
    return QString();
}

CreatedAgreement create(Database& db, const NewAgreement& a)
{
    const QString refusal = check(a);
    if (!refusal.isEmpty())
        throw AgreementRefused(refusal);

    Transaction tx(db);
    QSqlQuery unit =
        db.select(QStringLiteral("select tid, agreeid from apartments") + unitWhere(a.apId));
    if (!unit.next())
        throw AgreementRefused(QStringLiteral("The apartment no longer exists!"));
    const int tId = unit.value(0).isNull() ? -1 : unit.value(0).toInt();
    const int agreeId = unit.value(1).isNull() ? -1 : unit.value(1).toInt();
    unit.finish();
    if (tId <= 0)
        throw AgreementRefused(QStringLiteral("No tenant has been assigned to this apartment!"));
    if (agreeId != -1)
        throw AgreementRefused(QStringLiteral("There is an existing rental agreement!"));

    CreatedAgreement made;
    made.rid = db.NextKey(QStringLiteral("GEN_AGREEMENTS_ID"));
    {
        // Prepared inside the transaction: the driver ties a statement to the one it was
        // prepared in.
        QSqlQuery q = db.prepare(QStringLiteral(
            "insert into agreements (RID, APID, TID, RENT, RECURS, FIRSTDUE, LEASESTART, "
            "LEASEEND, MOVEIN, MOVEOUT, LEASETERM, TERMS, LATEFEE, PERDAY, DAMAGE, COMPLETED) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, cast(? as varchar(41)), ?, ?, ?, ?, 0)"));
        q.addBindValue(made.rid);
        q.addBindValue(a.apId);
        q.addBindValue(tId);
        q.addBindValue(a.rent.toSql());
        q.addBindValue(a.recurs);
        q.addBindValue(dateValue(a.firstDue));
        q.addBindValue(dateValue(a.leaseStart));
        q.addBindValue(dateValue(a.leaseEnd));
        q.addBindValue(dateValue(a.moveIn));
        q.addBindValue(dateValue(a.moveOut));
        q.addBindValue(a.leaseTerm);
        q.addBindValue(a.terms);
        q.addBindValue(a.lateFee.toSql());
        q.addBindValue(a.perDay.toSql());
        q.addBindValue(a.damage.toSql());
        db.execPrepared(q);
    }

    // The agreement's rent is a recurring charge like any other, due first on the first
    // payment date.
    RecurringCharges::Values rent;
    rent.type = QStringLiteral("Rent");
    rent.amount = a.rent;
    rent.lateFee = a.lateFee;
    rent.perDay = a.perDay;
    rent.freq = a.recurs;
    rent.startDate = a.leaseStart;
    rent.endDate = a.leaseEnd;
    const RecurringCharges::Added added =
        RecurringCharges::add(db, a.apId, tId, rent, a.firstPayment);
    made.recId = added.recId;
    made.chargesPosted = added.chargesPosted;
    made.completed = added.completed;

    db.exec(QStringLiteral("update apartments set agreeid=") + sqlNumber(qint64(made.rid)) +
            unitWhere(a.apId));
    tx.commit();
    return made;
}

std::optional<UnitAgreement> ofUnit(Database& db, int apId)
{
    const QVariant agreeId =
        db.scalar(QStringLiteral("select agreeid from apartments") + unitWhere(apId));
    if (!agreeId.isValid() || agreeId.isNull() || agreeId.toInt() == -1)
        return std::nullopt;
    UnitAgreement found;
    found.rid = agreeId.toInt();
    const QVariant tId = db.scalar(QStringLiteral("select tid from agreements where rid=") +
                                   sqlNumber(qint64(found.rid)));
    found.tId = tId.isValid() && !tId.isNull() ? tId.toInt() : 0;
    return found;
}

bool remove(Database& db, int apId)
{
    Transaction tx(db);
    const std::optional<UnitAgreement> found = ofUnit(db, apId);
    if (!found)
        return false;
    const QString rid = sqlNumber(qint64(found->rid));
    const bool exists =
        db.scalar(QStringLiteral("select count(*) from agreements where rid=") + rid).toInt() > 0;
    if (exists) {
        // Only this unit's: the tenant may rent another unit under an agreement of its own.
        db.exec(QStringLiteral("Delete from recur where tid=") + sqlNumber(qint64(found->tId)) +
                QStringLiteral(" and apid=") + sqlNumber(qint64(apId)));
        db.exec(QStringLiteral("delete from agreements where rid=") + rid);
    }
    db.exec(QStringLiteral("update apartments set agreeid=-1") + unitWhere(apId));
    tx.commit();
    return exists;
}

bool addLeaseTerm(Database& db, Dataset& leases, const QString& text)
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return false;
    QSqlQuery q = db.prepare(QStringLiteral(
        "Select count(*) from leases where lower(name)=lower(cast(? as varchar(200)))"));
    q.addBindValue(name);
    db.execPrepared(q);
    const bool exists = q.next() && q.value(0).toInt() > 0;
    q.finish();
    if (exists)
        return false;
    leases.append();
    try {
        leases.setValue(QStringLiteral("LEASEID"), db.NextKey(QStringLiteral("GEN_LEASES_ID")));
        leases.setValue(QStringLiteral("NAME"), name);
        leases.post();
    } catch (...) {
        leases.cancel();
        throw;
    }
    return true;
}

} // namespace Agreements
