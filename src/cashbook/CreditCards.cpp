#include "cashbook/CreditCards.h"

#include "data/Database.h"
#include "data/Dataset.h"

#include <QSqlQuery>

namespace CreditCards {

bool insert(Dataset& ccards, const QString& typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return false;
    Database& db = ccards.database();
    QSqlQuery q = db.prepare(QStringLiteral("select first 1 CCARDID from ccards where lower(NAME) = ?"));
    q.addBindValue(name.toLower());
    db.execPrepared(q);
    if (q.next())
        return false;
    ccards.append();
    try {
        ccards.setValue(QStringLiteral("NAME"), name);
        ccards.setValue(QStringLiteral("CCARDID"), db.NextKey(QStringLiteral("GEN_CCARDS_ID")));
        ccards.post();
    } catch (...) {
        ccards.cancel();
        throw;
    }
    return true;
}

} // namespace CreditCards
