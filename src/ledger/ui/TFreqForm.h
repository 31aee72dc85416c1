#pragma once

#include <QDialog>

class AppState;
class ListWindow;
class QLineEdit;

// "Rent Frequency": one frequency's name, description and day count.
class TFreqProp : public QDialog
{
    Q_OBJECT
public:
    explicit TFreqProp(QWidget* parent = nullptr);
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QLineEdit* daysEdit() const { return m_days; }
    void accept() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_description;
    QLineEdit* m_days;
};

// "Rent Frequency Types": the list of frequencies.
class TFreqForm : public QDialog
{
    Q_OBJECT
public:
    TFreqForm(AppState& state, QWidget* parent = nullptr);
    ~TFreqForm() override;
    ListWindow* list() const { return m_list; }

    void newFrequency();
    void editFrequency();
    void deleteFrequency();

private:
    // Shows the dialog on the current row (already in insert or edit state); true on OK.
    bool runDialog();

    AppState& m_state;
    ListWindow* m_list;
};
