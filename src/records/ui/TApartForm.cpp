#include "records/ui/TApartForm.h"
#include "shell/ui/DialogButtons.h"

#include "data/Dataset.h"
#include "records/Units.h"
#include "records/ui/Pickers.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* choice(const char* name, const QStringList& items)
{
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(name));
    c->setEditable(true); // other text is accepted too
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->lineEdit()->setMaxLength(20);
    return c;
}

QPushButton* button(const QString& text, const char* name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QVariant textValue(const QString& s)
{
    return s.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

} // namespace

const QList<QPair<QString, QString>>& TApartForm::features()
{
    static const QList<QPair<QString, QString>> list = {
        {QStringLiteral("DINNING"), QStringLiteral("Dining")},
        {QStringLiteral("FAMILY"), QStringLiteral("Family")},
        {QStringLiteral("DEN"), QStringLiteral("Den")},
        {QStringLiteral("AIRCONDITIONING"), QStringLiteral("Air conditioning")},
        {QStringLiteral("GAS"), QStringLiteral("Gas")},
        {QStringLiteral("BASEMENT"), QStringLiteral("Basement")},
        {QStringLiteral("FURNISHED"), QStringLiteral("Furnished")},
        {QStringLiteral("BALCONY"), QStringLiteral("Balcony")},
        {QStringLiteral("FIREPLACE"), QStringLiteral("Fireplace")},
        {QStringLiteral("NONSMOKING"), QStringLiteral("Non smoking")},
        {QStringLiteral("MICROWAVE"), QStringLiteral("Microwave")},
        {QStringLiteral("WASHER"), QStringLiteral("Washer")},
        {QStringLiteral("DISHWASHER"), QStringLiteral("Dish washer")},
        {QStringLiteral("FRIDGE"), QStringLiteral("Refridgerator")},
    };
    return list;
}

TApartForm::TApartForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TApartForm"));
    setWindowTitle(QStringLiteral("Apartments"));

    // Info 1
    m_suite = RecordFields::text("suiteEdit", 20);
    m_rent = RecordFields::amount("rentEdit");
    m_squareFootage = RecordFields::whole("squareFootageEdit", QStringLiteral("Square Footage"),
                                          RecordFields::WholeNumeric);
    m_bedrooms =
        RecordFields::whole("bedroomsEdit", QStringLiteral("# Bedrooms"), RecordFields::SmallCount);
    m_bathrooms = RecordFields::whole("bathroomsEdit", QStringLiteral("# Bathrooms"),
                                      RecordFields::SmallCount);
    m_company = RecordFields::readOnly("companyEdit");
    m_firstName = RecordFields::readOnly("firstNameEdit");
    m_lastName = RecordFields::readOnly("lastNameEdit");
    auto* search = button(QStringLiteral("Search..."), "tenantSearchButton");
    auto* waitList = button(QStringLiteral("&Search from waitlist..."), "waitListButton");
    auto* clear = button(QStringLiteral("C&lear"), "clearTenantButton");
    connect(search, &QPushButton::clicked, this, [this] { chooseTenant(false); });
    connect(waitList, &QPushButton::clicked, this, [this] { chooseTenant(true); });
    connect(clear, &QPushButton::clicked, this, &TApartForm::clearTenant);

    auto* tenant = new QGroupBox(QStringLiteral("Tenant"));
    tenant->setObjectName(QStringLiteral("tenantGroup"));
    auto* tenantForm = new QFormLayout;
    tenantForm->addRow(QStringLiteral("Company"), m_company);
    tenantForm->addRow(QStringLiteral("Firstname"), m_firstName);
    tenantForm->addRow(QStringLiteral("Lastname"), m_lastName);
    auto* tenantButtons = new QHBoxLayout;
    tenantButtons->addWidget(search);
    tenantButtons->addWidget(waitList);
    tenantButtons->addWidget(clear);
    auto* tenantLayout = new QVBoxLayout(tenant);
    tenantLayout->addLayout(tenantForm);
    tenantLayout->addLayout(tenantButtons);

    auto* info1 = new QWidget;
    auto* form1 = new QFormLayout;
    form1->addRow(QStringLiteral("Apt/Suite #"), m_suite);
    form1->addRow(QStringLiteral("Rent"), m_rent);
    form1->addRow(QStringLiteral("Square Footage"), m_squareFootage);
    form1->addRow(QStringLiteral("# Bedrooms"), m_bedrooms);
    form1->addRow(QStringLiteral("# Bathrooms"), m_bathrooms);
    auto* layout1 = new QVBoxLayout(info1);
    layout1->addLayout(form1);
    layout1->addWidget(tenant);
    layout1->addStretch();

    // Info 2
    m_electric = RecordFields::text("electricEdit", 20);
    m_community = RecordFields::text("communityEdit", 20);
    m_heatingType = RecordFields::text("heatingTypeEdit", 30);
    // Below ground counts down.
    m_floor = RecordFields::whole("floorEdit", QStringLiteral("Floor"), RecordFields::SmallInt);
    m_status = choice("statusBox", {QStringLiteral("Damaged"), QStringLiteral("Leasing"),
                                    QStringLiteral("Moved"), QStringLiteral("Normal"),
                                    QStringLiteral("Renovated"), QStringLiteral("Renting"),
                                    QStringLiteral("Repaired"), QStringLiteral("Reserved"),
                                    QStringLiteral("Sub-leasing")});
    m_category = choice("categoryBox", {QStringLiteral("Regular"), QStringLiteral("Temporary"),
                                        QStringLiteral("Show Suite")});
    m_dat1 = RecordFields::text("dat1Edit", 50);
    m_dat2 = RecordFields::text("dat2Edit", 50);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notesEdit"));
    m_notes->setTabChangesFocus(true);
    auto* info2 = new QWidget;
    auto* form2 = new QFormLayout(info2);
    form2->addRow(QStringLiteral("Electricity #"), m_electric);
    form2->addRow(QStringLiteral("Community #"), m_community);
    form2->addRow(QStringLiteral("Heating Type"), m_heatingType);
    form2->addRow(QStringLiteral("Floor"), m_floor);
    form2->addRow(QStringLiteral("Status"), m_status);
    form2->addRow(QStringLiteral("Category"), m_category);
    form2->addRow(QStringLiteral("Dat 1"), m_dat1);
    form2->addRow(QStringLiteral("Dat 2"), m_dat2);
    form2->addRow(QStringLiteral("Notes"), m_notes);

    // Other Facilities
    auto* other = new QWidget;
    auto* grid = new QGridLayout(other);
    int i = 0;
    for (const auto& f : features()) {
        auto* box = new QCheckBox(f.second);
        box->setObjectName(f.first.toLower() + QStringLiteral("Box"));
        m_features.insert(f.first, box);
        grid->addWidget(box, i % 7, i / 7);
        ++i;
    }
    grid->setRowStretch(7, 1);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(info1, QStringLiteral("Info 1"));
    m_tabs->addTab(info2, QStringLiteral("Info 2"));
    m_tabs->addTab(other, QStringLiteral("Other Facilities"));

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    m_suite->setFocus();
}

