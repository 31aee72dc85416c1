#include "records/Owners.h"

#include "data/Database.h"
#include "data/SqlText.h"

namespace Owners {

QString codeMessage(Database& db, const QString& code, std::optional<int> ownOid)
{
    if (code.isEmpty())
        return QStringLiteral("The code field is blank!");
    QString sql = QStringLiteral("select count(*) from owners where code = ") + sqlQuote(code);
    if (ownOid)
        sql += QStringLiteral(" and oid <> ") + sqlNumber(qint64(*ownOid));
    if (db.scalar(sql).toInt() > 0)
        return QStringLiteral("The code you have entered already exists!");
    return QString();
}

QString deleteRefusal(Database& db, int oid)
{
    const QString sql =
        QStringLiteral("select count(*) from buildings where oid = ") + sqlNumber(qint64(oid));
    if (db.scalar(sql).toInt() > 0)
        return QStringLiteral("There are buildings assigned to this owner. Delete or reassign "
                              "those buildings before deleting?");
    return QString();
}

bool anyExist(Database& db)
{
    return db.scalar(QStringLiteral("select count(*) from owners")).toInt() > 0;
}

void moveBuilding(Database& db, int buildId, int oid)
{
    db.exec(QStringLiteral("update buildings set oid = %1 where buildid = %2")
                .arg(sqlNumber(qint64(oid)), sqlNumber(qint64(buildId))));
}

} // namespace Owners
