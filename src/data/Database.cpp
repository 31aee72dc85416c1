#include "data/Database.h"

#include <QStringDecoder>

#include "data/Windows1252.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <ibase.h>
#include <cstdlib>
#include <memory>
#include <string>

DbError::DbError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql)
{
}

namespace {

QString errorText(const QSqlError& e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    return t;
}

void addDpbString(std::string& dpb, char item, const QByteArray& value)
{
    dpb += item;
    dpb += char(value.size());
    dpb.append(value.constData(), size_t(value.size()));
}

void addDpbInt(std::string& dpb, char item, int value)
{
    dpb += item;
    dpb += char(4);
    for (int i = 0; i < 4; ++i)
        dpb += char((value >> (8 * i)) & 0xff);
}

QString statusText(const ISC_STATUS* status)
{
    QString text;
    char buffer[512];
    const ISC_STATUS* vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLocal8Bit(buffer);
    }
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

bool failed(const ISC_STATUS* status)
{
    return status[0] == 1 && status[1] != 0;
}

// Which parameters of a prepared statement are text blobs. The driver binds a blob as bytes;
// for a text blob the engine takes them as UTF-8 and converts them like any other text.
QList<bool> textBlobParameters(const QSqlQuery& query, qsizetype count)
{
    QList<bool> textBlob(count, false);
    const QSqlResult* result = query.result();
    const QVariant handle = result ? result->handle() : QVariant();
    if (!handle.isValid() || handle.metaType() != QMetaType::fromType<isc_stmt_handle>())
        return textBlob;
    isc_stmt_handle statement = *static_cast<const isc_stmt_handle*>(handle.constData());
    const short n = short(std::max<qsizetype>(count, 1));
    std::unique_ptr<XSQLDA, decltype(&std::free)> da(
        static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n))), &std::free);
    if (!da)
        return textBlob;
    da->version = SQLDA_VERSION1;
    da->sqln = n;
    ISC_STATUS_ARRAY status = {};
    isc_dsql_describe_bind(status, &statement, SQL_DIALECT_V6, da.get());
    if (failed(status))
        return textBlob;
    for (qsizetype i = 0; i < count && i < da->sqld && i < da->sqln; ++i) {
        const XSQLVAR& v = da->sqlvar[i];
        textBlob[i] = (v.sqltype & ~1) == SQL_BLOB && v.sqlsubtype == 1;
    }
    return textBlob;
}

std::string baseDpb()
{
    std::string dpb;
    dpb += char(isc_dpb_version1);
    addDpbString(dpb, isc_dpb_user_name, Database::User);
    addDpbString(dpb, isc_dpb_password, Database::Password);
    return dpb;
}

} // namespace

Database::Database(const QString& connectionName) : m_name(connectionName) {}

Database::~Database()
{
    Disconnect();
}

bool Database::Connect(const QString& path, QString* error)
{
    Disconnect();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_name);
    db.setDatabaseName(path);
    db.setUserName(QLatin1String(User));
    db.setPassword(QLatin1String(Password));
    // The driver reads and writes texts as UTF-8, so the connection must speak it (Qt 6.4
    // always does; the option keeps it so with drivers that honour it).
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    m_path = path;
    // A local path that does not exist would otherwise be reported as a bare I/O error.
    if (!path.contains(QLatin1Char(':')) && !QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("The database file %1 does not exist.").arg(path);
        return false;
    }
    if (!db.open()) {
        if (error)
            *error = errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return true;
}

void Database::Disconnect()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    m_inTransaction = false;
    QSqlDatabase::removeDatabase(m_name);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

void Database::check(QSqlQuery& q, bool ok, const QString& sql)
{
    if (!ok)
        throw DbError(errorText(q.lastError()), sql);
}

QString Database::unstorable(QStringView text)
{
    const char32_t c = Windows1252::firstUnencodable(text);
    if (c == 0)
        return QString();
    const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    const QString shown = QString::fromUcs4(&c, 1);
    const bool visible = QChar::isPrint(c) && !QChar::isSpace(c);
    return QStringLiteral("The character %1 cannot be stored: the database keeps Western "
                          "European text (Windows-1252) only. Please replace or remove it.")
        .arg(visible ? QStringLiteral("\"%1\" (%2)").arg(shown, code) : code);
}

QByteArray Database::memoBytes(const QString& text)
{
    const QString message = unstorable(text);
    if (!message.isEmpty())
        throw DbError(message);
    return Windows1252::encode(text);
}

QString Database::memoText(const QVariant& bytes)
{
    if (bytes.isNull())
        return QString();
    const QByteArray b = bytes.toByteArray();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(b);
    return utf8.hasError() ? Windows1252::decode(b) : text;
}

