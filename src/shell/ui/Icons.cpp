#include "shell/ui/Icons.h"

#include <QHash>
#include <QStandardPaths>

namespace Icons {

namespace {

void useTheme()
{
    static const bool done = [] {
        // Where icon themes are installed, also for platforms that do not say (offscreen).
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& dir :
             QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                       QStandardPaths::LocateDirectory))
            if (!paths.contains(dir))
                paths << dir;
        QIcon::setThemeSearchPaths(paths);
        // The same pictures whatever the desktop's own theme is.
        QIcon::setThemeName(QStringLiteral("breeze"));
        return true;
    }();
    Q_UNUSED(done);
}

const QHash<QString, QString>& commandIcons()
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("owners"), QStringLiteral("user-identity")},
        {QStringLiteral("tenants"), QStringLiteral("group")},
        {QStringLiteral("buildings"), QStringLiteral("view-bank")},
        {QStringLiteral("apartments"), QStringLiteral("go-home-large")},
        {QStringLiteral("equipment"), QStringLiteral("tools")},
        {QStringLiteral("todo"), QStringLiteral("view-task")},
        {QStringLiteral("vendors"), QStringLiteral("view-pim-contacts")},
        {QStringLiteral("help"), QStringLiteral("help-contextual")},
        {QStringLiteral("cashbook"), QStringLiteral("view-financial-list")},
        {QStringLiteral("collectRent"), QStringLiteral("view-financial-account-cash")},
        {QStringLiteral("recordExpense"), QStringLiteral("view-financial-category-expense")},
        {QStringLiteral("recordIncome"), QStringLiteral("view-financial-category-income")},
        {QStringLiteral("paymentHistory"), QStringLiteral("view-history")},
        {QStringLiteral("users"), QStringLiteral("user-properties")},
        {QStringLiteral("categories"), QStringLiteral("view-list-details")},
        {QStringLiteral("frequencies"), QStringLiteral("appointment-recurring")},
        {QStringLiteral("leaseTerms"), QStringLiteral("document-properties")},
        {QStringLiteral("creditCards"), QStringLiteral("view-financial-account-credit-card")},
        {QStringLiteral("lateRentEmailConfigure"), QStringLiteral("mail-mark-important")},
        {QStringLiteral("lateRentEmailSend"), QStringLiteral("mail-send")},
        {QStringLiteral("expiringEmailConfigure"), QStringLiteral("mail-mark-task")},
        {QStringLiteral("expiringEmailSend"), QStringLiteral("mail-forward")},
        {QStringLiteral("customEmailConfigure"), QStringLiteral("mail-message-new")},
        {QStringLiteral("customEmailSend"), QStringLiteral("mail-reply-all")},
        {QStringLiteral("reminders"), QStringLiteral("view-calendar-upcoming-events")},
        {QStringLiteral("adjustRent"), QStringLiteral("format-currency")},
        {QStringLiteral("lateRentLetter"), QStringLiteral("document-print")},
        {QStringLiteral("leaseAgreementLetter"), QStringLiteral("document-edit-sign")},
        {QStringLiteral("customLetters"), QStringLiteral("document-edit")},
    };
    return names;
}

} // namespace

QIcon get(const QString& name)
{
    useTheme();
    return QIcon::fromTheme(name);
}

QString commandIconName(const QString& key)
{
    return commandIcons().value(key);
}

QIcon command(const QString& key)
{
    const QString name = commandIconName(key);
    return name.isEmpty() ? QIcon() : get(name);
}

} // namespace Icons
