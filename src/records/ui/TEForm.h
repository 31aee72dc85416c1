#pragma once

#include <QDialog>

class Dataset;
class DateField;
class QLineEdit;

// "Equipment": one item of a unit's equipment.
class TEForm : public QDialog
{
    Q_OBJECT
public:
    explicit TEForm(QWidget* parent = nullptr);

    // Fills the fields from the current row / writes them into it (insert or edit state).
    void load(const Dataset& equipment);
    void store(Dataset& equipment) const;

    QLineEdit* descriptionEdit() const { return m_description; }
    QLineEdit* priceEdit() const { return m_price; }
    DateField* purchaseDate() const { return m_date; }

    // Refuses a blank description, a purchase date that is not a date and a price that is
    // not an amount.
    void accept() override;

private:
    QLineEdit* m_description;
    QLineEdit* m_serial;
    QLineEdit* m_model;
    QLineEdit* m_brand;
    DateField* m_date;
    QLineEdit* m_price;
    QLineEdit* m_from;
};
