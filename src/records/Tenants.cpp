#include "records/Tenants.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "data/DateText.h"
#include "shell/AppState.h"
#include "shell/SharedTables.h"

#include <QDate>
#include <QSqlQuery>

// ---- TenantEdit ----------------------------------------------------------------------------

TenantEdit::TenantEdit(AppState& state) : m_state(state) {}

TenantEdit::~TenantEdit()
{
    if (m_open)
        undo();
}

void TenantEdit::beginNew()
{
    Database& db = m_state.db;
    Dataset& tenants = *m_state.tables().Tenants;
    db.begin();
    m_open = true;
    m_new = true;
    try {
        // Drawn now and never given back: a cancelled dialog leaves a gap in the keys.
        m_tid = db.NextKey(QStringLiteral("GEN_TENANTS_ID"));
        tenants.append();
        tenants.setValue(QStringLiteral("TID"), m_tid);
    } catch (...) {
        undo();
        throw;
    }
}

bool TenantEdit::beginEdit()
{
    Dataset& tenants = *m_state.tables().Tenants;
    if (tenants.isEmpty())
        return false;
    m_state.db.begin();
    m_open = true;
    m_new = false;
    try {
        m_tid = tenants.asInt(QStringLiteral("TID"));
        tenants.edit();
    } catch (...) {
        undo();
        throw;
    }
    return true;
}

void TenantEdit::commit(bool putOnWaitList)
{
    Database& db = m_state.db;
    Dataset& tenants = *m_state.tables().Tenants;
    Dataset& waitList = *m_state.tables().WaitList;
    // A refusal here (a text too long, say) leaves the row editable for another try.
    tenants.post();
    try {
        // One wait-list row per tenant: the unit picker would list a tenant twice otherwise.
        if (putOnWaitList && (m_new || !isOnWaitList(db, m_tid))) {
            waitList.append();
            waitList.setValue(QStringLiteral("WID"), db.NextKey(QStringLiteral("GEN_WAITLIST_ID")));
            waitList.setValue(QStringLiteral("TID"), m_tid);
            waitList.post();
        }
        db.commit();
    } catch (...) {
        if (waitList.isEditing())
            waitList.cancel();
        db.rollback();
        m_open = false;
        // The tables hold rows the database no longer has.
        try {
            tenants.refresh();
            waitList.refresh();
        } catch (const DbError&) {
        }
        throw;
    }
    m_open = false;
    waitList.refresh();
}

void TenantEdit::cancel()
{
    if (m_open)
        undo();
}

void TenantEdit::undo()
{
    Dataset& tenants = *m_state.tables().Tenants;
    // Cancelling an insert drops the row; cancelling an edit puts the read values back.
    if (tenants.isEditing())
        tenants.cancel();
    m_state.db.rollback();
    m_open = false;
}

bool isOnWaitList(Database& db, int tid)
{
    QSqlQuery q = db.prepare(QStringLiteral("select count(*) from WAITLIST where TID = ?"));
    q.addBindValue(tid);
    db.execPrepared(q);
    return q.next() && q.value(0).toInt() > 0;
}

// ---- TenantDetails -------------------------------------------------------------------------

TenantDetails::TenantDetails(Database& db, Kind kind, int tid, QObject* parent)
    : QAbstractTableModel(parent), m_db(db), m_kind(kind), m_tid(tid)
{
    reload();
}

QString TenantDetails::table() const
{
    switch (m_kind) {
    case Vehicles:
        return QStringLiteral("VEHICLES");
    case Pets:
        return QStringLiteral("PETS");
    case Occupants:
        break;
    }
    return QStringLiteral("OCCUPANTS");
}

QString TenantDetails::keyField() const
{
    switch (m_kind) {
    case Vehicles:
        return QStringLiteral("VID");
    case Pets:
        return QStringLiteral("PID");
    case Occupants:
        break;
    }
    return QStringLiteral("OCID");
}

QStringList TenantDetails::fields() const
{
    switch (m_kind) {
    case Vehicles:
        return {QStringLiteral("MAKE"), QStringLiteral("MODEL"), QStringLiteral("NUMBER")};
    case Pets:
        return {QStringLiteral("ANIMAL"), QStringLiteral("COMMENT")};
    case Occupants:
        break;
    }
    return {QStringLiteral("NAME"), QStringLiteral("RELATIONSHIP"), QStringLiteral("SSN"),
            QStringLiteral("DOB"), QStringLiteral("COMMENTS")};
}

QList<TenantDetails::Shown> TenantDetails::shown() const
{
    switch (m_kind) {
    case Vehicles:
        return {{QStringLiteral("MAKE"), QStringLiteral("Make")},
                {QStringLiteral("MODEL"), QStringLiteral("Model")},
                {QStringLiteral("NUMBER"), QStringLiteral("Number")}};
    case Pets:
        return {{QStringLiteral("ANIMAL"), QStringLiteral("Animal Type")}};
    case Occupants:
        break;
    }
    return {{QStringLiteral("NAME"), QStringLiteral("Name")},
            {QStringLiteral("RELATIONSHIP"), QStringLiteral("Relationship")},
            {QStringLiteral("SSN"), QStringLiteral("SSN")},
            {QStringLiteral("DOB"), QStringLiteral("Dob")}};
}

