#pragma once

#include <QChar>
#include <QList>
#include <QString>

class QWidget;

// Access keys (the letter after "&" in a caption, pressed with Alt).
namespace AccessKeys {

// The access key of a caption, upper case: "&New..." gives N, "Pri&nt" N, "a && b" none.
QChar of(const QString& text);

// The widget of the window that Alt+key would act on: a button, a label's buddy, a check-
// able group, or the tab bar holding such a tab; only widgets on screen and enabled count.
// Null when none does, or more than one (Qt then only moves the focus between them).
QWidget* target(QWidget* window, QChar key);

// Lets a child window of the main window answer its own access keys before the main
// window's menu bar does, as the keys of the window being worked in come first. Keys the
// child does not use still open the menus.
void preferOwnKeys(QWidget* childWindow);

} // namespace AccessKeys
