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

namespace DataErrors {

namespace {
Reporter& reporter()
{
    static Reporter r;
    return r;
}
QString& last()
{
    static QString text;
    return text;
}
} // namespace

void setReporter(Reporter r)
{
    reporter() = std::move(r);
}

void report(const DbError& error)
{
    last() = error.message();
    if (reporter())
        reporter()(error);
}

QString lastMessage()
{
    return last();
}

} // namespace DataErrors

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

void Dataset::setPaged(bool on)
{
    if (m_open)
        throw DbError(QStringLiteral("The table %1 is open already.").arg(m_table));
    m_paged = on;
}

// ---- reading -------------------------------------------------------------------------

void Dataset::describe()
{
    const QString sql = QStringLiteral("select * from ") + m_table + QStringLiteral(" where 1=0");
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

    QVector<int> orderCols;
    if (m_paged) {
        if (keyCol < 0)
            throw DbError(QStringLiteral("The table %1 is read in pages and needs a key.").arg(m_table));
        const QStringList terms = m_orderBy.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& term : terms) {
            const QString name = term.trimmed();
            const int col = int(upper.indexOf(name.toUpper()));
            if (col < 0)
                throw DbError(QStringLiteral("The table %1 cannot be read in pages in the order %2.")
                                  .arg(m_table, m_orderBy));
            orderCols << col;
        }
        if (!orderCols.contains(keyCol))
            orderCols << keyCol;
    }

    m_names = names;
    m_upperNames = upper;
    m_types = types;
    m_kinds = kinds;
    m_scales = scales;
    m_lengths = lengths;
    m_keyCol = keyCol;
    m_orderCols = orderCols;
}

void Dataset::open()
{
    if (m_open && m_loaded)
        checkBrowse();
    const bool announce = m_open;
    describe();
    if (announce)
        emit rowsAboutToReset();
    m_rows.clear();
    m_pagesHeld.clear();
    m_count = 0;
    m_countPending = false;
    m_state = State::Browse;
    m_editRaw = -1;
    m_rawBeforeInsert = -1;
    m_original.clear();
    m_modified.fill(false, m_names.size());
    m_open = true;
    m_loaded = false;
    m_visible.clear();
    m_current = -1;
    ++m_version;
    emit rowsReset();
    emit currentChanged();
}

void Dataset::loadRows()
{
    // Marked first: reading the master's value for the link may come back here. A failed
    // read leaves the dataset empty until it is read again.
    m_loaded = true;
    try {
        readSelection();
    } catch (const DbError&) {
        m_rows.clear();
        m_count = 0;
        m_countPending = false;
        m_visible.clear();
        m_current = -1;
        ++m_version;
        throw;
    }
    fillVisible();
    m_current = m_visible.isEmpty() ? -1 : 0;
    ++m_version;
}

QString Dataset::selectHead(const Condition& c, const QString& extra) const
{
    QString sql = QStringLiteral("select * from ") + m_table;
    QStringList where;
    if (!c.where.isEmpty())
        where << c.where;
    if (!extra.isEmpty())
        where << extra;
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    return sql;
}

