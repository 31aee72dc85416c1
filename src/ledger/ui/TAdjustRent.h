#pragma once

#include "ledger/RentAdjustment.h"

#include <QDialog>

class AppState;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Adjust Rental Rate": which units, by a percentage or an amount, on future rates, current
// agreements or both. OK runs the adjustment as one unit of work.
class TAdjustRent : public QDialog
{
    Q_OBJECT
public:
    explicit TAdjustRent(AppState& state, QWidget* parent = nullptr);

    // "&Search...": the building, tenant or unit picker, by the scope chosen.
    void search();
    // The checks in their order, then the adjustment; the dialog stays open on a refusal.
    void accept() override;

    QRadioButton* allButton() const { return m_all; }
    QRadioButton* tenantButton() const { return m_tenant; }
    QRadioButton* buildingButton() const { return m_building; }
    QRadioButton* unitButton() const { return m_unit; }
    QLineEdit* selectionEdit() const { return m_selection; }
    QPushButton* searchButton() const { return m_search; }
    QRadioButton* percentButton() const { return m_percentChoice; }
    QRadioButton* amountButton() const { return m_amountChoice; }
    QLineEdit* percentEdit() const { return m_percent; }
    QLineEdit* amountEdit() const { return m_amount; }
    QRadioButton* futureButton() const { return m_future; }
    QRadioButton* currentButton() const { return m_current; }
    QRadioButton* bothButton() const { return m_both; }

private:
    void scopeChosen();
    RentAdjustment::Scope scope() const;

    AppState& m_state;
    QRadioButton* m_all;
    QRadioButton* m_tenant;
    QRadioButton* m_building;
    QRadioButton* m_unit;
    QLineEdit* m_selection;
    QPushButton* m_search;
    QRadioButton* m_percentChoice;
    QRadioButton* m_amountChoice;
    QLineEdit* m_percent;
    QLineEdit* m_amount;
    QRadioButton* m_future;
    QRadioButton* m_current;
    QRadioButton* m_both;
    int m_id = 0;
};
