#include "reports/RowSource.h"

#include "data/Database.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

RowSource::~RowSource() = default;

SqlRowSource::SqlRowSource(Database& db, const QString& sql, const QVariantList& bindings)
{
    if (bindings.isEmpty()) {
        m_query = db.select(sql);
    } else {
        m_query = db.prepare(sql);
        for (int i = 0; i < bindings.size(); ++i)
            m_query.bindValue(i, bindings.at(i));
        db.execPrepared(m_query);
    }
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i) {
        m_columns << record.fieldName(i).toUpper();
        m_tables << record.field(i).tableName().toUpper();
    }
}

bool SqlRowSource::next(QVariantList& values)
{
    if (!m_query.next()) {
        // A fetch that failed half-way is an error, not the end of the rows.
        if (m_query.lastError().isValid())
            throw DbError(m_query.lastError().databaseText().isEmpty()
                              ? m_query.lastError().text()
                              : m_query.lastError().databaseText(),
                          m_query.lastQuery());
        return false;
    }
    const int n = int(m_columns.size());
    values.resize(n);
    for (int i = 0; i < n; ++i)
        values[i] = m_query.value(i);
    return true;
}

MemoryRowSource::MemoryRowSource(const QStringList& columns, QList<QVariantList> rows)
    : m_rows(std::move(rows))
{
    for (const QString& c : columns)
        m_columns << c.toUpper();
}

bool MemoryRowSource::next(QVariantList& values)
{
    if (m_at >= m_rows.size())
        return false;
    values = m_rows.at(m_at++);
    values.resize(m_columns.size());
    return true;
}

PrimedRowSource::PrimedRowSource(std::unique_ptr<RowSource> inner) : m_inner(std::move(inner))
{
    m_hasFirst = m_inner->next(m_first);
}

bool PrimedRowSource::next(QVariantList& values)
{
    if (!m_firstTaken) {
        m_firstTaken = true;
        if (!m_hasFirst)
            return false;
        values = std::move(m_first);
        return true;
    }
    return m_hasFirst && m_inner->next(values);
}

ColumnIndex::ColumnIndex(const RowSource& source)
{
    const QStringList names = source.columns();
    const QStringList tables = source.tables();
    m_count = int(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString name = names.at(i).toUpper();
        if (!m_index.contains(name))
            m_index.insert(name, i);
        const QString table = i < tables.size() ? tables.at(i) : QString();
        if (!table.isEmpty()) {
            const QString qualified = table.toUpper() + QLatin1Char('.') + name;
            if (!m_index.contains(qualified))
                m_index.insert(qualified, i);
        }
    }
}

int ColumnIndex::indexOf(const QString& name) const
{
    return m_index.value(name.toUpper(), -1);
}
