#pragma once

#include <QDate>
#include <QString>
#include <functional>

class Database;

// Fills a new database with a realistic, deterministic portfolio for measuring: owners with
// buildings and units, tenants placed under rental agreements made by the agreement rule (whose
// posting writes the rent charges), and the rent paid month by month as collecting rent
// writes it (TRANS, one PAYMENTS line and one CASHBOOK income row per charge, the charge's
// amount owed brought to 0), with vendors, expenses, equipment and maintenance around it.
struct PortfolioSize
{
    int owners = 0;
    int buildings = 0;
    int units = 0;
    int tenants = 0;      // more than units: the rest wait or have moved on
    int years = 0;        // of monthly rent history before today
    int vendors = 0;
    int equipment = 0;
    int maintenance = 0;
    int expenses = 0;     // cashbook expense rows

    // "large", "small" (a tenth of large) or "tiny" (for tests); invalid (owners 0) otherwise.
    static PortfolioSize named(const QString& name);
    bool isValid() const { return owners > 0 && buildings > 0 && units > 0; }
};

struct PortfolioCounts
{
    int agreements = 0;
    int charges = 0;
    int payments = 0;
    int openCharges = 0;
    bool stopped = false; // STOP asked to end early: the portfolio is unfinished
};

// Writes into an empty (newly created) database, taking "today" from Clock. Throws DbError.
// STOP is asked between batches (each its own transaction, committed); when it answers true
// the generation ends there with PortfolioCounts::stopped.
PortfolioCounts generatePortfolio(Database& db, const PortfolioSize& size, quint32 seed,
                                  const std::function<void(const QString&)>& progress = {},
                                  const std::function<bool()>& stop = {});
