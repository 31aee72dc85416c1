#pragma once

#include <QDialog>

class Database;
class Dataset;
class DateField;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Maintenance Log": one work order of a unit.
class TFNLog : public QDialog
{
    Q_OBJECT
public:
    explicit TFNLog(Database& db, QWidget* parent = nullptr);

    // Fills the fields from the current row / writes them into it (insert or edit state).
    void load(const Dataset& maintenance);
    void store(Dataset& maintenance) const;

    QLineEdit* descriptionEdit() const { return m_description; }
    QComboBox* typeBox() const { return m_type; }
    QComboBox* statusBox() const { return m_status; }
    QComboBox* priorityBox() const { return m_priority; }
    QLineEdit* costEdit() const { return m_cost; }
    QComboBox* vendorBox() const { return m_vendor; }
    DateField* dateField() const { return m_date; }
    DateField* invoiceDateField() const { return m_invoiceDate; }
    DateField* completedField() const { return m_completed; }

    // "&Search": the vendor picker; on OK the Vendor list shows the vendor chosen.
    void findVendor();
    // Refuses a blank description, a date that is not a date and a cost that is not an amount.
    void accept() override;

private:
    void fillVendors();
    void showVendor(const QVariant& vid);

    Database& m_db;
    DateField* m_date;
    QLineEdit* m_description;
    QComboBox* m_type;
    QComboBox* m_status;
    QComboBox* m_priority;
    QLineEdit* m_cost;
    QComboBox* m_vendor;
    DateField* m_invoiceDate;
    DateField* m_completed;
    QLineEdit* m_invoiceNumber;
    QPlainTextEdit* m_notes;
};
