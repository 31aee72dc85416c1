#pragma once

#include <QString>

class Database;

// The rules behind the login dialog and the user dialog, without any window.
namespace Users {

struct LoginAttempt
{
    enum Outcome { Ok, BlankId, UnknownId, BadPassword, DatabaseError };
    Outcome outcome = DatabaseError;
    int wid = 0;
    bool optionsRight = false;
};

// Trims both texts, finds the user by exact ID and compares the enciphered password.
LoginAttempt checkLogin(Database& db, const QString& userId, const QString& password);

// The message a login outcome shows (empty for Ok and database errors, which are not shown).
QString loginMessage(LoginAttempt::Outcome outcome);

// Checks the user dialog's (trimmed) fields in the dialog's order; returns the message to
// show, or an empty text when the dialog may close. rememberedId is the ID the user had when
// the dialog opened (empty for a new user).
QString validateUser(Database& db, const QString& id, const QString& firstName,
                     const QString& password, const QString& repeatPassword,
                     const QString& rememberedId);

} // namespace Users
