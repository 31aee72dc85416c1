#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class Dataset;

// The rules of a unit's maintenance log (work orders), without any window.
namespace Maintenance {

// The fixed choices, stored as the upper-case words shown.
const QStringList& types();
const QStringList& statuses();
const QStringList& priorities();

// What the work-order dialog's OK says, or an empty text when it may close.
QString descriptionMessage(const QString& description);

// Starts a new work order in the maintenance table, which gives it the unit it follows; its
// date, invoice date and completion date are TODAY. Type, status and priority stay empty
// until chosen.
void append(Dataset& maintenance, const QDate& today);
// Stores the order being inserted under a new key from GEN_MAINTENANCE_ID, or the one being
// edited.
void post(Dataset& maintenance);

} // namespace Maintenance
