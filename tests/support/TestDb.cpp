#include "support/TestDb.h"

#include "data/NewDatabase.h"
#include "data/SqlText.h"

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

void TestDb::copyTemplate(const QString& path)
{
    QFile::remove(path);
    if (!QFile::copy(templatePath(), path))
        qFatal("cannot copy the template database to %s", qPrintable(path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TestDb::TestDb()
{
    m_path = m_dir.filePath(QStringLiteral("DATA.FDB"));
    copyTemplate(m_path);
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

void makeOldFormat(Database& db, const QList<QPair<QString, QString>>& users)
{
    const char* const statements[] = {
        "ALTER TABLE AGREEMENTS DROP DEPOSIT",
        "ALTER TABLE USERS DROP NPASSWORD",
        "ALTER TABLE USERS ADD \"PASSWORD\" VARCHAR(20)",
        "DROP TABLE LETTERS",
        "DROP GENERATOR GEN_LETTERS_ID",
        "DROP TABLE DEPOSITS",
        "DROP GENERATOR GEN_DEPOSITS_ID",
        "DELETE FROM USERS",
    };
    for (const char* s : statements)
        db.exec(QLatin1String(s));
    int wid = 1;
    for (const auto& [id, password] : users) {
        db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, MODUSERS, \"PASSWORD\") "
                               "values (%1, %2, %2, 1, %3)")
                    .arg(wid++)
                    .arg(sqlQuote(id), password.isNull() ? QStringLiteral("NULL")
                                                          : sqlQuote(password)));
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
