#include "records/Buildings.h"

#include "data/Database.h"
#include "data/SqlText.h"

#include <QHash>
#include <QSqlQuery>

namespace Buildings {

QString checkMessage(const QString& description, const QString& ownerText)
{
    if (description.trimmed().isEmpty())
        return QStringLiteral("The description field is blank!");
    if (ownerText.trimmed().isEmpty())
        return QStringLiteral("No owner has been selected!");
    return QString();
}

QString deleteRefusal(Database& db, int buildId)
{
    const QString sql =
        QStringLiteral("select count(*) from apartments where bid = ") + sqlNumber(qint64(buildId));
    if (db.scalar(sql).toInt() > 0)
        return QStringLiteral("There are apartments assigned to this Building. Delete or reassign "
                              "those apartments before deleting?");
    return QString();
}

QList<OwnerBuildings> tree(Database& db)
{
    QList<OwnerBuildings> owners;
    QHash<int, int> index;
    QSqlQuery o = db.select(QStringLiteral("select OID, CODE from OWNERS"));
    while (o.next()) {
        OwnerBuildings ob;
        ob.oid = o.value(0).toInt();
        ob.code = o.value(1).toString();
        index.insert(ob.oid, int(owners.size()));
        owners << ob;
    }
    QSqlQuery b = db.select(QStringLiteral("select BUILDID, OID, DESCRIPTION from BUILDINGS"));
    while (b.next()) {
        const int at = index.value(b.value(1).toInt(), -1);
        if (at >= 0)
            owners[at].buildings << qMakePair(b.value(0).toInt(), b.value(2).toString());
    }
    return owners;
}

} // namespace Buildings
