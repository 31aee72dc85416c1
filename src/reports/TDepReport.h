#pragma once

#include "reports/ReportLayout.h"

#include <QStringList>

class AppState;
class Database;

// The security deposit receipt of one tenant: letterhead, tenant block with the date of the
// first deposit and the tenant's units, one line per deposit, their total and the deposit the
// current agreement requires.
class TDepReport : public Report
{
public:
    // Reads the tenant and the required deposit; the deposits are read as the page is laid
    // out. Throws DbError.
    TDepReport(Database& db, const QStringList& ownerInfo, int tid);

    // The receipt in the preview, as the tenant window's deposit "&Print" shows it. A
    // database error is shown with its own text.
    static void preview(AppState& state, int tid);
};
