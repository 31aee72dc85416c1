#include "records/Deposits.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"

namespace Deposits {

QStringList paymentTypes()
{
    return {QStringLiteral("Cash"), QStringLiteral("Check"), QStringLiteral("Credit Card")};
}

Dataset* openDepositsTable(Database& db, Dataset& tenants, QObject* parent)
{
    auto* deposits =
        new Dataset(db, QStringLiteral("DEPOSITS"), QStringLiteral("DEPID"), QString(), parent);
    deposits->setMasterLink(&tenants, QStringLiteral("TID"), QStringLiteral("TID"));
    deposits->open();
    return deposits;
}

void appendDeposit(Dataset& deposits)
{
    deposits.append();
    deposits.setValue(QStringLiteral("TDATE"), Clock::today());
}

void storeDeposit(Dataset& deposits, Database& db, int tid)
{
    if (deposits.state() == Dataset::State::Insert) {
        deposits.setValue(QStringLiteral("DEPID"), db.NextKey(QStringLiteral("GEN_DEPOSITS_ID")));
        deposits.setValue(QStringLiteral("TID"), tid);
    }
    deposits.post();
}

} // namespace Deposits
