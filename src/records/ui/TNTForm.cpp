#include "records/ui/TNTForm.h"

#include "data/Database.h"
#include "shell/ui/DialogButtons.h"

#include "data/Dataset.h"
#include "data/Money.h"
#include "records/ui/RecordFields.h"
#include "records/ui/TenantDetailForms.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Writes a value only when it differs from the row's, so untouched columns keep their NULLs.
void setIfChanged(Dataset& t, const QString& column, const QVariant& v)
{
    const QVariant old = t.value(column);
    bool same = false;
    if (!v.isValid())
        same = old.isNull();
    else if (v.metaType() == QMetaType::fromType<QDate>())
        same = old.toDate() == v.toDate();
    else if (v.metaType() == QMetaType::fromType<Money>())
        same = !old.isNull() && Dataset::toMoney(old) == v.value<Money>();
    else if (v.metaType() == QMetaType::fromType<int>())
        same = !old.isNull() && old.toInt() == v.toInt();
    else if (v.metaType() == QMetaType::fromType<QByteArray>())
        same = old.toByteArray() == v.toByteArray();
    else
        same = old.toString() == v.toString();
    if (!same)
        t.setValue(column, v);
}

QVariant dateValue(const DateField* e)
{
    const QVariant v = e->value();
    return v.isNull() ? QVariant() : v;
}

QVariant memoValue(const QPlainTextEdit* e)
{
    const QString text = e->toPlainText();
    return text.isEmpty() ? QVariant() : QVariant(Database::memoBytes(text));
}

QComboBox* choiceBox(const char* objectName, const QStringList& items)
{
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(objectName));
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

// A choice stored as its number: -1 (no choice) for NULL or a number outside the list.
void showChoice(QComboBox* box, const QVariant& v)
{
    const int i = v.isNull() ? -1 : v.toInt();
    box->setCurrentIndex(i >= 0 && i < box->count() ? i : -1);
}

QPushButton* button(const QString& text, const QString& objectName)
{
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace

QLineEdit* TNTForm::addText(QFormLayout* form, const char* column, const char* label,
                            const char* objectName, int maxLength)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(objectName));
    edit->setMaxLength(maxLength);
    form->addRow(QString::fromUtf8(label), edit);
    m_texts << qMakePair(QLatin1String(column), edit);
    return edit;
}

