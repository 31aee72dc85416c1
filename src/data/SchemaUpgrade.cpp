#include "data/SchemaUpgrade.h"

#include "data/Cipher.h"
#include "data/Database.h"
#include "data/NewDatabase.h"
#include "data/SqlText.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

const char* const LettersTrigger =
    "CREATE OR ALTER TRIGGER LETTERS_BI FOR LETTERS\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "  IF (NEW.LID IS NULL) THEN\n"
    "    NEW.LID = GEN_ID(GEN_LETTERS_ID,1);\n"
    "END";

const char* const DepositsTrigger =
    "CREATE OR ALTER TRIGGER DEPOSITS_BI FOR DEPOSITS\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "  IF (NEW.DEPID IS NULL) THEN\n"
    "    NEW.DEPID = GEN_ID(GEN_DEPOSITS_ID,1);\n"
    "END";

// A table the upgrade creates when it is missing. Each part is created on its own when it is
// missing, so a file left half-done by an earlier upgrade is finished rather than refused.
struct KeyedTable
{
    const char* step;
    const char* table;
    const char* key;
    const char* generator;
    const char* create;
    const char* triggerName;
    const char* trigger;
};

const KeyedTable Letters = {
    "created LETTERS with its generator, key and trigger", "LETTERS", "LID", "GEN_LETTERS_ID",
    "CREATE TABLE LETTERS (LID INTEGER NOT NULL, TITLE VARCHAR(255), "
    "BODY BLOB SUB_TYPE 0 SEGMENT SIZE 80)",
    "LETTERS_BI", LettersTrigger};

const KeyedTable Deposits = {
    "created DEPOSITS with its generator, key and trigger", "DEPOSITS", "DEPID", "GEN_DEPOSITS_ID",
    "CREATE TABLE DEPOSITS (DEPID INTEGER NOT NULL, TID INTEGER, TDATE DATE, "
    "AMOUNT NUMERIC(15,2) DEFAULT 0, MEMO VARCHAR(255), PAYMENTTYPE VARCHAR(100))",
    "DEPOSITS_BI", DepositsTrigger};

// Text blobs are copied through a column of this suffix while they are converted.
const QString Companion = QStringLiteral("_W1252");

