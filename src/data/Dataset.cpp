#include "data/Dataset.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

// Compares stored cells with one value, in the type of the column being searched, without
// allocating per cell for the common integer case.
struct Dataset::Matcher
{
    Kind kind = Kind::Text;
    bool valid = false;
    qint64 i = 0;
    Money m;
    double d = 0;
    QDate date;
    QString s;

    bool matches(const QVariant& cell) const
    {
        if (!valid || cell.isNull())
            return false;
        switch (kind) {
        case Kind::Int: {
            bool ok = false;
            const qint64 v = cell.toLongLong(&ok);
            return ok && v == i;
        }
        case Kind::Money:
            return toMoney(cell) == m;
        case Kind::Real:
            return cell.toDouble() == d;
        case Kind::Date:
            return cell.toDate() == date;
        case Kind::Text:
        case Kind::Blob:
            break;
        }
        return cell.toString() == s;
    }
};

// A display column. A look-up keeps an index of the other dataset's shown rows by key,
// rebuilt when that dataset's version moves on.
struct Dataset::Display
{
    QString name;
    Compute compute;
    QPointer<Dataset> other;
    QString keyHere;
    QString keyThere;
    QString resultThere;

    mutable quint64 builtVersion = ~quint64(0);
    mutable const Dataset* builtFor = nullptr;
    mutable Kind thereKind = Kind::Text;
    mutable int thereResult = -1;
    mutable QHash<qint64, int> ints;
    mutable QHash<QString, int> texts;
};

namespace {

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// Rounds half away from zero to the column's number of decimals (Money keeps four).
Money toScale(Money m, int scale)
{
    if (scale >= 4)
        return m;
    int64_t step = 1;
    for (int i = scale; i < 4; ++i)
        step *= 10;
    const int64_t u = m.units();
    const int64_t a = u < 0 ? -u : u;
    const int64_t r = (a + step / 2) / step * step;
    return Money::fromUnits(u < 0 ? -r : r);
}

} // namespace

Dataset::Dataset(Database& db, const QString& table, const QString& keyField,
                 const QString& orderBy, QObject* parent)
    : QObject(parent), m_db(db), m_table(table), m_keyField(keyField), m_orderBy(orderBy)
{
}

Dataset::~Dataset() = default;

Money Dataset::toMoney(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Money>())
        return v.value<Money>();
    return Money::fromVariant(v);
}

// ---- reading -------------------------------------------------------------------------

void Dataset::load(bool withRows, bool announce)
{
    QString sql = QStringLiteral("select * from ") + m_table;
    if (!withRows)
        sql += QStringLiteral(" where 1=0");
    else if (!m_orderBy.isEmpty())
        sql += QStringLiteral(" order by ") + m_orderBy;
    QSqlQuery q = m_db.select(sql);
    const QSqlRecord rec = q.record();
    const int n = rec.count();

    QStringList names;
    QVector<QString> upper;
    QVector<QMetaType> types;
    QVector<Kind> kinds;
    QVector<int> scales;
    QVector<int> lengths;
    int keyCol = -1;
    for (int i = 0; i < n; ++i) {
        const QSqlField f = rec.field(i);
        names << f.name();
        upper << f.name().toUpper();
        types << f.metaType();
        const int id = f.metaType().id();
        Kind k = Kind::Text;
        if (isIntegerType(id))
            k = Kind::Int;
        else if (id == QMetaType::Double || id == QMetaType::Float)
            k = f.precision() > 0 ? Kind::Money : Kind::Real; // NUMERIC(p,s) reports s here
        else if (id == QMetaType::QDate)
            k = Kind::Date;
        else if (id == QMetaType::QByteArray)
            k = Kind::Blob;
        kinds << k;
        scales << std::max(0, f.precision());
        lengths << f.length();
        if (!m_keyField.isEmpty() && f.name().compare(m_keyField, Qt::CaseInsensitive) == 0)
            keyCol = i;
    }
    if (!m_keyField.isEmpty() && keyCol < 0)
        throw DbError(QStringLiteral("The table %1 has no column %2.").arg(m_table, m_keyField),
                      sql);

    QVector<QVector<QVariant>> rows;
    while (q.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid()) {
        QString text = q.lastError().databaseText().trimmed();
        throw DbError(text.isEmpty() ? q.lastError().text() : text, sql);
    }

    if (announce)
        emit rowsAboutToReset();
    m_names = names;
    m_upperNames = upper;
    m_types = types;
    m_kinds = kinds;
    m_scales = scales;
    m_lengths = lengths;
    m_keyCol = keyCol;
    m_rows = std::move(rows);
    m_state = State::Browse;
    m_editRaw = -1;
    m_rawBeforeInsert = -1;
    m_original.clear();
    m_modified.fill(false, n);
    m_open = true;
}

