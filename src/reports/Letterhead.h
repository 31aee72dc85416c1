#pragma once

#include <QStringList>

class Database;
struct ReportBand;

// The company details that head the receipts: the owner information of the options.
namespace Letterhead {

// The eleven owner-information texts from SETUP in their order (company name, two address
// lines, city, state, zip, telephone, mobile, fax, first and last name); missing rows repeat
// the last text, as the program reads them at start-up. Throws DbError.
QStringList load(Database& db);

// Centred lines from the band's top: the company name in bold, the two address lines,
// "city, state, zip" (joined even when one is empty) and the telephone; a rule under them.
// Returns the height used.
double add(ReportBand& band, const QStringList& ownerInfo);

} // namespace Letterhead
