#include "records/ui/TTenForm.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "records/Deposits.h"
#include "records/Tenants.h"
#include "records/ui/ChildActivation.h"
#include "records/ui/TFormDeposit.h"
#include "ledger/ui/TTHForm.h"
#include "records/ui/TNTForm.h"
#include "reports/TDepReport.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/SearchGroup.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString DeleteQuestion =
    QStringLiteral("Are you sure you want to delete the selected record?");

QPushButton* button(const QString& text, const QString& objectName)
{
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    return b;
}

} // namespace

TTenForm::TTenForm(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TTenForm"));
    setWindowTitle(QStringLiteral("Tenants"));
    Dataset& tenants = *state.tables().Tenants;

    m_list = new ListWindow(state, tenants,
                            {{QStringLiteral("ID"), QStringLiteral("ID")},
                             {QStringLiteral("COMPANY"), QStringLiteral("Company")},
                             {QStringLiteral("FIRSTNAME"), QStringLiteral("First Name")},
                             {QStringLiteral("LASTNAME"), QStringLiteral("Last Name")},
                             {QStringLiteral("TEL"), QStringLiteral("Tel")},
                             {QStringLiteral("DRIVERSLICENSE"), QStringLiteral("Driver's Licence")},
                             {QStringLiteral("ADDRESS"), QStringLiteral("Address")},
                             {QStringLiteral("CITY"), QStringLiteral("City")},
                             {QStringLiteral("STATE"), QStringLiteral("State")}},
                            {{QStringLiteral("ID"), QStringLiteral("ID")},
                             {QStringLiteral("Firstname"), QStringLiteral("FIRSTNAME")},
                             {QStringLiteral("Lastname"), QStringLiteral("LASTNAME")},
                             {QStringLiteral("Tel"), QStringLiteral("TEL")},
                             {QStringLiteral("Company"), QStringLiteral("COMPANY")}});
    connect(m_list, &ListWindow::newRequested, this, &TTenForm::newTenant);
    connect(m_list, &ListWindow::editRequested, this, &TTenForm::editTenant);
    connect(m_list, &ListWindow::deleteRequested, this, &TTenForm::deleteTenant);
    // Runs after the list's own search, which set the shared search state.
    connect(m_list->searchGroup(), &SearchGroup::searchRequested, this, &TTenForm::rememberSearch);
    new ChildActivation(this, [this](bool active) {
        if (active)
            restoreSearch();
    });

    // P is "&Print".
    auto* history =
        button(QStringLiteral("Payment &History..."), QStringLiteral("paymentHistoryButton"));
    connect(history, &QPushButton::clicked, this, &TTenForm::paymentHistory);
    m_list->insertButtonAfter(m_list->printButton(), history);

    // The deposits of the selected tenant.
    m_deposits = Deposits::openDepositsTable(state.db, tenants, this);
    m_depositsModel = new DatasetModel(
        *m_deposits,
        {{QStringLiteral("TDATE"), QStringLiteral("Date"), DatasetModel::Format::Date},
         {QStringLiteral("AMOUNT"), QStringLiteral("Amount"), DatasetModel::Format::Money},
         {QStringLiteral("PAYMENTTYPE"), QStringLiteral("Payment Method")},
         {QStringLiteral("MEMO"), QStringLiteral("Memo")}},
        this);
    m_depositsGrid = new Grid;
    m_depositsGrid->setObjectName(QStringLiteral("depositsGrid"));
    m_depositsGrid->setModel(m_depositsModel);
    m_depositsModel->bindSelection(m_depositsGrid->selectionModel());
    connect(m_depositsGrid, &Grid::openRequested, this, &TTenForm::editDeposit);

    // The tenant list above has N, E, D and P: the tab's buttons take other letters.
    auto* depNew = button(QStringLiteral("Ne&w..."), QStringLiteral("depositNewButton"));
    auto* depEdit = button(QStringLiteral("Edi&t..."), QStringLiteral("depositEditButton"));
    auto* depDelete = button(QStringLiteral("De&lete"), QStringLiteral("depositDeleteButton"));
    auto* depPrint = button(QStringLiteral("P&rint"), QStringLiteral("depositPrintButton"));
    connect(depPrint, &QPushButton::clicked, this, &TTenForm::printDeposits);
    connect(depNew, &QPushButton::clicked, this, &TTenForm::newDeposit);
    connect(depEdit, &QPushButton::clicked, this, &TTenForm::editDeposit);
    connect(depDelete, &QPushButton::clicked, this, &TTenForm::deleteDeposit);
    auto* depButtons = new QVBoxLayout;
    for (QPushButton* b : {depNew, depEdit, depDelete, depPrint})
        depButtons->addWidget(b);
    depButtons->addStretch();
    auto* depPage = new QWidget;
    auto* depLayout = new QHBoxLayout(depPage);
    depLayout->addWidget(m_depositsGrid, 1);
    depLayout->addLayout(depButtons);
    m_depositTabs = new QTabWidget;
    m_depositTabs->setObjectName(QStringLiteral("depositTabs"));
    // S is "&Search".
    m_depositTabs->addTab(depPage, QStringLiteral("Sec&urity Deposits"));

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(m_list);
    splitter->addWidget(m_depositTabs);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(900, 560);
}