TNTForm::TNTForm(AppState& state, int tid, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TNTForm"));
    setWindowTitle(QStringLiteral("Tenant Details"));
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));

    // "General"
    {
        auto* page = new QWidget;
        auto* left = new QFormLayout;
        QLineEdit* id = addText(left, "ID", "ID#/Code", "idEdit", 20);
        addText(left, "FIRSTNAME", "Firstname", "firstNameEdit", 100);
        addText(left, "LASTNAME", "Lastname", "lastNameEdit", 100);
        addText(left, "COMPANY", "Company", "companyEdit", 200);
        addText(left, "ADDRESS", "Address", "addressEdit", 255);
        addText(left, "CITY", "City", "cityEdit", 100);
        addText(left, "STATE", "State", "stateEdit", 100);
        addText(left, "POSTALCODE", "Zip", "zipEdit", 20);
        auto* right = new QFormLayout;
        addText(right, "TEL", "Tel", "telEdit", 100);
        addText(right, "DRIVERSLICENSE", "Driver's license #", "licenseEdit", 100);
        addText(right, "DRIVERSLICENSEPROV", "Driver's license prov", "licenseProvEdit", 100);
        addText(right, "INSURENUM", "SSN#", "ssnEdit", 100);
        addText(right, "DAT1", "Email Address", "emailEdit", 100);
        auto* layout = new QHBoxLayout(page);
        layout->addLayout(left, 1);
        layout->addSpacing(16);
        layout->addLayout(right, 1);
        m_tabs->addTab(page, QStringLiteral("General"));
        id->setFocus();
    }

    // "General 2"
    {
        auto* page = new QWidget;
        auto* form = new QFormLayout;
        m_dob = RecordFields::date("dobEdit", QStringLiteral("Dob"), true);
        form->addRow(QStringLiteral("Dob"), m_dob);
        addText(form, "OCCUPATION", "Occupation", "occupationEdit", 100);
        addText(form, "EMPLOYER", "Employer", "employerEdit", 100);
        addText(form, "DAT2", "Dat 2", "dat2Edit", 100);
        m_active = new QCheckBox(QStringLiteral("Tenant Status is Active"));
        m_active->setObjectName(QStringLiteral("activeBox"));
        form->addRow(m_active);
        auto* notify = new QGroupBox(QStringLiteral("In Case of Emergency Notify"));
        auto* notifyForm = new QFormLayout(notify);
        addText(notifyForm, "NOTIFYNAME", "Name", "notifyNameEdit", 100);
        addText(notifyForm, "NOTIFYTEL", "Tel", "notifyTelEdit", 199);
        addText(notifyForm, "NOTIFYREL", "Relationship", "notifyRelEdit", 100);
        auto* layout = new QVBoxLayout(page);
        layout->addLayout(form);
        layout->addWidget(notify);
        layout->addStretch();
        m_tabs->addTab(page, QStringLiteral("General 2"));
    }

    // "Financial"
    {
        auto* page = new QWidget;
        auto* form = new QFormLayout;
        m_cardType = new QComboBox;
        m_cardType->setObjectName(QStringLiteral("cardTypeBox"));
        m_cardType->addItem(QString());
        const Dataset& cards = *state.tables().Ccards;
        for (int i = 0; i < cards.rowCount(); ++i)
            m_cardType->addItem(cards.valueAt(i, QStringLiteral("NAME")).toString());
        form->addRow(QStringLiteral("Credit Card Type"), m_cardType);
        addText(form, "CCARDNUM", "Credit Card #", "cardNumberEdit", 100);
        m_cardExpiry =
            RecordFields::date("cardExpiryEdit", QStringLiteral("Credit Card Expiry Date"), true);
        form->addRow(QStringLiteral("Credit Card Expiry Date"), m_cardExpiry);
        m_income = RecordFields::amount("incomeEdit");
        m_incomeType = choiceBox("incomeTypeBox", {QStringLiteral("Week"), QStringLiteral("Month"),
                                                   QStringLiteral("Year")});
        auto* income = new QHBoxLayout;
        income->addWidget(m_income, 1);
        income->addWidget(new QLabel(QStringLiteral("per")));
        income->addWidget(m_incomeType);
        form->addRow(QStringLiteral("Income"), income);
        addText(form, "BANKNAME", "Bank Name", "bankNameEdit", 100);
        addText(form, "BRANCH", "Branch", "branchEdit", 100);
        addText(form, "ACCNUM", "Acc #", "accountNumberEdit", 100);
        m_accountType =
            choiceBox("accountTypeBox", {QStringLiteral("Checking"), QStringLiteral("Savings")});
        form->addRow(QStringLiteral("Acct Type"), m_accountType);
        auto* layout = new QVBoxLayout(page);
        layout->addLayout(form);
        layout->addStretch();
        m_tabs->addTab(page, QStringLiteral("Financial"));
    }

    // "Notes/Incidents"
    {
        auto* page = new QWidget;
        m_notes = new QPlainTextEdit;
        m_notes->setObjectName(QStringLiteral("notesEdit"));
        m_notes->setTabChangesFocus(true);
        m_incidents = new QPlainTextEdit;
        m_incidents->setObjectName(QStringLiteral("incidentsEdit"));
        m_incidents->setTabChangesFocus(true);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(QStringLiteral("Notes")));
        layout->addWidget(m_notes);
        layout->addWidget(new QLabel(QStringLiteral("Incidents")));
        layout->addWidget(m_incidents);
        m_tabs->addTab(page, QStringLiteral("Notes/Incidents"));
    }

    // "Other"
    {
        m_details[TenantDetails::Vehicles] =
            new TenantDetails(state.db, TenantDetails::Vehicles, tid, this);
        m_details[TenantDetails::Pets] =
            new TenantDetails(state.db, TenantDetails::Pets, tid, this);
        m_details[TenantDetails::Occupants] =
            new TenantDetails(state.db, TenantDetails::Occupants, tid, this);
        auto* sub = new QTabWidget;
        sub->setObjectName(QStringLiteral("otherTabs"));
        sub->addTab(buildDetailTab(TenantDetails::Vehicles, "vehicle"), QStringLiteral("Vehicles"));
        sub->addTab(buildDetailTab(TenantDetails::Pets, "pet"), QStringLiteral("Pets"));
        sub->addTab(buildDetailTab(TenantDetails::Occupants, "occupant"),
                    QStringLiteral("Occupants"));
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(sub);
        m_tabs->addTab(page, QStringLiteral("Other"));
    }

    m_waitList = new QCheckBox(QStringLiteral("Put tenant on waitlist"));
    m_waitList->setObjectName(QStringLiteral("waitListBox"));
    m_waitList->setChecked(true);

    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_waitList);
    layout->addWidget(buttons);
    resize(680, 440);
}