void Database::refuseUnstorable(const QString& sql)
{
    const QString message = unstorable(sql);
    if (!message.isEmpty())
        throw DbError(message, sql);
}

void Database::refuseUnstorableValues(const QSqlQuery& query)
{
    const QVariantList values = query.boundValues();
    QList<bool> textBlob;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        QString message;
        if (v.metaType().id() == QMetaType::QString) {
            message = unstorable(v.toString());
        } else if (v.metaType().id() == QMetaType::QByteArray && !v.isNull()) {
            if (textBlob.isEmpty())
                textBlob = textBlobParameters(query, values.size());
            if (textBlob.at(i))
                message = unstorable(QString::fromUtf8(v.toByteArray()));
        }
        if (!message.isEmpty())
            throw DbError(message, query.lastQuery());
    }
}

void Database::exec(const QString& sql)
{
    refuseUnstorable(sql);
    if (beforeExec)
        beforeExec(sql);
    QSqlQuery q(handle());
    check(q, q.exec(sql), sql);
}

QSqlQuery Database::select(const QString& sql)
{
    refuseUnstorable(sql);
    if (beforeExec)
        beforeExec(sql);
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    check(q, q.exec(sql), sql);
    return q;
}

QVariant Database::scalar(const QString& sql)
{
    QSqlQuery q = select(sql);
    return q.next() ? q.value(0) : QVariant();
}

QSqlQuery Database::prepare(const QString& sql)
{
    refuseUnstorable(sql);
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    check(q, q.prepare(sql), sql);
    return q;
}

void Database::execPrepared(QSqlQuery& query)
{
    refuseUnstorableValues(query);
    if (beforeExec)
        beforeExec(query.lastQuery());
    check(query, query.exec(), query.lastQuery());
}

int Database::NextKey(const QString& generator)
{
    const QString sql =
        QStringLiteral("SELECT Gen_ID(%1,1) as id FROM RDB$DATABASE").arg(generator);
    QSqlQuery q = select(sql);
    if (!q.next())
        throw DbError(QStringLiteral("The key generator %1 returned no row.").arg(generator), sql);
    return q.value(0).toInt();
}

void Database::begin()
{
    if (m_inTransaction)
        throw DbError(QStringLiteral("A transaction is already open."));
    QSqlDatabase db = handle();
    if (!db.transaction())
        throw DbError(errorText(db.lastError()));
    m_inTransaction = true;
}

void Database::commit()
{
    QSqlDatabase db = handle();
    if (!m_inTransaction)
        return;
    if (!db.commit()) {
        const QString text = errorText(db.lastError());
        db.rollback();
        m_inTransaction = false;
        throw DbError(text);
    }
    m_inTransaction = false;
}

void Database::rollback()
{
    if (!m_inTransaction)
        return;
    handle().rollback();
    m_inTransaction = false;
}

bool Database::createFile(const QString& path, bool forcedWrites, QString* error,
                          const char* charset)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 already exists; it is left as it is.").arg(path);
        return false;
    }
    std::string dpb = baseDpb();
    addDpbInt(dpb, isc_dpb_page_size, 8192);
    addDpbInt(dpb, isc_dpb_sql_dialect, 3);
    addDpbInt(dpb, isc_dpb_force_write, forcedWrites ? 1 : 0);
    addDpbString(dpb, isc_dpb_set_db_charset, QByteArray(charset));
    const QByteArray file = QFile::encodeName(path);
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    isc_create_database(status, 0, file.constData(), &handle, short(dpb.size()), dpb.data(), 0);
    if (failed(status)) {
        if (error)
            *error = statusText(status);
        return false;
    }
    isc_detach_database(status, &handle);
    return true;
}

bool Database::setForcedWrites(const QString& path, bool on, QString* error)
{
    std::string dpb = baseDpb();
    addDpbInt(dpb, isc_dpb_force_write, on ? 1 : 0);
    const QByteArray file = QFile::encodeName(path);
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    isc_attach_database(status, 0, file.constData(), &handle, short(dpb.size()), dpb.data());
    if (failed(status)) {
        if (error)
            *error = statusText(status);
        return false;
    }
    isc_detach_database(status, &handle);
    return true;
}

Transaction::Transaction(Database& db) : m_db(db)
{
    if (!m_db.inTransaction()) {
        m_db.begin();
        m_owns = true;
    }
}

Transaction::~Transaction()
{
    if (m_owns && !m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    if (m_owns && !m_done) {
        m_done = true;
        m_db.commit();
    }
}
