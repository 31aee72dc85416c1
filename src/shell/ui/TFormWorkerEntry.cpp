#include "shell/ui/TFormWorkerEntry.h"
#include "shell/ui/DialogButtons.h"

#include "data/Database.h"
#include "shell/Messages.h"
#include "shell/Users.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QStringList& TFormWorkerEntry::rightColumns()
{
    static const QStringList columns = {
        QStringLiteral("REPORTS"),    QStringLiteral("BILL"),      QStringLiteral("VOIDTRANS"),
        QStringLiteral("TENANTS"),    QStringLiteral("CASHBOOK"),  QStringLiteral("APARTMENTS"),
        QStringLiteral("BUILDINGS"),  QStringLiteral("EQUIPMENTS"), QStringLiteral("MODUSERS"),
        QStringLiteral("PROGOPTIONS"), QStringLiteral("OWNERS"),   QStringLiteral("EMAIL")};
    return columns;
}

const QStringList& TFormWorkerEntry::rightCaptions()
{
    static const QStringList captions = {
        QStringLiteral("View Reports"),       QStringLiteral("Receive payments"),
        QStringLiteral("Void payments"),      QStringLiteral("Manage tenants"),
        QStringLiteral("Access to cashbook"), QStringLiteral("Manage apartments"),
        QStringLiteral("Manage buildings"),   QStringLiteral("Manage equipments"),
        QStringLiteral("Modify  Users"),      QStringLiteral("Program Options"),
        QStringLiteral("Manage Owners"),      QStringLiteral("Send and configure Mail")};
    return captions;
}

namespace {
QLineEdit* field(const char* name, int maxLength, bool password = false)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    if (password)
        e->setEchoMode(QLineEdit::Password);
    return e;
}
} // namespace

TFormWorkerEntry::TFormWorkerEntry(Database& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFormWorkerEntry"));
    setWindowTitle(QStringLiteral("Workers Form"));
    m_firstName = field("firstNameEdit", 40);
    m_lastName = field("lastNameEdit", 40);
    m_id = field("idEdit", 60);
    m_password = field("passwordEdit", 100, true);
    m_repeat = field("repeatPasswordEdit", 100, true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("First Name"), m_firstName);
    form->addRow(QStringLiteral("Last Name"), m_lastName);
    form->addRow(QStringLiteral("ID"), m_id);
    form->addRow(QStringLiteral("Password"), m_password);
    form->addRow(QStringLiteral("Repeat password"), m_repeat);

    auto* privileges = new QGroupBox(QStringLiteral("Privileges"));
    auto* boxes = new QVBoxLayout(privileges);
    for (int i = 0; i < rightColumns().size(); ++i) {
        auto* box = new QCheckBox(rightCaptions().at(i));
        box->setObjectName(rightColumns().at(i).toLower() + QStringLiteral("Box"));
        boxes->addWidget(box);
        m_rights << box;
    }

    auto* buttons = okCancelButtons(this, QStringLiteral("&Ok"), QStringLiteral("&Cancel"));

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(privileges);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

QCheckBox* TFormWorkerEntry::rightBox(const QString& column) const
{
    const int i = rightColumns().indexOf(column.toUpper());
    return i < 0 ? nullptr : m_rights.at(i);
}

void TFormWorkerEntry::accept()
{
    for (QLineEdit* e : {m_firstName, m_lastName, m_id, m_password, m_repeat})
        e->setText(e->text().trimmed());
    QString message;
    try {
        message = Users::validateUser(m_db, m_id->text(), m_firstName->text(), m_password->text(),
                                      m_repeat->text(), m_rememberedId);
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    if (!message.isEmpty()) {
        Messages::information(message);
        return;
    }
    QDialog::accept();
}
