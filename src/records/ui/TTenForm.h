#pragma once

#include "shell/ui/Grid.h"

#include <QWidget>

class AppState;
class Dataset;
class DatasetModel;
class ListWindow;
class QPushButton;
class QTabWidget;
class TenantEdit;

// "Tenants": the tenant list with its search, and the selected tenant's security deposits.
class TTenForm : public QWidget
{
    Q_OBJECT
public:
    explicit TTenForm(AppState& state, QWidget* parent = nullptr);
    ~TTenForm() override;

    ListWindow* list() const { return m_list; }
    Dataset* deposits() const { return m_deposits; }
    Grid* depositsGrid() const { return m_depositsGrid; }

    void newTenant();
    void editTenant();
    void deleteTenant();

    void newDeposit();
    void editDeposit();
    void deleteDeposit();
    // The security deposit receipt of the selected tenant, in the preview.
    void printDeposits();
    // "&Payment History...": the transaction history of the selected tenant.
    void paymentHistory();

private:
    // The tenant dialog over an open unit of work; ends it with commit or rollback.
    void runTenantDialog(TenantEdit& edit, bool newTenant);
    // The deposit dialog on the current deposit (in insert or edit state); true on OK.
    bool runDepositDialog();
    // The search is shared program-wide: another screen's search may have replaced ours.
    void rememberSearch();
    void restoreSearch();

    AppState& m_state;
    ListWindow* m_list;
    Dataset* m_deposits;
    DatasetModel* m_depositsModel;
    Grid* m_depositsGrid;
    QTabWidget* m_depositTabs;
    QString m_searchField;
    QString m_searchText;
};
