#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <stdexcept>

// A database error with the engine's own text, and the statement that raised it.
class DbError : public std::runtime_error
{
public:
    DbError(const QString& message, const QString& sql = QString());
    const QString& message() const { return m_message; }
    const QString& sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};

// The program's one connection to the Firebird database file.
// Outside a Transaction every statement commits by itself.
//
// Texts are stored single-byte in Windows-1252, the character set of the earlier release.
// The connection speaks UTF-8 and the engine converts both ways, so a stored byte reads back
// as its character and is written back unchanged. A character Windows-1252 cannot hold is
// refused here, before any statement or bound value reaches the engine.
class Database
{
public:
    static constexpr const char* User = "sysdba";
    static constexpr const char* Password = "pinewheel";
    // The character set of new files and of every text column.
    static constexpr const char* Charset = "WIN1252";

    explicit Database(const QString& connectionName = QStringLiteral("keystead"));
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file (embedded when the path has no host part, "host:/path" reaches a server).
    // Closes a previous connection first. Returns false with the engine's text in *error.
    bool Connect(const QString& path, QString* error = nullptr);
    void Disconnect();
    bool isOpen() const;
    QString path() const { return m_path; }
    QSqlDatabase handle() const;

    // The message that refuses TEXT because it holds a character the database cannot store,
    // or an empty text when every character can be stored.
    static QString unstorable(QStringView text);

    // Memo text kept in a binary blob (BLOB SUB_TYPE 0), which the engine does not convert:
    // written as Windows-1252 bytes, like every other text of the file (throws DbError naming
    // a character it cannot hold); read as Windows-1252, or as UTF-8 when the bytes are valid
    // UTF-8, which earlier builds of this program wrote there.
    static QByteArray memoBytes(const QString& text);
    static QString memoText(const QVariant& bytes);

    // Runs one statement; throws DbError with the engine's text on failure.
    void exec(const QString& sql);
    // Runs a select and returns the positioned-before-first query; throws DbError.
    QSqlQuery select(const QString& sql);
    // The first column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql);
    // Prepares once for repeated use with bound values; throws DbError.
    QSqlQuery prepare(const QString& sql);
    // Executes a prepared query with its current bound values; throws DbError.
    void execPrepared(QSqlQuery& query);

    // Draws the next key from a generator (advances it by one, whether or not the row is stored).
    int NextKey(const QString& generator);

    bool inTransaction() const { return m_inTransaction; }
    void begin();
    void commit();
    void rollback();

    // Test seam: called with each statement's text before it runs; may throw DbError.
    std::function<void(const QString& sql)> beforeExec;

    // Creates a new, empty database file (no tables) whose texts default to CHARSET.
    // Fails if the file exists.
    static bool createFile(const QString& path, bool forcedWrites, QString* error,
                           const char* charset = Charset);
    // Sets or clears forced (synchronous) writes of an existing file; needs no other attachment.
    static bool setForcedWrites(const QString& path, bool on, QString* error);

private:
    void check(QSqlQuery& q, bool ok, const QString& sql);
    static void refuseUnstorable(const QString& sql);
    static void refuseUnstorableValues(const QSqlQuery& query);

    QString m_name;
    QString m_path;
    bool m_inTransaction = false;
};

// Scoped unit of work on the connection: commit() explicitly; otherwise rolled back when it
// goes out of scope. When the caller already has a transaction open, this one joins it and
// leaves commit and rollback to the caller.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    bool owns() const { return m_owns; }

private:
    Database& m_db;
    bool m_owns = false;
    bool m_done = false;
};
