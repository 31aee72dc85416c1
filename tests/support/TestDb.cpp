#include "support/TestDb.h"

#include "data/NewDatabase.h"
#include "data/Windows1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <atomic>

namespace {
std::atomic<int> g_counter{0};
}

QString TestDb::templatePath()
{
    const QString path = QStringLiteral(KEYSTEAD_TEMPLATE_DB);
    if (!QFileInfo::exists(path)) {
        QString error;
        if (!NewDatabase::create(path, &error))
            qFatal("cannot build the template database: %s", qPrintable(error));
    }
    return path;
}

QString TestDb::earlierTemplatePath()
{
    const QString path = QStringLiteral(KEYSTEAD_EARLIER_TEMPLATE_DB);
    if (QFileInfo::exists(path))
        return path;
    // Tests run side by side: each builds its own file, and the first to finish provides it.
    const QString part =
        path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QFile::remove(part);
    QString error;
    if (!Database::createFile(part, false, &error, "NONE"))
        qFatal("cannot create the earlier-release template: %s", qPrintable(error));
    {
        Database db(QStringLiteral("earlier-template"));
        if (!db.Connect(part, &error))
            qFatal("cannot open the earlier-release template: %s", qPrintable(error));
        try {
            NewDatabase::runScript(db, QStringLiteral("tables.sql"));
            {
                Transaction t(db);
                NewDatabase::runScript(db, QStringLiteral("seed.sql"));
                t.commit();
            }
            const char* const earlier[] = {
                "ALTER TABLE AGREEMENTS DROP DEPOSIT",
                "ALTER TABLE USERS DROP NPASSWORD",
                "ALTER TABLE USERS ADD \"PASSWORD\" VARCHAR(120)",
                "ALTER TABLE SETUP DROP SETUPORDER",
                "DROP TABLE LETTERS",
                "DROP GENERATOR GEN_LETTERS_ID",
                "DROP TABLE DEPOSITS",
                "DROP GENERATOR GEN_DEPOSITS_ID",
                "DELETE FROM USERS",
            };
            for (const char* s : earlier)
                db.exec(QLatin1String(s));
        } catch (const DbError& e) {
            qFatal("cannot build the earlier-release template: %s in %s", qPrintable(e.message()),
                   qPrintable(e.sql()));
        }
        db.Disconnect();
    }
    if (!QFile::rename(part, path))
        QFile::remove(part);
    return path;
}

void TestDb::copyTemplate(const QString& path, Format format)
{
    QFile::remove(path);
    if (!QFile::copy(format == Current ? templatePath() : earlierTemplatePath(), path))
        qFatal("cannot copy the template database to %s", qPrintable(path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TestDb::TestDb(Format format)
{
    m_path = m_dir.filePath(QStringLiteral("DATA.FDB"));
    copyTemplate(m_path, format);
    m_db = std::make_unique<Database>(QStringLiteral("test%1").arg(g_counter++));
    QString error;
    if (!m_db->Connect(m_path, &error))
        qFatal("cannot open the test database: %s", qPrintable(error));
}

TestDb::~TestDb()
{
    m_db->Disconnect();
}

void TestDb::reconnect()
{
    m_db->Disconnect();
    QString error;
    if (!m_db->Connect(m_path, &error))
        qFatal("cannot reopen the test database: %s", qPrintable(error));
}

QString earlierText(const QString& text)
{
    const QByteArray bytes = Windows1252::encode(text);
    if (bytes.isEmpty())
        return QStringLiteral("''");
    return QStringLiteral("cast(x'%1' as varchar(%2) character set octets)")
        .arg(QString::fromLatin1(bytes.toHex()))
        .arg(bytes.size());
}

void setOldUsers(Database& db, const QList<QPair<QString, QString>>& users)
{
    db.exec(QStringLiteral("DELETE FROM USERS"));
    int wid = 1;
    for (const auto& [id, password] : users) {
        db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, MODUSERS, \"PASSWORD\") "
                               "values (%1, %2, %2, 1, %3)")
                    .arg(wid++)
                    .arg(earlierText(id), password.isNull() ? QStringLiteral("NULL")
                                                             : earlierText(password)));
    }
}

int runAdmin(const QStringList& args, QString* out, QString* err)
{
    QProcess p;
    p.start(QStringLiteral(KEYSTEAD_ADMIN), args);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (err)
        *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
