#pragma once

#include <QDialog>

class DateField;
class Database;
class Dataset;
class QComboBox;
class QLineEdit;

// "Building Properties": one building, with its owner chosen by code.
class TBuildProp : public QDialog
{
    Q_OBJECT
public:
    explicit TBuildProp(Database& db, QWidget* parent = nullptr);

    // Fills the fields from the current row / writes them into it (insert or edit state).
    void load(const Dataset& buildings);
    void store(Dataset& buildings) const;

    QComboBox* ownerBox() const { return m_owner; }
    QLineEdit* descriptionEdit() const { return m_description; }

    void accept() override;

private:
    QComboBox* m_owner;
    QLineEdit* m_description;
    QLineEdit* m_address;
    QLineEdit* m_city;
    QLineEdit* m_state;
    QLineEdit* m_zip;
    QLineEdit* m_tel;
    QLineEdit* m_units;
    QLineEdit* m_insuranceNumber;
    QLineEdit* m_insuranceCarrier;
    QLineEdit* m_manager;
    QLineEdit* m_managerTel;
    QLineEdit* m_ownerText;
    DateField* m_purchaseDate;
    QLineEdit* m_marketValue;
};
