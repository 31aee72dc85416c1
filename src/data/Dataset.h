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

// The shared table object: the rows of one select on one table, with a current row, an
// editing state, an optional master link, an optional record filter and display columns
// (computed or looked up in another dataset).
//
// What is read: the master link is a condition in SQL with the master's current value bound,
// read again when that value changes; a filter given with an SQL form goes into SQL as well.
// A plain dataset then holds the rows its select gives. A paged dataset (history tables) never
// holds its whole selection: it counts it in SQL and reads the rows in pages as they are asked
// for, keeping a bounded number of pages; it cannot use a filter that has no SQL form. A
// selection larger than a page is counted only when a row past its first page is wanted:
// counting can mean reading the whole table.
//
// Rows are addressed two ways. A "raw" row is an index into what was read; a "shown" row
// (index, visibleRow) is an index into the rows the link and filter let through, which is what
// rowCount(), the current index and the grid use. Everything outside this class goes through
// shown rows, except predicates and computed columns, which get the raw row. In a paged
// dataset the two are the same.
//
// Errors: every failure (the engine refusing a statement, an unknown field, an operation
// that needs a row when there is none) throws DbError. When post() fails the state stays
// Insert or Edit with the typed values kept, so the caller can report the error and then
// correct and post again, or cancel(). A read that fails while following a master (inside a
// signal) leaves the dataset empty and goes to DataErrors::report.
//
// Tables without a key column (SETUP, MISC): inserts work as usual; an update or delete
// finds its row by the values the row had when it was read (blobs left out), one row only,
// so one of two identical rows is changed.
//
// Moving (first/next/prior/last/moveTo/locate), append() and refresh() post a pending
// insert or edit first, as a data-aware grid would; a row being inserted or edited stays
// in view whatever the link or filter say until it is posted or cancelled (a paged dataset
// posts it before it reads again). A new row of a plain dataset stays at the end of the rows
// until refresh() puts it in its ordered place; a paged dataset puts a stored row in its
// ordered place at once, keeping its count by the change rather than counting again.
// Where errors go that arise while the data layer follows an event (a master moving, a grid
// asking for rows) and that cannot be thrown to anyone. The program shows them as database
// errors; without a reporter they are only remembered.
namespace DataErrors {
using Reporter = std::function<void(const DbError&)>;
void setReporter(Reporter reporter);
void report(const DbError& error);
// The text of the last error reported, for tests.
QString lastMessage();
} // namespace DataErrors

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
    // An SQL condition ("where" text without the word) with its bound values in order.
    struct Condition
    {
        QString where;
        QVariantList binds;
    };
    // The SQL form of a filter, worked out each time the rows are read.
    using SqlFilter = std::function<Condition(const Dataset&)>;

    // Rows a paged dataset reads at a time, and how many pages it keeps.
    static constexpr int PageSize = 200;
    static constexpr int PagesKept = 50;

    // keyField is empty for tables without a key. orderBy is the text after "order by"
    // (for example "TDATE, DESCRIPTION"); empty keeps the order the database returns (a
    // paged dataset then reads in key order).
    Dataset(Database& db, const QString& table, const QString& keyField,
            const QString& orderBy = QString(), QObject* parent = nullptr);
    ~Dataset() override;

    const QString& tableName() const { return m_table; }
    const QString& keyField() const { return m_keyField; }
    Database& database() const { return m_db; }

    // Set before open(); needs a key column.
    void setPaged(bool on);
    bool isPaged() const { return m_paged; }

    // Checks the table and reads its column descriptions. The rows are read when first
    // needed, and the dataset then stands on the first shown row: a large table nobody looks
    // at costs nothing.
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
    // A table column's type as the driver reports it (QString, QByteArray for blobs, ...).
    QMetaType fieldType(int tableField) const { return m_types.at(tableField); }

    // Shown rows and the current one (-1 when nothing is shown). A paged dataset whose
    // selection is not counted yet counts it here.
    int rowCount() const
    {
        ensureCounted();
        return int(m_visible.size());
    }
    // The shown rows that can be reached without counting the selection: all of them, except
    // while a paged dataset's selection is not counted: its first page then.
    int rowsAvailable() const
    {
        ensureLoaded();
        return int(m_visible.size());
    }
    bool isEmpty() const { return rowsAvailable() == 0; }
    // True while rows of the selection are not yet reachable; fetchMore() counts the
    // selection, and the rows after the available ones are appended (rowsAboutToBeAppended,
    // rowsAppended). Anything that needs a row past them (rowCount, last, moveTo, locate)
    // counts as well.
    bool canFetchMore() const
    {
        ensureLoaded();
        return m_countPending;
    }
    void fetchMore();
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
    // The shown index of the first such row, or -1; does not move. A paged dataset searches
    // in SQL and can search table columns only.
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
    // A table column's stored value.
    const QVariant& cell(int rawRow, int tableField) const { return row(rawRow).at(tableField); }

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
    // Joins the caller's transaction when one is open.
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

    // Record filter: applies while filtering is on. With an SQL form the rows are selected in
    // SQL (and a plain dataset checks the predicate too); without one a plain dataset applies
    // the predicate to the rows it read.
    void setFilter(Filter predicate, SqlFilter sql = {});
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // Applies the filter again; for filters that read state outside the row.
    void refilter();

    // Display columns, found after the table's columns by fieldIndex and value. Their values
    // are worked out each time they are read, so they follow the other dataset.
    void addComputed(const QString& name, Compute compute);
    // resultThere of the first row that `other` currently shows (link and filter applied)
    // whose keyThere equals this row's keyHere; NULL when none does. `other` must not be
    // paged.
    void addLookup(const QString& name, Dataset* other, const QString& keyHere,
                   const QString& keyThere, const QString& resultThere);

    // The condition that selects what the dataset reads from its table (link and SQL filter).
    Condition selection() const;
    // "select EXPRESSION from TABLE where <selection>": counts and sums over what the dataset
    // selects, worked out by the database.
    QVariant aggregate(const QString& expression) const;
    Money sum(const QString& field) const;
    // Rows read from the database since the dataset was made, and rows held now.
    qint64 rowsFetched() const { return m_fetched; }
    int rowsHeld() const;

