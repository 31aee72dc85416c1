#pragma once

#include "records/Tenants.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <functional>

class AppState;
class DateField;
class Dataset;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QTabWidget;

// "Tenant Details": the tenant's personal, financial and emergency-contact details, notes, and
// the vehicles, pets and occupants lists. The caller holds the dialog's transaction open; the
// lists store their rows at once, inside it.
class TNTForm : public QDialog
{
    Q_OBJECT
public:
    TNTForm(AppState& state, int tid, QWidget* parent = nullptr);

    // Fills the fields from the current row of the tenants table.
    void showTenant(const Dataset& tenants);
    // Writes the fields into the current row (in insert or edit state); columns whose value
    // did not change are left alone.
    void storeTenant(Dataset& tenants) const;

    // Run by OK once the checks pass; the dialog closes only when it returns true. The caller
    // stores the tenant here, so a refused store keeps what was typed on the screen.
    std::function<bool()> onAccept;
    void accept() override;

    QCheckBox* waitListBox() const { return m_waitList; }
    QCheckBox* activeBox() const { return m_active; }
    QTabWidget* tabs() const { return m_tabs; }
    TenantDetails* details(TenantDetails::Kind kind) const { return m_details[kind]; }
    QTableView* detailGrid(TenantDetails::Kind kind) const { return m_grids[kind]; }

    void insertDetail(TenantDetails::Kind kind);
    void editDetail(TenantDetails::Kind kind);
    void deleteDetail(TenantDetails::Kind kind);

private:
    QLineEdit* text(const char* objectName) const;
    QWidget* buildDetailTab(TenantDetails::Kind kind, const char* prefix);
    void selectKey(TenantDetails::Kind kind, int key);

    QLineEdit* addText(class QFormLayout* form, const char* column, const char* label,
                       const char* objectName, int maxLength);

    AppState& m_state;
    QList<QPair<QString, QLineEdit*>> m_texts; // column, box
    QTabWidget* m_tabs;
    QCheckBox* m_waitList;
    QCheckBox* m_active;
    DateField* m_dob;
    DateField* m_cardExpiry;
    QComboBox* m_cardType;
    QLineEdit* m_income;
    QComboBox* m_incomeType;
    QComboBox* m_accountType;
    QPlainTextEdit* m_notes;
    QPlainTextEdit* m_incidents;
    TenantDetails* m_details[3];
    QTableView* m_grids[3];
};
