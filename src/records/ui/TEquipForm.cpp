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

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
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
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("equipmentList"));
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    {
        // Room for the titles and typical texts, not measured over the rows.
        const QFontMetrics fm = m_grid->fontMetrics();
        const int chars[] = {30, 16, 16, 14, 12, 14, 20};
        for (int c = 0; c < m_model->columnCount(); ++c)
            m_grid->setColumnWidth(
                c, std::max(fm.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString()) + 24,
                            fm.averageCharWidth() * chars[c]));
    }
    connect(m_grid, &QTableView::doubleClicked, this, &TEquipForm::editEquipment);
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

    m_field = new QComboBox;
    m_field->setObjectName(QStringLiteral("fieldBox"));
    for (const auto& f : Equipment::searchFields())
        m_field->addItem(f.first, f.second);
    m_criteria = new QLineEdit;
    m_criteria->setObjectName(QStringLiteral("criteriaEdit"));
    auto* searchButton = button(QStringLiteral("&Search"), "searchButton");
    searchButton->setDefault(true);
    auto* clearButton = button(QStringLiteral("&Clear"), "clearButton");
    connect(searchButton, &QPushButton::clicked, this, &TEquipForm::search);
    connect(clearButton, &QPushButton::clicked, this, &TEquipForm::clearSearch);
    connect(m_criteria, &QLineEdit::returnPressed, this, &TEquipForm::search);
    // "&Clear" is the window's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &TEquipForm::clearSearch);
    auto* searchBox = new QGroupBox(QStringLiteral("Search"));
    auto* searchLayout = new QHBoxLayout(searchBox);
    auto* fieldLabel = new QLabel(QStringLiteral("Field"));
    fieldLabel->setBuddy(m_field);
    auto* criteriaLabel = new QLabel(QStringLiteral("Criteria"));
    criteriaLabel->setBuddy(m_criteria);
    searchLayout->addWidget(fieldLabel);
    searchLayout->addWidget(m_field);
    searchLayout->addWidget(criteriaLabel);
    searchLayout->addWidget(m_criteria, 1);
    searchLayout->addWidget(searchButton);
    searchLayout->addWidget(clearButton);

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {newButton, editButton, deleteButton, printButton})
        bottom->addWidget(b);
    bottom->addSpacing(12);
    bottom->addWidget(searchBox, 1);

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
        m_tables->search(m_field->currentData().toString(), m_criteria->text());
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
    m_criteria->clear();
}