void TApartForm::load(const Dataset& u, int apId)
{
    m_apId = apId;
    m_suite->setText(u.asText(QStringLiteral("SUITE")));
    RecordFields::showAmount(m_rent, u.value(QStringLiteral("RENT")));
    RecordFields::showWhole(m_squareFootage, u.value(QStringLiteral("SQUAREFOOTAGE")));
    RecordFields::showWhole(m_bedrooms, u.value(QStringLiteral("BEDROOMS")));
    RecordFields::showWhole(m_bathrooms, u.value(QStringLiteral("BATHROOMS")));
    m_electric->setText(u.asText(QStringLiteral("ELECTRIC")));
    m_community->setText(u.asText(QStringLiteral("COMMUNITY")));
    m_heatingType->setText(u.asText(QStringLiteral("HEATINGTYPE")));
    RecordFields::showWhole(m_floor, u.value(QStringLiteral("FLOOR")));
    m_status->setEditText(u.asText(QStringLiteral("STATUS")));
    m_category->setEditText(u.asText(QStringLiteral("CATEGORY")));
    m_dat1->setText(u.asText(QStringLiteral("DAT1")));
    m_dat2->setText(u.asText(QStringLiteral("DAT2")));
    m_notes->setPlainText(u.asText(QStringLiteral("NOTES")));
    for (const auto& f : features())
        m_features.value(f.first)->setChecked(u.asFlag(f.first));
    const QVariant tid = u.value(QStringLiteral("TID"));
    m_tid = tid.isNull() ? -1 : tid.toInt();
    showTenant();
}