QVector<Dataset::Row> Dataset::fetch(const QString& sql, const QVariantList& binds, int limit) const
{
    QSqlQuery q = m_db.prepare(sql);
    for (const QVariant& b : binds)
        q.addBindValue(b);
    m_db.execPrepared(q);
    const int n = int(m_names.size());
    QVector<Row> rows;
    while ((limit < 0 || rows.size() < limit) && q.next()) {
        Row row(n);
        for (int i = 0; i < n; ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid()) {
        const QString text = q.lastError().databaseText().trimmed();
        throw DbError(text.isEmpty() ? q.lastError().text() : text, sql);
    }
    m_fetched += rows.size();
    return rows;
}

Dataset::Condition Dataset::selection() const
{
    Condition c;
    QStringList parts;
    if (linkActive()) {
        const int col = requireTableField(m_detailField);
        const QVariant v = masterValue();
        if (v.isNull()) {
            parts << QStringLiteral("1 = 0");
        } else {
            parts << quoted(col) + QStringLiteral(" = ?");
            c.binds << bindable(col, v);
        }
    }
    if (m_filtered && m_sqlFilter) {
        const Condition f = m_sqlFilter(*this);
        if (!f.where.isEmpty()) {
            parts << QLatin1Char('(') + f.where + QLatin1Char(')');
            c.binds << f.binds;
        }
    }
    c.where = parts.join(QStringLiteral(" and "));
    return c;
}

QVariant Dataset::aggregate(const QString& expression) const
{
    requireOpen();
    const Condition c = selection();
    QString sql = QStringLiteral("select ") + expression + QStringLiteral(" from ") + m_table;
    if (!c.where.isEmpty())
        sql += QStringLiteral(" where ") + c.where;
    QSqlQuery q = m_db.prepare(sql);
    for (const QVariant& b : c.binds)
        q.addBindValue(b);
    m_db.execPrepared(q);
    return q.next() ? q.value(0) : QVariant();
}

int Dataset::rowsHeld() const
{
    int n = 0;
    for (const Row& r : m_rows)
        n += r.isEmpty() ? 0 : 1;
    return n;
}

Money Dataset::sum(const QString& field) const
{
    requireOpen();
    return toMoney(aggregate(QStringLiteral("sum(") + quoted(requireTableField(field)) +
                             QLatin1Char(')')));
}

void Dataset::readSelection()
{
    // A row being inserted or edited stays in view whatever the new selection says.
    const bool pending = m_state != State::Browse && m_editRaw >= 0 && m_editRaw < m_rows.size();
    Row kept;
    if (pending)
        kept = m_rows.at(m_editRaw);

    if (m_paged && m_filtered && m_filter && !m_sqlFilter)
        throw DbError(QStringLiteral("The table %1 can only be filtered in SQL.").arg(m_table));
    m_linkValue = linkActive() ? masterValue() : QVariant();
    const Condition c = selection();
    // The old rows go first: a large selection is never held twice.
    m_rows.clear();
    m_rows.squeeze();
    m_pagesHeld.clear();
    if (m_paged)
        readCount(c);
    else
        readAll(c);

    if (!pending)
        return;
    int at = -1;
    if (m_state == State::Edit && !m_paged && m_keyCol >= 0) {
        const Matcher mt = matcher(m_keyCol, m_original.value(m_keyCol));
        for (int raw = 0; raw < m_rows.size() && at < 0; ++raw)
            if (mt.matches(m_rows.at(raw).at(m_keyCol)))
                at = raw;
    }
    if (at >= 0) {
        m_rows[at] = kept;
    } else {
        m_rows.append(kept);
        at = int(m_rows.size()) - 1;
    }
    m_editRaw = at;
    m_rawBeforeInsert = -1;
}

void Dataset::readAll(const Condition& c)
{
    QString sql = selectHead(c);
    if (!m_orderBy.isEmpty())
        sql += QStringLiteral(" order by ") + m_orderBy;
    m_rows = fetch(sql, c.binds);
}

QString Dataset::orderText(bool reverse) const
{
    QStringList terms;
    for (int col : m_orderCols) {
        QString term = quoted(col);
        // An expression, not the column: the engine sorts what the condition selects instead
        // of walking the order's index row by row.
        if (m_sortPlan && terms.isEmpty())
            term += QStringLiteral(" + 0");
        terms << term + (reverse ? QStringLiteral(" desc") : QString());
    }
    return terms.join(QStringLiteral(", "));
}

bool Dataset::filterIsSparse(const Condition& c) const
{
    // Only a filter alone on a numeric or date order; a link selects through its own index.
    const Kind first = m_kinds.at(m_orderCols.first());
    if (!m_filtered || !m_sqlFilter || linkActive() || c.where.isEmpty() ||
        (first != Kind::Int && first != Kind::Date && first != Kind::Money && first != Kind::Real))
        return false;
    // Walking the order's index finds a page of a filter that few rows pass only after
    // reading most of the table one row at a time; a scan of it, sorted, is many times faster.
    // How many of the first rows in order pass tells which of the two a page costs less.
    constexpr int Sample = 2000;
    constexpr int Enough = 20; // a page within some 20,000 rows of the index
    QSqlQuery q = m_db.prepare(QStringLiteral("select count(*) from (select * from %1 order by %2 "
                                              "rows %3) %1 where %4")
                                   .arg(m_table, orderText(false))
                                   .arg(Sample)
                                   .arg(c.where));
    for (const QVariant& b : c.binds)
        q.addBindValue(b);
    m_db.execPrepared(q);
    return (q.next() ? q.value(0).toInt() : 0) < Enough;
}

void Dataset::readCount(const Condition& c)
{
    m_readCondition = c;
    m_pagesHeld.clear();
    m_sortPlan = false; // the sample walks the index
    m_sortPlan = filterIsSparse(c);
    // One row more than a page tells whether the selection needs counting at all.
    QVector<Row> first = fetch(selectHead(c) + QStringLiteral(" order by ") + orderText(false) +
                                   QStringLiteral(" rows 1 to %1").arg(PageSize + 1),
                               c.binds);
    int count = int(first.size());
    m_countPending = false;
    if (count > PageSize) {
        // Counting may take a scan of the whole table: it waits until a row past the first
        // page is wanted.
        count = PageSize;
        m_countPending = true;
        first.resize(PageSize);
        m_fetched -= 1;
    }
    m_count = count;
    m_rows = QVector<Row>(count);
    for (int i = 0; i < first.size(); ++i)
        m_rows[i] = std::move(first[i]);
    if (!first.isEmpty())
        m_pagesHeld << 0;
}

int Dataset::countRows(const Condition& c) const
{
    QString sql = QStringLiteral("select count(*) from ") + m_table;
    if (!c.where.isEmpty())
        sql += QStringLiteral(" where ") + c.where;
    QSqlQuery q = m_db.prepare(sql);
    for (const QVariant& b : c.binds)
        q.addBindValue(b);
    m_db.execPrepared(q);
    return q.next() ? q.value(0).toInt() : 0;
}

void Dataset::countSelection()
{
    if (!m_countPending)
        return;
    m_countPending = false;
    const int total = countRows(m_readCondition);
    // Fewer rows than the page read: rows went meanwhile, and those read stay as they are.
    if (total <= m_count)
        return;
    const int first = m_count;
    const int added = total - m_count;
    emit rowsAboutToBeAppended(first, first + added - 1);
    // A row being inserted stays after the selection's rows.
    m_rows.insert(first, added, Row());
    if (m_editRaw >= first)
        m_editRaw += added;
    if (m_current >= first)
        m_current += added;
    m_count = total;
    fillVisible();
    ++m_version;
    emit rowsAppended();
}

void Dataset::fetchMore()
{
    requireOpen();
    countSelection();
}

Dataset::Condition Dataset::after(const Row& r) const
{
    // Lexicographic on the order columns (ascending, NULLs first) and then the key.
    Condition c;
    QStringList alternatives;
    QStringList equalSoFar;
    QVariantList equalBinds;
    for (int col : m_orderCols) {
        const QVariant v = r.at(col);
        QString greater;
        QVariantList binds = equalBinds;
        if (v.isNull()) {
            greater = quoted(col) + QStringLiteral(" is not null");
        } else {
            greater = quoted(col) + QStringLiteral(" > ?");
            binds << bindable(col, v);
        }
        QStringList term = equalSoFar;
        term << greater;
        alternatives << QLatin1Char('(') + term.join(QStringLiteral(" and ")) + QLatin1Char(')');
        c.binds << binds;
        if (v.isNull()) {
            equalSoFar << quoted(col) + QStringLiteral(" is null");
        } else {
            equalSoFar << quoted(col) + QStringLiteral(" = ?");
            equalBinds << bindable(col, v);
        }
    }
    c.where = QLatin1Char('(') + alternatives.join(QStringLiteral(" or ")) + QLatin1Char(')');
    // A bound on the first column lets the engine start its index walk there.
    const QVariant first = r.at(m_orderCols.first());
    if (!first.isNull()) {
        c.where = quoted(m_orderCols.first()) + QStringLiteral(" >= ? and ") + c.where;
        c.binds.prepend(bindable(m_orderCols.first(), first));
    }
    return c;
}

Dataset::Condition Dataset::before(const Row& r) const
{
    Condition c;
    QStringList alternatives;
    QStringList equalSoFar;
    QVariantList equalBinds;
    for (int col : m_orderCols) {
        const QVariant v = r.at(col);
        if (!v.isNull()) {
            QStringList term = equalSoFar;
            term << QLatin1Char('(') + quoted(col) + QStringLiteral(" < ? or ") + quoted(col) +
                        QStringLiteral(" is null)");
            alternatives << QLatin1Char('(') + term.join(QStringLiteral(" and ")) + QLatin1Char(')');
            c.binds << equalBinds << bindable(col, v);
            equalSoFar << quoted(col) + QStringLiteral(" = ?");
            equalBinds << bindable(col, v);
        } else {
            equalSoFar << quoted(col) + QStringLiteral(" is null");
        }
    }
    c.where = alternatives.isEmpty()
                  ? QStringLiteral("1 = 0")
                  : QLatin1Char('(') + alternatives.join(QStringLiteral(" or ")) + QLatin1Char(')');
    return c;
}

QVector<Dataset::Row> Dataset::fetchBefore(const Row& r, int n) const
{
    const Condition& c = m_readCondition;
    const Condition k = before(r);
    const QString order = QStringLiteral(" order by ") + orderText(true);
    const int first = m_orderCols.first();
    const QVariant bound = r.at(first);
    if (bound.isNull())
        return fetch(selectHead(c, k.where) + order + QStringLiteral(" rows %1").arg(n),
                     c.binds + k.binds);
    // A bound on the first column lets the engine walk its index down from there. Rows whose
    // first column is NULL come before all others: read after the rest.
    QVector<Row> rows =
        fetch(selectHead(c, quoted(first) + QStringLiteral(" <= ? and ") + k.where) + order +
                  QStringLiteral(" rows %1").arg(n),
              c.binds + QVariantList{bindable(first, bound)} + k.binds);
    if (rows.size() < n)
        rows << fetch(selectHead(c, quoted(first) + QStringLiteral(" is null and ") + k.where) +
                          order + QStringLiteral(" rows %1").arg(n - rows.size()),
                      c.binds + k.binds);
    return rows;
}

int Dataset::positionOf(const Row& r, bool mayCount) const
{
    const Condition& c = m_readCondition;
    auto count = [&](const Condition& k, int limit) {
        QString inner = selectHead(c, k.where);
        inner.replace(0, int(qstrlen("select *")), QStringLiteral("select 1 as one"));
        const QString sql = limit > 0 ? QStringLiteral("select count(*) from (%1 rows %2)")
                                            .arg(inner)
                                            .arg(limit)
                                      : QStringLiteral("select count(*) from (%1)").arg(inner);
        QSqlQuery q = m_db.prepare(sql);
        for (const QVariant& b : c.binds + k.binds)
            q.addBindValue(b);
        m_db.execPrepared(q);
        return q.next() ? q.value(0).toInt() : 0;
    };
    if (m_countPending) {
        // Only the first rows can be reached: the row is one of them, or the selection is
        // counted first.
        const int before = count(this->before(r), m_count);
        if (before < m_count)
            return before;
        if (!mayCount)
            return -1;
        const_cast<Dataset*>(this)->countSelection();
    }
    // New and recent rows are usually near the end: count what follows when that is little.
    constexpr int Near = 2000;
    const int following = count(after(r), Near);
    if (following < Near)
        return std::max(0, m_count - 1 - following);
    return count(before(r), 0);
}

void Dataset::keepPage(int page) const
{
    m_pagesHeld.removeAll(page);
    m_pagesHeld.append(page);
    const int editPage = (m_editRaw >= 0 && m_editRaw < m_count) ? m_editRaw / PageSize : -1;
    while (m_pagesHeld.size() > PagesKept) {
        int i = 0;
        while (i < m_pagesHeld.size() && m_pagesHeld.at(i) == editPage)
            ++i;
        if (i >= m_pagesHeld.size() - 1)
            break;
        const int dropped = m_pagesHeld.takeAt(i);
        const int end = std::min(m_count, (dropped + 1) * PageSize);
        for (int raw = dropped * PageSize; raw < end; ++raw)
            m_rows[raw] = Row();
    }
}

void Dataset::loadPage(int page) const
{
    const int from = page * PageSize;
    const int to = std::min(m_count, from + PageSize);
    const int wanted = to - from;
    if (wanted <= 0)
        return;
    const Condition& c = m_readCondition;
    auto stored = [this](int raw) -> const Row& {
        return (raw == m_editRaw && !m_original.isEmpty()) ? m_original : m_rows.at(raw);
    };
    // A row already placed inside the page or just after it (one that was stored or found):
    // the page is read from it, both ways, rather than counted out from an end.
    int anchor = -1;
    for (int raw = from; raw <= std::min(to, m_count - 1) && anchor < 0; ++raw)
        if (!m_rows.at(raw).isEmpty())
            anchor = raw;
    QVector<Row> rows;
    if (from > 0 && !m_rows.at(from - 1).isEmpty()) {
        // Going on from the page before: start after its last row.
        const Condition k = after(stored(from - 1));
        rows = fetch(selectHead(c, k.where) + QStringLiteral(" order by ") + orderText(false) +
                         QStringLiteral(" rows %1").arg(wanted),
                     c.binds + k.binds);
    } else if (anchor >= 0) {
        const Row& a = stored(anchor);
        if (anchor > from) {
            rows = fetchBefore(a, anchor - from);
            std::reverse(rows.begin(), rows.end());
            // Rows gone meanwhile: the anchor keeps its place.
            while (rows.size() < anchor - from)
                rows.prepend(Row());
        }
        if (anchor < to) {
            rows << a;
            if (anchor + 1 < to) {
                const Condition k = after(a);
                rows << fetch(selectHead(c, k.where) + QStringLiteral(" order by ") +
                                  orderText(false) + QStringLiteral(" rows %1").arg(to - anchor - 1),
                              c.binds + k.binds);
            }
        }
    } else if (m_countPending || from <= m_count - to) {
        rows = fetch(selectHead(c) + QStringLiteral(" order by ") + orderText(false) +
                         QStringLiteral(" rows %1 to %2").arg(from + 1).arg(to),
                     c.binds);
    } else {
        // Nearer the end: walk the order backwards.
        rows = fetch(selectHead(c) + QStringLiteral(" order by ") + orderText(true) +
                         QStringLiteral(" rows %1 to %2").arg(m_count - to + 1).arg(m_count - from),
                     c.binds);
        std::reverse(rows.begin(), rows.end());
    }
    for (int i = 0; i < wanted; ++i) {
        Row r = i < rows.size() ? rows.at(i) : Row();
        if (r.isEmpty()) {
            // Rows gone since the count read as empty rows rather than being asked for again.
            r = Row(m_names.size());
            for (int f = 0; f < m_names.size(); ++f)
                r[f] = QVariant(m_types.at(f));
        }
        if (from + i != m_editRaw)
            m_rows[from + i] = std::move(r);
    }
    keepPage(page);
}

const Dataset::Row& Dataset::row(int rawRow) const
{
    ensureLoaded();
    if (m_paged && rawRow >= 0 && rawRow < m_count && m_rows.at(rawRow).isEmpty())
        loadPage(rawRow / PageSize);
    else if (m_paged && rawRow >= 0 && rawRow < m_count)
        keepPage(rawRow / PageSize);
    return m_rows.at(rawRow);
}

QVariant Dataset::currentKey() const
{
    if (m_keyCol < 0 || !m_loaded || m_current < 0 || m_current >= m_visible.size())
        return QVariant();
    return row(m_visible.at(m_current)).at(m_keyCol);
}

int Dataset::rawOfKey(const QVariant& key, bool mayCount) const
{
    if (key.isNull() || m_keyCol < 0)
        return -1;
    const Matcher mt = matcher(m_keyCol, key);
    if (m_editRaw >= 0 && m_editRaw < m_rows.size() && mt.matches(m_rows.at(m_editRaw).at(m_keyCol)))
        return m_editRaw;
    // A paged dataset looks in the rows it holds, then asks the database where the row is.
    for (int raw = 0; raw < m_rows.size(); ++raw) {
        const Row& r = m_rows.at(raw);
        if (!r.isEmpty() && mt.matches(r.at(m_keyCol)))
            return raw;
    }
    if (!m_paged)
        return -1;
    const QVector<Row> found =
        fetch(selectHead(m_readCondition, quoted(m_keyCol) + QStringLiteral(" = ?")),
              m_readCondition.binds + QVariantList{bindable(m_keyCol, key)}, 1);
    return found.isEmpty() ? -1 : place(found.first(), mayCount);
}

int Dataset::place(const Row& r, bool mayCount) const
{
    const int at = positionOf(r, mayCount);
    // Kept where it stands, so that its page can be read from it.
    if (at >= 0 && at < m_count && m_rows.at(at).isEmpty())
        m_rows[at] = r;
    return at;
}

void Dataset::reread(const QVariant& keepKey, int fallbackIndex, Reported reported, bool mayCount)
{
    beginReshape();
    try {
        readSelection();
    } catch (const DbError&) {
        m_rows.clear();
        m_count = 0;
        m_countPending = false;
        m_editRaw = -1;
        m_rawBeforeInsert = -1;
        m_original.clear();
        m_state = State::Browse;
        endReshape(-1, 0, Reported::Always);
        emit stateChanged(m_state);
        throw;
    }
    endReshape(rawOfKey(keepKey, mayCount), fallbackIndex, reported);
}

bool Dataset::selectionUnchanged(const Condition& now) const
{
    return now.where == m_readCondition.where && now.binds == m_readCondition.binds;
}

void Dataset::settleStored(const QVariant& key, int raw, int index, bool inserted,
                           const Row& original)
{
    const Condition c = selection();
    // A row carried past a read, or a selection that changed meanwhile: read it all again.
    const bool carried = !inserted && raw >= m_count;
    if (m_countPending || carried || key.isNull() || !selectionUnchanged(c)) {
        reread(key, index, Reported::Always);
        return;
    }
    const QVector<Row> found =
        fetch(selectHead(c, quoted(m_keyCol) + QStringLiteral(" = ?")),
              c.binds + QVariantList{bindable(m_keyCol, key)}, 1);
    if (!inserted && !found.isEmpty()) {
        bool samePlace = true;
        for (int col : m_orderCols) {
            const QVariant& was = original.at(col);
            const QVariant& now = found.first().at(col);
            if (was.isNull() != now.isNull() || (!was.isNull() && !matcher(col, was).matches(now)))
                samePlace = false;
        }
        if (samePlace) {
            // Nothing moved: the row takes its stored values where it is.
            m_rows[raw] = found.first();
            ++m_version;
            emit rowChanged(index);
            return;
        }
    }
    // The rows after the change moved by one; the pages are read again as they are wanted.
    const int count = m_count + (found.isEmpty() ? 0 : 1) - (inserted ? 0 : 1);
    beginReshape();
    m_rows.clear();
    m_rows.squeeze();
    m_rows.resize(count);
    m_pagesHeld.clear();
    m_count = count;
    const int at = found.isEmpty() ? -1 : place(found.first());
    endReshape(at, index, Reported::Always);
}

void Dataset::settleRemoved(int index, bool deleted)
{
    if (m_countPending || !deleted || !selectionUnchanged(selection())) {
        reread(QVariant(), index, Reported::Always);
        return;
    }
    beginReshape();
    m_rows.clear();
    m_rows.squeeze();
    m_rows.resize(m_count - 1);
    m_pagesHeld.clear();
    m_count -= 1;
    endReshape(-1, index, Reported::Always);
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
    // Rows were replaced: a new current row is always reported.
    reread(currentKey(), m_keyCol >= 0 ? 0 : m_current, Reported::Always);
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
    const int n = int(m_names.size());
    if (field >= 0 && field < n)
        return row(rawRow).at(field);
    ensureLoaded();
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
    if (!o || !o->m_open || o->m_paged)
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
    const int n = int(m_rows.size());
    m_visible.reserve(n);
    if (m_paged) {
        // Selected in SQL: every row read is shown.
        for (int raw = 0; raw < n; ++raw)
            m_visible.append(raw);
        return;
    }
    // The rows were selected in SQL; checking again here hides a row that was posted with
    // values the link or filter no longer let through, as a data-aware table does.
    int linkCol = -1;
    Matcher link;
    if (linkActive()) {
        linkCol = requireTableField(m_detailField);
        link = matcher(linkCol, m_linkValue);
    }
    const bool filter = m_filtered && bool(m_filter);
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
    m_beforeKey = currentKey();
    emit rowsAboutToReset();
}

void Dataset::endReshape(int keepRaw, int fallbackIndex, Reported reported)
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
    bool changed = true;
    switch (reported) {
    case Reported::IfRowChanged:
        changed = currentRawRow() != m_beforeRaw;
        break;
    case Reported::IfKeyChanged: {
        const QVariant now = currentKey();
        changed = m_keyCol < 0 || now.isNull() != m_beforeKey.isNull() ||
                  (!now.isNull() && !matcher(m_keyCol, m_beforeKey).matches(now));
        break;
    }
    case Reported::Always:
        break;
    }
    if (changed)
        emit currentChanged();
}

