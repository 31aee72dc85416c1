#include "office/Todo.h"

#include "data/Dataset.h"

namespace Todo {

QString descriptionMessage(const QString& description)
{
    return description.trimmed().isEmpty() ? QStringLiteral("The description field is blank!")
                                           : QString();
}

const QStringList& priorityNames()
{
    static const QStringList names = {QStringLiteral("Low"), QStringLiteral("Normal"),
                                      QStringLiteral("High")};
    return names;
}

void showDay(Dataset& todo, const QDate& day)
{
    const bool filtered = todo.isFiltered();
    // Setting the filter of a filtering table reads it again at once.
    todo.setFilter(
        [day](const Dataset& d, int row) {
            return d.rawValue(row, QStringLiteral("TDATE")).toDate() == day;
        },
        [day](const Dataset&) {
            return Dataset::Condition{QStringLiteral("TDATE = ?"), {day}};
        });
    if (!filtered)
        todo.setFiltered(true);
}

void append(Dataset& todo, const QDate& day)
{
    todo.append();
    todo.setValue(QStringLiteral("TDATE"), day);
    todo.setValue(QStringLiteral("TPRIORITY"), 0);
}

} // namespace Todo
