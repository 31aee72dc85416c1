#include "records/ui/TEForm.h"

#include "data/Dataset.h"
#include "records/Equipment.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TEForm::TEForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TEForm"));
    setWindowTitle(QStringLiteral("Equipment"));
    m_description = RecordFields::text("descriptionEdit", 30);
    m_serial = RecordFields::text("serialEdit", 30);
    m_model = RecordFields::text("modelEdit", 30);
    m_brand = RecordFields::text("brandEdit", 20);
    m_date = RecordFields::date("purchaseDateEdit", QStringLiteral("Purchase Date"), true);
    m_price = RecordFields::unsignedAmount("priceEdit");
    m_from = RecordFields::text("purchasedFromEdit", 30);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Serial"), m_serial);
    form->addRow(QStringLiteral("Model"), m_model);
    form->addRow(QStringLiteral("Brand"), m_brand);
    form->addRow(QStringLiteral("Purchase Date"), m_date);
    form->addRow(QStringLiteral("Purchase Price"), m_price);
    form->addRow(QStringLiteral("Purchased From"), m_from);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    resize(380, 280);
    m_description->setFocus();
}

void TEForm::load(const Dataset& e)
{
    m_description->setText(e.asText(QStringLiteral("DESCRIPTION")));
    m_serial->setText(e.asText(QStringLiteral("SERIAL")));
    m_model->setText(e.asText(QStringLiteral("MODEL")));
    m_brand->setText(e.asText(QStringLiteral("BRAND")));
    m_date->setValue(e.value(QStringLiteral("PURCHASEDATE")));
    RecordFields::showAmount(m_price, e.value(QStringLiteral("PURCHASEPRICE")));
    m_from->setText(e.asText(QStringLiteral("PURCHASEDFROM")));
}

void TEForm::store(Dataset& e) const
{
    e.setValue(QStringLiteral("DESCRIPTION"), m_description->text());
    e.setValue(QStringLiteral("SERIAL"), m_serial->text());
    e.setValue(QStringLiteral("MODEL"), m_model->text());
    e.setValue(QStringLiteral("BRAND"), m_brand->text());
    e.setValue(QStringLiteral("PURCHASEDATE"), m_date->value());
    // An empty price is the column's default, 0.
    e.setValue(QStringLiteral("PURCHASEPRICE"), QVariant::fromValue(RecordFields::readMoney(m_price)));
    e.setValue(QStringLiteral("PURCHASEDFROM"), m_from->text());
}

void TEForm::accept()
{
    const QString message = Equipment::descriptionMessage(m_description->text());
    if (!message.isEmpty()) {
        m_description->setFocus();
        Messages::warning(message);
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    bool ok = true;
    QString error;
    RecordFields::readAmount(m_price, &ok, &error);
    if (!ok) {
        m_price->setFocus();
        Messages::warning(QStringLiteral("Purchase Price: ") + error);
        return;
    }
    QDialog::accept();
}
