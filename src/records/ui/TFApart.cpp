#include "records/ui/TFApart.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "ledger/Posting.h"
#include "ledger/RecurringCharges.h"
#include "ledger/ui/TRecurForm.h"
#include "records/Agreements.h"
#include "records/Buildings.h"
#include "records/Units.h"
#include "records/ui/ChildActivation.h"
#include "records/ui/TApartForm.h"
#include "records/ui/TFLogForm.h"
#include "records/ui/TRentAgree.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/SearchGroup.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMultiHash>
#include <QPushButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <iterator>

// The rows of the unit list query.
class UnitListModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    struct Column
    {
        const char* field;
        const char* title;
        DatasetModel::Format format;
        bool number;
    };
    static constexpr Column Columns[] = {
        {"SUITE", "Suite", DatasetModel::Format::Plain, false},
        {"TENANT", "Tenant", DatasetModel::Format::Plain, false},
        {"COMPANY", "Company", DatasetModel::Format::Plain, false},
        {"SQUAREFOOTAGE", "Square Footage", DatasetModel::Format::Whole, true},
        {"BEDROOMS", "Bedrooms", DatasetModel::Format::Plain, true},
        {"BATHROOMS", "Bathrooms", DatasetModel::Format::Plain, true},
        {"FLOOR", "Floor", DatasetModel::Format::Plain, true},
        {"STATUS", "Status", DatasetModel::Format::Plain, false},
        {"RENT", "Rent", DatasetModel::Format::Money, true},
    };
    static constexpr int ColumnCount = int(std::size(Columns));

    void load(QSqlQuery& q)
    {
        QVector<QVector<QVariant>> rows;
        QVector<int> ids;
        const QSqlRecord rec = q.record();
        int fields[ColumnCount];
        for (int c = 0; c < ColumnCount; ++c)
            fields[c] = rec.indexOf(QLatin1String(Columns[c].field));
        const int apid = rec.indexOf(QStringLiteral("APID"));
        while (q.next()) {
            QVector<QVariant> row(ColumnCount);
            for (int c = 0; c < ColumnCount; ++c)
                row[c] = fields[c] < 0 ? QVariant() : q.value(fields[c]);
            rows.append(std::move(row));
            ids.append(q.value(apid).toInt());
        }
        beginResetModel();
        m_rows = std::move(rows);
        m_ids = std::move(ids);
        endResetModel();
    }
    void clear()
    {
        beginResetModel();
        m_rows.clear();
        m_ids.clear();
        endResetModel();
    }
    int apIdAt(int row) const { return row >= 0 && row < m_ids.size() ? m_ids.at(row) : 0; }
    int rowOf(int apId) const { return int(m_ids.indexOf(apId)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return QVariant();
        const Column& c = Columns[index.column()];
        if (role == Qt::TextAlignmentRole)
            return c.number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return QVariant();
        const QVariant& v = m_rows.at(index.row()).at(index.column());
        if (v.isNull())
            return QVariant();
        if (c.format != DatasetModel::Format::Plain)
            return DatasetModel::formatValue(v, c.format);
        return v.toString().trimmed();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < ColumnCount)
            return QLatin1String(Columns[section].title);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QVector<QVector<QVariant>> m_rows;
    QVector<int> m_ids;
};

namespace {

enum TreeRole
{
    OwnerRole = Qt::UserRole + 1,
    BuildingRole
};

// Sorted the way people read names: letter case does not separate "acme" from "Acme".
class TreeItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int c = text(0).compare(other.text(0), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : text(0) < other.text(0);
    }
};

QPushButton* button(const QString& text, const char* name, bool enabled = true)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setEnabled(enabled);
    return b;
}

// A dataset that a screen left searching would hide the row being looked for.
bool locateShown(Dataset& d, const QString& field, int value)
{
    if (d.locate(field, value))
        return true;
    if (!d.isFiltered())
        return false;
    d.setFiltered(false);
    return d.locate(field, value);
}

} // namespace

