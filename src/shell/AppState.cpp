#include "shell/AppState.h"

#include "data/Dataset.h"
#include "shell/SearchFilter.h"
#include "shell/SharedTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppState::AppState(QObject* parent) : QObject(parent)
{
    connect(this, &AppState::cashbookChanged, this, [this] { TotalsKnown = false; });
}

AppState::~AppState()
{
    m_tables.reset();
    db.Disconnect();
}

QString AppState::defaultDataFolder()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/MYDATA/");
    const QFileInfo folder(beside);
    const QFileInfo program(QCoreApplication::applicationDirPath());
    if ((folder.exists() && folder.isWritable()) || (!folder.exists() && program.isWritable()))
        return beside;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/MYDATA/");
}

bool AppState::OpenSharedTables(QString* error)
{
    m_tables = std::make_unique<SharedTables>(db, *this);
    try {
        m_tables->open();
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        m_tables.reset();
        return false;
    }
    return true;
}

void AppState::loadSetup()
{
    Dataset* setup = m_tables->Setup;
    setup->first();
    ChargeAheadDays = setup->isEmpty() ? 0 : setup->asInt(QStringLiteral("int"));
    for (int i = 0; i < 11; ++i) {
        OwnerInfo[i] = setup->isEmpty() ? QString() : setup->asText(QStringLiteral("STR"));
        setup->next(); // stays on the last row past the end
    }
}

bool AppState::CheckRight(const QString& flag)
{
    if (!settings.PasswordChecking)
        return true;
    if (CurrentUserWID == 0 || !m_tables)
        return false;
    Dataset* users = m_tables->Users;
    if (!users->locate(QStringLiteral("WID"), CurrentUserWID))
        return false;
    return users->asInt(flag) == 1;
}

bool AppState::searchMatches(const Dataset& table, int row) const
{
    return SearchFilter::matches(table, row, SearchField, SearchText);
}
