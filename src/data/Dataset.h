#pragma once

#include "data/Database.h"
#include "data/Money.h"

#include <QDate>
#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

// The shared table object: the rows of one select on one table, held in memory, with a
// current row, an editing state, an optional master link, an optional record filter and
// display columns (computed or looked up in another dataset).
//
// Rows are addressed two ways. A "raw" row is an index into everything that was read; a
// "shown" row (index, visibleRow) is an index into the rows the link and filter let
// through, which is what rowCount(), the current index and the grid use. Everything
// outside this class goes through shown rows, except predicates and computed columns,
// which get the raw row so they need no translation; the storage can therefore later load
// lazily or push the link into SQL without changing callers.
//
// Errors: every failure (the engine refusing a statement, an unknown field, an operation
// that needs a row when there is none) throws DbError. When post() fails the state stays
// Insert or Edit with the typed values kept, so the caller can report the error and then
// correct and post again, or cancel().
//
// Tables without a key column (SETUP, MISC): inserts work as usual; an update or delete
// finds its row by the values the row had when it was read (blobs left out), one row only,
// so one of two identical rows is changed.
//
// Moving (first/next/prior/last/moveTo/locate), append() and refresh() post a pending
// insert or edit first, as a data-aware grid would; a row being inserted or edited stays
// in view whatever the link or filter say until it is posted or cancelled.
class Dataset : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Browse,
        Insert,
        Edit
    };

    // Decides whether a raw row is shown while filtering is on.
    using Filter = std::function<bool(const Dataset&, int rawRow)>;
    // Gives a computed column's value for a raw row.
    using Compute = std::function<QVariant(const Dataset&, int rawRow)>;

    // keyField is empty for tables without a key. orderBy is the text after "order by"
    // (for example "TDATE, DESCRIPTION"); empty keeps the order the database returns.
    Dataset(Database& db, const QString& table, const QString& keyField,
            const QString& orderBy = QString(), QObject* parent = nullptr);
    ~Dataset() override;

    const QString& tableName() const { return m_table; }
    const QString& keyField() const { return m_keyField; }
    Database& database() const { return m_db; }

    // Checks the table and reads its column descriptions. The rows ("select * from TABLE
    // [order by ...]") are read when first needed, and the dataset then stands on the first
    // shown row: a large table nobody looks at costs nothing.
    void open();
    // Whether the rows have been read since the last open.
    bool isLoaded() const { return m_loaded; }
    bool isOpen() const { return m_open; }
    // Reads the rows again and stays on the row with the same key (the same position for a
    // table without a key), or the first shown row when it is gone.
    void refresh();

    // Table columns first, then display columns; names in any letter case. -1 when unknown.
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // The table's columns as the database names them.
    QStringList fieldNames() const { return m_names; }
    int tableFieldCount() const { return int(m_names.size()); }

    // Shown rows and the current one (-1 when nothing is shown).
    int rowCount() const
    {
        ensureLoaded();
        return int(m_visible.size());
    }
    bool isEmpty() const { return rowCount() == 0; }
    int currentIndex() const
    {
        ensureLoaded();
        return m_current;
    }
    int currentRawRow() const { return currentIndex() < 0 ? -1 : m_visible.at(m_current); }
    int rawRowAt(int visibleRow) const
    {
        ensureLoaded();
        return m_visible.at(visibleRow);
    }
    int rawRowCount() const
    {
        ensureLoaded();
        return int(m_rows.size());
    }
    bool first();
    bool last();
    // Move by one; false (and no move) at the end.
    bool next();
    bool prior();
    bool moveTo(int visibleRow);
    // Moves to the first shown row whose field equals value, compared as the field's type
    // (numbers as numbers, money exactly, dates as dates, texts exactly). False, and no
    // move, when none does.
    bool locate(const QString& name, const QVariant& value);
    // The shown index of the first such row, or -1; does not move.
    int find(const QString& name, const QVariant& value) const;

    // Values of the current row; display columns included. Throws DbError for an unknown
    // name or when there is no current row.
    QVariant value(const QString& name) const;
    QVariant value(int field) const;
    QVariant valueAt(int visibleRow, const QString& name) const;
    QVariant valueAt(int visibleRow, int field) const;
    int asInt(const QString& name) const { return value(name).toInt(); }
    // True for a non-zero value; NULL reads as 0.
    bool asFlag(const QString& name) const { return value(name).toInt() != 0; }
    Money asMoney(const QString& name) const { return toMoney(value(name)); }
    QString asText(const QString& name) const { return value(name).toString(); }
    QDate asDate(const QString& name) const { return value(name).toDate(); }
    // For predicates and computed columns: the value of a raw row.
    QVariant rawValue(int rawRow, int field) const;
    QVariant rawValue(int rawRow, const QString& name) const;
    // A table column's stored value, without copying.
    const QVariant& cell(int rawRow, int tableField) const
    {
        ensureLoaded();
        return m_rows.at(rawRow).at(tableField);
    }

    // A money value from any cell or Money QVariant (NULL is zero).
    static Money toMoney(const QVariant& v);

    State state() const { return m_state; }
    bool isEditing() const { return m_state != State::Browse; }
    // New row of NULLs at the end of the shown rows; the caller sets the key (or leaves it
    // NULL for a table whose trigger draws it). While the link is active the detail field
    // is preset to the master's value.
    void append();
    void edit();
    // Table columns only. A Money is kept as exact decimal text.
    void setValue(const QString& name, const QVariant& value);
    // INSERT (only the columns that were set, so the database's defaults apply, then the
    // stored row is read back) or UPDATE of the changed columns by the key. No-op in Browse.
    // Joins the caller's transaction when one is open. A new row stays at the end of the
    // rows until refresh() puts it in its ordered place.
    void post();
    void cancel();
    // Deletes the current row by its key. Cancels a pending insert instead.
    void remove();

    // Master link: show only rows whose detailField equals the master's current
    // masterField. Follows the master as it moves, is refreshed or posts.
    void setMasterLink(Dataset* master, const QString& detailField, const QString& masterField);
    void clearMasterLink();
    Dataset* master() const { return m_master; }
    // Shows every row until restoreLink(), which applies the master's current value again.
    void releaseLink();
    void restoreLink();
    bool linkActive() const { return m_master && !m_linkReleased; }

    // Record filter: the predicate applies while filtering is on.
    void setFilter(Filter predicate);
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // Applies the filter again; for predicates that read state outside the row.
    void refilter();

    // Display columns, found after the table's columns by fieldIndex and value. Their values
    // are worked out each time they are read, so they follow the other dataset.
    void addComputed(const QString& name, Compute compute);
    // resultThere of the first row that `other` currently shows (link and filter applied)
    // whose keyThere equals this row's keyHere; NULL when none does.
    void addLookup(const QString& name, Dataset* other, const QString& keyHere,
                   const QString& keyThere, const QString& resultThere);

