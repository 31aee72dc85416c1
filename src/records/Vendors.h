#pragma once

#include <QString>
#include <QStringList>

// The rules of the vendor screens, without any window.
namespace Vendors {

// The "Vendor Type" suggestions, in the order offered; stored exactly as listed.
const QStringList& typeSuggestions();

// What the vendor dialog's OK says, or an empty text when it may close.
QString nameMessage(const QString& name);

} // namespace Vendors
