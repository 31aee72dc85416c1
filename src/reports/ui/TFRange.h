#pragma once

#include "reports/ReportFramework.h"

#include <QDate>
#include <QDialog>

class DateField;
class QRadioButton;

// "Select date range". One dialog serves every report while the program runs, so the range
// chosen for one report is offered again for the next; it starts at "Today".
class TFRange : public QDialog
{
    Q_OBJECT
public:
    explicit TFRange(QWidget* parent = nullptr);
    static TFRange& shared();

    QDate from() const;
    QDate to() const;
    DateRange::Choice choice() const;
    QRadioButton* button(DateRange::Choice choice) const;
    DateField* fromEdit() const { return m_from; }
    DateField* toEdit() const { return m_to; }

    // "Invalid date range!" and stays open while From is later than To.
    void accept() override;

private:
    // The radio button's dates, from today as it is at the click; Custom leaves them.
    void choose(DateRange::Choice choice);

    QRadioButton* m_buttons[4];
    DateField* m_from;
    DateField* m_to;
};
