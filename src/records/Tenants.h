#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>
#include <QVector>

class AppState;
class Database;

// The tenant dialog's unit of work. From opening the dialog (New or Edit) to OK or Cancel one
// database transaction is open on the connection, so the tenant, its wait-list row and every
// vehicle, pet and occupant changed meanwhile are stored or undone together.
//
// A new tenant's key is drawn at once, so that the detail rows added in the dialog can carry
// it; the row itself waits in the insert state of the shared Tenants table until OK. Keeping it
// unposted means a search filter on the list cannot move the table off the row being edited.
class TenantEdit
{
public:
    explicit TenantEdit(AppState& state);
    // Undoes whatever is still open.
    ~TenantEdit();
    TenantEdit(const TenantEdit&) = delete;
    TenantEdit& operator=(const TenantEdit&) = delete;

    // Starts the transaction and appends a tenant with a fresh TID. Throws DbError.
    void beginNew();
    // Starts the transaction and puts the current tenant into edit state. False, and nothing
    // started, when the list is empty. Throws DbError.
    bool beginEdit();

    bool isOpen() const { return m_open; }
    bool isNew() const { return m_new; }
    int tid() const { return m_tid; }

    // Stores the tenant row (its values set by the caller), then a wait-list row when the box
    // is ticked and the tenant is not already waiting, and commits.
    // When the tenant row is refused, everything stays open so the user can correct and try
    // again or cancel; a failure after that undoes the whole unit of work. Both throw DbError.
    void commit(bool putOnWaitList);
    // Cancels the pending row and rolls the transaction back.
    void cancel();

private:
    void undo();

    AppState& m_state;
    bool m_open = false;
    bool m_new = false;
    int m_tid = 0;
};

// True when the tenant has a wait-list row.
bool isOnWaitList(Database& db, int tid);

// One of a tenant's own lists (vehicles, pets, occupants): that tenant's rows, read and written
// with bound values on the connection, so inside the tenant dialog's transaction while one is
// open. New rows are inserted without a key; the table's trigger gives them one.
class TenantDetails : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Kind
    {
        Vehicles,
        Pets,
        Occupants
    };

    TenantDetails(Database& db, Kind kind, int tid, QObject* parent = nullptr);

    Kind kind() const { return m_kind; }
    int tid() const { return m_tid; }
    // The columns a row's dialog edits, in order (blobs come back as text, dates as QDate).
    QStringList fields() const;

    // Reads the tenant's rows again. Throws DbError.
    void reload();
    QVariantMap row(int index) const;
    int keyAt(int index) const;
    int indexOfKey(int key) const;

    // Each throws DbError and leaves the list re-read. insert returns the new row's key.
    int insert(const QVariantMap& values);
    void update(int key, const QVariantMap& values);
    void remove(int key);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Shown
    {
        QString field;
        QString title;
    };
    QString table() const;
    QString keyField() const;
    QList<Shown> shown() const;
    bool isBlob(const QString& field) const;
    bool isDate(const QString& field) const;
    QVariant bindable(const QString& field, const QVariant& v) const;

    Database& m_db;
    Kind m_kind;
    int m_tid;
    QVector<int> m_keys;
    QVector<QVariantMap> m_rows;
};
