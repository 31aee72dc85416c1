#include "ledger/ui/TFormOT.h"

#include "cashbook/ui/TCatForm.h"
#include "data/Clock.h"
#include "data/Database.h"
#include "ledger/Payment.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

TFormOT::TFormOT(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFormOT"));
    setWindowTitle(QStringLiteral("Add One Time Charge"));
    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("typeBox"));
    fillTypes(QString());
    auto* newType = new QPushButton(QStringLiteral("&New..."));
    newType->setObjectName(QStringLiteral("newTypeButton"));
    newType->setAutoDefault(false);
    connect(newType, &QPushButton::clicked, this, &TFormOT::newType);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_type, 1);
    typeRow->addWidget(newType);

    m_amount = RecordFields::amount("amountEdit");
    m_date = RecordFields::date("billingDateEdit", QStringLiteral("Billing Date"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Type"), typeRow);
    form->addRow(QStringLiteral("Amount"), m_amount);
    form->addRow(QStringLiteral("Billing Date"), m_date);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
}

void TFormOT::fillTypes(const QString& select)
{
    m_type->clear();
    try {
        QSqlQuery q = m_state.db.select(QStringLiteral("select NAME from categories order by NAME"));
        while (q.next()) {
            const QString name = q.value(0).toString();
            // Two categories may share a name; the type is the name.
            if (m_type->findText(name) < 0)
                m_type->addItem(name);
        }
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    const int at = m_type->findText(select);
    if (at >= 0)
        m_type->setCurrentIndex(at);
}

QString TFormOT::type() const
{
    return m_type->currentText();
}

Money TFormOT::amount() const
{
    return RecordFields::readMoney(m_amount);
}

QDate TFormOT::billingDate() const
{
    return m_date->date();
}

void TFormOT::accept()
{
    // Moving the focus finishes whatever is being typed.
    m_date->setFocus();
    if (!RecordFields::checkFields(this))
        return;
    QString error;
    bool ok = false;
    const Money typed = RecordFields::readMoney(m_amount, &ok, &error);
    if (!ok) {
        Messages::warning(error);
        return;
    }
    if (typed <= Money()) {
        Messages::plain(Payment::InvalidAmount);
        return;
    }
    QDialog::accept();
}

void TFormOT::newType()
{
    // A category made in the window becomes the type; otherwise the choice stays.
    QString chosen = m_type->currentText();
    int newest = 0;
    try {
        newest = m_state.db.scalar(QStringLiteral("select max(CATID) from categories")).toInt();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    Dialogs::exec(TCatForm::instance(m_state, this));
    try {
        QSqlQuery q = m_state.db.prepare(QStringLiteral(
            "select first 1 NAME from categories where CATID > ? order by CATID desc"));
        q.addBindValue(newest);
        m_state.db.execPrepared(q);
        if (q.next())
            chosen = q.value(0).toString();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    fillTypes(chosen);
}
