#pragma once

#include <QString>
#include <optional>

class Database;

// The rules of the owner screens, without any window.
namespace Owners {

// What the owner dialog's OK says about this code (already trimmed), or an empty text when it
// may be stored. ownOid is the owner being changed (its own row is no duplicate); empty for a
// new owner. Codes are compared by the database's plain equality: ABC and abc differ.
QString codeMessage(Database& db, const QString& code, std::optional<int> ownOid);

// The refusal to show before deleting this owner, or an empty text when it may be deleted.
QString deleteRefusal(Database& db, int oid);

// True when at least one owner is stored (whatever a screen's search shows).
bool anyExist(Database& db);

// Gives a building to an owner, whoever held it before.
void moveBuilding(Database& db, int buildId, int oid);

} // namespace Owners