TTenForm::~TTenForm()
{
    // The criteria box goes with the window; a filter left on would hide tenants elsewhere.
    Dataset* tenants = m_state.tablesOpen() ? m_state.tables().Tenants : nullptr;
    if (tenants && tenants->isFiltered() && !tenants->isEditing())
        tenants->setFiltered(false);
}

void TTenForm::rememberSearch()
{
    if (m_state.tables().Tenants->isFiltered()) {
        m_searchField = m_state.SearchField;
        m_searchText = m_state.SearchText;
    }
}

void TTenForm::restoreSearch()
{
    Dataset& tenants = *m_state.tables().Tenants;
    if (!tenants.isFiltered() || m_searchField.isEmpty())
        return;
    if (m_state.SearchField == m_searchField && m_state.SearchText == m_searchText)
        return;
    m_state.SearchField = m_searchField;
    m_state.SearchText = m_searchText;
    tenants.refilter();
}

// ---- tenants -------------------------------------------------------------------------------

void TTenForm::runTenantDialog(TenantEdit& edit, bool newTenant)
{
    Dataset& tenants = *m_state.tables().Tenants;
    TNTForm dialog(m_state, edit.tid(), this);
    dialog.showTenant(tenants);
    dialog.waitListBox()->setChecked(newTenant);
    if (newTenant)
        dialog.activeBox()->setChecked(true);
    dialog.onAccept = [&] {
        try {
            dialog.storeTenant(tenants);
            edit.commit(dialog.waitListBox()->isChecked());
            return true;
        } catch (const DbError& e) {
            Messages::error(e.message());
            // Still open: the user may correct the entry or cancel.
            return !edit.isOpen();
        }
    };
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        edit.cancel();
}

void TTenForm::newTenant()
{
    TenantEdit edit(m_state);
    try {
        edit.beginNew();
        runTenantDialog(edit, true);
    } catch (const DbError& e) {
        edit.cancel();
        Messages::error(e.message());
    }
}

void TTenForm::editTenant()
{
    TenantEdit edit(m_state);
    try {
        if (!edit.beginEdit())
            return;
        runTenantDialog(edit, false);
    } catch (const DbError& e) {
        edit.cancel();
        Messages::error(e.message());
    }
}

void TTenForm::deleteTenant()
{
    Dataset& tenants = *m_state.tables().Tenants;
    if (tenants.isEmpty())
        return;
    if (!Messages::askYesNo(DeleteQuestion, Message::Warning))
        return;
    try {
        tenants.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

// ---- deposits ------------------------------------------------------------------------------

bool TTenForm::runDepositDialog()
{
    TFormDeposit dialog(this);
    dialog.showDeposit(*m_deposits);
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        return false;
    dialog.storeDeposit(*m_deposits);
    return true;
}

void TTenForm::newDeposit()
{
    Dataset& tenants = *m_state.tables().Tenants;
    // A deposit belongs to a tenant.
    if (tenants.isEmpty())
        return;
    try {
        Deposits::appendDeposit(*m_deposits);
        if (!runDepositDialog()) {
            m_deposits->cancel();
            return;
        }
        Deposits::storeDeposit(*m_deposits, m_state.db, tenants.asInt(QStringLiteral("TID")));
    } catch (const DbError& e) {
        if (m_deposits->isEditing())
            m_deposits->cancel();
        Messages::error(e.message());
    }
}

void TTenForm::editDeposit()
{
    if (m_deposits->isEmpty())
        return;
    try {
        m_deposits->edit();
        if (!runDepositDialog()) {
            m_deposits->cancel();
            return;
        }
        Deposits::storeDeposit(*m_deposits, m_state.db, m_deposits->asInt(QStringLiteral("TID")));
    } catch (const DbError& e) {
        if (m_deposits->isEditing())
            m_deposits->cancel();
        Messages::error(e.message());
    }
}

void TTenForm::paymentHistory()
{
    Dataset& tenants = *m_state.tables().Tenants;
    int tid = 0;
    try {
        if (tenants.isEmpty())
            return;
        tid = tenants.asInt(QStringLiteral("TID"));
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    showPaymentHistory(m_state, tid, this);
    // The history's restriction used the shared search text.
    restoreSearch();
}

void TTenForm::printDeposits()
{
    Dataset& tenants = *m_state.tables().Tenants;
    if (tenants.isEmpty())
        return;
    TDepReport::preview(m_state, tenants.asInt(QStringLiteral("TID")));
}

void TTenForm::deleteDeposit()
{
    if (m_deposits->isEmpty())
        return;
    if (!Messages::askYesNo(DeleteQuestion, Message::Warning))
        return;
    try {
        m_deposits->remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
