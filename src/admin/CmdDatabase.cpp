#include "admin/Commands.h"

#include "data/Database.h"
#include "data/NewDatabase.h"
#include "data/SchemaUpgrade.h"
#include "shell/StopSignals.h"

#include <QFileInfo>

bool openForAdmin(Database& db, const QString& path, QTextStream& err)
{
    if (!QFileInfo::exists(path)) {
        err << "keystead-admin: " << path << " does not exist.\n";
        return false;
    }
    QString error;
    if (!db.Connect(path, &error)) {
        err << "keystead-admin: cannot open " << path << " as a database:\n" << error << '\n';
        return false;
    }
    // The database client has just put its own SIGTERM and SIGINT handlers in place.
    StopSignals::install();
    return true;
}

int cmdCreate(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "Usage: keystead-admin create PATH\n";
        return 2;
    }
    const QString path = args.first();
    QString error;
    if (!NewDatabase::create(path, &error)) {
        err << "keystead-admin: cannot create " << path << ":\n" << error << '\n';
        return 1;
    }
    out << "Created " << path << '\n';
    return 0;
}

int cmdUpgrade(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "Usage: keystead-admin upgrade PATH\n";
        return 2;
    }
    Database db;
    if (!openForAdmin(db, args.first(), err))
        return 1;
    const UpgradeResult result = UpgradeSchema(db);
    for (const QString& step : result.stepsRun)
        out << "ran step " << step << '\n';
    if (!result.ok) {
        err << "keystead-admin: the upgrade stopped.\n" << result.error << '\n';
        return 1;
    }
    if (result.stepsRun.isEmpty())
        out << "The database is up to date; nothing was changed.\n";
    return 0;
}