QVariantMap TApartForm::values() const
{
    QVariantMap v;
    bool ok = true;
    v.insert(QStringLiteral("SUITE"), textValue(m_suite->text()));
    v.insert(QStringLiteral("RENT"), RecordFields::readAmount(m_rent, &ok));
    v.insert(QStringLiteral("SQUAREFOOTAGE"), RecordFields::readWhole(m_squareFootage));
    v.insert(QStringLiteral("BEDROOMS"), RecordFields::readWhole(m_bedrooms));
    v.insert(QStringLiteral("BATHROOMS"), RecordFields::readWhole(m_bathrooms));
    v.insert(QStringLiteral("TID"), m_tid);
    v.insert(QStringLiteral("ELECTRIC"), textValue(m_electric->text()));
    v.insert(QStringLiteral("COMMUNITY"), textValue(m_community->text()));
    v.insert(QStringLiteral("HEATINGTYPE"), textValue(m_heatingType->text()));
    v.insert(QStringLiteral("FLOOR"), RecordFields::readWhole(m_floor));
    v.insert(QStringLiteral("STATUS"), textValue(m_status->currentText()));
    v.insert(QStringLiteral("CATEGORY"), textValue(m_category->currentText()));
    v.insert(QStringLiteral("DAT1"), textValue(m_dat1->text()));
    v.insert(QStringLiteral("DAT2"), textValue(m_dat2->text()));
    v.insert(QStringLiteral("NOTES"), textValue(m_notes->toPlainText()));
    for (const auto& f : features())
        v.insert(f.first, m_features.value(f.first)->isChecked() ? 1 : 0);
    return v;
}

void TApartForm::showTenant()
{
    Units::TenantNames names;
    try {
        names = Units::tenantNames(m_state.db, m_tid);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_company->setText(names.company);
    m_firstName->setText(names.firstName);
    m_lastName->setText(names.lastName);
}

void TApartForm::chooseTenant(bool fromWaitList)
{
    try {
        if (fromWaitList && Units::waitListEmpty(m_state.db)) {
            Messages::plain(QStringLiteral("There are no tenants on the waitlist!"));
            return;
        }
        TSelTen picker(m_state.db, this);
        if (fromWaitList)
            picker.setWaitListMode(true);
        if (Dialogs::exec(&picker) != QDialog::Accepted || picker.selectedId() < 0)
            return;
        const int tid = picker.selectedId();
        if (Units::tenantLivesElsewhere(m_state.db, tid, m_apId))
            Messages::warning(Units::AssignedElsewhere);
        m_tid = tid;
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    showTenant();
}

void TApartForm::clearTenant()
{
    m_tid = -1;
    showTenant();
}

void TApartForm::accept()
{
    const QString refusal = Units::check(m_suite->text(), m_rent->text());
    if (!refusal.isEmpty()) {
        Messages::warning(refusal);
        m_tabs->setCurrentIndex(0);
        (refusal.startsWith(QLatin1String("Suite")) ? m_suite : m_rent)->setFocus();
        return;
    }
    bool ok = true;
    QString error;
    RecordFields::readAmount(m_rent, &ok, &error);
    if (!ok) {
        Messages::warning(QStringLiteral("Rent: ") + error);
        m_tabs->setCurrentIndex(0);
        m_rent->setFocus();
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    QDialog::accept();
}