void Dataset::open()
{
    if (m_open && m_loaded)
        checkBrowse();
    load(false, m_open);
    m_loaded = false;
    m_visible.clear();
    m_current = -1;
    ++m_version;
    emit rowsReset();
    emit currentChanged();
}

void Dataset::loadRows()
{
    // Marked first: reading the master's value for the link may come back here.
    m_loaded = true;
    load(true, false);
    fillVisible();
    m_current = m_visible.isEmpty() ? -1 : 0;
    ++m_version;
}

void Dataset::refresh()
{
    if (!m_open) {
        open();
        return;
    }
    if (!m_loaded)
        return; // the next use reads the rows as they are now
    checkBrowse();
    const int index = m_current;
    const QVariant key =
        (m_keyCol >= 0 && m_current >= 0) ? cell(currentRawRow(), m_keyCol) : QVariant();
    load(true, true);
    int keepRaw = -1;
    if (!key.isNull()) {
        const Matcher mt = matcher(m_keyCol, key);
        for (int raw = 0; raw < m_rows.size(); ++raw) {
            if (mt.matches(m_rows.at(raw).at(m_keyCol))) {
                keepRaw = raw;
                break;
            }
        }
    }
    m_beforeRaw = -2; // rows were replaced: always report a new current row
    endReshape(keepRaw, m_keyCol >= 0 ? 0 : index);
}

// ---- fields --------------------------------------------------------------------------