bool TenantDetails::isBlob(const QString& field) const
{
    return field == QLatin1String("COMMENT") || field == QLatin1String("COMMENTS");
}

bool TenantDetails::isDate(const QString& field) const
{
    return field == QLatin1String("DOB");
}

QVariant TenantDetails::bindable(const QString& field, const QVariant& v) const
{
    if (isDate(field)) {
        const QDate d = v.toDate();
        return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
    }
    if (isBlob(field)) {
        const QString text = v.toString();
        return text.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>())
                              : QVariant(Database::memoBytes(text));
    }
    return QVariant(v.toString());
}

namespace {
QString quotedList(const QStringList& names)
{
    QStringList q;
    for (const QString& n : names)
        q << QLatin1Char('"') + n + QLatin1Char('"');
    return q.join(QStringLiteral(", "));
}
} // namespace

void TenantDetails::reload()
{
    const QStringList f = fields();
    QSqlQuery q =
        m_db.prepare(QStringLiteral("select \"%1\", %2 from %3 where TID = ? order by \"%1\"")
                         .arg(keyField(), quotedList(f), table()));
    q.addBindValue(m_tid);
    m_db.execPrepared(q);
    QVector<int> keys;
    QVector<QVariantMap> rows;
    while (q.next()) {
        keys << q.value(0).toInt();
        QVariantMap row;
        for (int i = 0; i < f.size(); ++i) {
            const QVariant v = q.value(i + 1);
            if (isBlob(f.at(i)))
                row.insert(f.at(i), Database::memoText(v));
            else if (isDate(f.at(i)))
                row.insert(f.at(i), v.toDate());
            else
                row.insert(f.at(i), v.toString());
        }
        rows << row;
    }
    beginResetModel();
    m_keys = std::move(keys);
    m_rows = std::move(rows);
    endResetModel();
}

QVariantMap TenantDetails::row(int index) const
{
    return m_rows.value(index);
}

int TenantDetails::keyAt(int index) const
{
    return m_keys.value(index, -1);
}

int TenantDetails::indexOfKey(int key) const
{
    return int(m_keys.indexOf(key));
}

int TenantDetails::insert(const QVariantMap& values)
{
    const QStringList f = fields();
    QStringList marks(f.size() + 1, QStringLiteral("?"));
    const QString sql =
        QStringLiteral("insert into %1 (TID, %2) values (%3) returning \"%4\"")
            .arg(table(), quotedList(f), marks.join(QStringLiteral(", ")), keyField());
    int key = -1;
    try {
        // A returning clause keeps the statement open: run it in a transaction (or the caller's).
        Transaction tx(m_db);
        {
            QSqlQuery q = m_db.prepare(sql);
            q.addBindValue(m_tid);
            for (const QString& name : f)
                q.addBindValue(bindable(name, values.value(name)));
            m_db.execPrepared(q);
            if (q.next())
                key = q.value(0).toInt();
            q.finish();
        }
        tx.commit();
    } catch (const DbError&) {
        reload();
        throw;
    }
    reload();
    return key;
}

void TenantDetails::update(int key, const QVariantMap& values)
{
    const QStringList f = fields();
    QStringList sets;
    for (const QString& name : f)
        sets << QLatin1Char('"') + name + QStringLiteral("\" = ?");
    const QString sql = QStringLiteral("update %1 set %2 where \"%3\" = ?")
                            .arg(table(), sets.join(QStringLiteral(", ")), keyField());
    try {
        QSqlQuery q = m_db.prepare(sql);
        for (const QString& name : f)
            q.addBindValue(bindable(name, values.value(name)));
        q.addBindValue(key);
        m_db.execPrepared(q);
    } catch (const DbError&) {
        reload();
        throw;
    }
    reload();
}

void TenantDetails::remove(int key)
{
    try {
        QSqlQuery q = m_db.prepare(
            QStringLiteral("delete from %1 where \"%2\" = ?").arg(table(), keyField()));
        q.addBindValue(key);
        m_db.execPrepared(q);
    } catch (const DbError&) {
        reload();
        throw;
    }
    reload();
}

int TenantDetails::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TenantDetails::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown().size());
}

QVariant TenantDetails::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::DisplayRole)
        return QVariant();
    const QList<Shown> cols = shown();
    if (index.column() >= cols.size())
        return QVariant();
    const QString& field = cols.at(index.column()).field;
    const QVariant v = m_rows.at(index.row()).value(field);
    if (isDate(field))
        return DateText::show(v.toDate());
    return v;
}

QVariant TenantDetails::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const QList<Shown> cols = shown();
    return section < cols.size() ? QVariant(cols.at(section).title) : QVariant();
}