signals:
    // The shown rows are about to change / have changed as a whole (read, link, filter,
    // append, cancel of an insert, delete).
    void rowsAboutToReset();
    void rowsReset();
    // One shown row's values changed (setValue, post, cancel of an edit).
    void rowChanged(int visibleRow);
    // The current row is another one.
    void currentChanged();
    void stateChanged(Dataset::State state);
    void afterPost();
    void afterDelete();

private:
    enum class Kind
    {
        Int,
        Money,
        Real,
        Date,
        Text,
        Blob
    };
    struct Matcher;
    struct Display;

    void requireOpen() const;
    void requireRow() const;
    int requireField(const QString& name) const;
    int requireTableField(const QString& name) const;
    Kind kindOf(int field) const;
    Matcher matcher(int field, const QVariant& value) const;
    QVariant lookup(const Display& d, int rawRow) const;
    // A value as the row keeps it (typed NULL, integers as integers, Money as exact text).
    QVariant stored(int field, const QVariant& v) const;
    // A value as it is bound to a statement.
    QVariant bindable(int field, const QVariant& v) const;

    // Reads the column descriptions and, with rows, the rows; emits rowsAboutToReset once
    // they are read when `announce` is set.
    void load(bool rows, bool announce);
    // Reads the rows of an opened dataset on first use.
    void ensureLoaded() const
    {
        if (m_open && !m_loaded)
            const_cast<Dataset*>(this)->loadRows();
    }
    void loadRows();
    void fillVisible();
    // Around any change of the shown rows: remembers the current row and tells the model.
    void beginReshape();
    // Recomputes the shown rows and stands on keepRaw when it is still shown, else on
    // fallbackIndex (clamped); reports a new current row when it changed.
    void endReshape(int keepRaw, int fallbackIndex);
    void rebuild(int keepRaw);
    void setCurrent(int index);
    void setState(State s);
    void checkBrowse();
    void onMasterChanged();
    QVariant masterValue() const;

    void postInsert();
    void postUpdate();
    QString quoted(int field) const;
    QString placeholder(int field) const;
    // "where" text and bound values that find a row of a table without a key.
    QString matchOriginal(const QVector<QVariant>& row, QVariantList* binds) const;

    Database& m_db;
    QString m_table;
    QString m_keyField;
    QString m_orderBy;
    bool m_open = false;
    bool m_loaded = false;

    QStringList m_names;
    QVector<QString> m_upperNames;
    QVector<QMetaType> m_types;
    QVector<Kind> m_kinds;
    QVector<int> m_scales;
    QVector<int> m_lengths;
    int m_keyCol = -1;

    QVector<QVector<QVariant>> m_rows;
    QVector<int> m_visible;
    int m_current = -1;
    int m_beforeRaw = -1;
    // Bumped whenever shown rows or their values change; look-ups into this dataset cache
    // their index against it.
    quint64 m_version = 0;

    State m_state = State::Browse;
    int m_editRaw = -1;
    int m_rawBeforeInsert = -1;
    QVector<QVariant> m_original;
    QVector<bool> m_modified;

    QPointer<Dataset> m_master;
    QString m_detailField;
    QString m_masterField;
    bool m_linkReleased = false;
    QVariant m_linkValue;
    QVector<QMetaObject::Connection> m_masterConnections;

    Filter m_filter;
    bool m_filtered = false;

    std::vector<std::unique_ptr<Display>> m_display;
};
