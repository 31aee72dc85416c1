#include "records/ui/TBuildProp.h"
#include "shell/ui/DialogButtons.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "records/Buildings.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

using namespace RecordFields;

TBuildProp::TBuildProp(Database& db, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TBuildProp"));
    setWindowTitle(QStringLiteral("Building Properties"));

    m_owner = new QComboBox;
    m_owner->setObjectName(QStringLiteral("ownerBox"));
    try {
        QSqlQuery q = db.select(QStringLiteral("select oid, code from owners order by code"));
        while (q.next())
            m_owner->addItem(q.value(1).toString(), q.value(0).toInt());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_owner->setCurrentIndex(-1);

    m_description = text("descriptionEdit", 200);
    m_address = text("addressEdit", 200);
    m_city = text("cityEdit", 100);
    m_state = text("stateEdit", 100);
    m_zip = text("zipEdit", 100);
    m_tel = text("telEdit", 100);
    m_units = whole("apartmentsEdit", QStringLiteral("# Apartments"), Count);
    m_insuranceNumber = text("insuranceNumberEdit", 100);
    m_insuranceCarrier = text("insuranceCarrierEdit", 100);
    m_manager = text("managerEdit", 100);
    m_managerTel = text("managerTelEdit", 100);
    m_ownerText = text("ownerTextEdit", 100);
    m_purchaseDate = date("purchaseDateEdit", QStringLiteral("Purchase Date"), true);
    m_marketValue = amount("marketValueEdit");

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Owner"), m_owner);

    auto* place = new QGroupBox;
    auto* placeForm = new QFormLayout(place);
    placeForm->addRow(QStringLiteral("Description"), m_description);
    placeForm->addRow(QStringLiteral("Address"), m_address);
    placeForm->addRow(QStringLiteral("City"), m_city);
    placeForm->addRow(QStringLiteral("State/Province"), m_state);
    placeForm->addRow(QStringLiteral("Zip Code"), m_zip);
    placeForm->addRow(QStringLiteral("Tel"), m_tel);
    placeForm->addRow(QStringLiteral("# Apartments"), m_units);

    auto* other = new QGroupBox;
    auto* otherForm = new QFormLayout(other);
    otherForm->addRow(QStringLiteral("Insurance Policy #"), m_insuranceNumber);
    otherForm->addRow(QStringLiteral("Insurance Carrier"), m_insuranceCarrier);
    otherForm->addRow(QStringLiteral("Manager"), m_manager);
    otherForm->addRow(QStringLiteral("Manager's Tel"), m_managerTel);
    otherForm->addRow(QStringLiteral("Owner"), m_ownerText);
    otherForm->addRow(QStringLiteral("Purchase Date"), m_purchaseDate);
    otherForm->addRow(QStringLiteral("Market Value"), m_marketValue);

    auto* columns = new QGridLayout;
    columns->addWidget(place, 0, 0);
    columns->addWidget(other, 0, 1);

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(680, sizeHint().height());
    m_owner->setFocus();
}

void TBuildProp::load(const Dataset& b)
{
    const QVariant oid = b.value(QStringLiteral("OID"));
    m_owner->setCurrentIndex(oid.isNull() ? -1 : m_owner->findData(oid.toInt()));
    m_description->setText(b.asText(QStringLiteral("DESCRIPTION")));
    m_address->setText(b.asText(QStringLiteral("ADDRESS")));
    m_city->setText(b.asText(QStringLiteral("CITY")));
    m_state->setText(b.asText(QStringLiteral("PROVSTATE")));
    m_zip->setText(b.asText(QStringLiteral("POSTALCODE")));
    m_tel->setText(b.asText(QStringLiteral("TEL")));
    showWhole(m_units, b.value(QStringLiteral("APARTMENTS")));
    m_insuranceNumber->setText(b.asText(QStringLiteral("INSURANCENUM")));
    m_insuranceCarrier->setText(b.asText(QStringLiteral("INSURANCECAR")));
    m_manager->setText(b.asText(QStringLiteral("MANAGER")));
    m_managerTel->setText(b.asText(QStringLiteral("MANTEL")));
    m_ownerText->setText(b.asText(QStringLiteral("OWNER")));
    m_purchaseDate->setValue(b.value(QStringLiteral("PURCHASEDATE")));
    showAmount(m_marketValue, b.value(QStringLiteral("MARKETVAL")));
}

void TBuildProp::store(Dataset& b) const
{
    bool ok = true;
    b.setValue(QStringLiteral("OID"), m_owner->currentData());
    b.setValue(QStringLiteral("DESCRIPTION"), m_description->text());
    b.setValue(QStringLiteral("ADDRESS"), m_address->text());
    b.setValue(QStringLiteral("CITY"), m_city->text());
    b.setValue(QStringLiteral("PROVSTATE"), m_state->text());
    b.setValue(QStringLiteral("POSTALCODE"), m_zip->text());
    b.setValue(QStringLiteral("TEL"), m_tel->text());
    b.setValue(QStringLiteral("APARTMENTS"), readWhole(m_units));
    b.setValue(QStringLiteral("INSURANCENUM"), m_insuranceNumber->text());
    b.setValue(QStringLiteral("INSURANCECAR"), m_insuranceCarrier->text());
    b.setValue(QStringLiteral("MANAGER"), m_manager->text());
    b.setValue(QStringLiteral("MANTEL"), m_managerTel->text());
    b.setValue(QStringLiteral("OWNER"), m_ownerText->text());
    b.setValue(QStringLiteral("PURCHASEDATE"), m_purchaseDate->value());
    b.setValue(QStringLiteral("MARKETVAL"), readAmount(m_marketValue, &ok));
}

void TBuildProp::accept()
{
    const QString message = Buildings::checkMessage(m_description->text(), m_owner->currentText());
    if (!message.isEmpty()) {
        Messages::warning(message);
        return;
    }
    if (!checkFields(this))
        return;
    bool ok = true;
    QString error;
    readAmount(m_marketValue, &ok, &error);
    if (!ok) {
        m_marketValue->setFocus();
        Messages::warning(QStringLiteral("Market Value: ") + error);
        return;
    }
    QDialog::accept();
}
