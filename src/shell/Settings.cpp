#include "shell/Settings.h"

#include <QSettings>

namespace {

const char* const Group = "2008/data";

bool readFlag(QSettings& store, const char* name, bool current)
{
    const QVariant v = store.value(QLatin1String(name));
    return v.isValid() ? v.toInt() != 0 : current;
}

} // namespace

void Settings::read(QSettings& store)
{
    store.beginGroup(QLatin1String(Group));
    PasswordChecking = readFlag(store, "PasswordChecking", PasswordChecking);
    STCB = readFlag(store, "STCB", STCB);
    if (store.contains(QStringLiteral("printrec"))) {
        printrec = readFlag(store, "printrec", printrec);
        printprev = readFlag(store, "printprev", printprev);
    }
    store.endGroup();
}

void Settings::write(QSettings& store) const
{
    store.beginGroup(QLatin1String(Group));
    store.setValue(QStringLiteral("PasswordChecking"), PasswordChecking ? 1 : 0);
    store.setValue(QStringLiteral("STCB"), STCB ? 1 : 0);
    store.setValue(QStringLiteral("printrec"), printrec ? 1 : 0);
    store.setValue(QStringLiteral("printprev"), printprev ? 1 : 0);
    store.endGroup();
    store.sync();
}

void Settings::readDefault(Settings& settings)
{
    QSettings store(QStringLiteral("Marbleway"), QStringLiteral("keystead"));
    settings.read(store);
}

void Settings::writeDefault(const Settings& settings)
{
    QSettings store(QStringLiteral("Marbleway"), QStringLiteral("keystead"));
    settings.write(store);
}
