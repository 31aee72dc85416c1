#pragma once

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class Database;

// The rows a report lays out, read one at a time.
class RowSource
{
public:
    virtual ~RowSource();
    // Column names in upper case, in order; "TABLE.COLUMN" names are found through tables().
    virtual QStringList columns() const = 0;
    // The table of each column where known (joins), else empty texts.
    virtual QStringList tables() const { return QStringList(columns().size(), QString()); }
    // The next row's values, in column order; false at the end. Throws DbError.
    virtual bool next(QVariantList& values) = 0;
};

// A select on the connection, read forward as the pages are laid out.
class SqlRowSource : public RowSource
{
public:
    // Runs the statement; values bind to its "?" placeholders in order. Throws DbError.
    SqlRowSource(Database& db, const QString& sql, const QVariantList& bindings = {});
    QStringList columns() const override { return m_columns; }
    QStringList tables() const override { return m_tables; }
    bool next(QVariantList& values) override;

private:
    QSqlQuery m_query;
    QStringList m_columns;
    QStringList m_tables;
};

// Rows held by the caller.
class MemoryRowSource : public RowSource
{
public:
    MemoryRowSource(const QStringList& columns, QList<QVariantList> rows);
    QStringList columns() const override { return m_columns; }
    bool next(QVariantList& values) override;

private:
    QStringList m_columns;
    QList<QVariantList> m_rows;
    int m_at = 0;
};

// A source whose first row has already been read (to learn whether there is one).
class PrimedRowSource : public RowSource
{
public:
    explicit PrimedRowSource(std::unique_ptr<RowSource> inner);
    bool hasRows() const { return m_hasFirst; }
    QStringList columns() const override { return m_inner->columns(); }
    QStringList tables() const override { return m_inner->tables(); }
    bool next(QVariantList& values) override;

private:
    std::unique_ptr<RowSource> m_inner;
    QVariantList m_first;
    bool m_hasFirst = false;
    bool m_firstTaken = false;
};

// Finds a column by "NAME" (its first occurrence) or "TABLE.NAME", in any letter case.
class ColumnIndex
{
public:
    ColumnIndex() = default;
    explicit ColumnIndex(const RowSource& source);
    // -1 when the rows have no such column.
    int indexOf(const QString& name) const;
    int count() const { return m_count; }

private:
    QHash<QString, int> m_index;
    int m_count = 0;
};
