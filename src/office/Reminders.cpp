#include "office/Reminders.h"

#include "data/Database.h"
#include "data/Dataset.h"

namespace Reminders {

QString titleMessage(const QString& title)
{
    return title.trimmed().isEmpty() ? QStringLiteral("Title is blank!") : QString();
}

QList<Due> due(const Dataset& reminders, const QDate& today)
{
    QList<Due> list;
    for (int i = 0; i < reminders.rowCount(); ++i) {
        if (reminders.valueAt(i, QStringLiteral("REMINDER")).toInt() != 1)
            continue;
        const QDate date = reminders.valueAt(i, QStringLiteral("TDATE")).toDate();
        // No look-ahead: tomorrow's reminder waits for tomorrow.
        if (date.isValid() && date > today)
            continue;
        list.append({reminders.valueAt(i, QStringLiteral("TITLE")).toString(),
                     reminders.valueAt(i, QStringLiteral("DESCRIPTION")).toString()});
    }
    return list;
}

Due fromTodo(const QString& description, const QString& notes)
{
    return {description.left(TitleLength), notes.left(DescriptionLength)};
}

void post(Dataset& reminders)
{
    if (reminders.state() == Dataset::State::Insert)
        reminders.setValue(QStringLiteral("REMID"),
                           reminders.database().NextKey(QStringLiteral("GEN_REMINDERS_ID")));
    reminders.post();
}

} // namespace Reminders
