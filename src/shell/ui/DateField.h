#pragma once

#include <QDate>
#include <QVariant>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// The one date field of every screen: a text box in the user's short date format with a
// calendar pop-up beside it. Typing replaces the whole date (the text is selected on entry);
// a day alone, or a day and month, keep the rest of the date shown. Up and Down move by a
// day, Page Up and Page Down by a month, Alt+Down or F4 open the calendar. Tab leaves the
// field. A text that is not a date stays as typed and isValid() is false, so the dialog can
// refuse it on OK. An optional field may be left empty: no date.
class DateField : public QWidget
{
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    void setOptional(bool on);
    bool isOptional() const { return m_optional; }

    // The date shown; invalid while the field is empty or holds no date.
    QDate date() const;
    // An invalid date empties the field.
    void setDate(const QDate& date);
    // A QDate, or a NULL date while an optional field is empty.
    QVariant value() const;
    void setValue(const QVariant& value);
    // A date, or nothing in an optional field.
    bool isValid() const;
    bool isEmpty() const;

    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* calendarButton() const { return m_button; }
    // The pop-up's calendar, while it is open.
    QCalendarWidget* calendar() const;
    void showCalendar();

signals:
    void dateChanged(const QDate& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Reads the typed text: a date is shown in the format; anything else stays as typed.
    void commitText();
    void display(const QDate& date);
    void step(int days, int months);

    QLineEdit* m_edit;
    QToolButton* m_button;
    QWidget* m_popup = nullptr;
    QDate m_date;
    bool m_optional = false;
    bool m_readOnly = false;
};
