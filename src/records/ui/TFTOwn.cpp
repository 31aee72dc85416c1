#include "records/ui/TFTOwn.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "records/Owners.h"
#include "records/ui/ChildActivation.h"
#include "records/ui/Pickers.h"
#include "records/ui/TFBuild.h"
#include "records/ui/TFNOwner.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/ListWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* text, const char* name)
{
    auto* b = new QPushButton(QLatin1String(text));
    b->setObjectName(QLatin1String(name));
    return b;
}

// Runs work on the buildings table with its owner link released, restoring the link after.
template <typename Work> auto unlinked(Dataset& buildings, Work work)
{
    buildings.releaseLink();
    struct Restore
    {
        Dataset& d;
        ~Restore() { d.restoreLink(); }
    } restore{buildings};
    return work();
}

} // namespace

TFTOwn::TFTOwn(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFTOwn"));
    setWindowTitle(QStringLiteral("Owners"));
    SharedTables& t = state.tables();
    m_list = new ListWindow(state, *t.Owners,
                            {{QStringLiteral("CODE"), QStringLiteral("Code")},
                             {QStringLiteral("NAME"), QStringLiteral("Name")},
                             {QStringLiteral("EMAIL"), QStringLiteral("Email")},
                             {QStringLiteral("ADDRESS"), QStringLiteral("Address")},
                             {QStringLiteral("CITY"), QStringLiteral("City")},
                             {QStringLiteral("STATE"), QStringLiteral("State")},
                             {QStringLiteral("ZIP"), QStringLiteral("Zip")},
                             {QStringLiteral("TEL"), QStringLiteral("Tel")}},
                            {{QStringLiteral("Code"), QStringLiteral("CODE")},
                             {QStringLiteral("Name"), QStringLiteral("NAME")},
                             {QStringLiteral("Email"), QStringLiteral("EMAIL")},
                             {QStringLiteral("Address"), QStringLiteral("ADDRESS")},
                             {QStringLiteral("City"), QStringLiteral("CITY")},
                             {QStringLiteral("State"), QStringLiteral("STATE")},
                             {QStringLiteral("Zip"), QStringLiteral("ZIP")},
                             {QStringLiteral("Tel"), QStringLiteral("TEL")}});
    connect(m_list, &ListWindow::newRequested, this, &TFTOwn::newOwner);
    connect(m_list, &ListWindow::editRequested, this, &TFTOwn::editOwner);
    connect(m_list, &ListWindow::deleteRequested, this, &TFTOwn::deleteOwner);

    m_buildingsModel = new DatasetModel(*t.Buildings, TFBuild::listColumns(), this);
    m_buildingsGrid = new Grid;
    m_buildingsGrid->setObjectName(QStringLiteral("buildingsGrid"));
    m_buildingsGrid->setModel(m_buildingsModel);
    m_buildingsModel->bindSelection(m_buildingsGrid->selectionModel());
    connect(m_buildingsGrid, &Grid::openRequested, this, &TFTOwn::editBuilding);

    auto* buildingButtons = new QVBoxLayout;
    // The owner list above has N, E and D: the tab's buttons take other letters.
    const struct
    {
        const char* text;
        const char* name;
        void (TFTOwn::*slot)();
    } defs[] = {{"&Add...", "addBuildingButton", &TFTOwn::addBuilding},
                {"Ne&w...", "newBuildingButton", &TFTOwn::newBuilding},
                {"Edi&t...", "editBuildingButton", &TFTOwn::editBuilding},
                {"De&lete", "deleteBuildingButton", &TFTOwn::deleteBuilding}};
    for (const auto& d : defs) {
        QPushButton* b = button(d.text, d.name);
        connect(b, &QPushButton::clicked, this, d.slot);
        buildingButtons->addWidget(b);
    }
    buildingButtons->addStretch();
    auto* buildingsPage = new QWidget;
    auto* page = new QHBoxLayout(buildingsPage);
    page->addWidget(m_buildingsGrid, 1);
    page->addLayout(buildingButtons);
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(buildingsPage, QStringLiteral("&Buildings"));

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(m_list);
    splitter->addWidget(tabs);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 560);

    new ChildActivation(this, [this](bool active) {
        if (active)
            linkBuildings();
    });
    linkBuildings(); // opening the window makes it the active one
}

void TFTOwn::linkBuildings()
{
    m_state.tables().Buildings->restoreLink();
}

bool TFTOwn::runDialog(bool inserting)
{
    Dataset& w = m_list->table();
    try {
        TFNOwner dialog(m_state.db, this);
        dialog.load(w);
        if (!inserting)
            dialog.setOwnOid(w.asInt(QStringLiteral("OID")));
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            w.cancel();
            return false;
        }
        dialog.store(w);
        if (inserting)
            w.setValue(QStringLiteral("OID"), m_state.db.NextKey(QStringLiteral("GEN_OWNERS_ID")));
        w.post();
        return true;
    } catch (const DbError& e) {
        if (w.isEditing())
            w.cancel();
        Messages::error(e.message());
        return false;
    }
}

void TFTOwn::newOwner()
{
    try {
        m_list->table().append();
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    runDialog(true);
}

void TFTOwn::editOwner()
{
    Dataset& w = m_list->table();
    if (w.isEmpty())
        return;
    try {
        w.edit();
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    runDialog(false);
}

void TFTOwn::deleteOwner()
{
    Dataset& w = m_list->table();
    if (w.isEmpty())
        return;
    try {
        const QString refusal = Owners::deleteRefusal(m_state.db, w.asInt(QStringLiteral("OID")));
        if (!refusal.isEmpty()) {
            Messages::warning(refusal);
            return;
        }
        if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                                Message::Warning))
            return;
        w.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFTOwn::addBuilding()
{
    Dataset& owners = m_list->table();
    if (owners.isEmpty()) {
        Messages::warning(QStringLiteral("No owner exists. You must create at least 1 owner?"));
        return;
    }
    TSelBuild picker(m_state.db, this);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return;
    Dataset& b = *m_state.tables().Buildings;
    try {
        Owners::moveBuilding(m_state.db, picker.selectedId(), owners.asInt(QStringLiteral("OID")));
        unlinked(b, [&b] { b.refresh(); });
        // The building's owner changed outside the shared table: the units screen regroups.
        m_state.BuildingsChanged = true;
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFTOwn::newBuilding()
{
    Dataset& owners = m_list->table();
    if (owners.isEmpty()) {
        Messages::warning(QStringLiteral("No owner exists. You must create at least 1 owner?"));
        return;
    }
    Dataset& b = *m_state.tables().Buildings;
    const int oid = owners.asInt(QStringLiteral("OID"));
    unlinked(b, [&] { return TFBuild::addBuilding(m_state, this, oid); });
}

void TFTOwn::editBuilding()
{
    Dataset& b = *m_state.tables().Buildings;
    if (b.isEmpty())
        return;
    unlinked(b, [&] { return TFBuild::changeBuilding(m_state, this); });
}

void TFTOwn::deleteBuilding()
{
    TFBuild::removeBuilding(m_state);
}
