#pragma once

#include <QDialog>
#include <QHash>
#include <QVariantMap>

class AppState;
class Dataset;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// "Apartments": one unit, on the tabs "Info 1", "Info 2" and "Other Facilities".
class TApartForm : public QDialog
{
    Q_OBJECT
public:
    explicit TApartForm(AppState& state, QWidget* parent = nullptr);

    // Shows the current row of the units table; apId 0 for a unit not stored yet.
    void load(const Dataset& units, int apId);
    // The columns as typed (a blank number stores NULL).
    QVariantMap values() const;
    int tenantId() const { return m_tid; }

    // "Search..." and "&Search from waitlist...": the tenant picker; a tenant who holds another
    // unit is warned about and still assigned.
    void chooseTenant(bool fromWaitList);
    // "C&lear": no tenant.
    void clearTenant();

    // The feature columns with their captions, in tab order.
    static const QList<QPair<QString, QString>>& features();
    QCheckBox* featureBox(const QString& column) const { return m_features.value(column); }
    QTabWidget* tabs() const { return m_tabs; }

    void accept() override;

private:
    void showTenant();

    AppState& m_state;
    int m_apId = 0;
    int m_tid = -1;
    QTabWidget* m_tabs;
    QLineEdit* m_suite;
    QLineEdit* m_rent;
    QLineEdit* m_squareFootage;
    QLineEdit* m_bedrooms;
    QLineEdit* m_bathrooms;
    QLineEdit* m_company;
    QLineEdit* m_firstName;
    QLineEdit* m_lastName;
    QLineEdit* m_electric;
    QLineEdit* m_community;
    QLineEdit* m_heatingType;
    QLineEdit* m_floor;
    QComboBox* m_status;
    QComboBox* m_category;
    QLineEdit* m_dat1;
    QLineEdit* m_dat2;
    QPlainTextEdit* m_notes;
    QHash<QString, QCheckBox*> m_features;
};