int Dataset::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_upperNames.size(); ++i) {
        const QString& n = m_upperNames.at(i);
        if (n.size() == name.size() && n.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (size_t i = 0; i < m_display.size(); ++i) {
        if (m_display[i]->name.compare(name, Qt::CaseInsensitive) == 0)
            return int(m_upperNames.size() + i);
    }
    return -1;
}

int Dataset::requireField(const QString& name) const
{
    const int f = fieldIndex(name);
    if (f < 0)
        throw DbError(QStringLiteral("%1 has no field %2.").arg(m_table, name));
    return f;
}

int Dataset::requireTableField(const QString& name) const
{
    const int f = requireField(name);
    if (f >= m_names.size())
        throw DbError(QStringLiteral("%1 of %2 is a display column and cannot be stored.")
                          .arg(name, m_table));
    return f;
}

void Dataset::requireOpen() const
{
    if (!m_open)
        throw DbError(QStringLiteral("The table %1 is not open.").arg(m_table));
    ensureLoaded();
}

void Dataset::requireRow() const
{
    requireOpen();
    if (m_current < 0)
        throw DbError(QStringLiteral("The table %1 has no current row.").arg(m_table));
}

Dataset::Kind Dataset::kindOf(int field) const
{
    return field < m_kinds.size() ? m_kinds.at(field) : Kind::Text;
}

Dataset::Matcher Dataset::matcher(int field, const QVariant& value) const
{
    Matcher mt;
    mt.kind = kindOf(field);
    if (value.isNull() || !value.isValid())
        return mt;
    bool ok = true;
    switch (mt.kind) {
    case Kind::Int:
        mt.i = value.toLongLong(&ok);
        break;
    case Kind::Money:
        mt.m = toMoney(value);
        break;
    case Kind::Real:
        mt.d = value.toDouble(&ok);
        break;
    case Kind::Date:
        mt.date = value.toDate();
        ok = mt.date.isValid();
        break;
    case Kind::Text:
    case Kind::Blob:
        mt.s = value.toString();
        break;
    }
    mt.valid = ok;
    return mt;
}

QVariant Dataset::value(const QString& name) const
{
    requireRow();
    return rawValue(currentRawRow(), requireField(name));
}

QVariant Dataset::value(int field) const
{
    requireRow();
    return rawValue(currentRawRow(), field);
}

QVariant Dataset::valueAt(int visibleRow, const QString& name) const
{
    return valueAt(visibleRow, requireField(name));
}

QVariant Dataset::valueAt(int visibleRow, int field) const
{
    ensureLoaded();
    if (visibleRow < 0 || visibleRow >= m_visible.size())
        throw DbError(QStringLiteral("Row %1 of %2 is not shown.").arg(visibleRow).arg(m_table));
    return rawValue(m_visible.at(visibleRow), field);
}

QVariant Dataset::rawValue(int rawRow, const QString& name) const
{
    return rawValue(rawRow, requireField(name));
}

QVariant Dataset::rawValue(int rawRow, int field) const
{
    ensureLoaded();
    const int n = int(m_names.size());
    if (field >= 0 && field < n)
        return m_rows.at(rawRow).at(field);
    const int d = field - n;
    if (field < 0 || d >= int(m_display.size()))
        throw DbError(QStringLiteral("%1 has no field number %2.").arg(m_table).arg(field));
    const Display& disp = *m_display[size_t(d)];
    if (disp.compute)
        return disp.compute(*this, rawRow);
    return lookup(disp, rawRow);
}

QVariant Dataset::lookup(const Display& d, int rawRow) const
{
    const Dataset* o = d.other;
    if (!o || !o->m_open)
        return QVariant();
    o->ensureLoaded();
    if (d.builtFor != o || d.builtVersion != o->m_version) {
        const int keyCol = o->requireField(d.keyThere);
        d.thereResult = o->requireField(d.resultThere);
        d.thereKind = o->kindOf(keyCol);
        d.ints.clear();
        d.texts.clear();
        for (int raw : o->m_visible) {
            const QVariant k = o->rawValue(raw, keyCol);
            if (k.isNull())
                continue;
            if (d.thereKind == Kind::Int) {
                bool ok = false;
                const qint64 v = k.toLongLong(&ok);
                if (ok && !d.ints.contains(v))
                    d.ints.insert(v, raw);
            } else {
                const Matcher mt = o->matcher(keyCol, k);
                const QString t = mt.kind == Kind::Money  ? mt.m.toSql()
                                  : mt.kind == Kind::Date ? mt.date.toString(Qt::ISODate)
                                  : mt.kind == Kind::Real ? QString::number(mt.d, 'g', 17)
                                                          : mt.s;
                if (!d.texts.contains(t))
                    d.texts.insert(t, raw);
            }
        }
        d.builtFor = o;
        d.builtVersion = o->m_version;
    }
    const QVariant key = rawValue(rawRow, requireField(d.keyHere));
    if (key.isNull())
        return QVariant();
    int found = -1;
    if (d.thereKind == Kind::Int) {
        bool ok = false;
        const qint64 v = key.toLongLong(&ok);
        if (ok)
            found = d.ints.value(v, -1);
    } else {
        switch (d.thereKind) {
        case Kind::Money:
            found = d.texts.value(toMoney(key).toSql(), -1);
            break;
        case Kind::Date:
            found = d.texts.value(key.toDate().toString(Qt::ISODate), -1);
            break;
        case Kind::Real:
            found = d.texts.value(QString::number(key.toDouble(), 'g', 17), -1);
            break;
        default:
            found = d.texts.value(key.toString(), -1);
            break;
        }
    }
    return found < 0 ? QVariant() : o->rawValue(found, d.thereResult);
}

// ---- shown rows and moving -----------------------------------------------------------

void Dataset::fillVisible()
{
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    int linkCol = -1;
    Matcher link;
    if (linkActive()) {
        linkCol = requireTableField(m_detailField);
        m_linkValue = masterValue();
        link = matcher(linkCol, m_linkValue);
    }
    const bool filter = m_filtered && bool(m_filter);
    const int n = int(m_rows.size());
    for (int raw = 0; raw < n; ++raw) {
        if (raw != m_editRaw) {
            if (linkCol >= 0 && !link.matches(m_rows.at(raw).at(linkCol)))
                continue;
            if (filter && !m_filter(*this, raw))
                continue;
        }
        m_visible.append(raw);
    }
}

void Dataset::beginReshape()
{
    m_beforeRaw = currentRawRow();
    emit rowsAboutToReset();
}

void Dataset::endReshape(int keepRaw, int fallbackIndex)
{
    fillVisible();
    int index = -1;
    if (keepRaw >= 0) {
        const auto it = std::lower_bound(m_visible.cbegin(), m_visible.cend(), keepRaw);
        if (it != m_visible.cend() && *it == keepRaw)
            index = int(it - m_visible.cbegin());
    }
    if (index < 0 && !m_visible.isEmpty())
        index = std::clamp(fallbackIndex, 0, int(m_visible.size()) - 1);
    m_current = index;
    ++m_version;
    emit rowsReset();
    if (m_beforeRaw == -2 || currentRawRow() != m_beforeRaw)
        emit currentChanged();
}

void Dataset::rebuild(int keepRaw)
{
    if (!m_open || !m_loaded)
        return; // shown rows are worked out when the rows are read
    beginReshape();
    endReshape(keepRaw, 0);
}

void Dataset::setCurrent(int index)
{
    if (index == m_current)
        return;
    m_current = index;
    emit currentChanged();
}

void Dataset::checkBrowse()
{
    if (m_state != State::Browse)
        post();
}

bool Dataset::moveTo(int visibleRow)
{
    requireOpen();
    checkBrowse();
    if (visibleRow < 0 || visibleRow >= m_visible.size())
        return false;
    setCurrent(visibleRow);
    return true;
}

bool Dataset::first()
{
    return moveTo(0);
}

bool Dataset::last()
{
    return moveTo(int(m_visible.size()) - 1);
}

bool Dataset::next()
{
    return currentIndex() + 1 < rowCount() && moveTo(m_current + 1);
}

bool Dataset::prior()
{
    return currentIndex() > 0 && moveTo(m_current - 1);
}

int Dataset::find(const QString& name, const QVariant& value) const
{
    requireOpen();
    const int field = requireField(name);
    const Matcher mt = matcher(field, value);
    const bool table = field < m_names.size();
    for (int i = 0; i < m_visible.size(); ++i) {
        const int raw = m_visible.at(i);
        if (table ? mt.matches(m_rows.at(raw).at(field)) : mt.matches(rawValue(raw, field)))
            return i;
    }
    return -1;
}

bool Dataset::locate(const QString& name, const QVariant& value)
{
    requireOpen();
    checkBrowse();
    const int i = find(name, value);
    if (i < 0)
        return false;
    setCurrent(i);
    return true;
}

// ---- link and filter -----------------------------------------------------------------

QVariant Dataset::masterValue() const
{
    if (!m_master || !m_master->isOpen() || m_master->currentIndex() < 0)
        return QVariant();
    return m_master->value(m_masterField);
}

void Dataset::onMasterChanged()
{
    if (!linkActive() || !m_open || !m_loaded)
        return;
    const QVariant v = masterValue();
    if (v.isNull() == m_linkValue.isNull() && (v.isNull() || v == m_linkValue))
        return;
    rebuild(currentRawRow());
}

void Dataset::setMasterLink(Dataset* master, const QString& detailField, const QString& masterField)
{
    for (const auto& c : m_masterConnections)
        disconnect(c);
    m_masterConnections.clear();
    m_master = master;
    m_detailField = detailField;
    m_masterField = masterField;
    m_linkReleased = false;
    m_linkValue = QVariant();
    if (master) {
        m_masterConnections << connect(master, &Dataset::currentChanged, this,
                                       &Dataset::onMasterChanged)
                            << connect(master, &Dataset::rowsReset, this, &Dataset::onMasterChanged)
                            << connect(master, &Dataset::afterPost, this,
                                       &Dataset::onMasterChanged);
    }
    rebuild(currentRawRow());
}

void Dataset::clearMasterLink()
{
    setMasterLink(nullptr, QString(), QString());
}

void Dataset::releaseLink()
{
    if (!m_master || m_linkReleased)
        return;
    m_linkReleased = true;
    rebuild(currentRawRow());
}

void Dataset::restoreLink()
{
    if (!m_master || !m_linkReleased)
        return;
    m_linkReleased = false;
    rebuild(currentRawRow());
}

void Dataset::setFilter(Filter predicate)
{
    m_filter = std::move(predicate);
    if (m_filtered)
        rebuild(currentRawRow());
}

void Dataset::setFiltered(bool on)
{
    // Switching on again applies the predicate again: it may read a changed search text.
    if (!on && !m_filtered)
        return;
    m_filtered = on;
    rebuild(currentRawRow());
}

void Dataset::refilter()
{
    if (m_filtered)
        rebuild(currentRawRow());
}

void Dataset::addComputed(const QString& name, Compute compute)
{
    auto d = std::make_unique<Display>();
    d->name = name;
    d->compute = std::move(compute);
    m_display.push_back(std::move(d));
}

void Dataset::addLookup(const QString& name, Dataset* other, const QString& keyHere,
                        const QString& keyThere, const QString& resultThere)
{
    auto d = std::make_unique<Display>();
    d->name = name;
    d->other = other;
    d->keyHere = keyHere;
    d->keyThere = keyThere;
    d->resultThere = resultThere;
    m_display.push_back(std::move(d));
}

// ---- editing -------------------------------------------------------------------------

void Dataset::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

void Dataset::append()
{
    requireOpen();
    checkBrowse();
    const int n = int(m_names.size());
    QVector<QVariant> row(n);
    for (int i = 0; i < n; ++i)
        row[i] = QVariant(m_types.at(i));
    m_modified.fill(false, n);
    if (linkActive()) {
        const int linkCol = requireTableField(m_detailField);
        const QVariant mv = masterValue();
        if (!mv.isNull()) {
            row[linkCol] = stored(linkCol, mv);
            m_modified[linkCol] = true;
        }
    }
    const int before = currentRawRow();
    emit rowsAboutToReset();
    m_rows.append(std::move(row));
    m_editRaw = int(m_rows.size()) - 1;
    m_rawBeforeInsert = before;
    m_visible.append(m_editRaw);
    m_current = int(m_visible.size()) - 1;
    ++m_version;
    m_state = State::Insert;
    emit rowsReset();
    emit currentChanged();
    emit stateChanged(m_state);
}

void Dataset::edit()
{
    requireRow();
    if (m_state != State::Browse)
        return;
    m_editRaw = currentRawRow();
    m_original = m_rows.at(m_editRaw);
    m_modified.fill(false, m_names.size());
    setState(State::Edit);
}

QVariant Dataset::stored(int field, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return QVariant(m_types.at(field));
    const Kind k = m_kinds.at(field);
    if (v.metaType() == QMetaType::fromType<Money>()) {
        const Money m = v.value<Money>();
        return k == Kind::Money ? QVariant(toScale(m, m_scales.at(field)).toSql())
                                : QVariant(m.toSql());
    }
    if (k == Kind::Int && !isIntegerType(v.metaType().id())) {
        QVariant c = v;
        if (c.convert(m_types.at(field)))
            return c;
    }
    return v;
}

QVariant Dataset::bindable(int field, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return QVariant(m_types.at(field));
    // Money columns are bound as exact decimal text at the column's scale, never as double.
    if (m_kinds.at(field) == Kind::Money)
        return QVariant(toScale(toMoney(v), m_scales.at(field)).toSql());
    return v;
}

void Dataset::setValue(const QString& name, const QVariant& value)
{
    requireOpen();
    if (m_state == State::Browse)
        throw DbError(QStringLiteral("The table %1 is not being edited.").arg(m_table));
    const int field = requireTableField(name);
    m_rows[m_editRaw][field] = stored(field, value);
    m_modified[field] = true;
    ++m_version;
    emit rowChanged(m_current);
}

QString Dataset::quoted(int field) const
{
    QString n = m_names.at(field);
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString Dataset::placeholder(int field) const
{
    // The driver cuts a bound text to the column's width without a word; one character
    // more lets the engine refuse a text that is too long, with its own message.
    const int length = m_lengths.at(field);
    if (m_types.at(field).id() == QMetaType::QString && length > 0 && length < 32765)
        return QStringLiteral("cast(? as varchar(%1))").arg(length + 1);
    return QStringLiteral("?");
}

QString Dataset::matchOriginal(const QVector<QVariant>& row, QVariantList* binds) const
{
    QStringList terms;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_kinds.at(i) == Kind::Blob)
            continue;
        if (row.at(i).isNull()) {
            terms << quoted(i) + QStringLiteral(" is null");
        } else {
            terms << quoted(i) + QStringLiteral(" = ?");
            *binds << bindable(i, row.at(i));
        }
    }
    if (terms.isEmpty())
        terms << QStringLiteral("1 = 1");
    return terms.join(QStringLiteral(" and "));
}

