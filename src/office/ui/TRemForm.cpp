#include "office/ui/TRemForm.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "office/ui/TextLimit.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TRForm::TRForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRForm"));
    setWindowTitle(QStringLiteral("Reminder"));
    m_title = RecordFields::text("titleEdit", Reminders::TitleLength);
    m_description = new QPlainTextEdit;
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_description->setTabChangesFocus(true);
    limitLength(m_description, Reminders::DescriptionLength);
    m_date = RecordFields::date("reminderDateEdit", QStringLiteral("Reminder Date"), true);
    m_popUp = new QCheckBox;
    m_popUp->setObjectName(QStringLiteral("popUpBox"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Title"), m_title);
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Reminder Date"), m_date);
    form->addRow(QStringLiteral("Display pop up on login:"), m_popUp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    resize(420, 280);
    m_title->setFocus();
}

void TRForm::load(const Dataset& r)
{
    m_title->setText(r.asText(QStringLiteral("TITLE")));
    m_description->setPlainText(r.asText(QStringLiteral("DESCRIPTION")));
    m_popUp->setChecked(r.asInt(QStringLiteral("REMINDER")) == 1);
}

void TRForm::store(Dataset& r) const
{
    r.setValue(QStringLiteral("TITLE"), m_title->text());
    r.setValue(QStringLiteral("DESCRIPTION"), m_description->toPlainText());
    r.setValue(QStringLiteral("REMINDER"), m_popUp->isChecked() ? 1 : 0);
}

void TRForm::setDate(const QVariant& date)
{
    m_date->setValue(date);
}

QVariant TRForm::date() const
{
    return m_date->value();
}

void TRForm::accept()
{
    const QString message = Reminders::titleMessage(m_title->text());
    if (!message.isEmpty()) {
        m_title->setFocus();
        Messages::warning(message);
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    QDialog::accept();
}

TRemForm* TRemForm::instance(AppState& state, QWidget* anchor)
{
    QWidget* root = anchor;
    while (root && root->parentWidget())
        root = root->parentWidget();
    if (root) {
        if (auto* existing = root->findChild<TRemForm*>(QStringLiteral("TRemForm"),
                                                        Qt::FindDirectChildrenOnly))
            return existing;
    }
    return new TRemForm(state, root);
}

TRemForm::TRemForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TRemForm"));
    setWindowTitle(QStringLiteral("Reminders"));
    m_list = new ListWindow(state, *state.tables().Reminders,
                            {{QStringLiteral("TITLE"), QStringLiteral("Title")},
                             {QStringLiteral("TDATE"), QStringLiteral("Date"),
                              DatasetModel::Format::Date}},
                            {{QStringLiteral("Title"), QStringLiteral("TITLE")}});
    // Reminders are not printed.
    m_list->printButton()->hide();
    m_list->clearButton()->setAutoDefault(false);
    // C is "&Clear".
    auto* close = new QPushButton(QStringLiteral("Cl&ose"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_list->addButton(close);
    connect(m_list, &ListWindow::newRequested, this, &TRemForm::newReminder);
    connect(m_list, &ListWindow::editRequested, this, &TRemForm::editReminder);
    connect(m_list, &ListWindow::deleteRequested, this, &TRemForm::deleteReminder);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(640, 360);
}

void TRemForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The search state is shared: while this window was closed another window may have
    // searched another column. The list shows again what its own Criteria box says.
    Dataset& r = m_list->table();
    if (!r.isFiltered())
        return;
    try {
        if (m_list->criteriaEdit()->text().trimmed().isEmpty())
            r.setFiltered(false);
        else
            m_list->search();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

bool TRemForm::addReminder(AppState& state, QWidget* parent, const Reminders::Due& draft,
                           const QVariant& date)
{
    Dataset& r = *state.tables().Reminders;
    try {
        r.append();
        r.setValue(QStringLiteral("TITLE"), draft.title);
        r.setValue(QStringLiteral("DESCRIPTION"), draft.description);
        TRForm dialog(parent);
        dialog.load(r);
        dialog.setDate(date);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            r.cancel();
            return false;
        }
        dialog.store(r);
        r.setValue(QStringLiteral("TDATE"), dialog.date());
        Reminders::post(r);
        return true;
    } catch (const DbError& e) {
        if (r.isEditing())
            r.cancel();
        Messages::error(e.message());
        return false;
    }
}

void TRemForm::newReminder()
{
    addReminder(m_state, this, {}, Clock::today());
}

void TRemForm::editReminder()
{
    Dataset& r = m_list->table();
    if (r.isEmpty())
        return;
    try {
        r.edit();
        TRForm dialog(this);
        dialog.load(r);
        dialog.setDate(r.value(QStringLiteral("TDATE")));
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            r.cancel();
            return;
        }
        dialog.store(r);
        r.setValue(QStringLiteral("TDATE"), dialog.date());
        Reminders::post(r);
    } catch (const DbError& e) {
        if (r.isEditing())
            r.cancel();
        Messages::error(e.message());
    }
}

void TRemForm::deleteReminder()
{
    Dataset& r = m_list->table();
    if (r.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        r.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
