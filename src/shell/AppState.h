#pragma once

#include "data/Database.h"
#include "data/Money.h"
#include "shell/Settings.h"

#include <QObject>
#include <QStringList>
#include <memory>

class SharedTables;
class Dataset;

// The program-wide state that the main window owns: the connection, the shared tables, the
// settings, the owner information, who is logged in and the shared search state. Core rules
// reach it without any window.
class AppState : public QObject
{
    Q_OBJECT
public:
    explicit AppState(QObject* parent = nullptr);
    ~AppState() override;

    Database db;

    QString DataFolder; // ends with a separator
    QString DatabaseFile = QStringLiteral("DATA.FDB");
    Settings settings;
    int ChargeAheadDays = 0;
    QStringList OwnerInfo = QStringList(11, QString());
    int CurrentUserWID = 0;
    bool optionsRight = false;

    // Shared search state.
    QString SearchField;
    QString SearchText;
    int TransFilterMode = 1;
    bool BuildingsChanged = false;

    // The cashbook's two totals over the whole book (Cashbook keeps them). Any change of the
    // book announced with cashbookChanged leaves them to be summed again.
    Money TotalIncome;
    Money TotalExpense;
    bool TotalsKnown = false;

    QString databasePath() const { return DataFolder + DatabaseFile; }

    // The data folder beside the program, or the user's application-data folder when that
    // one cannot be written.
    static QString defaultDataFolder();

    // Opens every shared table in the fixed order; false with the database's text on failure.
    bool OpenSharedTables(QString* error);
    SharedTables& tables() { return *m_tables; }
    bool tablesOpen() const { return m_tables != nullptr; }

    // ChargeAheadDays and the eleven owner-information texts from SETUP; fewer than eleven rows
    // repeat the last row's text.
    void loadSetup();

    // True when user control is off, or the logged-in user holds the flag. With user control
    // on and nobody logged in, every guarded command is refused.
    bool CheckRight(const QString& flag);
    // The options command uses the right read at login.
    bool mayOpenOptions() const { return !settings.PasswordChecking || optionsRight; }

    // The search filter: the column named by SearchField, as lower-case text, contains
    // SearchText in lower case; an empty text or value shows nothing.
    bool searchMatches(const Dataset& table, int row) const;

signals:
    void cashbookChanged();

private:
    std::unique_ptr<SharedTables> m_tables;
};
