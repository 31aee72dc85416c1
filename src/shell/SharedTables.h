#pragma once

#include <QList>
#include <QString>

class AppState;
class Database;
class Dataset;

// The shared table objects of the main window, with their links, orders, record filters and
// display columns. Their current rows are program-wide state.
class SharedTables
{
public:
    SharedTables(Database& db, AppState& state);
    ~SharedTables();
    SharedTables(const SharedTables&) = delete;
    SharedTables& operator=(const SharedTables&) = delete;

    // Opens every table in the fixed order; throws DbError naming the table that failed.
    void open();
    // Re-reads every table (after work done outside them, such as a payment).
    void refreshAll();

    Dataset* Users;
    Dataset* Buildings;
    Dataset* Tenants;
    Dataset* Apartments;
    Dataset* Agreements;
    Dataset* Vendors;
    Dataset* Equipments;
    Dataset* Reminders;
    Dataset* Categories;
    Dataset* Cashbook;
    Dataset* Frequency;
    Dataset* Leases;
    Dataset* Ccards;
    Dataset* Payments;
    Dataset* Schedules;
    Dataset* Recurs;
    Dataset* Charges;
    Dataset* Trans;
    Dataset* Setup;
    Dataset* WaitList;
    Dataset* Maint;
    Dataset* mApart;
    Dataset* Misc;
    Dataset* Owners;
    Dataset* Fees;
    Dataset* Disb;
    Dataset* Todo;

    // In opening order.
    const QList<Dataset*>& all() const { return m_all; }

private:
    QList<Dataset*> m_all;
};
