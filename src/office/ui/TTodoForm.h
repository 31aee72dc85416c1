#pragma once

#include <QDialog>

class AppState;
class Dataset;
class DatasetModel;
class Grid;
class QCalendarWidget;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// "To-do item": the to-do row being inserted or edited in the shared to-do table.
class TPropTodo : public QDialog
{
    Q_OBJECT
public:
    explicit TPropTodo(AppState& state, QWidget* parent = nullptr);

    void load(const Dataset& todo);
    void store(Dataset& todo) const;

    QLineEdit* descriptionEdit() const { return m_description; }
    QPlainTextEdit* notesEdit() const { return m_notes; }
    QRadioButton* priorityButton(int priority) const { return m_priority[priority]; }

    // "Create &Reminder": a reminder from the description and notes as typed, dated as the
    // item; the dialog stays open either way.
    void createReminder();
    // Refuses a blank description.
    void accept() override;

signals:
    // A reminder was stored from this dialog.
    void reminderStored();

private:
    AppState& m_state;
    QVariant m_date;
    QLineEdit* m_description;
    QPlainTextEdit* m_notes;
    QRadioButton* m_priority[3];
};

// "Todo List": the items of one day, chosen on a month calendar. One window serves the whole
// run; each showing starts at today.
class TTodoForm : public QDialog
{
    Q_OBJECT
public:
    // The program's window, made on first use beside the main window that ANCHOR belongs to.
    static TTodoForm* instance(AppState& state, QWidget* anchor);

    TTodoForm(AppState& state, QWidget* parent = nullptr);

    QCalendarWidget* calendar() const { return m_calendar; }
    Grid* grid() const { return m_grid; }

    void newItem();
    void editItem();
    void deleteItem();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showDay();

    AppState& m_state;
    QCalendarWidget* m_calendar;
    Grid* m_grid;
    DatasetModel* m_model;
};
