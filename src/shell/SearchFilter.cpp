#include "shell/SearchFilter.h"

namespace SearchFilter {

bool matches(const Dataset& table, int rawRow, const QString& field, const QString& text)
{
    // The search state is shared: another screen may have named a column this table lacks.
    const int index = table.fieldIndex(field);
    if (text.isEmpty() || index < 0)
        return false;
    const QString value = table.rawValue(rawRow, index).toString().toLower();
    return !value.isEmpty() && value.contains(text.toLower());
}

Dataset::Condition condition(const Dataset& table, const QString& field, const QString& text)
{
    const int index = table.fieldIndex(field);
    if (text.isEmpty() || index < 0)
        return {QStringLiteral("1 = 0"), {}};
    if (index >= table.tableFieldCount()) {
        // A display column is searched in memory; a paged table cannot do that.
        return table.isPaged() ? Dataset::Condition{QStringLiteral("1 = 0"), {}}
                               : Dataset::Condition{};
    }
    QString column = table.fieldNames().at(index);
    column = QLatin1Char('"') + column.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
             QLatin1Char('"');
    // Texts and text blobs are searched as they are; numbers and dates as their text.
    const int type = table.fieldType(index).id();
    if (type != QMetaType::QString && type != QMetaType::QByteArray)
        column = QStringLiteral("cast(%1 as varchar(64))").arg(column);
    return {column + QStringLiteral(" containing ?"), {text}};
}

void install(Dataset& table, std::function<Terms()> terms)
{
    table.setFilter(
        [terms](const Dataset& d, int row) {
            const Terms t = terms();
            return matches(d, row, t.field, t.text);
        },
        [terms](const Dataset& d) {
            const Terms t = terms();
            return condition(d, t.field, t.text);
        });
}

} // namespace SearchFilter