TFApart::TFApart(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFApart"));
    setWindowTitle(QStringLiteral("Apartments"));

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("buildingTree"));
    m_tree->setHeaderLabel(QStringLiteral("Buildings"));
    m_tree->setColumnCount(1);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TFApart::onTreeSelection);

    m_unitModel = new UnitListModel(this);
    m_units = new Grid;
    m_units->setObjectName(QStringLiteral("unitList"));
    m_units->setModel(m_unitModel);
    connect(m_units->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFApart::onUnitRowChanged);
    connect(m_units, &Grid::openRequested, this, &TFApart::editUnit);
    auto* unitsBox = new QWidget;
    auto* unitsLayout = new QVBoxLayout(unitsBox);
    unitsLayout->setContentsMargins(0, 0, 0, 0);
    auto* unitsTitle = new QLabel(QStringLiteral("Apartments"));
    unitsTitle->setBuddy(m_units);
    unitsLayout->addWidget(unitsTitle);
    unitsLayout->addWidget(m_units, 1);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_tree);
    top->addWidget(unitsBox);
    top->setStretchFactor(0, 0);
    top->setStretchFactor(1, 1);
    top->setSizes({220, 780});

    // The button panel.
    auto* newButton = button(QStringLiteral("&New..."), "newButton");
    auto* editButton = button(QStringLiteral("&Edit..."), "editButton");
    auto* deleteButton = button(QStringLiteral("&Delete"), "deleteButton");
    // Reports and the letter editor are not built yet.
    auto* printButton = button(QStringLiteral("&Print"), "printButton", false);
    auto* agreement = button(QStringLiteral("New &Rental Agreement..."), "newAgreementButton");
    // Access keys of their own in this window: A is the recurring charges' "&Add...".
    auto* dropAgreement =
        button(QStringLiteral("Delete Rental A&greement"), "deleteAgreementButton");
    auto* maintenance = button(QStringLiteral("&Maintenance..."), "maintenanceButton");
    // N is "&New...".
    auto* printAgreement =
        button(QStringLiteral("Pr&int Rental Agreement..."), "printAgreementButton", false);
    connect(newButton, &QPushButton::clicked, this, &TFApart::newUnit);
    connect(editButton, &QPushButton::clicked, this, &TFApart::editUnit);
    connect(deleteButton, &QPushButton::clicked, this, &TFApart::deleteUnit);
    connect(agreement, &QPushButton::clicked, this, &TFApart::newAgreement);
    connect(dropAgreement, &QPushButton::clicked, this, &TFApart::deleteAgreement);
    connect(maintenance, &QPushButton::clicked, this, &TFApart::openMaintenance);

    m_search = new SearchGroup(QStringLiteral("Search Apartments"), Units::searchFields());
    connect(m_search, &SearchGroup::searchRequested, this, &TFApart::search);
    connect(m_search, &SearchGroup::clearRequested, this, &TFApart::clearSearch);

    auto* unitButtons = new QVBoxLayout;
    for (QPushButton* b : {newButton, editButton, deleteButton, printButton})
        unitButtons->addWidget(b);
    unitButtons->addStretch();
    auto* agreementButtons = new QVBoxLayout;
    for (QPushButton* b : {agreement, dropAgreement, maintenance, printAgreement})
        agreementButtons->addWidget(b);
    agreementButtons->addStretch();
    auto* panel = new QHBoxLayout;
    panel->addLayout(unitButtons);
    panel->addWidget(m_search);
    panel->addLayout(agreementButtons);

    // The recurring charges of the current unit: the shared table follows the units table.
    SharedTables& t = state.tables();
    m_recurModel = new DatasetModel(
        *t.Recurs,
        {{QStringLiteral("TYPE"), QStringLiteral("Type")},
         {QStringLiteral("AMOUNT"), QStringLiteral("Amount"), DatasetModel::Format::Money},
         {QStringLiteral("FreqString"), QStringLiteral("Frequency")},
         {QStringLiteral("STARTDATE"), QStringLiteral("Start Date"), DatasetModel::Format::Date},
         {QStringLiteral("ENDDATE"), QStringLiteral("End Date"), DatasetModel::Format::Date},
         {QStringLiteral("NEXTDATE"), QStringLiteral("Next Date"), DatasetModel::Format::Date},
         {QStringLiteral("thecompleted"), QStringLiteral("Completed")}},
        this);
    m_recurs = new Grid;
    m_recurs->setObjectName(QStringLiteral("recurList"));
    m_recurs->setModel(m_recurModel);
    m_recurModel->bindSelection(m_recurs->selectionModel());
    connect(m_recurs, &Grid::openRequested, this, &TFApart::editRecurringCharge);
    m_addRecur = button(QStringLiteral("&Add..."), "addRecurButton");
    m_editRecur = button(QStringLiteral("Edi&t..."), "editRecurButton");
    m_deleteRecur = button(QStringLiteral("De&lete..."), "deleteRecurButton");
    connect(m_addRecur, &QPushButton::clicked, this, &TFApart::addRecurringCharge);
    connect(m_editRecur, &QPushButton::clicked, this, &TFApart::editRecurringCharge);
    connect(m_deleteRecur, &QPushButton::clicked, this, &TFApart::deleteRecurringCharge);
    auto* recurButtons = new QVBoxLayout;
    for (QPushButton* b : {m_addRecur, m_editRecur, m_deleteRecur})
        recurButtons->addWidget(b);
    recurButtons->addStretch();
    auto* recurBox = new QGroupBox(QStringLiteral("Recurring Charges"));
    recurBox->setObjectName(QStringLiteral("recurBox"));
    auto* recurLayout = new QHBoxLayout(recurBox);
    recurLayout->addWidget(m_recurs, 1);
    recurLayout->addLayout(recurButtons);

    auto* bottom = new QWidget;
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addLayout(panel);
    bottomLayout->addWidget(recurBox, 1);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    resize(1000, 680);

    new ChildActivation(this, [this](bool active) {
        if (active)
            becameActive();
    });
    // An owner stored or deleted in another window is an owner node here.
    for (auto signal : {&Dataset::afterPost, &Dataset::afterDelete})
        connect(t.Owners, signal, this, [this] { m_ownersChanged = true; });

    // First showing: the buildings follow the owners, the tree is built and the first
    // owner's first building is listed.
    try {
        Dataset& buildings = *t.Buildings;
        if (buildings.master() != t.Owners)
            buildings.setMasterLink(t.Owners, QStringLiteral("OID"), QStringLiteral("OID"));
        else
            buildings.restoreLink();
        buildTree();
        m_state.BuildingsChanged = false;
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

TFApart::~TFApart() = default;

QTableView* TFApart::unitList() const
{
    return m_units;
}

QTableView* TFApart::recurList() const
{
    return m_recurs;
}

void TFApart::becameActive()
{
    SharedTables& t = m_state.tables();
    // A unit being edited in a dialog of this window is not to be posted by moving.
    if (t.Apartments->isEditing())
        return;
    try {
        Dataset& buildings = *t.Buildings;
        if (buildings.master() != t.Owners)
            buildings.setMasterLink(t.Owners, QStringLiteral("OID"), QStringLiteral("OID"));
        else
            buildings.restoreLink();
        if (m_state.BuildingsChanged) {
            m_state.BuildingsChanged = false;
            m_ownersChanged = false;
            buildTree();
            return;
        }
        if (m_ownersChanged) {
            m_ownersChanged = false;
            // The same building stays chosen when it is still there.
            buildTree(m_buildId);
            return;
        }
        // Another screen may have moved the shared tables or changed units and tenants.
        if (m_buildId > 0)
            makeBuildingCurrent(m_oid, m_buildId);
        relist();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::buildTree(int keepBuilding)
{
    SharedTables& t = m_state.tables();
    Dataset& owners = *t.Owners;
    Dataset& buildings = *t.Buildings;

    const QSignalBlocker block(m_tree);
    m_tree->clear();
    auto* root = new TreeItem(m_tree, {QStringLiteral("Owners")});
    for (const Buildings::OwnerBuildings& o : Buildings::tree(m_state.db)) {
        auto* owner = new TreeItem(root, {o.code});
        owner->setData(0, OwnerRole, o.oid);
        for (const auto& [buildId, description] : o.buildings) {
            auto* item = new TreeItem(owner, {description});
            item->setData(0, OwnerRole, o.oid);
            item->setData(0, BuildingRole, buildId);
        }
    }
    m_tree->sortItems(0, Qt::AscendingOrder);
    m_tree->expandAll();

    // The first owner and its first building are current.
    m_oid = 0;
    m_buildId = 0;
    if (keepBuilding > 0) {
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            if ((*it)->data(0, BuildingRole).toInt() == keepBuilding &&
                makeBuildingCurrent((*it)->data(0, OwnerRole).toInt(), keepBuilding)) {
                m_oid = (*it)->data(0, OwnerRole).toInt();
                m_buildId = keepBuilding;
                break;
            }
        }
    }
    if (m_buildId == 0 && owners.first()) {
        m_oid = owners.asInt(QStringLiteral("OID"));
        if (buildings.first())
            m_buildId = buildings.asInt(QStringLiteral("BUILDID"));
    }
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (m_buildId > 0 && (*it)->data(0, BuildingRole).toInt() == m_buildId) {
            m_tree->setCurrentItem(*it);
            break;
        }
    }
    m_search->criteriaEdit()->clear();
    relist();
}

bool TFApart::selectBuilding(int buildId)
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, BuildingRole).toInt() == buildId) {
            m_tree->setCurrentItem(*it);
            return m_buildId == buildId;
        }
    }
    return false;
}