void Dataset::postInsert()
{
    const QVector<QVariant>& row = m_rows.at(m_editRaw);
    QStringList cols, marks, all;
    QVariantList binds;
    for (int i = 0; i < m_names.size(); ++i) {
        all << quoted(i);
        if (!m_modified.at(i))
            continue;
        cols << quoted(i);
        marks << placeholder(i);
        binds << bindable(i, row.at(i));
    }
    const QString sql =
        cols.isEmpty() ? QStringLiteral("insert into %1 default values returning %2")
                             .arg(m_table, all.join(QStringLiteral(", ")))
                       : QStringLiteral("insert into %1 (%2) values (%3) returning %4")
                             .arg(m_table, cols.join(QStringLiteral(", ")),
                                  marks.join(QStringLiteral(", ")), all.join(QStringLiteral(", ")));
    // The driver keeps the statement's own transaction open while a returning clause can
    // still be read, so the insert runs in an explicit one (or the caller's).
    Transaction tx(m_db);
    QVector<QVariant> back = row;
    {
        QSqlQuery q = m_db.prepare(sql);
        for (const QVariant& b : binds)
            q.addBindValue(b);
        m_db.execPrepared(q);
        if (q.next()) {
            for (int i = 0; i < m_names.size(); ++i)
                back[i] = q.value(i);
        }
        q.finish();
    }
    tx.commit();
    m_rows[m_editRaw] = std::move(back);
}

