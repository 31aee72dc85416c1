#include "records/ui/TenantDetailForms.h"
#include "shell/ui/DialogButtons.h"

#include "records/ui/RecordFields.h"
#include "shell/ui/DateField.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDetailForm::TDetailForm(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    m_form = new QFormLayout;
}

void TDetailForm::addText(const QString& field, const QString& label, const char* objectName,
                          int maxLength)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(objectName));
    edit->setMaxLength(maxLength);
    m_form->addRow(label, edit);
    m_fields.insert(field, edit);
    m_order << field;
}

void TDetailForm::addMemo(const QString& field, const QString& label, const char* objectName)
{
    auto* edit = new QPlainTextEdit;
    edit->setObjectName(QLatin1String(objectName));
    edit->setTabChangesFocus(true);
    edit->setMinimumHeight(80);
    m_form->addRow(label, edit);
    m_fields.insert(field, edit);
    m_order << field;
}

void TDetailForm::addDate(const QString& field, const QString& label, const char* objectName)
{
    auto* edit = RecordFields::date(objectName, label, true);
    m_form->addRow(label, edit);
    m_fields.insert(field, edit);
    m_order << field;
}

void TDetailForm::finish()
{
    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void TDetailForm::accept()
{
    // A date typed wrong would otherwise be stored as no date at all.
    if (!RecordFields::checkFields(this))
        return;
    QDialog::accept();
}

void TDetailForm::setValues(const QVariantMap& values)
{
    for (const QString& field : m_order) {
        QWidget* w = m_fields.value(field);
        const QVariant v = values.value(field);
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->setText(v.toString());
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            memo->setPlainText(v.toString());
        else if (auto* date = qobject_cast<DateField*>(w))
            date->setValue(v);
    }
    if (!m_order.isEmpty())
        m_fields.value(m_order.first())->setFocus();
}

QVariantMap TDetailForm::values() const
{
    QVariantMap values;
    for (const QString& field : m_order) {
        QWidget* w = m_fields.value(field);
        if (auto* line = qobject_cast<QLineEdit*>(w))
            values.insert(field, line->text());
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            values.insert(field, memo->toPlainText());
        else if (auto* date = qobject_cast<DateField*>(w))
            values.insert(field, date->value());
    }
    return values;
}

TVehicleForm::TVehicleForm(QWidget* parent)
    : TDetailForm(QStringLiteral("TVehicleForm"), QStringLiteral("Vehicles"), parent)
{
    addText(QStringLiteral("MAKE"), QStringLiteral("Vehicle Make"), "makeEdit", 20);
    addText(QStringLiteral("MODEL"), QStringLiteral("Vehicle Model"), "modelEdit", 20);
    addText(QStringLiteral("NUMBER"), QStringLiteral("Number"), "numberEdit", 20);
    finish();
}

TPetForm::TPetForm(QWidget* parent)
    : TDetailForm(QStringLiteral("TPetForm"), QStringLiteral("Pets"), parent)
{
    addText(QStringLiteral("ANIMAL"), QStringLiteral("Animal Type"), "animalEdit", 20);
    addMemo(QStringLiteral("COMMENT"), QStringLiteral("Comment"), "commentEdit");
    finish();
}

TOccupantForm::TOccupantForm(QWidget* parent)
    : TDetailForm(QStringLiteral("TOccupantForm"), QStringLiteral("Occupants"), parent)
{
    addText(QStringLiteral("NAME"), QStringLiteral("Name"), "nameEdit", 30);
    addText(QStringLiteral("RELATIONSHIP"), QStringLiteral("Relationship"), "relationshipEdit", 20);
    addText(QStringLiteral("SSN"), QStringLiteral("SSN"), "ssnEdit", 20);
    addDate(QStringLiteral("DOB"), QStringLiteral("Dob"), "dobEdit");
    addMemo(QStringLiteral("COMMENTS"), QStringLiteral("Comments"), "commentsEdit");
    finish();
}
