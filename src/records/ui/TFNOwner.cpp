#include "records/ui/TFNOwner.h"
#include "shell/ui/DialogButtons.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "records/Owners.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace RecordFields;

TFNOwner::TFNOwner(Database& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TFNOwner"));
    setWindowTitle(QStringLiteral("Owner"));

    m_code = text("codeEdit", 20);
    m_name = text("nameEdit", 255);
    m_address = text("addressEdit", 255);
    m_city = text("cityEdit", 100);
    m_state = text("stateEdit", 100);
    m_zip = text("zipEdit", 20);
    m_tel = text("telEdit", 50);
    m_home = text("homeEdit", 50);
    m_mobile = text("mobileEdit", 50);
    m_fax = text("faxEdit", 50);
    m_data1 = text("data1Edit", 255);
    m_data2 = text("data2Edit", 255);
    m_email = text("emailEdit", 100);
    m_manValue = amount("manValueEdit");
    m_manFee = amount("manFeeEdit");
    m_resValue = amount("resValueEdit");
    m_bankNumber = text("bankNumberEdit", 100);
    m_bankName = text("bankNameEdit", 100);
    m_bsb = text("bsbEdit", 100);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notesEdit"));

    auto* general = new QWidget;
    auto* g = new QFormLayout(general);
    g->addRow(QStringLiteral("Code"), m_code);
    g->addRow(QStringLiteral("Name"), m_name);
    g->addRow(QStringLiteral("Address"), m_address);
    g->addRow(QStringLiteral("City"), m_city);
    g->addRow(QStringLiteral("State"), m_state);
    g->addRow(QStringLiteral("Zip"), m_zip);
    g->addRow(QStringLiteral("Tel"), m_tel);
    g->addRow(QStringLiteral("Home (Tel)"), m_home);
    g->addRow(QStringLiteral("Mobile"), m_mobile);
    g->addRow(QStringLiteral("Fax"), m_fax);
    g->addRow(QStringLiteral("Data 1"), m_data1);
    g->addRow(QStringLiteral("Data 2"), m_data2);
    g->addRow(QStringLiteral("Email"), m_email);

    auto* other = new QWidget;
    auto* o = new QFormLayout(other);
    o->addRow(QStringLiteral("Management Value (Tax Inclusive) "), m_manValue);
    o->addRow(QStringLiteral("Management Fee  (Tax Inclusive) %"), m_manFee);
    o->addRow(QStringLiteral("Reserve Value"), m_resValue);
    o->addRow(QStringLiteral("Bank Account Number"), m_bankNumber);
    o->addRow(QStringLiteral("Bank name"), m_bankName);
    o->addRow(QStringLiteral("BSB Number (Australia)"), m_bsb);

    auto* notes = new QWidget;
    auto* n = new QVBoxLayout(notes);
    n->addWidget(m_notes);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(general, QStringLiteral("&General"));
    m_tabs->addTab(other, QStringLiteral("Other"));
    m_tabs->addTab(notes, QStringLiteral("Notes"));

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(480, 460);
    m_code->setFocus();
}

void TFNOwner::load(const Dataset& w)
{
    m_code->setText(w.asText(QStringLiteral("CODE")));
    m_name->setText(w.asText(QStringLiteral("NAME")));
    m_address->setText(w.asText(QStringLiteral("ADDRESS")));
    m_city->setText(w.asText(QStringLiteral("CITY")));
    m_state->setText(w.asText(QStringLiteral("STATE")));
    m_zip->setText(w.asText(QStringLiteral("ZIP")));
    m_tel->setText(w.asText(QStringLiteral("TEL")));
    m_home->setText(w.asText(QStringLiteral("HOME")));
    m_mobile->setText(w.asText(QStringLiteral("MOBILE")));
    m_fax->setText(w.asText(QStringLiteral("FAX")));
    m_data1->setText(w.asText(QStringLiteral("DAT1")));
    m_data2->setText(w.asText(QStringLiteral("DAT2")));
    m_email->setText(w.asText(QStringLiteral("EMAIL")));
    showAmount(m_manValue, w.value(QStringLiteral("MANVALUE")));
    showAmount(m_manFee, w.value(QStringLiteral("MANFEE")));
    showAmount(m_resValue, w.value(QStringLiteral("RESVALUE")));
    m_bankNumber->setText(w.asText(QStringLiteral("BANKNUM")));
    m_bankName->setText(w.asText(QStringLiteral("BANKNAME")));
    m_bsb->setText(w.asText(QStringLiteral("BSB")));
    m_notes->setPlainText(Database::memoText(w.value(QStringLiteral("NOTES"))));
}

void TFNOwner::store(Dataset& w) const
{
    bool ok = true;
    w.setValue(QStringLiteral("CODE"), m_code->text());
    w.setValue(QStringLiteral("NAME"), m_name->text());
    w.setValue(QStringLiteral("ADDRESS"), m_address->text());
    w.setValue(QStringLiteral("CITY"), m_city->text());
    w.setValue(QStringLiteral("STATE"), m_state->text());
    w.setValue(QStringLiteral("ZIP"), m_zip->text());
    w.setValue(QStringLiteral("TEL"), m_tel->text());
    w.setValue(QStringLiteral("HOME"), m_home->text());
    w.setValue(QStringLiteral("MOBILE"), m_mobile->text());
    w.setValue(QStringLiteral("FAX"), m_fax->text());
    w.setValue(QStringLiteral("DAT1"), m_data1->text());
    w.setValue(QStringLiteral("DAT2"), m_data2->text());
    w.setValue(QStringLiteral("EMAIL"), m_email->text());
    w.setValue(QStringLiteral("MANVALUE"), readAmount(m_manValue, &ok));
    w.setValue(QStringLiteral("MANFEE"), readAmount(m_manFee, &ok));
    w.setValue(QStringLiteral("RESVALUE"), readAmount(m_resValue, &ok));
    w.setValue(QStringLiteral("BANKNUM"), m_bankNumber->text());
    w.setValue(QStringLiteral("BANKNAME"), m_bankName->text());
    w.setValue(QStringLiteral("BSB"), m_bsb->text());
    w.setValue(QStringLiteral("NOTES"), Database::memoBytes(m_notes->toPlainText()));
}

void TFNOwner::accept()
{
    m_code->setText(m_code->text().trimmed());
    QString message;
    try {
        message = Owners::codeMessage(m_db, m_code->text(), m_ownOid);
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    if (!message.isEmpty()) {
        m_tabs->setCurrentIndex(0);
        m_code->setFocus();
        Messages::warning(message);
        return;
    }
    bool ok = true;
    const struct
    {
        QLineEdit* edit;
        const char* name;
    } amounts[] = {{m_manValue, "Management value"},
                   {m_manFee, "Management fee"},
                   {m_resValue, "Reserve value"}};
    for (const auto& a : amounts) {
        QString error;
        readAmount(a.edit, &ok, &error);
        if (!ok) {
            m_tabs->setCurrentIndex(1);
            a.edit->setFocus();
            Messages::warning(QLatin1String(a.name) + QStringLiteral(": ") + error);
            return;
        }
    }
    QDialog::accept();
}
