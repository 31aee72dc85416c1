#include "ledger/ui/TAdjustRent.h"

#include "data/Dataset.h"
#include "records/ui/Pickers.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// One choice within its group.
QRadioButton* radio(const QString& text, const char* name, QButtonGroup* group)
{
    auto* b = new QRadioButton(text);
    b->setObjectName(QLatin1String(name));
    group->addButton(b);
    return b;
}

} // namespace

TAdjustRent::TAdjustRent(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TAdjustRent"));
    setWindowTitle(QStringLiteral("Adjust Rental Rate"));

    auto* scopes = new QButtonGroup(this);
    m_all = radio(QStringLiteral("All Apartments"), "allButton", scopes);
    m_tenant = radio(QStringLiteral("Selected Tenant"), "tenantButton", scopes);
    m_building = radio(QStringLiteral("All Apartments in Building"), "buildingButton", scopes);
    m_unit = radio(QStringLiteral("Selected Apartment"), "unitButton", scopes);
    m_all->setChecked(true);
    auto* scopeBox = new QGroupBox(QStringLiteral("Adjust Rates For "));
    auto* scopeLayout = new QVBoxLayout(scopeBox);
    for (QRadioButton* b : {m_all, m_tenant, m_building, m_unit}) {
        scopeLayout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                scopeChosen();
        });
    }

    m_selection = RecordFields::readOnly("selectionEdit");
    m_search = new QPushButton(QStringLiteral("&Search..."));
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_search->setAutoDefault(false);
    m_search->setEnabled(false);
    connect(m_search, &QPushButton::clicked, this, &TAdjustRent::search);
    auto* selectionBox = new QGroupBox(QStringLiteral("Select Apartment/Tenant/Building"));
    auto* selectionLayout = new QHBoxLayout(selectionBox);
    selectionLayout->addWidget(m_selection, 1);
    selectionLayout->addWidget(m_search);

    auto* kinds = new QButtonGroup(this);
    m_percentChoice = radio(QStringLiteral("Percentage Increase"), "percentButton", kinds);
    m_amountChoice = radio(QStringLiteral("Increase by Amount"), "amountButton", kinds);
    m_percentChoice->setChecked(true);
    m_percent = RecordFields::amount("percentEdit");
    m_amount = RecordFields::amount("amountEdit");
    auto* kindBox = new QGroupBox(QStringLiteral("Type of Increase"));
    auto* kindLayout = new QGridLayout(kindBox);
    kindLayout->addWidget(m_percentChoice, 0, 0);
    kindLayout->addWidget(m_percent, 0, 1);
    kindLayout->addWidget(m_amountChoice, 1, 0);
    kindLayout->addWidget(m_amount, 1, 1);

    auto* targets = new QButtonGroup(this);
    m_future = radio(QStringLiteral("Apply to future rental rates"), "futureButton", targets);
    m_current = radio(QStringLiteral("Apply to current rental agreements"), "currentButton", targets);
    m_both = radio(QStringLiteral("Apply to both"), "bothButton", targets);
    m_future->setChecked(true);
    auto* targetBox = new QGroupBox(QStringLiteral("Apply to"));
    auto* targetLayout = new QVBoxLayout(targetBox);
    for (QRadioButton* b : {m_future, m_current, m_both})
        targetLayout->addWidget(b);

    auto* top = new QHBoxLayout;
    top->addWidget(scopeBox);
    top->addWidget(targetBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(selectionBox);
    layout->addWidget(kindBox);
    layout->addWidget(okCancelButtons(this));
}

RentAdjustment::Scope TAdjustRent::scope() const
{
    if (m_tenant->isChecked())
        return RentAdjustment::Scope::Tenant;
    if (m_building->isChecked())
        return RentAdjustment::Scope::Building;
    if (m_unit->isChecked())
        return RentAdjustment::Scope::Unit;
    return RentAdjustment::Scope::AllUnits;
}

void TAdjustRent::scopeChosen()
{
    // "All Apartments" keeps the text; each of the others starts a new choice.
    if (m_all->isChecked()) {
        m_search->setEnabled(false);
        return;
    }
    m_selection->clear();
    m_id = 0;
    m_search->setEnabled(true);
}

void TAdjustRent::search()
{
    std::unique_ptr<SearchPicker> picker;
    switch (scope()) {
    case RentAdjustment::Scope::Building:
        picker = std::make_unique<TSelBuild>(m_state.db, this);
        break;
    case RentAdjustment::Scope::Tenant:
        picker = std::make_unique<TSelTen>(m_state.db, this);
        break;
    case RentAdjustment::Scope::Unit:
        picker = std::make_unique<TFSelApart>(m_state.db, this);
        break;
    case RentAdjustment::Scope::AllUnits:
        return;
    }
    if (Dialogs::exec(picker.get()) != QDialog::Accepted)
        return;
    m_id = picker->selectedId();
    m_selection->setText(picker->selectedText());
}

void TAdjustRent::accept()
{
    RentAdjustment a;
    a.scope = scope();
    if (a.scope != RentAdjustment::Scope::AllUnits && m_selection->text().trimmed().isEmpty()) {
        Messages::warning(RentAdjustment::NothingSelected);
        return;
    }
    a.id = m_id;
    const bool byAmount = m_amountChoice->isChecked();
    a.kind = byAmount ? RentAdjustment::Kind::Amount : RentAdjustment::Kind::Percentage;
    QLineEdit* value = byAmount ? m_amount : m_percent;
    if (value->text().trimmed().isEmpty()) {
        Messages::warning(byAmount ? RentAdjustment::NoAmount : RentAdjustment::NoPercentage);
        return;
    }
    bool ok = false;
    QString error;
    a.value = RecordFields::readMoney(value, &ok, &error);
    if (!ok) {
        Messages::warning(error);
        value->setFocus();
        return;
    }
    a.target = m_both->isChecked()      ? RentAdjustment::Target::Both
               : m_current->isChecked() ? RentAdjustment::Target::CurrentAgreements
                                        : RentAdjustment::Target::FutureRates;
    try {
        RentAdjust::adjust(m_state.db, a);
    } catch (const AdjustmentRefused& e) {
        Messages::warning(e.message());
        return;
    } catch (const DbError& e) {
        // Nothing of the adjustment was kept.
        Messages::error(e.message());
        return;
    }
    SharedTables& t = m_state.tables();
    for (Dataset* d : {t.Apartments, t.Agreements}) {
        try {
            d->refresh();
        } catch (const DbError& e) {
            Messages::error(e.message());
        }
    }
    Messages::plain(RentAdjustment::Done);
    QDialog::accept();
}
