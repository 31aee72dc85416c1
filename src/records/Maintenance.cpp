#include "records/Maintenance.h"

#include "data/Database.h"
#include "data/Dataset.h"

namespace Maintenance {

const QStringList& types()
{
    static const QStringList list = {QStringLiteral("REPAIR"),   QStringLiteral("INCIDENT"),
                                     QStringLiteral("REGULAR MAINTENANCE"),
                                     QStringLiteral("CHECKUP"),  QStringLiteral("METER READING"),
                                     QStringLiteral("OTHER")};
    return list;
}

const QStringList& statuses()
{
    static const QStringList list = {QStringLiteral("OPEN"), QStringLiteral("RESOLVED"),
                                     QStringLiteral("CLOSED"), QStringLiteral("POSTPONED")};
    return list;
}

const QStringList& priorities()
{
    static const QStringList list = {QStringLiteral("HIGH"), QStringLiteral("NORMAL"),
                                     QStringLiteral("LOW")};
    return list;
}

QString descriptionMessage(const QString& description)
{
    return description.trimmed().isEmpty()
               ? QStringLiteral("The description field cannot be blank")
               : QString();
}

void append(Dataset& maintenance, const QDate& today)
{
    maintenance.append();
    for (const char* date : {"LDATE", "COMPDATE", "INVDATE"})
        maintenance.setValue(QLatin1String(date), today);
}

void post(Dataset& maintenance)
{
    if (maintenance.state() == Dataset::State::Insert)
        maintenance.setValue(
            QStringLiteral("MAINID"),
            maintenance.database().NextKey(QStringLiteral("GEN_MAINTENANCE_ID")));
    maintenance.post();
}

} // namespace Maintenance
