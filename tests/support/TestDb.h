#pragma once

#include "data/Database.h"

#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private copy of the template database for one test, connected and removed afterwards.
class TestDb
{
public:
    // A file of the earlier release: texts as bytes without a character set (NONE), no
    // SETUP.SETUPORDER, AGREEMENTS.DEPOSIT, USERS.NPASSWORD, LETTERS or DEPOSITS, no
    // indexes beyond the primary keys, plain passwords in a quoted "PASSWORD" column and no
    // users (see setOldUsers).
    enum Format { Current, EarlierRelease };

    explicit TestDb(Format format = Current);
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    Database& db() { return *m_db; }
    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

    // Closes and reopens the connection (to see what a later start would see).
    void reconnect();

    // The template, built on first use when the test run has not built it yet.
    static QString templatePath();
    // The template of the earlier release's format, built on first use.
    static QString earlierTemplatePath();
    // Copies the template of FORMAT to PATH.
    static void copyTemplate(const QString& path, Format format = Current);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

// TEXT as the earlier release stored it: its Windows-1252 bytes, as an SQL expression that
// puts them into a column without a character set unchanged.
QString earlierText(const QString& text);

// USERS of an earlier-release file gets exactly the given (ID, plain password) rows, WID
// from 1; a null password is stored as NULL.
void setOldUsers(Database& db, const QList<QPair<QString, QString>>& users);

// Runs keystead-admin with the arguments; returns the exit code, fills stdout and stderr.
int runAdmin(const QStringList& args, QString* out = nullptr, QString* err = nullptr);
