#include "records/ui/TVenMain.h"

#include "data/Dataset.h"
#include "records/ui/TVForm.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QVBoxLayout>

TVenMain::TVenMain(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TVenMain"));
    setWindowTitle(QStringLiteral("Vendors"));
    m_list = new ListWindow(state, *state.tables().Vendors,
                            {{QStringLiteral("NAME"), QStringLiteral("Name")},
                             {QStringLiteral("CONTACT"), QStringLiteral("Contact")},
                             {QStringLiteral("TEL"), QStringLiteral("Tel")},
                             {QStringLiteral("ADDRESS"), QStringLiteral("Address")},
                             {QStringLiteral("CITY"), QStringLiteral("City")},
                             {QStringLiteral("STATE"), QStringLiteral("State")},
                             {QStringLiteral("TYPE"), QStringLiteral("Type")},
                             {QStringLiteral("OTHERTYPE"), QStringLiteral("Other Type")}},
                            {{QStringLiteral("Name"), QStringLiteral("NAME")},
                             {QStringLiteral("Contact"), QStringLiteral("CONTACT")},
                             {QStringLiteral("Tel"), QStringLiteral("TEL")},
                             {QStringLiteral("Address"), QStringLiteral("ADDRESS")},
                             {QStringLiteral("City"), QStringLiteral("CITY")},
                             {QStringLiteral("State"), QStringLiteral("STATE")},
                             {QStringLiteral("Type"), QStringLiteral("TYPE")}});
    connect(m_list, &ListWindow::newRequested, this, &TVenMain::newVendor);
    connect(m_list, &ListWindow::editRequested, this, &TVenMain::editVendor);
    connect(m_list, &ListWindow::deleteRequested, this, &TVenMain::deleteVendor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(860, 420);
}

int TVenMain::addVendor(AppState& state, QWidget* parent)
{
    Dataset& v = *state.tables().Vendors;
    try {
        v.append();
        TVForm dialog(parent);
        dialog.load(v);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            v.cancel();
            return 0;
        }
        dialog.store(v);
        const int vid = state.db.NextKey(QStringLiteral("GEN_VENDORS_ID"));
        v.setValue(QStringLiteral("VID"), vid);
        v.post();
        return vid;
    } catch (const DbError& e) {
        if (v.isEditing())
            v.cancel();
        Messages::error(e.message());
        return 0;
    }
}

void TVenMain::newVendor()
{
    addVendor(m_state, this);
}

void TVenMain::editVendor()
{
    Dataset& v = m_list->table();
    if (v.isEmpty())
        return;
    try {
        v.edit();
        TVForm dialog(this);
        dialog.load(v);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            v.cancel();
            return;
        }
        dialog.store(v);
        v.post();
    } catch (const DbError& e) {
        if (v.isEditing())
            v.cancel();
        Messages::error(e.message());
    }
}

void TVenMain::deleteVendor()
{
    Dataset& v = m_list->table();
    if (v.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        v.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
