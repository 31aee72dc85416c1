#pragma once

#include <QString>

class AppState;
class Database;

// The start-up steps that follow the first showing of the main window. Messages go through
// the message seam; the login dialog and the reminder windows belong to the main window.
namespace Startup {

enum Outcome { Continue, Quit };

// Connect, upgrade, open the shared tables and read the SETUP values. Quit after the
// message of a failed step.
Outcome openDatabase(AppState& state);

// PostDueCharges, then the late-charges and expired-leases warnings. False when posting
// stopped on a database error (shown); skipped recurring charges are reported and the
// start-up goes on.
bool postAndWarn(AppState& state);

// A charge still owed whose date lies before today.
bool hasLateCharges(Database& db);
// A unit's current agreement whose lease ended before today.
bool hasExpiredLeases(Database& db);

} // namespace Startup
