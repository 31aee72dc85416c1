#pragma once

#include <QString>
#include <QStringList>

class Database;

// Brings a database from an earlier release up to the current schema. Runs at every start;
// on a current database every probe succeeds and nothing is changed.
struct UpgradeResult
{
    bool ok = true;
    QStringList stepsRun;   // a line per step that changed the database
    QStringList statements; // every statement (not probe) that was executed
    QString error;          // the database's text when a statement failed; the upgrade stopped
};

UpgradeResult UpgradeSchema(Database& db);
