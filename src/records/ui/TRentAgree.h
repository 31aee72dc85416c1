#pragma once

#include "records/Agreements.h"
#include "records/Units.h"

#include <QDialog>

class Database;
class Dataset;
class QComboBox;
class DateField;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Rental Agreement": a new agreement of a unit, or an existing one shown for viewing only.
class TRentAgree : public QDialog
{
    Q_OBJECT
public:
    explicit TRentAgree(Database& db, QWidget* parent = nullptr);

    void setHeader(const QString& suite, const Units::TenantNames& tenant);
    // A new agreement starts with the unit's rent, the first frequency id and today's dates.
    void startNew(const Money& rent);
    // The current row of the shared agreements table, read only: OK and the first payment
    // date are disabled.
    void showExisting(const Dataset& agreements);
    // Nothing can be stored from the dialog.
    void setViewOnly();
    bool isViewOnly() const { return m_viewOnly; }

    // The agreement as typed, for the unit apId.
    NewAgreement agreement(int apId) const;

    QLineEdit* rentEdit() const { return m_rent; }
    QComboBox* recursBox() const { return m_recurs; }
    QComboBox* leaseTermBox() const { return m_leaseTerm; }
    DateField* firstPaymentEdit() const { return m_firstPayment; }
    DateField* leaseStartEdit() const { return m_leaseStart; }
    DateField* leaseEndEdit() const { return m_leaseEnd; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    QLineEdit* m_suite;
    QLineEdit* m_company;
    QLineEdit* m_firstName;
    QLineEdit* m_lastName;
    QLineEdit* m_rent;
    QLineEdit* m_damage;
    QLineEdit* m_lateFee;
    QLineEdit* m_perDay;
    QComboBox* m_recurs;
    DateField* m_firstDue;
    QComboBox* m_leaseTerm;
    DateField* m_leaseStart;
    DateField* m_leaseEnd;
    DateField* m_moveIn;
    DateField* m_moveOut;
    DateField* m_firstPayment;
    QPlainTextEdit* m_terms;
    QPushButton* m_ok;
    bool m_viewOnly = false;
};
