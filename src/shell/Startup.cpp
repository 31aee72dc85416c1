#include "shell/Startup.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/SchemaUpgrade.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/StopSignals.h"

#include <QSqlQuery>

namespace Startup {

Outcome openDatabase(AppState& state)
{
    QString error;
    if (!state.db.Connect(state.databasePath(), &error)) {
        Messages::plain(QStringLiteral("Error Connecting to database 1"));
        return Quit;
    }
    // The database client has just put its own SIGTERM and SIGINT handlers in place.
    StopSignals::install();
    // A failed upgrade statement is reported and ends the start-up, so the program never
    // runs on a half-upgraded schema without the user knowing.
    const UpgradeResult upgrade = UpgradeSchema(state.db);
    if (!upgrade.ok) {
        Messages::error(upgrade.error);
        return Quit;
    }
    if (!state.OpenSharedTables(&error)) {
        Messages::show({Titles::Caption, Message::Warning, Message::Ok,
                        QStringLiteral("Error accessing database. Program will quit now!")});
        Messages::plain(error);
        return Quit;
    }
    state.loadSetup();
    return Continue;
}

bool hasLateCharges(Database& db)
{
    QSqlQuery q = db.select(QStringLiteral("Select * from charges where Amt>0 and ForDate<'") +
                            SqlDate(Clock::today()) + QStringLiteral("'"));
    return q.next();
}

bool hasExpiredLeases(Database& db)
{
    QSqlQuery q = db.select(QStringLiteral("Select * from apartments, agreements where "
                                           "agreements.rid=apartments.agreeid and leaseend<'") +
                            SqlDate(Clock::today()) + QStringLiteral("'"));
    return q.next();
}

bool postAndWarn(AppState& state)
{
    Posting posting(state.db);
    // A stop signal ends the posting between recurring charges; the rest waits for the next start.
    posting.setStopCheck(&StopSignals::requested);
    const PostingReport report = posting.PostDueCharges(state.ChargeAheadDays);
    state.tables().Recurs->refresh();
    state.tables().Charges->refresh();
    if (!report.skipped.isEmpty()) {
        QStringList lines;
        for (const PostingSkip& s : report.skipped)
            lines << s.reason;
        Messages::warning(QStringLiteral("Some recurring charges could not be posted:\n") +
                          lines.join(QLatin1Char('\n')));
    }
    if (!report.ok()) {
        Messages::error(report.error);
        return false;
    }
    try {
        if (hasLateCharges(state.db))
            Messages::warning(QStringLiteral("There are late charges! Click on view late payments "
                                             "or press CTRL+L to view report!"));
        if (hasExpiredLeases(state.db))
            Messages::warning(QStringLiteral("There are expired leases! Press CTRL+E to view report"));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    return true;
}

} // namespace Startup