QWidget* TNTForm::buildDetailTab(TenantDetails::Kind kind, const char* prefix)
{
    auto* grid = new Grid;
    grid->setObjectName(QLatin1String(prefix) + QStringLiteral("Grid"));
    grid->setModel(m_details[kind]);
    connect(grid, &Grid::openRequested, this, [this, kind] { editDetail(kind); });
    m_grids[kind] = grid;

    auto* insert =
        button(QStringLiteral("&Insert"), QLatin1String(prefix) + QStringLiteral("InsertButton"));
    auto* edit =
        button(QStringLiteral("&Edit"), QLatin1String(prefix) + QStringLiteral("EditButton"));
    auto* remove =
        button(QStringLiteral("&Delete"), QLatin1String(prefix) + QStringLiteral("DeleteButton"));
    connect(insert, &QPushButton::clicked, this, [this, kind] { insertDetail(kind); });
    connect(edit, &QPushButton::clicked, this, [this, kind] { editDetail(kind); });
    connect(remove, &QPushButton::clicked, this, [this, kind] { deleteDetail(kind); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(insert);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    return page;
}

QLineEdit* TNTForm::text(const char* objectName) const
{
    return findChild<QLineEdit*>(QLatin1String(objectName));
}

void TNTForm::showTenant(const Dataset& t)
{
    for (const auto& [column, edit] : m_texts)
        edit->setText(t.asText(column));
    m_dob->setValue(t.value(QStringLiteral("DOB")));
    m_active->setChecked(t.asFlag(QStringLiteral("ACTIVE")));
    const QString card = t.asText(QStringLiteral("CCTYPE"));
    // A card kind no longer in the list is kept, not lost on the next store.
    if (m_cardType->findText(card) < 0)
        m_cardType->addItem(card);
    m_cardType->setCurrentIndex(m_cardType->findText(card));
    m_cardExpiry->setValue(t.value(QStringLiteral("CCARDEXPIRE")));
    RecordFields::showAmount(m_income, t.value(QStringLiteral("INCOME")));
    showChoice(m_incomeType, t.value(QStringLiteral("INCOMETYPE")));
    showChoice(m_accountType, t.value(QStringLiteral("ACCTYPE")));
    m_notes->setPlainText(Database::memoText(t.value(QStringLiteral("NOTES"))));
    m_incidents->setPlainText(
        Database::memoText(t.value(QStringLiteral("INCIDENTS"))));
    m_tabs->setCurrentIndex(0);
    text("idEdit")->setFocus();
}

void TNTForm::storeTenant(Dataset& t) const
{
    for (const auto& [column, edit] : m_texts)
        setIfChanged(t, column, edit->text());
    setIfChanged(t, QStringLiteral("DOB"), dateValue(m_dob));
    setIfChanged(t, QStringLiteral("ACTIVE"), m_active->isChecked() ? 1 : 0);
    setIfChanged(t, QStringLiteral("CCTYPE"), m_cardType->currentText());
    setIfChanged(t, QStringLiteral("CCARDEXPIRE"), dateValue(m_cardExpiry));
    bool ok = true;
    setIfChanged(t, QStringLiteral("INCOME"), RecordFields::readAmount(m_income, &ok));
    if (m_incomeType->currentIndex() >= 0)
        setIfChanged(t, QStringLiteral("INCOMETYPE"), m_incomeType->currentIndex());
    if (m_accountType->currentIndex() >= 0)
        setIfChanged(t, QStringLiteral("ACCTYPE"), m_accountType->currentIndex());
    setIfChanged(t, QStringLiteral("NOTES"), memoValue(m_notes));
    setIfChanged(t, QStringLiteral("INCIDENTS"), memoValue(m_incidents));
}

void TNTForm::accept()
{
    if (text("idEdit")->text().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("The id field is blank!"));
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    // An amount that cannot be read would be stored as nothing.
    bool ok = true;
    QString error;
    RecordFields::readAmount(m_income, &ok, &error);
    if (!ok) {
        m_tabs->setCurrentIndex(2);
        m_income->setFocus();
        Messages::warning(QStringLiteral("Income: ") + error);
        return;
    }
    if (onAccept && !onAccept())
        return;
    QDialog::accept();
}

void TNTForm::selectKey(TenantDetails::Kind kind, int key)
{
    const int row = m_details[kind]->indexOfKey(key);
    if (row >= 0)
        m_grids[kind]->selectRow(row);
}

namespace {
std::unique_ptr<TDetailForm> detailForm(TenantDetails::Kind kind, QWidget* parent)
{
    switch (kind) {
    case TenantDetails::Vehicles:
        return std::make_unique<TVehicleForm>(parent);
    case TenantDetails::Pets:
        return std::make_unique<TPetForm>(parent);
    case TenantDetails::Occupants:
        break;
    }
    return std::make_unique<TOccupantForm>(parent);
}
} // namespace

void TNTForm::insertDetail(TenantDetails::Kind kind)
{
    auto form = detailForm(kind, this);
    form->setValues(QVariantMap());
    if (Dialogs::exec(form.get()) != QDialog::Accepted)
        return;
    try {
        selectKey(kind, m_details[kind]->insert(form->values()));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TNTForm::editDetail(TenantDetails::Kind kind)
{
    TenantDetails* list = m_details[kind];
    if (list->rowCount() == 0) {
        insertDetail(kind);
        return;
    }
    const int row = std::max(0, m_grids[kind]->currentIndex().row());
    const int key = list->keyAt(row);
    auto form = detailForm(kind, this);
    form->setValues(list->row(row));
    if (Dialogs::exec(form.get()) != QDialog::Accepted)
        return;
    try {
        list->update(key, form->values());
        selectKey(kind, key);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TNTForm::deleteDetail(TenantDetails::Kind kind)
{
    TenantDetails* list = m_details[kind];
    if (list->rowCount() == 0)
        return;
    const int row = std::max(0, m_grids[kind]->currentIndex().row());
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        list->remove(list->keyAt(row));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
