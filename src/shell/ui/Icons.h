#pragma once

#include <QIcon>
#include <QString>

// The program's one icon set: the Breeze theme that scripts/setup-deps installs, its plain
// line pictures for the commands. Every picture on a button, menu or message box comes from
// here, so none of them is a stock picture of the widget style.
namespace Icons {

// The theme icon by its name ("document-print"); a null icon when the theme lacks it.
QIcon get(const QString& name);
// The picture of a command of the main window (by its key, "owners", "collectRent", ...).
QIcon command(const QString& key);
// The theme name of that picture, empty for a command without one.
QString commandIconName(const QString& key);
// Size of the command bar's pictures.
constexpr int CommandBarSize = 32;

} // namespace Icons
