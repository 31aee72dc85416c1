#pragma once

#include <QDialog>

class QLineEdit;

// "Log In": user ID and password, with the first-time note.
class TFormPass : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPass(QWidget* parent = nullptr);
    QLineEdit* userIdEdit() const { return m_userId; }
    QLineEdit* passwordEdit() const { return m_password; }

private:
    QLineEdit* m_userId;
    QLineEdit* m_password;
};
