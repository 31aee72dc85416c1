#include "office/ui/TTodoForm.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "office/Reminders.h"
#include "office/Todo.h"
#include "office/ui/TRemForm.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TPropTodo::TPropTodo(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TPropTodo"));
    setWindowTitle(QStringLiteral("To-do item"));
    m_description = RecordFields::text("descriptionEdit", Todo::DescriptionLength);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notesEdit"));
    m_notes->setTabChangesFocus(true);
    auto* priority = new QGroupBox(QStringLiteral("Priority"));
    auto* priorityLayout = new QHBoxLayout(priority);
    const char* names[] = {"lowButton", "normalButton", "highButton"};
    for (int p = 0; p < 3; ++p) {
        m_priority[p] = new QRadioButton(Todo::priorityNames().at(p));
        m_priority[p]->setObjectName(QLatin1String(names[p]));
        priorityLayout->addWidget(m_priority[p]);
    }
    m_priority[0]->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Notes"), m_notes);
    auto* buttons = okCancelButtons(this);
    auto* reminder = buttons->addButton(QStringLiteral("Create &Reminder"), QDialogButtonBox::ActionRole);
    reminder->setObjectName(QStringLiteral("createReminderButton"));
    reminder->setAutoDefault(false);
    connect(reminder, &QPushButton::clicked, this, &TPropTodo::createReminder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addWidget(priority);
    layout->addWidget(buttons);
    resize(440, 320);
    m_description->setFocus();
}

void TPropTodo::load(const Dataset& t)
{
    m_date = t.value(QStringLiteral("TDATE"));
    m_description->setText(t.asText(QStringLiteral("DESCRIPTION")));
    m_notes->setPlainText(Database::memoText(t.value(QStringLiteral("NOTES"))));
    const int p = t.asInt(QStringLiteral("TPRIORITY"));
    // A priority outside the three choices is kept until one is chosen.
    for (int i = 0; i < 3; ++i)
        m_priority[i]->setAutoExclusive(false);
    for (int i = 0; i < 3; ++i)
        m_priority[i]->setChecked(i == p);
    for (int i = 0; i < 3; ++i)
        m_priority[i]->setAutoExclusive(true);
}

void TPropTodo::store(Dataset& t) const
{
    t.setValue(QStringLiteral("DESCRIPTION"), m_description->text());
    const QString notes = m_notes->toPlainText();
    t.setValue(QStringLiteral("NOTES"),
               notes.isEmpty() ? QVariant() : QVariant(Database::memoBytes(notes)));
    for (int p = 0; p < 3; ++p)
        if (m_priority[p]->isChecked())
            t.setValue(QStringLiteral("TPRIORITY"), p);
}

void TPropTodo::createReminder()
{
    // The reminders list shows every reminder again, the new one among them.
    try {
        m_state.tables().Reminders->setFiltered(false);
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    const Reminders::Due draft =
        Reminders::fromTodo(m_description->text(), m_notes->toPlainText());
    if (TRemForm::addReminder(m_state, this, draft, m_date))
        emit reminderStored();
}

void TPropTodo::accept()
{
    const QString message = Todo::descriptionMessage(m_description->text());
    if (!message.isEmpty()) {
        m_description->setFocus();
        Messages::warning(message);
        return;
    }
    QDialog::accept();
}

TTodoForm* TTodoForm::instance(AppState& state, QWidget* anchor)
{
    QWidget* root = anchor;
    while (root && root->parentWidget())
        root = root->parentWidget();
    if (root) {
        if (auto* existing = root->findChild<TTodoForm*>(QStringLiteral("TTodoForm"),
                                                         Qt::FindDirectChildrenOnly))
            return existing;
    }
    return new TTodoForm(state, root);
}

TTodoForm::TTodoForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TTodoForm"));
    setWindowTitle(QStringLiteral("Todo List"));

    m_model = new DatasetModel(*state.tables().Todo,
                               {{QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
                                {QStringLiteral("thePriority"), QStringLiteral("Type")}},
                               this);
    m_grid = new Grid;
    m_grid->setObjectName(QStringLiteral("todoList"));
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    connect(m_grid, &Grid::openRequested, this, &TTodoForm::editItem);
    // The description takes the room the priority leaves.
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    m_calendar = new QCalendarWidget;
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TTodoForm::showDay);
    auto* dateBox = new QGroupBox(QStringLiteral("Date"));
    auto* dateLayout = new QVBoxLayout(dateBox);
    dateLayout->addWidget(m_calendar);

    auto button = [](const QString& text, const char* name) {
        auto* b = new QPushButton(text);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* newButton = button(QStringLiteral("&New..."), "newButton");
    auto* editButton = button(QStringLiteral("&Edit..."), "editButton");
    auto* deleteButton = button(QStringLiteral("&Delete"), "deleteButton");
    auto* closeButton = button(QStringLiteral("&Close"), "closeButton");
    connect(newButton, &QPushButton::clicked, this, &TTodoForm::newItem);
    connect(editButton, &QPushButton::clicked, this, &TTodoForm::editItem);
    connect(deleteButton, &QPushButton::clicked, this, &TTodoForm::deleteItem);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {newButton, editButton, deleteButton})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* side = new QVBoxLayout;
    side->addWidget(dateBox);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(720, 380);
}

void TTodoForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    {
        // One reading of the day's items, below.
        const QSignalBlocker quiet(m_calendar);
        m_calendar->setSelectedDate(Clock::today());
    }
    showDay();
}

void TTodoForm::showDay()
{
    try {
        Todo::showDay(*m_state.tables().Todo, m_calendar->selectedDate());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TTodoForm::newItem()
{
    Dataset& t = *m_state.tables().Todo;
    try {
        Transaction work(m_state.db);
        Todo::append(t, m_calendar->selectedDate());
        TPropTodo dialog(m_state, this);
        // The item is written on OK only, so its transaction holds nothing yet when a reminder
        // is made from it: the reminder is stored for good, whatever becomes of the item.
        connect(&dialog, &TPropTodo::reminderStored, this, [this] {
            m_state.db.commit();
            m_state.db.begin();
        });
        dialog.load(t);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            t.cancel();
            return;
        }
        dialog.store(t);
        t.post();
        work.commit();
    } catch (const DbError& e) {
        if (t.isEditing())
            t.cancel();
        Messages::error(e.message());
    }
}

void TTodoForm::editItem()
{
    Dataset& t = *m_state.tables().Todo;
    if (t.isEmpty())
        return;
    try {
        t.edit();
        TPropTodo dialog(m_state, this);
        dialog.load(t);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            t.cancel();
            return;
        }
        dialog.store(t);
        t.post();
    } catch (const DbError& e) {
        if (t.isEditing())
            t.cancel();
        Messages::error(e.message());
    }
}

void TTodoForm::deleteItem()
{
    Dataset& t = *m_state.tables().Todo;
    if (t.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        t.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
