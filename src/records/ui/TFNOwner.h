#pragma once

#include <QDialog>
#include <optional>

class Database;
class Dataset;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

// "Owner": one owner's details on the "&General", "Other" and "Notes" tabs.
class TFNOwner : public QDialog
{
    Q_OBJECT
public:
    explicit TFNOwner(Database& db, QWidget* parent = nullptr);

    // The owner being changed, whose own row is no duplicate of its code; none for a new one.
    void setOwnOid(std::optional<int> oid) { m_ownOid = oid; }
    // Fills the fields from the current row / writes them into it (insert or edit state).
    void load(const Dataset& owners);
    void store(Dataset& owners) const;

    QLineEdit* codeEdit() const { return m_code; }

    // Trims the code back into its box, then refuses a blank or taken code.
    void accept() override;

private:
    Database& m_db;
    std::optional<int> m_ownOid;
    QTabWidget* m_tabs;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QLineEdit* m_address;
    QLineEdit* m_city;
    QLineEdit* m_state;
    QLineEdit* m_zip;
    QLineEdit* m_tel;
    QLineEdit* m_home;
    QLineEdit* m_mobile;
    QLineEdit* m_fax;
    QLineEdit* m_data1;
    QLineEdit* m_data2;
    QLineEdit* m_email;
    QLineEdit* m_manValue;
    QLineEdit* m_manFee;
    QLineEdit* m_resValue;
    QLineEdit* m_bankNumber;
    QLineEdit* m_bankName;
    QLineEdit* m_bsb;
    QPlainTextEdit* m_notes;
};
