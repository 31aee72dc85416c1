#include "shell/ui/TFormPass.h"

#include "data/Cipher.h"
#include "shell/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormPass::TFormPass(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormPass"));
    setWindowTitle(QStringLiteral("Log In"));
    m_userId = new QLineEdit;
    m_userId->setObjectName(QStringLiteral("userIdEdit"));
    m_userId->setMaxLength(100);
    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setMaxLength(MaxLoginPasswordLength);
    m_password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User ID:"), m_userId);
    form->addRow(QStringLiteral("Password:"), m_password);

    auto* note = new QLabel(QStringLiteral(
        "If this is your first time enter 'ADMIN' for User ID and leave password field blank!"));
    note->setObjectName(QStringLiteral("firstTimeNote"));
    note->setWordWrap(true);

    auto* buttons = okCancelButtons(this, QStringLiteral("Ok"), QStringLiteral("Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}
