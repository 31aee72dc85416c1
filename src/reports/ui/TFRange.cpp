#include "reports/ui/TFRange.h"

#include "data/Clock.h"
#include "records/ui/RecordFields.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QVBoxLayout>

TFRange::TFRange(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFRange"));
    setWindowTitle(QStringLiteral("Select date range"));
    const struct
    {
        DateRange::Choice choice;
        const char* text;
        const char* name;
    } buttons[] = {
        {DateRange::Choice::YearToDate, "Year to date", "yearToDateButton"},
        {DateRange::Choice::MonthToDate, "Month to date", "monthToDateButton"},
        {DateRange::Choice::Today, "Today", "todayButton"},
        {DateRange::Choice::Custom, "Custom", "customButton"},
    };
    auto* group = new QGroupBox;
    auto* column = new QVBoxLayout(group);
    for (const auto& b : buttons) {
        auto* radio = new QRadioButton(QLatin1String(b.text));
        radio->setObjectName(QLatin1String(b.name));
        m_buttons[int(b.choice)] = radio;
        column->addWidget(radio);
        const DateRange::Choice choice = b.choice;
        connect(radio, &QRadioButton::clicked, this, [this, choice] { choose(choice); });
    }
    m_from = RecordFields::date("fromDate", QStringLiteral("From"));
    m_to = RecordFields::date("toDate", QStringLiteral("To"));
    auto* dates = new QFormLayout;
    dates->addRow(QStringLiteral("From:"), m_from);
    dates->addRow(QStringLiteral("To:"), m_to);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(dates);
    layout->addWidget(okCancelButtons(this));

    m_buttons[int(DateRange::Choice::Today)]->setChecked(true);
    choose(DateRange::Choice::Today);
}

TFRange& TFRange::shared()
{
    static QPointer<TFRange> instance;
    if (!instance) {
        instance = new TFRange;
        // Removed while the application object still exists, before widgets become invalid.
        qAddPostRoutine([] { delete instance.data(); });
    }
    return *instance;
}

QDate TFRange::from() const
{
    return m_from->date();
}

QDate TFRange::to() const
{
    return m_to->date();
}

DateRange::Choice TFRange::choice() const
{
    for (int i = 0; i < 4; ++i)
        if (m_buttons[i]->isChecked())
            return DateRange::Choice(i);
    return DateRange::Choice::Custom;
}

QRadioButton* TFRange::button(DateRange::Choice choice) const
{
    return m_buttons[int(choice)];
}

void TFRange::choose(DateRange::Choice choice)
{
    QDate from = m_from->date();
    QDate to = m_to->date();
    DateRange::datesFor(choice, Clock::today(), &from, &to);
    m_from->setDate(from);
    m_to->setDate(to);
    const bool custom = choice == DateRange::Choice::Custom;
    m_from->setEnabled(custom);
    m_to->setEnabled(custom);
}

void TFRange::accept()
{
    if (!RecordFields::checkFields(this))
        return;
    if (from() > to()) {
        Messages::warning(QStringLiteral("Invalid date range!"));
        return;
    }
    QDialog::accept();
}
