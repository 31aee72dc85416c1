#pragma once

#include <QDialog>
#include <QSpinBox>

// The number box of "Charge Ahead": the arrows stay within 1 to 12, but a typed count is kept
// as typed so that the dialog can refuse it in words.
class PeriodsBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit PeriodsBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};

// "Charge Ahead": how many periods of the unit's recurring charges to post now.
class TFAhead : public QDialog
{
    Q_OBJECT
public:
    explicit TFAhead(QWidget* parent = nullptr);
    PeriodsBox* periodsBox() const { return m_periods; }
    int periods() const;
    // Refuses a text that is not a whole number, and a count outside 1 to 12.
    void accept() override;

private:
    PeriodsBox* m_periods;
};