void Dataset::reselect(bool sqlChanged)
{
    if (!m_open || !m_loaded)
        return; // shown rows are worked out when the rows are read
    if (sqlChanged || m_paged) {
        // A new search starts at its first row when placing the old one would mean counting.
        reread(currentKey(), 0, Reported::IfKeyChanged, false);
        return;
    }
    beginReshape();
    endReshape(m_beforeRaw, 0);
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
    if (visibleRow >= m_visible.size())
        countSelection();
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
    requireOpen();
    countSelection();
    return moveTo(int(m_visible.size()) - 1);
}

bool Dataset::next()
{
    const int to = currentIndex() + 1;
    return (to < rowsAvailable() || canFetchMore()) && moveTo(to);
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
    if (!m_paged) {
        for (int i = 0; i < m_visible.size(); ++i) {
            const int raw = m_visible.at(i);
            if (table ? mt.matches(m_rows.at(raw).at(field)) : mt.matches(rawValue(raw, field)))
                return i;
        }
        return -1;
    }
    if (!table)
        throw DbError(QStringLiteral("%1 of %2 is a display column and cannot be searched.")
                          .arg(name, m_table));
    if (!mt.valid)
        return -1;
    if (field == m_keyCol)
        return rawOfKey(value);
    const QVector<Row> found =
        fetch(selectHead(m_readCondition, quoted(field) + QStringLiteral(" = ?")) +
                  QStringLiteral(" order by ") + orderText(false) + QStringLiteral(" rows 1"),
              m_readCondition.binds + QVariantList{bindable(field, value)}, 1);
    if (!found.isEmpty())
        return place(found.first());
    // A row being inserted is not in the database yet.
    if (m_editRaw >= m_count && mt.matches(m_rows.at(m_editRaw).at(field)))
        return m_editRaw;
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
    // Called from the master's signals: nobody above can take an error, so it is reported
    // and the rows are left empty.
    try {
        const QVariant v = masterValue();
        if (v.isNull() == m_linkValue.isNull() &&
            (v.isNull() || matcher(requireTableField(m_detailField), m_linkValue).matches(v)))
            return;
        reread(currentKey(), 0);
    } catch (const DbError& e) {
        DataErrors::report(e);
    }
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
    reselect(true);
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
    reselect(true);
}

