#pragma once

#include "reports/ReportLayout.h"

#include <QString>
#include <QVariant>

class ColumnIndex;
class LookupCache;
class ReportCanvas;

// One line of a report's rows, as fields and expressions see it.
class ReportRow
{
public:
    // A column of the rows ("NAME" or "TABLE.NAME") or of a look-up ("lookup.NAME"). NULL
    // when there is no current line. Throws DbError for a name the rows do not have, and
    // when a look-up query fails.
    QVariant value(const QString& name) const;
    // The value as a report prints it without a mask; NULL as empty.
    QString text(const QString& name) const;
    // The running number of the main line (1 for the first).
    int lineNumber() const { return m_line; }
    bool hasValues() const { return m_values && !m_values->isEmpty(); }

private:
    friend class ReportPass;
    const ColumnIndex* m_index = nullptr;
    const QVariantList* m_values = nullptr;
    LookupCache* m_lookups = nullptr;
    int m_line = 0;
};

namespace ReportEngine {

// Lays the report out page after page onto the canvas, reading its rows as it goes (only
// the current line and the next are held). Returns the number of pages. Throws DbError.
int render(Report& report, ReportCanvas& canvas);

// The text a detail field prints for every line, with its column heading first: what the
// preview's "Save as CSV..." writes. Calls back once per line. Throws DbError.
void detailLines(Report& report, const std::function<void(const QStringList& cells)>& line);

} // namespace ReportEngine