void Dataset::postUpdate()
{
    const QVector<QVariant>& row = m_rows.at(m_editRaw);
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < m_names.size(); ++i) {
        if (!m_modified.at(i))
            continue;
        sets << quoted(i) + QStringLiteral(" = ") + placeholder(i);
        binds << bindable(i, row.at(i));
    }
    if (sets.isEmpty())
        return;
    QString where;
    if (m_keyCol >= 0) {
        where = quoted(m_keyCol) + QStringLiteral(" = ?");
        binds << bindable(m_keyCol, m_original.at(m_keyCol));
    } else {
        where = matchOriginal(m_original, &binds) + QStringLiteral(" rows 1");
    }
    const QString sql = QStringLiteral("update %1 set %2 where %3")
                            .arg(m_table, sets.join(QStringLiteral(", ")), where);
    QSqlQuery q = m_db.prepare(sql);
    for (const QVariant& b : binds)
        q.addBindValue(b);
    m_db.execPrepared(q);
    if (q.numRowsAffected() == 0)
        throw DbError(QStringLiteral("The row of %1 being changed is no longer in the database.")
                          .arg(m_table),
                      sql);
}

void Dataset::post()
{
    if (m_state == State::Browse)
        return;
    if (m_state == State::Insert)
        postInsert();
    else
        postUpdate();
    const int raw = m_editRaw;
    beginReshape();
    m_editRaw = -1;
    m_rawBeforeInsert = -1;
    m_original.clear();
    m_state = State::Browse;
    endReshape(raw, 0);
    emit stateChanged(m_state);
    emit afterPost();
}

