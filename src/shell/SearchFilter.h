#pragma once

#include "data/Dataset.h"

#include <QString>
#include <functional>

// The search of the list windows, in both its forms: a row passes when the value of the
// searched column, as lower-case text, contains the searched text in lower case. An empty
// text, an empty value or a column the table lacks lets nothing through; screens switch the
// filter off instead of searching for nothing.
namespace SearchFilter {

// The predicate, for a raw row.
bool matches(const Dataset& table, int rawRow, const QString& field, const QString& text);
// The same in SQL, with the text bound. A display column cannot be searched in SQL: it is
// left to the predicate (nothing at all on a paged table).
Dataset::Condition condition(const Dataset& table, const QString& field, const QString& text);

// Field and text as the screen that searches keeps them, read each time the filter applies.
struct Terms
{
    QString field;
    QString text;
};
// Gives TABLE the search as its record filter, over terms kept elsewhere.
void install(Dataset& table, std::function<Terms()> terms);

} // namespace SearchFilter
