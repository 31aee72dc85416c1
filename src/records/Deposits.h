#pragma once

#include <QStringList>

class Database;
class Dataset;
class QObject;

// A tenant's security deposits: DEPOSITS rows, kept apart from charges, payments and the
// cashbook.
namespace Deposits {

// The "Payment Method" choices, in order.
QStringList paymentTypes();

// The deposits table of the Tenants window, linked to the shared tenants table on TID and
// opened. Throws DbError.
Dataset* openDepositsTable(Database& db, Dataset& tenants, QObject* parent);

// Appends a deposit dated today; nothing is stored until storeDeposit.
void appendDeposit(Dataset& deposits);

// Stores the pending deposit. A new row gets its DEPID from GEN_DEPOSITS_ID and the tenant's
// TID when it is first stored; a stored row keeps both. Throws DbError.
void storeDeposit(Dataset& deposits, Database& db, int tid);

} // namespace Deposits
