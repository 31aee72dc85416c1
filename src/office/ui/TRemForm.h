#pragma once

#include "office/Reminders.h"

#include <QDialog>

class AppState;
class Dataset;
class ListWindow;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class DateField;

// "Reminder": the reminder being inserted or edited in the shared reminders table. The date
// is not bound to the row: the caller puts it in and takes it out.
class TRForm : public QDialog
{
    Q_OBJECT
public:
    explicit TRForm(QWidget* parent = nullptr);

    void load(const Dataset& reminders);
    void store(Dataset& reminders) const;
    // The reminder date; NULL when it was cleared.
    void setDate(const QVariant& date);
    QVariant date() const;

    QLineEdit* titleEdit() const { return m_title; }
    QPlainTextEdit* descriptionEdit() const { return m_description; }
    DateField* dateField() const { return m_date; }
    QCheckBox* popUpBox() const { return m_popUp; }

    // Refuses a blank title and a date that is not a date.
    void accept() override;

private:
    QLineEdit* m_title;
    QPlainTextEdit* m_description;
    DateField* m_date;
    QCheckBox* m_popUp;
};

// "Reminders": the list of the shared reminders table. One window serves the whole run, so
// its search stays as the user left it between openings.
class TRemForm : public QDialog
{
    Q_OBJECT
public:
    // The program's window, made on first use beside the main window that ANCHOR belongs to.
    static TRemForm* instance(AppState& state, QWidget* anchor);

    TRemForm(AppState& state, QWidget* parent = nullptr);
    ListWindow* list() const { return m_list; }

    void newReminder();
    void editReminder();
    void deleteReminder();

    // A new reminder through the reminder dialog, starting from DRAFT and dated DATE, stored
    // on OK under a key of its own. True when stored.
    static bool addReminder(AppState& state, QWidget* parent, const Reminders::Due& draft,
                            const QVariant& date);

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& m_state;
    ListWindow* m_list;
};
