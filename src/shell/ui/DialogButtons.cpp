#include "shell/ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText, const QString& cancelText)
{
    // In the dialog from the start: a default set before the button belongs to its dialog is
    // lost when the dialog shows, which then takes the first button in the tab order.
    auto* buttons = new QDialogButtonBox(dialog);
    auto* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(cancelText, QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog] { dialog->accept(); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
