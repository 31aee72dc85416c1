#include "records/ui/TRentAgree.h"

#include "records/ui/RecordFields.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Dataset.h"
#include "shell/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

void showDate(DateField* edit, const QVariant& v)
{
    edit->setDate(v.isNull() ? Clock::today() : v.toDate());
}

} // namespace

TRentAgree::TRentAgree(Database& db, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRentAgree"));
    setWindowTitle(QStringLiteral("Rental Agreement"));

    m_suite = RecordFields::readOnly("suiteEdit");
    m_company = RecordFields::readOnly("companyEdit");
    m_firstName = RecordFields::readOnly("firstNameEdit");
    m_lastName = RecordFields::readOnly("lastNameEdit");
    m_rent = RecordFields::unsignedAmount("rentEdit");
    m_damage = RecordFields::unsignedAmount("damageEdit");
    m_lateFee = RecordFields::unsignedAmount("lateFeeEdit");
    m_perDay = RecordFields::unsignedAmount("perDayEdit");
    m_recurs = new QComboBox;
    m_recurs->setObjectName(QStringLiteral("recursBox"));
    m_leaseTerm = new QComboBox;
    m_leaseTerm->setObjectName(QStringLiteral("leaseTermBox"));
    m_leaseTerm->addItem(QString());
    try {
        QSqlQuery f =
            db.select(QStringLiteral("select freqid, name from frequency order by freqid"));
        while (f.next())
            m_recurs->addItem(f.value(1).toString(), f.value(0).toInt());
        QSqlQuery l = db.select(QStringLiteral("select name from leases order by name"));
        while (l.next())
            m_leaseTerm->addItem(l.value(0).toString());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_firstDue = RecordFields::date("firstDueEdit", QStringLiteral("First Payment Due on"));
    m_leaseStart = RecordFields::date("leaseStartEdit", QStringLiteral("Lease Start Date"));
    m_leaseEnd = RecordFields::date("leaseEndEdit", QStringLiteral("Lease End Date"));
    m_moveIn = RecordFields::date("moveInEdit", QStringLiteral("Move in Date"));
    m_moveOut = RecordFields::date("moveOutEdit", QStringLiteral("Move Out Date"));
    m_firstPayment = RecordFields::date("firstPaymentEdit", QStringLiteral("First Payment Date"));
    m_terms = new QPlainTextEdit;
    m_terms->setObjectName(QStringLiteral("termsEdit"));

    auto* header = new QGroupBox;
    auto* head = new QGridLayout(header);
    head->addWidget(new QLabel(QStringLiteral("Apt/Suite # ")), 0, 0);
    head->addWidget(m_suite, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Company")), 0, 2);
    head->addWidget(m_company, 0, 3);
    head->addWidget(new QLabel(QStringLiteral("Firstname")), 1, 0);
    head->addWidget(m_firstName, 1, 1);
    head->addWidget(new QLabel(QStringLiteral("Lastname")), 1, 2);
    head->addWidget(m_lastName, 1, 3);

    auto* fee = new QHBoxLayout;
    fee->addWidget(m_lateFee);
    fee->addWidget(new QLabel(QStringLiteral("+")));
    fee->addWidget(m_perDay);
    fee->addWidget(new QLabel(QStringLiteral("per day")));

    auto* money = new QFormLayout;
    money->addRow(QStringLiteral("Rent"), m_rent);
    money->addRow(QStringLiteral("Lease/Damage Deposit"), m_damage);
    money->addRow(QStringLiteral("Late Fee Flat Rate"), fee);
    money->addRow(QStringLiteral("Rent Recurs"), m_recurs);
    money->addRow(QStringLiteral("First Payment Due on"), m_firstDue);
    money->addRow(QStringLiteral("Lease Term"), m_leaseTerm);
    auto* dates = new QFormLayout;
    dates->addRow(QStringLiteral("Lease Start Date"), m_leaseStart);
    dates->addRow(QStringLiteral("Lease End Date"), m_leaseEnd);
    dates->addRow(QStringLiteral("Move in Date"), m_moveIn);
    dates->addRow(QStringLiteral("Move Out Date"), m_moveOut);
    dates->addRow(QStringLiteral("First Payment Date"), m_firstPayment);
    auto* columns = new QHBoxLayout;
    columns->addLayout(money);
    columns->addSpacing(16);
    columns->addLayout(dates);

    auto* buttons = okCancelButtons(this);
    m_ok = buttons->findChild<QPushButton*>(QStringLiteral("okButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(columns);
    layout->addWidget(new QLabel(QStringLiteral("Terms")));
    layout->addWidget(m_terms, 1);
    layout->addWidget(buttons);
    m_rent->setFocus();
}

void TRentAgree::setHeader(const QString& suite, const Units::TenantNames& tenant)
{
    m_suite->setText(suite);
    m_company->setText(tenant.company);
    m_firstName->setText(tenant.firstName);
    m_lastName->setText(tenant.lastName);
}

void TRentAgree::startNew(const Money& rent)
{
    m_viewOnly = false;
    RecordFields::showMoney(m_rent, rent);
    RecordFields::showMoney(m_damage, Money());
    RecordFields::showMoney(m_lateFee, Money());
    RecordFields::showMoney(m_perDay, Money());
    m_recurs->setCurrentIndex(std::max(0, m_recurs->findData(1)));
    m_ok->setEnabled(true);
    m_firstPayment->setEnabled(true);
}

void TRentAgree::showExisting(const Dataset& a)
{
    RecordFields::showMoney(m_rent, a.asMoney(QStringLiteral("RENT")));
    RecordFields::showMoney(m_damage, a.asMoney(QStringLiteral("DAMAGE")));
    RecordFields::showMoney(m_lateFee, a.asMoney(QStringLiteral("LATEFEE")));
    RecordFields::showMoney(m_perDay, a.asMoney(QStringLiteral("PERDAY")));
    const int recurs = a.asInt(QStringLiteral("RECURS"));
    if (m_recurs->findData(recurs) < 0)
        m_recurs->addItem(QString::number(recurs), recurs);
    m_recurs->setCurrentIndex(m_recurs->findData(recurs));
    const QString term = a.asText(QStringLiteral("LEASETERM"));
    if (m_leaseTerm->findText(term) < 0)
        m_leaseTerm->addItem(term);
    m_leaseTerm->setCurrentIndex(m_leaseTerm->findText(term));
    showDate(m_firstDue, a.value(QStringLiteral("FIRSTDUE")));
    showDate(m_leaseStart, a.value(QStringLiteral("LEASESTART")));
    showDate(m_leaseEnd, a.value(QStringLiteral("LEASEEND")));
    showDate(m_moveIn, a.value(QStringLiteral("MOVEIN")));
    showDate(m_moveOut, a.value(QStringLiteral("MOVEOUT")));
    m_terms->setPlainText(a.asText(QStringLiteral("TERMS")));
    setViewOnly();
}

void TRentAgree::setViewOnly()
{
    m_viewOnly = true;
    m_ok->setEnabled(false);
    m_firstPayment->setEnabled(false);
    // Shown, not offered for editing: nothing typed here could be stored.
    for (QLineEdit* e : {m_rent, m_damage, m_lateFee, m_perDay})
        e->setReadOnly(true);
    for (DateField* d : {m_firstDue, m_leaseStart, m_leaseEnd, m_moveIn, m_moveOut})
        d->setReadOnly(true);
    m_recurs->setEnabled(false);
    m_leaseTerm->setEnabled(false);
    m_terms->setReadOnly(true);
}

NewAgreement TRentAgree::agreement(int apId) const
{
    NewAgreement a;
    a.apId = apId;
    a.rent = RecordFields::readMoney(m_rent);
    a.damage = RecordFields::readMoney(m_damage);
    a.lateFee = RecordFields::readMoney(m_lateFee);
    a.perDay = RecordFields::readMoney(m_perDay);
    a.recurs = m_recurs->currentData().toInt();
    a.firstDue = m_firstDue->date();
    a.leaseStart = m_leaseStart->date();
    a.leaseEnd = m_leaseEnd->date();
    a.moveIn = m_moveIn->date();
    a.moveOut = m_moveOut->date();
    a.firstPayment = m_firstPayment->date();
    a.leaseTerm = m_leaseTerm->currentText();
    a.terms = m_terms->toPlainText();
    return a;
}

void TRentAgree::accept()
{
    if (m_viewOnly)
        return;
    if (!RecordFields::checkFields(this))
        return;
    const QString refusal = Agreements::check(agreement(0));
    if (!refusal.isEmpty()) {
        Messages::warning(refusal);
        return;
    }
    const struct
    {
        QLineEdit* edit;
        const char* label;
    } amounts[] = {{m_rent, "Rent"},
                   {m_damage, "Lease/Damage Deposit"},
                   {m_lateFee, "Late Fee Flat Rate"},
                   {m_perDay, "Late fee per day"}};
    for (const auto& a : amounts) {
        bool ok = false;
        QString error;
        RecordFields::readMoney(a.edit, &ok, &error);
        if (!ok) {
            a.edit->setFocus();
            Messages::warning(QLatin1String(a.label) + QStringLiteral(": ") + error);
            return;
        }
    }
    if (m_recurs->currentIndex() < 0) {
        Messages::warning(QStringLiteral("Please choose how often the rent recurs!"));
        return;
    }
    QDialog::accept();
}
