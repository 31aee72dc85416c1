#pragma once

#include <QDate>
#include <QList>
#include <QString>

class Dataset;

// The rules of reminders, without any window.
namespace Reminders {

// What the columns hold.
constexpr int TitleLength = 50;
constexpr int DescriptionLength = 200;

// What the reminder dialog's OK says, or an empty text when it may close.
QString titleMessage(const QString& title);

// A reminder that pops up.
struct Due
{
    QString title;
    QString description;
};
// The rows of the reminders table, in its order, that are ticked for display and dated
// TODAY or earlier; a row whose date was cleared is always due while it is ticked.
QList<Due> due(const Dataset& reminders, const QDate& today);

// A reminder made from a to-do item: its title is the item's description and its
// description the item's notes, each cut to what its column holds.
Due fromTodo(const QString& description, const QString& notes);

// Stores the reminder being inserted under a new key from GEN_REMINDERS_ID, or the one being
// edited.
void post(Dataset& reminders);

} // namespace Reminders
