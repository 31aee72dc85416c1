#include "records/ui/TEquipForm.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "records/Equipment.h"
#include "records/ui/Pickers.h"
#include "records/ui/RecordFields.h"
#include "records/ui/TEForm.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/SearchGroup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& text, const char* name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

TEquipForm::TEquipForm(AppState& state, QWidget* parent)
    : QWidget(parent), m_state(state), m_tables(std::make_unique<EquipmentTables>(state.db))
{
    setObjectName(QStringLiteral("TEquipForm"));
    setWindowTitle(QStringLiteral("Equipment Manager"));
    m_tables->open();

    // The selected unit.
    m_suite = RecordFields::readOnly("suiteEdit");
    m_building = RecordFields::readOnly("buildingEdit");
    auto* select = button(QStringLiteral("Select..."), "selectButton");
    connect(select, &QPushButton::clicked, this, &TEquipForm::selectUnit);
    auto* top = new QHBoxLayout;
    auto* suiteLabel = new QLabel(QStringLiteral("Suite #"));
    suiteLabel->setBuddy(m_suite);
    auto* buildingLabel = new QLabel(QStringLiteral("Building"));
    buildingLabel->setBuddy(m_building);
    top->addWidget(suiteLabel);
    top->addWidget(m_suite);
    top->addSpacing(12);
    top->addWidget(buildingLabel);
    top->addWidget(m_building, 1);
    top->addWidget(select);

    // Its equipment.
    m_model = new DatasetModel(
        m_tables->equipment(),
        {{QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
         {QStringLiteral("SERIAL"), QStringLiteral("Serial No.")},
         {QStringLiteral("MODEL"), QStringLiteral("Model")},
         {QStringLiteral("BRAND"), QStringLiteral("Brand")},
         {QStringLiteral("PURCHASEDATE"), QStringLiteral("Purchase Date"), DatasetModel::Format::Date},
         {QStringLiteral("PURCHASEPRICE"), QStringLiteral("Purchase Price"),
          DatasetModel::Format::Money},
         {QStringLiteral("PURCHASEDFROM"), QStringLiteral("Purchased From")}},
        this);
    m_grid = new Grid;
    m_grid->setObjectName(QStringLiteral("equipmentList"));
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    connect(m_grid, &Grid::openRequested, this, &TEquipForm::editEquipment);
    auto* listLabel = new QLabel(QStringLiteral("Equipments:"));
    listLabel->setBuddy(m_grid);

    // The bottom panel.
    auto* newButton = button(QStringLiteral("&New..."), "newButton");
    auto* editButton = button(QStringLiteral("&Edit..."), "editButton");
    auto* deleteButton = button(QStringLiteral("&Delete"), "deleteButton");
    // The equipment report comes with the reports.
    auto* printButton = button(QStringLiteral("&Print"), "printButton");
    printButton->setEnabled(false);
    connect(newButton, &QPushButton::clicked, this, &TEquipForm::newEquipment);
    connect(editButton, &QPushButton::clicked, this, &TEquipForm::editEquipment);
    connect(deleteButton, &QPushButton::clicked, this, &TEquipForm::deleteEquipment);

    // The window's own search: Enter searches, Escape clears.
    m_search = new SearchGroup(QStringLiteral("Search"), Equipment::searchFields());
    connect(m_search, &SearchGroup::searchRequested, this, &TEquipForm::search);
    connect(m_search, &SearchGroup::clearRequested, this, &TEquipForm::clearSearch);

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {newButton, editButton, deleteButton, printButton})
        bottom->addWidget(b);
    bottom->addSpacing(12);
    bottom->addStretch();
    bottom->addWidget(m_search);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(listLabel);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(&m_tables->units(), &Dataset::currentChanged, this, &TEquipForm::showUnit);
    showUnit();
    resize(900, 480);
}

TEquipForm::~TEquipForm()
{
    // The grid and its model go before the tables they show.
    delete m_grid;
    delete m_model;
}

void TEquipForm::showUnit()
{
    m_suite->setText(m_tables->suite());
    m_building->setText(m_tables->building());
}

void TEquipForm::runDialog()
{
    Dataset& e = m_tables->equipment();
    try {
        TEForm dialog(this);
        dialog.load(e);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            e.cancel();
            return;
        }
        dialog.store(e);
        m_tables->post();
    } catch (const DbError& error) {
        if (e.isEditing())
            e.cancel();
        Messages::error(error.message());
    }
}

void TEquipForm::newEquipment()
{
    try {
        if (!m_tables->append()) {
            Messages::warning(Equipment::noUnitsMessage());
            return;
        }
    } catch (const DbError& error) {
        Messages::error(error.message());
        return;
    }
    runDialog();
}

void TEquipForm::editEquipment()
{
    Dataset& e = m_tables->equipment();
    if (e.isEmpty())
        return;
    try {
        e.edit();
    } catch (const DbError& error) {
        Messages::error(error.message());
        return;
    }
    runDialog();
}

void TEquipForm::deleteEquipment()
{
    Dataset& e = m_tables->equipment();
    if (e.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        e.remove();
    } catch (const DbError& error) {
        Messages::error(error.message());
    }
}

void TEquipForm::selectUnit()
{
    TFSelApart picker(m_state.db, this);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return;
    try {
        m_tables->selectUnit(picker.selectedId());
    } catch (const DbError& error) {
        Messages::error(error.message());
    }
}

void TEquipForm::search()
{
    try {
        m_tables->search(m_search->field(), m_search->criteriaEdit()->text());
    } catch (const DbError& error) {
        Messages::error(error.message());
    }
}

void TEquipForm::clearSearch()
{
    try {
        m_tables->clearSearch();
    } catch (const DbError& error) {
        Messages::error(error.message());
    }
    m_search->criteriaEdit()->clear();
}
