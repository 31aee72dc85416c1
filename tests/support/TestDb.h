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
    TestDb();
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
    // Copies the template to PATH.
    static void copyTemplate(const QString& path);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

// Rewrites a freshly copied template into the format of the earliest release: no
// AGREEMENTS.DEPOSIT, no USERS.NPASSWORD, no LETTERS, no DEPOSITS, and plain passwords in a
// quoted "PASSWORD" column. USERS gets exactly the given (ID, password) rows, WID from 1.
void makeOldFormat(Database& db, const QList<QPair<QString, QString>>& users);

// Runs keystead-admin with the arguments; returns the exit code, fills stdout and stderr.
int runAdmin(const QStringList& args, QString* out = nullptr, QString* err = nullptr);