void Dataset::cancel()
{
    if (m_state == State::Browse)
        return;
    beginReshape();
    int keep = m_editRaw;
    if (m_state == State::Insert) {
        m_rows.removeLast();
        keep = m_rawBeforeInsert;
    } else {
        m_rows[m_editRaw] = m_original;
    }
    m_editRaw = -1;
    m_rawBeforeInsert = -1;
    m_original.clear();
    m_state = State::Browse;
    endReshape(keep, 0);
    emit stateChanged(m_state);
}

void Dataset::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireRow();
    const int raw = currentRawRow();
    const QVector<QVariant>& row = m_rows.at(raw);
    QVariantList binds;
    QString where;
    if (m_keyCol >= 0) {
        where = quoted(m_keyCol) + QStringLiteral(" = ?");
        binds << bindable(m_keyCol, row.at(m_keyCol));
    } else {
        where = matchOriginal(row, &binds) + QStringLiteral(" rows 1");
    }
    const QString sql = QStringLiteral("delete from %1 where %2").arg(m_table, where);
    {
        QSqlQuery q = m_db.prepare(sql);
        for (const QVariant& b : binds)
            q.addBindValue(b);
        m_db.execPrepared(q);
    }
    const int index = m_current;
    beginReshape();
    m_rows.removeAt(raw);
    m_beforeRaw = -2; // raw numbers after the deleted row have moved down
    endReshape(-1, index);
    emit afterDelete();
}
