#include "records/ui/TFormDeposit.h"
#include "shell/ui/DialogButtons.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "records/Deposits.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// MEMO is VARCHAR(255); longer text would only be refused when the row is stored.
constexpr int MemoLength = 255;
} // namespace

TFormDeposit::TFormDeposit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormDeposit"));
    setWindowTitle(QStringLiteral("Deposit Property"));
    m_date = RecordFields::date("dateEdit", QStringLiteral("Date Paid"));
    m_amount = RecordFields::amount("amountEdit");
    m_paymentType = new QComboBox;
    m_paymentType->setObjectName(QStringLiteral("paymentTypeBox"));
    m_paymentType->addItems(Deposits::paymentTypes());
    m_paymentType->setCurrentIndex(-1);
    m_memo = new QPlainTextEdit;
    m_memo->setObjectName(QStringLiteral("memoEdit"));
    m_memo->setTabChangesFocus(true);
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_memo->toPlainText();
        if (text.size() > MemoLength) {
            m_memo->setPlainText(text.left(MemoLength));
            m_memo->moveCursor(QTextCursor::End);
        }
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Date Paid"), m_date);
    form->addRow(QStringLiteral("Amount"), m_amount);
    form->addRow(QStringLiteral("Payment Method"), m_paymentType);
    form->addRow(QStringLiteral("Memo"), m_memo);

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void TFormDeposit::showDeposit(const Dataset& d)
{
    // A deposit stored without a date shows today, as a new one does.
    const QDate date = d.asDate(QStringLiteral("TDATE"));
    m_date->setDate(date.isValid() ? date : Clock::today());
    RecordFields::showAmount(m_amount, d.value(QStringLiteral("AMOUNT")));
    m_paymentType->setCurrentIndex(
        m_paymentType->findText(d.asText(QStringLiteral("PAYMENTTYPE"))));
    m_memo->setPlainText(d.asText(QStringLiteral("MEMO")));
    m_amount->setFocus();
}

void TFormDeposit::storeDeposit(Dataset& d) const
{
    bool ok = true;
    d.setValue(QStringLiteral("TDATE"), m_date->date());
    d.setValue(QStringLiteral("AMOUNT"), RecordFields::readAmount(m_amount, &ok));
    if (m_paymentType->currentIndex() >= 0)
        d.setValue(QStringLiteral("PAYMENTTYPE"), m_paymentType->currentText());
    d.setValue(QStringLiteral("MEMO"), m_memo->toPlainText());
}

void TFormDeposit::accept()
{
    if (!RecordFields::checkFields(this))
        return;
    bool ok = true;
    QString error;
    const QVariant amount = RecordFields::readAmount(m_amount, &ok, &error);
    if (!ok || amount.isNull()) {
        Messages::plain(ok ? QStringLiteral("Enter a valid amount") : error);
        m_amount->setFocus();
        return;
    }
    QDialog::accept();
}
