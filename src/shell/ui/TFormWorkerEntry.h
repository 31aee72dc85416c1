#pragma once

#include <QDialog>
#include <QStringList>

class Database;
class QCheckBox;
class QLineEdit;

// "Workers Form": one user's names, ID, password and privileges.
class TFormWorkerEntry : public QDialog
{
    Q_OBJECT
public:
    TFormWorkerEntry(Database& db, QWidget* parent = nullptr);

    // The right columns in the order the boxes appear, with their captions.
    static const QStringList& rightColumns();
    static const QStringList& rightCaptions();

    void setRememberedId(const QString& id) { m_rememberedId = id; }
    QLineEdit* firstNameEdit() const { return m_firstName; }
    QLineEdit* lastNameEdit() const { return m_lastName; }
    QLineEdit* idEdit() const { return m_id; }
    QLineEdit* passwordEdit() const { return m_password; }
    QLineEdit* repeatEdit() const { return m_repeat; }
    QCheckBox* rightBox(const QString& column) const;

    void accept() override;

private:
    Database& m_db;
    QString m_rememberedId;
    QLineEdit* m_firstName;
    QLineEdit* m_lastName;
    QLineEdit* m_id;
    QLineEdit* m_password;
    QLineEdit* m_repeat;
    QList<QCheckBox*> m_rights;
};
