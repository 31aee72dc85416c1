#pragma once

#include <QString>
#include <QStringList>

class Database;

// Brings a database from an earlier release up to the current schema: texts in WIN1252, the
// columns and tables added since, NPASSWORD wide enough, SETUP.SETUPORDER, the indexes.
// Runs at every start; on a current database every probe succeeds and nothing is changed.
// Each part is done only when the file lacks it and commits on its own, so a start after an
// interrupted upgrade (this one's or the earlier release's) carries on from where it stopped.
struct UpgradeResult
{
    bool ok = true;
    QStringList stepsRun;   // a line per step that changed the database
    QStringList statements; // every statement (not probe) that was executed
    QString error;          // the database's text when a statement failed; the upgrade stopped
};

UpgradeResult UpgradeSchema(Database& db);
