#include "ledger/ui/TRecurForm.h"

#include "records/ui/RecordFields.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Money.h"
#include "shell/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlQuery>
#include <QVBoxLayout>

TRecurForm::TRecurForm(Database& db, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRecurForm"));
    setWindowTitle(QStringLiteral("Recurring charges"));

    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("typeBox"));
    m_freq = new QComboBox;
    m_freq->setObjectName(QStringLiteral("frequencyBox"));
    try {
        QSqlQuery c = db.select(QStringLiteral("select name from categories order by name"));
        while (c.next())
            m_type->addItem(c.value(0).toString());
        QSqlQuery f =
            db.select(QStringLiteral("select freqid, name from frequency order by freqid"));
        while (f.next())
            m_freq->addItem(f.value(1).toString(), f.value(0).toInt());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_newType = new QPushButton(QStringLiteral("&New..."));
    m_newType->setObjectName(QStringLiteral("newTypeButton"));
    // The categories window is not built yet.
    m_newType->setEnabled(false);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_type, 1);
    typeRow->addWidget(m_newType);

    m_amount = RecordFields::unsignedAmount("amountEdit");
    m_lateFee = RecordFields::unsignedAmount("lateFeeEdit");
    m_perDay = RecordFields::unsignedAmount("perDayEdit");
    m_start = RecordFields::date("startDateEdit", QStringLiteral("Start Date"));
    m_end = RecordFields::date("endDateEdit", QStringLiteral("End Date"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Type"), typeRow);
    form->addRow(QStringLiteral("Amount"), m_amount);
    form->addRow(QStringLiteral("Late Fee Flat Rate"), m_lateFee);
    form->addRow(QStringLiteral("Daily Late Fee"), m_perDay);
    form->addRow(QStringLiteral("Frequency"), m_freq);
    form->addRow(QStringLiteral("Start Date"), m_start);
    form->addRow(QStringLiteral("End Date"), m_end);

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TRecurForm::setValues(const RecurringCharges::Values& v)
{
    int t = m_type->findText(v.type);
    if (t < 0 && !v.type.isEmpty()) {
        // A type whose category was renamed or removed stays as it is.
        m_type->addItem(v.type);
        t = m_type->count() - 1;
    }
    m_type->setCurrentIndex(t);
    RecordFields::showMoney(m_amount, v.amount);
    RecordFields::showMoney(m_lateFee, v.lateFee);
    RecordFields::showMoney(m_perDay, v.perDay);
    m_freq->setCurrentIndex(m_freq->findData(v.freq));
    if (v.startDate.isValid())
        m_start->setDate(v.startDate);
    if (v.endDate.isValid())
        m_end->setDate(v.endDate);
}

RecurringCharges::Values TRecurForm::values() const
{
    RecurringCharges::Values v;
    v.type = m_type->currentText();
    v.amount = RecordFields::readMoney(m_amount);
    v.lateFee = RecordFields::readMoney(m_lateFee);
    v.perDay = RecordFields::readMoney(m_perDay);
    v.freq = m_freq->currentData().toInt();
    v.startDate = m_start->date();
    v.endDate = m_end->date();
    return v;
}

void TRecurForm::accept()
{
    if (!RecordFields::checkFields(this))
        return;
    const QString range = RecurringCharges::check(values());
    if (!range.isEmpty()) {
        Messages::plain(range);
        return;
    }
    const struct
    {
        QLineEdit* edit;
        const char* label;
    } amounts[] = {{m_amount, "Amount"}, {m_lateFee, "Late Fee Flat Rate"}, {m_perDay, "Daily Late Fee"}};
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
    if (m_type->currentText().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("Please choose a type!"));
        return;
    }
    if (m_freq->currentIndex() < 0) {
        Messages::warning(QStringLiteral("Please choose a frequency!"));
        return;
    }
    QDialog::accept();
}
