#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLineEdit;

// Small field helpers shared by the record dialogs.
namespace RecordFields {

QLineEdit* text(const char* objectName, int maxLength);
// A whole number; empty means no value.
QLineEdit* integer(const char* objectName);
// An amount or a percentage with up to two decimals; empty means no value.
QLineEdit* amount(const char* objectName);

// Empty for NULL.
void showInteger(QLineEdit* edit, const QVariant& value);
void showAmount(QLineEdit* edit, const QVariant& value);
// NULL for an empty box, otherwise the value (a Money for amounts). ok is false when the
// text is not a number.
QVariant readInteger(const QLineEdit* edit, bool* ok);
QVariant readAmount(const QLineEdit* edit, bool* ok);

// A date that may be left out: a tick box beside a date box.
class OptionalDate : public QWidget
{
public:
    OptionalDate(const char* objectName, QWidget* parent = nullptr);
    void setValue(const QVariant& date);
    // NULL while not ticked.
    QVariant value() const;
    QCheckBox* box() const { return m_box; }
    QDateEdit* edit() const { return m_edit; }

private:
    QCheckBox* m_box;
    QDateEdit* m_edit;
};

} // namespace RecordFields
