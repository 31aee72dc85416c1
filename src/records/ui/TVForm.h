#pragma once

#include <QDialog>

class Dataset;
class QComboBox;
class QLineEdit;

// "Vendors": one vendor. The type is typed freely or taken from the suggestions.
class TVForm : public QDialog
{
    Q_OBJECT
public:
    explicit TVForm(QWidget* parent = nullptr);

    // Fills the fields from the current row / writes them into it (insert or edit state).
    void load(const Dataset& vendors);
    void store(Dataset& vendors) const;

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* typeBox() const { return m_type; }

    void accept() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_contact;
    QLineEdit* m_tel;
    QLineEdit* m_address;
    QLineEdit* m_city;
    QLineEdit* m_state;
    QComboBox* m_type;
    QLineEdit* m_otherType;
};
