#include "records/ui/TVForm.h"
#include "shell/ui/DialogButtons.h"

#include "data/Dataset.h"
#include "records/Vendors.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TVForm::TVForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TVForm"));
    setWindowTitle(QStringLiteral("Vendors"));
    m_name = RecordFields::text("nameEdit", 100);
    m_contact = RecordFields::text("contactEdit", 100);
    m_tel = RecordFields::text("telEdit", 100);
    m_address = RecordFields::text("addressEdit", 100);
    m_city = RecordFields::text("cityEdit", 100);
    m_state = RecordFields::text("stateEdit", 100);
    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("typeBox"));
    m_type->setEditable(true);
    // A typed type is stored as typed, not added to the suggestions.
    m_type->setInsertPolicy(QComboBox::NoInsert);
    m_type->addItems(Vendors::typeSuggestions());
    m_type->lineEdit()->setMaxLength(100);
    m_type->setCurrentIndex(-1);
    m_otherType = RecordFields::text("otherTypeEdit", 100);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), m_name);
    form->addRow(QStringLiteral("Contact Name"), m_contact);
    form->addRow(QStringLiteral("Tel"), m_tel);
    form->addRow(QStringLiteral("Address"), m_address);
    form->addRow(QStringLiteral("City"), m_city);
    form->addRow(QStringLiteral("State"), m_state);
    form->addRow(QStringLiteral("Vendor Type"), m_type);
    form->addRow(QStringLiteral("Other Type"), m_otherType);

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(420, 300);
    m_name->setFocus();
}

void TVForm::load(const Dataset& v)
{
    m_name->setText(v.asText(QStringLiteral("NAME")));
    m_contact->setText(v.asText(QStringLiteral("CONTACT")));
    m_tel->setText(v.asText(QStringLiteral("TEL")));
    m_address->setText(v.asText(QStringLiteral("ADDRESS")));
    m_city->setText(v.asText(QStringLiteral("CITY")));
    m_state->setText(v.asText(QStringLiteral("STATE")));
    const QString type = v.asText(QStringLiteral("TYPE"));
    const int index = m_type->findText(type, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_type->setCurrentIndex(index);
    if (index < 0)
        m_type->setEditText(type);
    m_otherType->setText(v.asText(QStringLiteral("OTHERTYPE")));
}

void TVForm::store(Dataset& v) const
{
    v.setValue(QStringLiteral("NAME"), m_name->text());
    v.setValue(QStringLiteral("CONTACT"), m_contact->text());
    v.setValue(QStringLiteral("TEL"), m_tel->text());
    v.setValue(QStringLiteral("ADDRESS"), m_address->text());
    v.setValue(QStringLiteral("CITY"), m_city->text());
    v.setValue(QStringLiteral("STATE"), m_state->text());
    v.setValue(QStringLiteral("TYPE"), m_type->currentText());
    v.setValue(QStringLiteral("OTHERTYPE"), m_otherType->text());
}

void TVForm::accept()
{
    const QString message = Vendors::nameMessage(m_name->text());
    if (!message.isEmpty()) {
        m_name->setFocus();
        Messages::warning(message);
        return;
    }
    QDialog::accept();
}
