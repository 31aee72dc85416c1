#include "shell/Users.h"

#include "data/Cipher.h"
#include "data/Database.h"
#include "data/SqlText.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace Users {

LoginAttempt checkLogin(Database& db, const QString& userId, const QString& password)
{
    LoginAttempt attempt;
    const QString id = userId.trimmed();
    if (id.isEmpty()) {
        attempt.outcome = LoginAttempt::BlankId;
        return attempt;
    }
    try {
        QSqlQuery q =
            db.select(QStringLiteral("Select * from users where ID=") + sqlQuote(id));
        if (!q.next()) {
            attempt.outcome = LoginAttempt::UnknownId;
            return attempt;
        }
        const QSqlRecord r = q.record();
        if (Encipher(password.trimmed()) != r.value(QStringLiteral("NPASSWORD")).toString()) {
            attempt.outcome = LoginAttempt::BadPassword;
            return attempt;
        }
        attempt.outcome = LoginAttempt::Ok;
        attempt.wid = r.value(QStringLiteral("WID")).toInt();
        attempt.optionsRight = r.value(QStringLiteral("PROGOPTIONS")).toInt() != 0;
    } catch (const DbError&) {
        attempt.outcome = LoginAttempt::DatabaseError;
    }
    return attempt;
}

QString loginMessage(LoginAttempt::Outcome outcome)
{
    switch (outcome) {
    case LoginAttempt::BlankId:
        return QStringLiteral("The ID field cannot be blank");
    case LoginAttempt::UnknownId:
        return QStringLiteral("The ID does not exist");
    case LoginAttempt::BadPassword:
        return QStringLiteral("The password you have entered is invalid!");
    case LoginAttempt::Ok:
    case LoginAttempt::DatabaseError:
        break;
    }
    return QString();
}

QString validateUser(Database& db, const QString& id, const QString& firstName,
                     const QString& password, const QString& repeatPassword,
                     const QString& rememberedId)
{
    if (id.isEmpty())
        return QStringLiteral("The ID field cannot be blank!");
    if (firstName.isEmpty())
        return QStringLiteral("The firstname field cannot be blank!");
    QSqlQuery q = db.select(QStringLiteral("Select * from users where ID =") + sqlQuote(id));
    if (q.next() && id != rememberedId)
        return QStringLiteral("The ID you have chosen already exists!");
    if (!password.isEmpty() && password != repeatPassword)
        return QStringLiteral("The passwords you have typed do not match");
    // The enciphered form must fit the 30 characters the database keeps.
    if (password.size() > MaxPasswordLength)
        return QStringLiteral("The password is too long: use at most %1 characters.")
            .arg(MaxPasswordLength);
    return QString();
}

} // namespace Users