void Dataset::restoreLink()
{
    if (!m_master || !m_linkReleased)
        return;
    m_linkReleased = false;
    reselect(true);
}

void Dataset::setFilter(Filter predicate, SqlFilter sql)
{
    m_filter = std::move(predicate);
    m_sqlFilter = std::move(sql);
    if (m_filtered)
        reselect(bool(m_sqlFilter));
}

void Dataset::setFiltered(bool on)
{
    // Switching on again applies the filter again: it may read a changed search text.
    if (!on && !m_filtered)
        return;
    m_filtered = on;
    reselect(bool(m_sqlFilter));
}

void Dataset::refilter()
{
    if (m_filtered)
        reselect(bool(m_sqlFilter));
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
    // Read first: a page being read leaves the row being edited as it is.
    const int raw = currentRawRow();
    m_original = row(raw);
    m_editRaw = raw;
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
    const bool inserted = m_state == State::Insert;
    if (inserted)
        postInsert();
    else
        postUpdate();
    const int raw = m_editRaw;
    const QVariant key = m_keyCol >= 0 ? m_rows.at(raw).at(m_keyCol) : QVariant();
    const int index = m_current;
    const Row original = m_original;
    m_editRaw = -1;
    m_rawBeforeInsert = -1;
    m_original.clear();
    m_state = State::Browse;
    if (m_paged) {
        // The row stands in its ordered place and the count follows.
        try {
            settleStored(key, raw, index, inserted, original);
        } catch (const DbError& e) {
            // The row is stored; only reading it back failed.
            DataErrors::report(e);
        }
    } else {
        beginReshape();
        endReshape(raw, 0);
    }
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
        m_rows.removeAt(m_editRaw);
        keep = m_rawBeforeInsert;
    } else if (m_paged && m_editRaw >= m_count) {
        // Carried past a read: the stored row is in its page already.
        m_rows.removeAt(m_editRaw);
        keep = rawOfKey(m_original.value(m_keyCol));
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
    const QVector<QVariant> row = this->row(raw);
    QVariantList binds;
    QString where;
    if (m_keyCol >= 0) {
        where = quoted(m_keyCol) + QStringLiteral(" = ?");
        binds << bindable(m_keyCol, row.at(m_keyCol));
    } else {
        where = matchOriginal(row, &binds) + QStringLiteral(" rows 1");
    }
    const QString sql = QStringLiteral("delete from %1 where %2").arg(m_table, where);
    bool deleted = true;
    {
        QSqlQuery q = m_db.prepare(sql);
        for (const QVariant& b : binds)
            q.addBindValue(b);
        m_db.execPrepared(q);
        deleted = q.numRowsAffected() != 0;
    }
    const int index = m_current;
    if (m_paged) {
        try {
            settleRemoved(index, deleted);
        } catch (const DbError& e) {
            DataErrors::report(e);
        }
    } else {
        beginReshape();
        m_rows.removeAt(raw);
        m_beforeRaw = -2; // raw numbers after the deleted row have moved down
        endReshape(-1, index, Reported::Always);
    }
    emit afterDelete();
}