QString ident(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString companionOf(const QString& column)
{
    return column.left(31 - Companion.size()) + Companion;
}

// Firebird's field types of text columns.
enum FieldType { Char = 14, Varchar = 37, Blob = 261 };

struct Column
{
    QString name;
    int type = 0;
    int subType = 0;
    int length = 0; // characters
    int charset = 0;

    bool isText() const { return type == Char || type == Varchar || isTextBlob(); }
    bool isTextBlob() const { return type == Blob && subType == 1; }
    // A text column of the earlier release: bytes without a character set.
    bool needsCharset() const { return isText() && charset == 0; }
    QString textType() const
    {
        return QStringLiteral("%1(%2) CHARACTER SET %3")
            .arg(type == Char ? QStringLiteral("CHAR") : QStringLiteral("VARCHAR"))
            .arg(length)
            .arg(QLatin1String(Database::Charset));
    }
};

struct Failed
{
};

class Upgrade
{
public:
    Upgrade(Database& db, UpgradeResult& result) : m_db(db), m_result(result) {}

    void defaultCharset();
    void textColumns();
    void agreementDeposit();
    void passwordColumn();
    void passwords();
    void keyedTable(const KeyedTable& t);
    void setupOrder();
    void indexes();

private:
    // Runs STATEMENTS in one transaction: they commit together or not at all, so a failure
    // leaves the step to the next start. A failure stops the upgrade (throws Failed).
    void run(const QString& step, const QStringList& statements);

    bool hasRow(const QString& sql) { return m_db.select(sql).next(); }
    bool tableExists(const QString& table);
    bool columnExists(const QString& table, const QString& column);
    int textLength(const QString& table, const QString& column);

    Database& m_db;
    UpgradeResult& m_result;
};

void Upgrade::run(const QString& step, const QStringList& statements)
{
    if (statements.isEmpty())
        return;
    QString current;
    try {
        Transaction t(m_db);
        for (const QString& statement : statements) {
            current = statement;
            m_db.exec(statement);
        }
        current.clear();
        t.commit();
    } catch (const DbError& e) {
        m_result.ok = false;
        m_result.error = QStringLiteral("Upgrade step \"%1\" failed: %2").arg(step, e.message());
        if (!current.isEmpty())
            m_result.error += QStringLiteral("\nStatement: ") + current;
        throw Failed();
    }
    m_result.statements << statements;
    if (!m_result.stepsRun.contains(step))
        m_result.stepsRun << step;
}

bool Upgrade::tableExists(const QString& table)
{
    return hasRow(QStringLiteral("select 1 from RDB$RELATIONS where RDB$RELATION_NAME = ") +
                  sqlQuote(table));
}

bool Upgrade::columnExists(const QString& table, const QString& column)
{
    return hasRow(QStringLiteral("select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = %1 "
                                 "and RDB$FIELD_NAME = %2")
                      .arg(sqlQuote(table), sqlQuote(column)));
}

int Upgrade::textLength(const QString& table, const QString& column)
{
    return m_db
        .scalar(QStringLiteral("select f.RDB$CHARACTER_LENGTH from RDB$RELATION_FIELDS rf "
                               "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                               "where rf.RDB$RELATION_NAME = %1 and rf.RDB$FIELD_NAME = %2")
                    .arg(sqlQuote(table), sqlQuote(column)))
        .toInt();
}

// Columns added from here on take the file's default character set.
void Upgrade::defaultCharset()
{
    const QString current =
        m_db.scalar(QStringLiteral("select RDB$CHARACTER_SET_NAME from RDB$DATABASE"))
            .toString()
            .trimmed();
    if (current.compare(QLatin1String(Database::Charset), Qt::CaseInsensitive) != 0)
        run(QStringLiteral("set the default character set to %1").arg(Database::Charset),
            {QStringLiteral("ALTER DATABASE SET DEFAULT CHARACTER SET %1").arg(Database::Charset)});
}

// The earlier release kept texts as bytes without a character set. Each such column gets
// WIN1252 with its bytes as they are. Firebird ignores a new character set given with a
// column's type but takes a domain's, so VARCHAR and CHAR columns pass through a domain and
// back to a plain type; that changes only the table's description, not its rows. A blob
// column's type cannot change at all: text blobs are copied into a new column, the old one
// is dropped and the new one takes its name and place. The new column must be committed
// before rows can be written to it, so that takes two transactions; a start that finds the
// new column already there carries on from the copy.
void Upgrade::textColumns()
{
    std::map<QString, std::vector<Column>> tables;
    {
        QSqlQuery q = m_db.select(QStringLiteral(
            "select trim(rf.RDB$RELATION_NAME), trim(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, "
            "f.RDB$FIELD_SUB_TYPE, f.RDB$CHARACTER_LENGTH, coalesce(f.RDB$CHARACTER_SET_ID, 0) "
            "from RDB$RELATION_FIELDS rf "
            "join RDB$RELATIONS r on r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
            "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
            "where coalesce(r.RDB$SYSTEM_FLAG, 0) = 0 and r.RDB$VIEW_BLR is null "
            "order by rf.RDB$RELATION_NAME, rf.RDB$FIELD_POSITION"));
        while (q.next()) {
            Column c;
            c.name = q.value(1).toString();
            c.type = q.value(2).toInt();
            c.subType = q.value(3).toInt();
            c.length = q.value(4).toInt();
            c.charset = q.value(5).toInt();
            tables[q.value(0).toString()].push_back(c);
        }
    }
    const QString step =
        QStringLiteral("converted the text columns to %1").arg(Database::Charset);
    for (const auto& [table, all] : tables) {
        QSet<QString> names;
        for (const Column& c : all)
            names.insert(c.name);
        // The table's own columns in their order, without the copies of a half-done run.
        std::vector<Column> columns;
        QSet<QString> companions;
        for (const Column& c : all) {
            if (c.name.endsWith(Companion) && c.isTextBlob()) {
                const auto base = std::find_if(all.begin(), all.end(), [&](const Column& b) {
                    return b.isTextBlob() && b.needsCharset() && companionOf(b.name) == c.name;
                });
                if (base != all.end()) {
                    companions.insert(c.name);
                    continue;
                }
            }
            columns.push_back(c);
        }
        std::vector<std::pair<Column, int>> blobs; // with their place among the columns
        std::vector<Column> texts;
        for (int i = 0; i < int(columns.size()); ++i) {
            const Column& c = columns[size_t(i)];
            if (!c.needsCharset())
                continue;
            if (c.isTextBlob())
                blobs.emplace_back(c, i);
            else
                texts.push_back(c);
        }
        if (blobs.empty() && texts.empty())
            continue;

        const QString t = ident(table);
        QStringList adds;
        for (const auto& [b, place] : blobs) {
            if (!companions.contains(companionOf(b.name)))
                adds << QStringLiteral("ADD %1 BLOB SUB_TYPE TEXT CHARACTER SET %2")
                            .arg(ident(companionOf(b.name)), QLatin1String(Database::Charset));
        }
        if (!adds.isEmpty())
            run(step, {QStringLiteral("ALTER TABLE %1 %2").arg(t, adds.join(QStringLiteral(", ")))});

        QStringList statements;
        for (const auto& [b, place] : blobs)
            statements << QStringLiteral("UPDATE %1 SET %2 = %3 WHERE %3 IS NOT NULL")
                              .arg(t, ident(companionOf(b.name)), ident(b.name));
        if (!texts.empty()) {
            QStringList domains, toDomain, toPlain;
            for (const Column& c : texts) {
                const QString domain = QStringLiteral("KEYSTEAD_%1_%2%3")
                                           .arg(QLatin1String(Database::Charset),
                                                c.type == Char ? QStringLiteral("C")
                                                               : QStringLiteral("V"))
                                           .arg(c.length);
                if (!domains.contains(domain)) {
                    domains << domain;
                    statements << QStringLiteral("CREATE DOMAIN %1 AS %2").arg(domain, c.textType());
                }
                toDomain << QStringLiteral("ALTER %1 TYPE %2").arg(ident(c.name), domain);
                toPlain << QStringLiteral("ALTER %1 TYPE %2").arg(ident(c.name), c.textType());
            }
            statements << QStringLiteral("ALTER TABLE %1 %2").arg(t, toDomain.join(QStringLiteral(", ")))
                       << QStringLiteral("ALTER TABLE %1 %2").arg(t, toPlain.join(QStringLiteral(", ")));
            for (const QString& domain : domains)
                statements << QStringLiteral("DROP DOMAIN %1").arg(domain);
        }
        for (const auto& [b, place] : blobs)
            statements << QStringLiteral("ALTER TABLE %1 DROP %2").arg(t, ident(b.name))
                       << QStringLiteral("ALTER TABLE %1 ALTER %2 TO %3")
                              .arg(t, ident(companionOf(b.name)), ident(b.name));
        // In the order of the columns, so that each lands where it was.
        for (const auto& [b, place] : blobs)
            statements << QStringLiteral("ALTER TABLE %1 ALTER %2 POSITION %3")
                              .arg(t, ident(b.name))
                              .arg(place + 1);
        run(step, statements);
    }
}

void Upgrade::agreementDeposit()
{
    if (!columnExists(QStringLiteral("AGREEMENTS"), QStringLiteral("DEPOSIT")))
        run(QStringLiteral("added AGREEMENTS.DEPOSIT"),
            {QStringLiteral("ALTER TABLE AGREEMENTS ADD DEPOSIT NUMERIC(15,2) DEFAULT 0")});
}

// Wide enough for the enciphered form of any password the login dialog takes; the earlier
// release's 30 characters held passwords of at most 21.
void Upgrade::passwordColumn()
{
    const QString users = QStringLiteral("USERS");
    const QString column = QStringLiteral("NPASSWORD");
    if (!columnExists(users, column))
        run(QStringLiteral("added USERS.NPASSWORD"),
            {QStringLiteral("ALTER TABLE USERS ADD NPASSWORD VARCHAR(%1)").arg(NPasswordWidth)});
    else if (textLength(users, column) < NPasswordWidth)
        run(QStringLiteral("widened USERS.NPASSWORD to %1 characters").arg(NPasswordWidth),
            {QStringLiteral("ALTER TABLE USERS ALTER NPASSWORD TYPE VARCHAR(%1)").arg(NPasswordWidth)});
}

// Old databases keep plain passwords in a quoted "PASSWORD" column. They are enciphered
// into NPASSWORD in one transaction, and the old column is dropped only after that commit,
// so a failure never leaves users with half-converted passwords.
void Upgrade::passwords()
{
    if (!columnExists(QStringLiteral("USERS"), QStringLiteral("PASSWORD")))
        return;
    const QString step = QStringLiteral("enciphered the passwords and dropped USERS.PASSWORD");
    std::vector<std::pair<int, QString>> rows;
    int longest = 0;
    {
        QSqlQuery q = m_db.select(QStringLiteral("select wid, \"PASSWORD\" from users"));
        while (q.next()) {
            const QString enciphered = Encipher(q.value(1).toString());
            longest = std::max(longest, int(enciphered.size()));
            rows.emplace_back(q.value(0).toInt(), enciphered);
        }
    }
    // A password longer than any the login dialog takes must not stop the upgrade.
    if (longest > textLength(QStringLiteral("USERS"), QStringLiteral("NPASSWORD")))
        run(step, {QStringLiteral("ALTER TABLE USERS ALTER NPASSWORD TYPE VARCHAR(%1)").arg(longest)});
    QStringList updates;
    for (const auto& [wid, enciphered] : rows)
        updates << QStringLiteral("update users set npassword =") + sqlQuote(enciphered) +
                       QStringLiteral(" where wid=") + sqlNumber(qint64(wid));
    run(step, updates);
    run(step, {QStringLiteral("ALTER TABLE users drop \"PASSWORD\"")});
}

void Upgrade::keyedTable(const KeyedTable& k)
{
    const QString table = QLatin1String(k.table);
    QStringList statements;
    if (!hasRow(QStringLiteral("select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME = ") +
                sqlQuote(QLatin1String(k.generator))))
        statements << QStringLiteral("CREATE GENERATOR %1;").arg(QLatin1String(k.generator));
    if (!tableExists(table))
        statements << QLatin1String(k.create);
    if (!hasRow(QStringLiteral("select 1 from RDB$RELATION_CONSTRAINTS where RDB$RELATION_NAME = %1 "
                               "and RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'")
                    .arg(sqlQuote(table))))
        statements << QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT PK_%1 PRIMARY KEY (%2);")
                          .arg(table, QLatin1String(k.key));
    if (!hasRow(QStringLiteral("select 1 from RDB$TRIGGERS where RDB$TRIGGER_NAME = ") +
                sqlQuote(QLatin1String(k.triggerName))))
        statements << QLatin1String(k.trigger);
    run(QLatin1String(k.step), statements);
}

// The program reads the SETUP rows in SETUPORDER; the earlier release read them in the order
// the database returns them, so existing rows are numbered in that order.
void Upgrade::setupOrder()
{
    const QString setup = QStringLiteral("SETUP");
    if (!tableExists(setup))
        return;
    const QString step = QStringLiteral("added SETUP.SETUPORDER");
    if (!columnExists(setup, QStringLiteral("SETUPORDER")))
        run(step, {QStringLiteral("ALTER TABLE SETUP ADD SETUPORDER INTEGER")});
    QStringList statements;
    if (hasRow(QStringLiteral("select 1 from SETUP where SETUPORDER is null")))
        statements << QStringLiteral(
            "EXECUTE BLOCK AS\n"
            "DECLARE n INTEGER;\n"
            "BEGIN\n"
            "  SELECT coalesce(max(SETUPORDER), 0) FROM SETUP INTO :n;\n"
            "  FOR SELECT SETUPORDER FROM SETUP WHERE SETUPORDER IS NULL AS CURSOR c DO\n"
            "  BEGIN\n"
            "    n = n + 1;\n"
            "    UPDATE SETUP SET SETUPORDER = :n WHERE CURRENT OF c;\n"
            "  END\n"
            "END");
    if (hasRow(QStringLiteral("select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = 'SETUP' "
                              "and RDB$FIELD_NAME = 'SETUPORDER' and coalesce(RDB$NULL_FLAG, 0) = 0")))
        statements << QStringLiteral("ALTER TABLE SETUP ALTER SETUPORDER SET NOT NULL");
    run(step, statements);
}

// Each index commits on its own: on a large file they take a while, and one that fails
// leaves the others built.
void Upgrade::indexes()
{
    static const QRegularExpression name(QStringLiteral("INDEX\\s+(\\w+)\\s+ON\\s+(\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QSet<QString> existing;
    {
        QSqlQuery q = m_db.select(QStringLiteral("select trim(RDB$INDEX_NAME) from RDB$INDICES"));
        while (q.next())
            existing.insert(q.value(0).toString().toUpper());
    }
    QStringList missing;
    const QStringList statements = NewDatabase::scriptStatements(QStringLiteral("indexes.sql"));
    for (const QString& statement : statements) {
        const auto m = name.match(statement);
        if (m.hasMatch() && !existing.contains(m.captured(1).toUpper()) &&
            tableExists(m.captured(2).toUpper()))
            missing << statement;
    }
    const QString step = QStringLiteral("created %1 indexes").arg(missing.size());
    for (const QString& statement : missing)
        run(step, {statement});
}

} // namespace

UpgradeResult UpgradeSchema(Database& db)
{
    UpgradeResult result;
    Upgrade upgrade(db, result);
    try {
        upgrade.defaultCharset();
        // Before the passwords are read: an old password's accented letters must read as such.
        upgrade.textColumns();
        upgrade.agreementDeposit();
        upgrade.passwordColumn();
        upgrade.passwords();
        upgrade.keyedTable(Letters);
        upgrade.keyedTable(Deposits);
        upgrade.setupOrder();
        upgrade.indexes();
    } catch (const Failed&) {
    } catch (const DbError& e) {
        result.ok = false;
        result.error = QStringLiteral("The schema upgrade could not read the database: ") +
                       e.message();
    }
    return result;
}
