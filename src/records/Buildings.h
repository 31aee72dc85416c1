#pragma once

#include <QList>
#include <QPair>
#include <QString>

class Database;

// The rules of the building screens, without any window.
namespace Buildings {

// What the building dialog's OK says, in its order, or an empty text when it may close.
// ownerText is the text of the owner choice.
QString checkMessage(const QString& description, const QString& ownerText);

// The refusal to show before deleting this building, or an empty text when it may be deleted.
QString deleteRefusal(Database& db, int buildId);

// Every owner with every building it owns (key and description), in stored order; what the
// units window's tree shows whatever the shared tables currently show.
struct OwnerBuildings
{
    int oid = 0;
    QString code;
    QList<QPair<int, QString>> buildings;
};
QList<OwnerBuildings> tree(Database& db);

} // namespace Buildings