signals:
    // The shown rows are about to change / have changed as a whole (read, link, filter,
    // append, cancel of an insert, delete).
    void rowsAboutToReset();
    void rowsReset();
    // Shown rows first..last are about to be added after the available ones / have been.
    void rowsAboutToBeAppended(int first, int last);
    void rowsAppended();
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
    using Row = QVector<QVariant>;
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

    // Reads the column descriptions.
    void describe();
    // Reads the rows of an opened dataset on first use.
    void ensureLoaded() const
    {
        if (m_open && !m_loaded)
            const_cast<Dataset*>(this)->loadRows();
    }
    void loadRows();
    void ensureCounted() const
    {
        ensureLoaded();
        if (m_countPending)
            const_cast<Dataset*>(this)->countSelection();
    }
    // Counts the selection read and makes every row of it reachable.
    void countSelection();
    int countRows(const Condition& c) const;
    // A raw row, read from the database first when it is in a page not held (paged).
    const Row& row(int rawRow) const;

    // Reads what the link and filter select into m_rows; a pending insert or edit is kept.
    void readSelection();
    void readAll(const Condition& c);
    void readCount(const Condition& c);
    void loadPage(int page) const;
    void keepPage(int page) const;
    QVector<Row> fetch(const QString& sql, const QVariantList& binds, int limit = -1) const;
    QString selectHead(const Condition& c, const QString& extra = QString()) const;
    QString orderText(bool reverse) const;
    // Whether few rows pass the filter, so that pages are better read sorted than walked.
    bool filterIsSparse(const Condition& c) const;
    // Conditions on the order columns and key: rows after / before a row in the paged order.
    Condition after(const Row& r) const;
    Condition before(const Row& r) const;
    // The N rows of the selection before a row, nearest first.
    QVector<Row> fetchBefore(const Row& r, int n) const;
    // The shown index of a row of the selection (paged). While the selection is not counted,
    // a row past the available ones is placed by counting it, or, without MAYCOUNT, not
    // placed (-1).
    int positionOf(const Row& r, bool mayCount = true) const;
    // positionOf, keeping the row in its place.
    int place(const Row& r, bool mayCount = true) const;
    // After a paged row was stored or deleted: the count follows the change and the row
    // stands in its place, without reading the selection again where that can be avoided.
    void settleStored(const QVariant& key, int raw, int index, bool inserted, const Row& original);
    void settleRemoved(int index, bool deleted);
    // Whether what was read is still what the link and filter select.
    bool selectionUnchanged(const Condition& now) const;
    enum class Reported
    {
        IfRowChanged, // the current raw row is another one
        IfKeyChanged, // the current row has another key (rows were read again)
        Always
    };
    // Reads the selection again and stands on the row with keepKey, else on fallbackIndex.
    void reread(const QVariant& keepKey, int fallbackIndex,
                Reported reported = Reported::IfKeyChanged, bool mayCount = true);
    // The raw row holding the key (a paged dataset may ask the database), or -1.
    int rawOfKey(const QVariant& key, bool mayCount = true) const;
    QVariant currentKey() const;

    void fillVisible();
    // Around any change of the shown rows: remembers the current row and tells the model.
    void beginReshape();
    // Recomputes the shown rows and stands on keepRaw when it is still shown, else on
    // fallbackIndex (clamped); reports a new current row when it changed.
    void endReshape(int keepRaw, int fallbackIndex, Reported reported = Reported::IfRowChanged);
    // After a change of link or filter: reads again when SQL selects the rows, else only
    // works out the shown rows again.
    void reselect(bool sqlChanged);
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
    bool m_paged = false;
    bool m_open = false;
    bool m_loaded = false;

    QStringList m_names;
    QVector<QString> m_upperNames;
    QVector<QMetaType> m_types;
    QVector<Kind> m_kinds;
    QVector<int> m_scales;
    QVector<int> m_lengths;
    int m_keyCol = -1;
    // Paged order: the order columns, then the key.
    QVector<int> m_orderCols;

    mutable QVector<Row> m_rows;
    QVector<int> m_visible;
    int m_current = -1;
    int m_beforeRaw = -2;
    QVariant m_beforeKey;
    // Bumped whenever shown rows or their values change; look-ups into this dataset cache
    // their index against it.
    quint64 m_version = 0;
    mutable qint64 m_fetched = 0;

    // Paged: rows of the selection in the database, its condition as last read, and the
    // pages held, most recently used last.
    int m_count = 0;
    // The selection has more rows than m_count and has not been counted.
    bool m_countPending = false;
    // Pages of the selection are read sorted rather than along the order's index.
    bool m_sortPlan = false;
    Condition m_readCondition;
    mutable QVector<int> m_pagesHeld;

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
    SqlFilter m_sqlFilter;
    bool m_filtered = false;

    std::vector<std::unique_ptr<Display>> m_display;
};
