#pragma once

#include <QString>

class Database;

// The rules of the building screens, without any window.
namespace Buildings {

// What the building dialog's OK says, in its order, or an empty text when it may close.
// ownerText is the text of the owner choice.
QString checkMessage(const QString& description, const QString& ownerText);

// The refusal to show before deleting this building, or an empty text when it may be deleted.
QString deleteRefusal(Database& db, int buildId);

} // namespace Buildings
