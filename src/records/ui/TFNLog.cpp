#include "records/ui/TFNLog.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "records/Maintenance.h"
#include "records/ui/Pickers.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

// A fixed list: nothing typed, nothing chosen until the user chooses.
QComboBox* choice(const char* name, const QStringList& items)
{
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

// Shows the stored word; a word outside the list shows nothing and is kept unless another
// one is chosen.
void showChoice(QComboBox* box, const QString& value)
{
    box->setCurrentIndex(box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void storeChoice(const QComboBox* box, Dataset& d, const QString& column)
{
    if (box->currentIndex() >= 0)
        d.setValue(column, box->currentText());
}

} // namespace

TFNLog::TFNLog(Database& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFNLog"));
    setWindowTitle(QStringLiteral("Maintenance Log"));
    m_date = RecordFields::date("dateEdit", QStringLiteral("Date"), true);
    m_description = RecordFields::text("descriptionEdit", 50);
    m_type = choice("typeBox", Maintenance::types());
    m_status = choice("statusBox", Maintenance::statuses());
    m_priority = choice("priorityBox", Maintenance::priorities());
    m_cost = RecordFields::unsignedAmount("costEdit");
    m_vendor = new QComboBox;
    m_vendor->setObjectName(QStringLiteral("vendorBox"));
    auto* findVendor = new QPushButton(QStringLiteral("&Search"));
    findVendor->setObjectName(QStringLiteral("vendorSearchButton"));
    findVendor->setAutoDefault(false);
    connect(findVendor, &QPushButton::clicked, this, &TFNLog::findVendor);
    m_invoiceDate = RecordFields::date("invoiceDateEdit", QStringLiteral("Invoice Date"), true);
    m_completed = RecordFields::date("completedEdit", QStringLiteral("Date Completed"), true);
    m_invoiceNumber = RecordFields::text("invoiceNumberEdit", 20);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notesEdit"));
    m_notes->setTabChangesFocus(true);
    fillVendors();

    auto* vendorRow = new QHBoxLayout;
    vendorRow->addWidget(m_vendor, 1);
    vendorRow->addWidget(findVendor);

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Date"), m_date);
    left->addRow(QStringLiteral("Description"), m_description);
    left->addRow(QStringLiteral("Type"), m_type);
    left->addRow(QStringLiteral("Status"), m_status);
    left->addRow(QStringLiteral("Priority"), m_priority);
    left->addRow(QStringLiteral("Cost"), m_cost);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Vendor"), vendorRow);
    right->addRow(QStringLiteral("Invoice Date"), m_invoiceDate);
    right->addRow(QStringLiteral("Date Completed"), m_completed);
    right->addRow(QStringLiteral("Invoice Num:"), m_invoiceNumber);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    auto* notesLabel = new QLabel(QStringLiteral("Notes"));
    notesLabel->setBuddy(m_notes);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(notesLabel);
    layout->addWidget(m_notes, 1);
    layout->addWidget(okCancelButtons(this));
    resize(640, 400);
    m_description->setFocus();
}

void TFNLog::fillVendors()
{
    // The first entry is no vendor.
    m_vendor->clear();
    m_vendor->addItem(QString(), QVariant(QMetaType(QMetaType::Int)));
    QSqlQuery q = m_db.select(QStringLiteral("select vid, name from vendors order by name, vid"));
    while (q.next())
        m_vendor->addItem(q.value(1).toString(), q.value(0).toInt());
    m_vendor->setCurrentIndex(-1);
}

void TFNLog::showVendor(const QVariant& vid)
{
    // A vendor deleted since shows nothing and stays stored until another is chosen.
    m_vendor->setCurrentIndex(vid.isNull() ? 0 : m_vendor->findData(vid.toInt()));
}

void TFNLog::load(const Dataset& m)
{
    m_date->setValue(m.value(QStringLiteral("LDATE")));
    m_description->setText(m.asText(QStringLiteral("DESCRIPTION")));
    showChoice(m_type, m.asText(QStringLiteral("TYPE")));
    showChoice(m_status, m.asText(QStringLiteral("STATUS")));
    showChoice(m_priority, m.asText(QStringLiteral("PRIORITY")));
    RecordFields::showAmount(m_cost, m.value(QStringLiteral("COST")));
    showVendor(m.value(QStringLiteral("VENDOR")));
    m_invoiceDate->setValue(m.value(QStringLiteral("INVDATE")));
    m_completed->setValue(m.value(QStringLiteral("COMPDATE")));
    m_invoiceNumber->setText(m.asText(QStringLiteral("INVNUM")));
    m_notes->setPlainText(m.asText(QStringLiteral("NOTES")));
}

void TFNLog::store(Dataset& m) const
{
    bool ok = true;
    m.setValue(QStringLiteral("LDATE"), m_date->value());
    m.setValue(QStringLiteral("DESCRIPTION"), m_description->text());
    storeChoice(m_type, m, QStringLiteral("TYPE"));
    storeChoice(m_status, m, QStringLiteral("STATUS"));
    storeChoice(m_priority, m, QStringLiteral("PRIORITY"));
    m.setValue(QStringLiteral("COST"), RecordFields::readAmount(m_cost, &ok));
    if (m_vendor->currentIndex() >= 0)
        m.setValue(QStringLiteral("VENDOR"), m_vendor->currentData());
    m.setValue(QStringLiteral("INVDATE"), m_invoiceDate->value());
    m.setValue(QStringLiteral("COMPDATE"), m_completed->value());
    m.setValue(QStringLiteral("INVNUM"), m_invoiceNumber->text());
    m.setValue(QStringLiteral("NOTES"), m_notes->toPlainText());
}

void TFNLog::findVendor()
{
    TSelVen picker(m_db, this);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return;
    // The picker hands the id back as text.
    const int vid = picker.selectedIdText().toInt();
    if (m_vendor->findData(vid) < 0)
        fillVendors(); // a vendor added since the dialog opened
    m_vendor->setCurrentIndex(m_vendor->findData(vid));
}

void TFNLog::accept()
{
    const QString message = Maintenance::descriptionMessage(m_description->text());
    if (!message.isEmpty()) {
        m_description->setFocus();
        Messages::warning(message);
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    bool ok = true;
    QString error;
    RecordFields::readAmount(m_cost, &ok, &error);
    if (!ok) {
        m_cost->setFocus();
        Messages::warning(QStringLiteral("Cost: ") + error);
        return;
    }
    QDialog::accept();
}
