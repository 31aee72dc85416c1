#pragma once

#include <QString>
#include <QStringList>

class Database;

// Builds a new database file from the schema and seed rows compiled into the program.
namespace NewDatabase {

// Creates PATH with every table, generator, trigger and seed row. Refuses an existing file.
// The file ends with forced writes on, readable and writable by its owner only.
// On failure nothing is left at PATH and *error holds the database's text.
bool create(const QString& path, QString* error);

// Splits a script into statements: ';' ends a statement at the end of a line, "SET TERM ^ ;"
// changes the terminator (for trigger bodies), lines starting with "--" are comments.
QStringList splitScript(const QString& script);

// The statements of one compiled-in script (":/schema/NAME"); throws DbError when the program
// lacks it.
QStringList scriptStatements(const QString& name);

// Runs one compiled-in script statement by statement; throws DbError.
void runScript(Database& db, const QString& name);

} // namespace NewDatabase
