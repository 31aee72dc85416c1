#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class Dataset;

// The rules of the to-do list, without any window.
namespace Todo {

constexpr int DescriptionLength = 100;

// What the to-do dialog's OK says, or an empty text when it may close.
QString descriptionMessage(const QString& description);

// "Low", "Normal", "High": the names of TPRIORITY 0, 1 and 2.
const QStringList& priorityNames();

// The to-do table shows the items of DAY only. The filter stays on the table afterwards.
void showDay(Dataset& todo, const QDate& day);
// Starts a new item of DAY with priority Low; the database gives it its key when stored.
void append(Dataset& todo, const QDate& day);

} // namespace Todo
