#include "records/Buildings.h"

#include "data/Database.h"
#include "data/SqlText.h"

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

} // namespace Buildings
