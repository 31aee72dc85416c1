#include "ledger/ui/TFAhead.h"

#include "ledger/Payment.h"
#include "shell/Messages.h"
#include "shell/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int Lowest = 1;
constexpr int Highest = 12;
} // namespace

PeriodsBox::PeriodsBox(QWidget* parent) : QSpinBox(parent)
{
    // Wider than the arrows go, so a typed 0 or 13 reaches the dialog's check.
    setRange(0, 999);
    setValue(Lowest);
}

void PeriodsBox::stepBy(int steps)
{
    setValue(std::clamp(value() + steps, Lowest, Highest));
    selectAll();
}

QAbstractSpinBox::StepEnabled PeriodsBox::stepEnabled() const
{
    StepEnabled e = StepNone;
    if (value() < Highest)
        e |= StepUpEnabled;
    if (value() > Lowest)
        e |= StepDownEnabled;
    return e;
}

TFAhead::TFAhead(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFAhead"));
    setWindowTitle(QStringLiteral("Charge Ahead"));
    m_periods = new PeriodsBox;
    m_periods->setObjectName(QStringLiteral("periodsBox"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Number of periods to charge ahead for selected Tenant:")));
    layout->addWidget(m_periods);
    layout->addWidget(okCancelButtons(this));
}

int TFAhead::periods() const
{
    return m_periods->cleanText().trimmed().toInt();
}

void TFAhead::accept()
{
    bool ok = false;
    const int n = m_periods->cleanText().trimmed().toInt(&ok);
    if (!ok) {
        Messages::plain(QStringLiteral("Invalid value entered!"));
        return;
    }
    if (n < Lowest || n > Highest) {
        Messages::warning(Payment::PeriodsRange);
        return;
    }
    QDialog::accept();
}
