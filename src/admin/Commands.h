#pragma once

#include <QStringList>
#include <QTextStream>

// One subcommand of keystead-admin: gets the arguments after its name, returns the exit code.
struct AdminCommand
{
    const char* name;
    const char* usage;   // "create PATH"
    const char* summary; // one line for --help
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
};

int cmdCreate(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdUpgrade(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdPostDue(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdGenerate(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdChargeAhead(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdReport(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdPay(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdLateFees(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdVoid(const QStringList& args, QTextStream& out, QTextStream& err);
int cmdAdjustRent(const QStringList& args, QTextStream& out, QTextStream& err);

// Opens PATH for a subcommand: refuses a missing file, reports the database's text.
class Database;
bool openForAdmin(Database& db, const QString& path, QTextStream& err);

// The exit status of a command ended by SIGTERM or SIGINT: 128 + the signal, as shells report it.
int stoppedStatus();
