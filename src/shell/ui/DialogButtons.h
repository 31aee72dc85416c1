#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;

// The OK and Cancel buttons every dialog ends with: "okButton" (the default, pressed by Enter
// wherever the focus is but on another button) runs the dialog's own accept(), so its checks
// apply; "cancelButton" rejects, as Escape does.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText = QStringLiteral("&OK"),
                                  const QString& cancelText = QStringLiteral("&Cancel"));
