#include "records/ui/TFBuild.h"

#include "data/Dataset.h"
#include "records/Buildings.h"
#include "records/Owners.h"
#include "records/ui/ChildActivation.h"
#include "records/ui/TBuildProp.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QVBoxLayout>

namespace {

const QString DeleteQuestion = QStringLiteral("Are you sure you want to delete the selected record?");

// Runs the dialog on the row being inserted or edited; stores on OK, discards on Cancel.
bool runDialog(AppState& state, QWidget* parent, bool inserting)
{
    Dataset& b = *state.tables().Buildings;
    try {
        TBuildProp dialog(state.db, parent);
        dialog.load(b);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            b.cancel();
            return false;
        }
        dialog.store(b);
        if (inserting)
            b.setValue(QStringLiteral("BUILDID"), state.db.NextKey(QStringLiteral("GEN_BUILDINGS_ID")));
        // Through the shared table, so the buildings-changed mark is raised.
        b.post();
        return true;
    } catch (const DbError& e) {
        if (b.isEditing())
            b.cancel();
        Messages::error(e.message());
        return false;
    }
}

} // namespace

TFBuild::TFBuild(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFBuild"));
    setWindowTitle(QStringLiteral("Buildings"));
    m_list = new ListWindow(state, *state.tables().Buildings, listColumns(),
                            {{QStringLiteral("Description"), QStringLiteral("DESCRIPTION")},
                             {QStringLiteral("Address"), QStringLiteral("ADDRESS")},
                             {QStringLiteral("City"), QStringLiteral("CITY")},
                             {QStringLiteral("Tel"), QStringLiteral("TEL")},
                             {QStringLiteral("Manager"), QStringLiteral("MANAGER")},
                             // The free-text owner column, not the owner's code.
                             {QStringLiteral("Owner"), QStringLiteral("OWNER")}});
    connect(m_list, &ListWindow::newRequested, this, &TFBuild::newBuilding);
    connect(m_list, &ListWindow::editRequested, this, &TFBuild::editBuilding);
    connect(m_list, &ListWindow::deleteRequested, this, &TFBuild::deleteBuilding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(900, 460);

    new ChildActivation(this, [this](bool active) { setActive(active); });
    setActive(true); // opening the window makes it the active one
}

TFBuild::~TFBuild()
{
    // Only while this window holds the link released; another one may need it so now.
    if (m_active && m_state.tablesOpen())
        m_state.tables().Buildings->restoreLink();
}

void TFBuild::setActive(bool active)
{
    m_active = active;
    Dataset& b = *m_state.tables().Buildings;
    if (active)
        b.releaseLink();
    else
        b.restoreLink();
}

QList<DatasetModel::Column> TFBuild::listColumns()
{
    return {{QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
            {QStringLiteral("ADDRESS"), QStringLiteral("Address")},
            {QStringLiteral("CITY"), QStringLiteral("City")},
            {QStringLiteral("TEL"), QStringLiteral("Tel")},
            {QStringLiteral("APARTMENTS"), QStringLiteral("Apartments")},
            {QStringLiteral("OwnerCode"), QStringLiteral("Owner")},
            {QStringLiteral("MANAGER"), QStringLiteral("Manager")},
            {QStringLiteral("MANTEL"), QStringLiteral("Manager's Tel.")}};
}

bool TFBuild::addBuilding(AppState& state, QWidget* parent, std::optional<int> oid)
{
    Dataset& b = *state.tables().Buildings;
    try {
        b.append();
        if (oid)
            b.setValue(QStringLiteral("OID"), *oid);
    } catch (const DbError& e) {
        if (b.isEditing())
            b.cancel();
        Messages::error(e.message());
        return false;
    }
    return runDialog(state, parent, true);
}

bool TFBuild::changeBuilding(AppState& state, QWidget* parent)
{
    Dataset& b = *state.tables().Buildings;
    if (b.isEmpty())
        return false;
    try {
        b.edit();
    } catch (const DbError& e) {
        Messages::error(e.message());
        return false;
    }
    return runDialog(state, parent, false);
}

bool TFBuild::removeBuilding(AppState& state)
{
    Dataset& b = *state.tables().Buildings;
    if (b.isEmpty())
        return false;
    try {
        const QString refusal = Buildings::deleteRefusal(state.db, b.asInt(QStringLiteral("BUILDID")));
        if (!refusal.isEmpty()) {
            Messages::warning(refusal);
            return false;
        }
        if (!Messages::askYesNo(DeleteQuestion, Message::Warning))
            return false;
        b.remove();
        return true;
    } catch (const DbError& e) {
        Messages::error(e.message());
        return false;
    }
}

void TFBuild::newBuilding()
{
    try {
        // Asks the database: a search in the owners screen may hide every owner.
        if (!Owners::anyExist(m_state.db)) {
            Messages::warning(QStringLiteral("No owner exists. You must create at least 1 owner?"));
            return;
        }
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    addBuilding(m_state, this, std::nullopt);
}

void TFBuild::editBuilding()
{
    changeBuilding(m_state, this);
}

void TFBuild::deleteBuilding()
{
    removeBuilding(m_state);
}
