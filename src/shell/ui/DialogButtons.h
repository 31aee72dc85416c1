#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;

// The OK and Cancel buttons every dialog ends with: "okButton" (the default) runs the
// dialog's own accept(), so its checks apply; "cancelButton" rejects.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText = QStringLiteral("&OK"),
                                  const QString& cancelText = QStringLiteral("&Cancel"));