void TFApart::onTreeSelection()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || !item->data(0, BuildingRole).isValid())
        return;
    const int oid = item->data(0, OwnerRole).toInt();
    const int buildId = item->data(0, BuildingRole).toInt();
    try {
        if (!makeBuildingCurrent(oid, buildId))
            return;
        m_oid = oid;
        m_buildId = buildId;
        m_search->criteriaEdit()->clear();
        relist();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

bool TFApart::makeBuildingCurrent(int oid, int buildId)
{
    SharedTables& t = m_state.tables();
    if (!locateShown(*t.Owners, QStringLiteral("OID"), oid))
        return false;
    return locateShown(*t.Buildings, QStringLiteral("BUILDID"), buildId);
}

void TFApart::relist()
{
    listUnits(m_buildId > 0 ? Units::listQuery(m_buildId) : QString());
}

void TFApart::listUnits(const QString& sql)
{
    Dataset& units = *m_state.tables().Apartments;
    const int keep = units.isEmpty() ? 0 : units.asInt(QStringLiteral("APID"));
    m_query = sql;
    if (sql.isEmpty()) {
        m_unitModel->clear();
    } else {
        QSqlQuery q = m_state.db.select(sql);
        m_unitModel->load(q);
    }
    int row = m_unitModel->rowOf(keep);
    if (row < 0 && m_unitModel->rowCount() > 0)
        row = 0;
    if (row >= 0)
        m_units->selectRow(row);
    onUnitRowChanged();
}

int TFApart::unitCount() const
{
    return m_unitModel->rowCount();
}

int TFApart::selectedApId() const
{
    const QModelIndex current = m_units->selectionModel()->currentIndex();
    return current.isValid() ? m_unitModel->apIdAt(current.row()) : 0;
}

bool TFApart::selectUnit(int apId)
{
    const int row = m_unitModel->rowOf(apId);
    if (row < 0)
        return false;
    m_units->selectRow(row);
    onUnitRowChanged();
    return true;
}

void TFApart::onUnitRowChanged()
{
    const int apId = selectedApId();
    Dataset& units = *m_state.tables().Apartments;
    if (apId > 0 && !units.isEditing()) {
        try {
            units.locate(QStringLiteral("APID"), apId);
        } catch (const DbError&) {
            // A pending edit could not be posted; the operation that started it reports that.
        }
    }
    followUnit();
}

void TFApart::followUnit()
{
    // The shared recurring charges follow the shared units table; they are this unit's only
    // while that table stands on the unit selected here.
    const int apId = selectedApId();
    bool shown = apId > 0;
    if (shown) {
        try {
            const Dataset& units = *m_state.tables().Apartments;
            shown = !units.isEmpty() && units.asInt(QStringLiteral("APID")) == apId;
        } catch (const DbError&) {
            shown = false;
        }
    }
    m_recurModel->setBlank(!shown);
    for (QPushButton* b : {m_addRecur, m_editRecur, m_deleteRecur})
        b->setEnabled(shown);
}

bool TFApart::syncUnit()
{
    const int apId = selectedApId();
    if (apId <= 0)
        return false;
    Dataset& units = *m_state.tables().Apartments;
    Dataset& buildings = *m_state.tables().Buildings;
    if (m_buildId > 0 &&
        (buildings.isEmpty() || buildings.asInt(QStringLiteral("BUILDID")) != m_buildId))
        makeBuildingCurrent(m_oid, m_buildId);
    if (units.locate(QStringLiteral("APID"), apId))
        return true;
    Messages::plain(QStringLiteral("error"));
    return false;
}

void TFApart::openMaintenance()
{
    if (unitCount() == 0 || selectedApId() <= 0) {
        Messages::plain(QStringLiteral("No apartment has been selected!"));
        return;
    }
    if (!syncUnit())
        return;
    TFLogForm log(m_state, this);
    Dialogs::exec(&log);
}

void TFApart::search()
{
    const QString criteria = m_search->criteriaEdit()->text().trimmed();
    if (criteria.isEmpty() || m_buildId <= 0)
        return;
    try {
        listUnits(Units::searchQuery(m_buildId, m_search->field(), criteria));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::clearSearch()
{
    m_search->criteriaEdit()->clear();
    try {
        relist();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

// ---- units -----------------------------------------------------------------------------

void TFApart::newUnit()
{
    SharedTables& t = m_state.tables();
    try {
        if (m_buildId > 0)
            makeBuildingCurrent(m_oid, m_buildId);
        if (t.Buildings->isEmpty()) {
            Messages::warning(QStringLiteral(
                "There are no buildings. Create buildings before adding apartments"));
            return;
        }
        const int buildId = t.Buildings->asInt(QStringLiteral("BUILDID"));
        UnitEdit edit = UnitEdit::newUnit(t, buildId);
        TApartForm dialog(m_state, this);
        dialog.load(*t.Apartments, 0);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            edit.cancel();
            return;
        }
        const int apId = edit.store(m_state, dialog.values());
        if (buildId != m_buildId)
            selectBuilding(buildId);
        relist();
        selectUnit(apId);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::editUnit()
{
    if (unitCount() == 0)
        return;
    SharedTables& t = m_state.tables();
    try {
        if (!syncUnit())
            return;
        const int apId = t.Apartments->asInt(QStringLiteral("APID"));
        UnitEdit edit = UnitEdit::current(t);
        TApartForm dialog(m_state, this);
        dialog.load(*t.Apartments, apId);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            edit.cancel();
            return;
        }
        edit.store(m_state, dialog.values());
        relist();
        selectUnit(apId);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::deleteUnit()
{
    if (unitCount() == 0)
        return;
    try {
        if (!syncUnit())
            return;
        if (!Messages::askYesNo(
                QStringLiteral("Are you sure you want to delete the selected record?"),
                Message::Warning))
            return;
        m_state.tables().Apartments->remove();
        relist();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

// ---- rental agreements -----------------------------------------------------------------

void TFApart::newAgreement()
{
    if (unitCount() == 0)
        return;
    SharedTables& t = m_state.tables();
    try {
        if (!syncUnit())
            return;
        Dataset& unit = *t.Apartments;
        const int apId = unit.asInt(QStringLiteral("APID"));
        const QVariant tidValue = unit.value(QStringLiteral("TID"));
        const int tId = tidValue.isNull() ? -1 : tidValue.toInt();
        if (tId <= 0) {
            Messages::warning(QStringLiteral("No tenant has been assigned to this apartment!"));
            return;
        }
        const QVariant agreeValue = unit.value(QStringLiteral("AGREEID"));
        const int agreeId = agreeValue.isNull() ? -1 : agreeValue.toInt();

        TRentAgree dialog(m_state.db, this);
        dialog.setHeader(unit.asText(QStringLiteral("SUITE")), Units::tenantNames(m_state.db, tId));
        if (agreeId != -1) {
            Messages::warning(QStringLiteral(
                "There is an existing rental agreement! You can't modify it. You can only view "
                "it. However, you can delete it and replace it with a new one."));
            Dataset& agreements = *t.Agreements;
            if (agreements.locate(QStringLiteral("RID"), agreeId))
                dialog.showExisting(agreements);
            else
                dialog.startNew(unit.asMoney(QStringLiteral("RENT")));
            dialog.setViewOnly();
            Dialogs::exec(&dialog);
            return;
        }
        dialog.startNew(unit.asMoney(QStringLiteral("RENT")));
        if (Dialogs::exec(&dialog) != QDialog::Accepted)
            return; // nothing has been written
        try {
            Agreements::create(m_state.db, dialog.agreement(apId));
        } catch (const AgreementRefused& e) {
            Messages::warning(e.message());
        } catch (const PostingError& e) {
            Messages::error(e.message());
        } catch (const DbError& e) {
            Messages::error(e.message());
        }
        for (Dataset* d : {t.Apartments, t.Recurs, t.Charges, t.Agreements})
            d->refresh();
        relist();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::deleteAgreement()
{
    if (unitCount() == 0)
        return;
    SharedTables& t = m_state.tables();
    try {
        if (!syncUnit())
            return;
        const int apId = t.Apartments->asInt(QStringLiteral("APID"));
        if (!Agreements::ofUnit(m_state.db, apId)) {
            Messages::plain(QStringLiteral("No rental agreement exists for this apartment"));
            return;
        }
        if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the current "
                                               "rental agreement and all recurring charges!"),
                                Message::Warning))
            return;
        Agreements::remove(m_state.db, apId);
        for (Dataset* d : {t.Apartments, t.Recurs, t.Agreements})
            d->refresh();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

// ---- recurring charges -----------------------------------------------------------------

namespace {

RecurringCharges::Values currentCharge(const Dataset& r)
{
    RecurringCharges::Values v;
    v.type = r.asText(QStringLiteral("TYPE"));
    v.amount = r.asMoney(QStringLiteral("AMOUNT"));
    v.lateFee = r.asMoney(QStringLiteral("LATEFEE"));
    v.perDay = r.asMoney(QStringLiteral("PERDAY"));
    v.freq = r.asInt(QStringLiteral("FREQ"));
    v.startDate = r.asDate(QStringLiteral("STARTDATE"));
    v.endDate = r.asDate(QStringLiteral("ENDDATE"));
    return v;
}

} // namespace

void TFApart::addRecurringCharge()
{
    SharedTables& t = m_state.tables();
    if (unitCount() == 0) {
        Messages::warning(QStringLiteral("There are no apartments."));
        return;
    }
    try {
        if (!syncUnit())
            return;
        Dataset& unit = *t.Apartments;
        const QVariant agreeId = unit.value(QStringLiteral("AGREEID"));
        if (agreeId.isNull() || agreeId.toInt() == -1) {
            Messages::plain(QStringLiteral("No rental agreement exists for this apartment"));
            return;
        }
        // A unit whose tenant was cleared keeps its agreement, but there is nobody to bill.
        const int tId = unit.asInt(QStringLiteral("TID"));
        if (tId <= 0) {
            Messages::warning(QStringLiteral("No tenant has been assigned to this apartment!"));
            return;
        }
        TRecurForm dialog(m_state.db, this);
        RecurringCharges::Values v;
        v.freq = 0; // no frequency chosen yet
        v.startDate = Clock::today();
        v.endDate = Clock::today();
        dialog.setValues(v);
        if (Dialogs::exec(&dialog) != QDialog::Accepted)
            return;
        const RecurringCharges::Added added = RecurringCharges::add(
            m_state.db, unit.asInt(QStringLiteral("APID")), tId, dialog.values());
        t.Recurs->refresh();
        t.Recurs->locate(QStringLiteral("RECID"), added.recId);
        t.Charges->refresh();
    } catch (const PostingError& e) {
        Messages::error(e.message());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::editRecurringCharge()
{
    Dataset& recurs = *m_state.tables().Recurs;
    if (m_recurModel->isBlank() || recurs.isEmpty())
        return;
    try {
        const int recId = recurs.asInt(QStringLiteral("RECID"));
        TRecurForm dialog(m_state.db, this);
        dialog.setValues(currentCharge(recurs));
        if (Dialogs::exec(&dialog) != QDialog::Accepted)
            return;
        RecurringCharges::update(m_state.db, recId, dialog.values());
        recurs.refresh();
        recurs.locate(QStringLiteral("RECID"), recId);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFApart::deleteRecurringCharge()
{
    Dataset& recurs = *m_state.tables().Recurs;
    if (m_recurModel->isBlank() || recurs.isEmpty())
        return;
    try {
        if (!RecurringCharges::mayDelete(recurs.asText(QStringLiteral("TYPE")))) {
            Messages::warning(RecurringCharges::RentRefusal);
            return;
        }
        if (!Messages::askYesNo(
                QStringLiteral("Are you sure you want to delete the selected item!"),
                Message::Question))
            return;
        RecurringCharges::remove(m_state.db, recurs.asInt(QStringLiteral("RECID")));
        recurs.refresh();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
