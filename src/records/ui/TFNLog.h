#pragma once

#include <QDialog>

class Database;
class Dataset;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
namespace RecordFields {
class OptionalDate;
}

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
    RecordFields::OptionalDate* dateField() const { return m_date; }
    RecordFields::OptionalDate* invoiceDateField() const { return m_invoiceDate; }
    RecordFields::OptionalDate* completedField() const { return m_completed; }

    // "&Search": the vendor picker; on OK the Vendor list shows the vendor chosen.
    void findVendor();
    // Refuses a blank description and a cost that is not an amount.
    void accept() override;

private:
    void fillVendors();
    void showVendor(const QVariant& vid);

    Database& m_db;
    RecordFields::OptionalDate* m_date;
    QLineEdit* m_description;
    QComboBox* m_type;
    QComboBox* m_status;
    QComboBox* m_priority;
    QLineEdit* m_cost;
    QComboBox* m_vendor;
    RecordFields::OptionalDate* m_invoiceDate;
    RecordFields::OptionalDate* m_completed;
    QLineEdit* m_invoiceNumber;
    QPlainTextEdit* m_notes;
};
