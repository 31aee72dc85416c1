#pragma once

#include <QDialog>
#include <QHash>
#include <QVariantMap>

class QFormLayout;

// The small dialogs of the tenant dialog's "Other" tab. OK and Cancel close them, and the
// caller stores or discards the row; OK only refuses a date that is not one.
class TDetailForm : public QDialog
{
    Q_OBJECT
public:
    // Values by column name (texts, and QDate for dates; an invalid date is blank).
    void setValues(const QVariantMap& values);
    QVariantMap values() const;
    void accept() override;

protected:
    TDetailForm(const QString& objectName, const QString& caption, QWidget* parent);
    void addText(const QString& field, const QString& label, const char* objectName, int maxLength);
    void addMemo(const QString& field, const QString& label, const char* objectName);
    void addDate(const QString& field, const QString& label, const char* objectName);
    void finish();

private:
    QFormLayout* m_form;
    QHash<QString, QWidget*> m_fields;
    QStringList m_order;
};

// "Vehicles": make, model and plate number.
class TVehicleForm : public TDetailForm
{
    Q_OBJECT
public:
    explicit TVehicleForm(QWidget* parent = nullptr);
};

// "Pets": animal type and comment.
class TPetForm : public TDetailForm
{
    Q_OBJECT
public:
    explicit TPetForm(QWidget* parent = nullptr);
};

// "Occupants": a further person living with the tenant.
class TOccupantForm : public TDetailForm
{
    Q_OBJECT
public:
    explicit TOccupantForm(QWidget* parent = nullptr);
};
