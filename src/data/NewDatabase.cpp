#include "data/NewDatabase.h"

#include "data/Database.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>

// The scripts are compiled into the core library; a static library must register them itself.
static void initSchemaResources()
{
    Q_INIT_RESOURCE(schema);
}

namespace NewDatabase {

QStringList splitScript(const QString& script)
{
    static const QRegularExpression setTerm(
        QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*(\\S*)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (current.isEmpty() && (line.isEmpty() || line.startsWith(QLatin1String("--"))))
            continue;
        QString candidate = line;
        if (candidate.endsWith(terminator))
            candidate.chop(terminator.size());
        if (current.isEmpty()) {
            // "SET TERM ^ ;" ends with the old terminator; the new one is its first word.
            const auto m = setTerm.match(line);
            if (m.hasMatch()) {
                terminator = m.captured(1);
                if (terminator.endsWith(QLatin1Char(';')) && terminator.size() > 1)
                    terminator.chop(1);
                continue;
            }
        }
        if (line.endsWith(terminator)) {
            current += raw.left(raw.lastIndexOf(terminator));
            const QString statement = current.trimmed();
            if (!statement.isEmpty())
                statements << statement;
            current.clear();
        } else {
            current += raw + QLatin1Char('\n');
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QStringList scriptStatements(const QString& name)
{
    initSchemaResources();
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The schema script %1 is missing from the program.").arg(name));
    return splitScript(QString::fromUtf8(file.readAll()));
}

void runScript(Database& db, const QString& name)
{
    const QStringList statements = scriptStatements(name);
    for (const QString& statement : statements)
        db.exec(statement);
}

namespace {

// Letter bodies are RTF files beside the seed script; the seed rows carry their titles.
void loadLetterBodies(Database& db)
{
    QSqlQuery update = db.prepare(QStringLiteral("update letters set body=? where lid=?"));
    for (int lid = 1; lid <= 4; ++lid) {
        initSchemaResources();
        QFile file(QStringLiteral(":/schema/letters/%1.rtf").arg(lid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        update.bindValue(0, file.readAll());
        update.bindValue(1, lid);
        db.execPrepared(update);
    }
}

} // namespace

bool create(const QString& path, QString* error)
{
    // Built with forced writes off for speed, then switched on before anyone uses the file.
    if (!Database::createFile(path, false, error))
        return false;
    bool ok = false;
    {
        Database db(QStringLiteral("keystead-create"));
        if (db.Connect(path, error)) {
            try {
                runScript(db, QStringLiteral("tables.sql"));
                {
                    Transaction t(db);
                    runScript(db, QStringLiteral("seed.sql"));
                    loadLetterBodies(db);
                    t.commit();
                }
                runScript(db, QStringLiteral("indexes.sql"));
                ok = true;
            } catch (const DbError& e) {
                if (error)
                    *error = e.message() + (e.sql().isEmpty() ? QString()
                                                             : QStringLiteral("\nin: ") + e.sql());
            }
            db.Disconnect();
        }
    }
    if (ok)
        ok = Database::setForcedWrites(path, true, error);
    if (ok)
        ok = QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!ok)
        QFile::remove(path);
    return ok;
}

} // namespace NewDatabase
