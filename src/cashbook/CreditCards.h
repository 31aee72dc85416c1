#pragma once

#include <QString>

class Dataset;

// The kinds of credit card accepted from tenants (the shared CCARDS table).
namespace CreditCards {

// "&Insert": stores the name trimmed, its letter case kept, under a fresh CCARDID, unless it
// is blank or a card of that name exists in any letter case. True when a row was stored.
// Throws DbError.
bool insert(Dataset& ccards, const QString& typed);

} // namespace CreditCards
