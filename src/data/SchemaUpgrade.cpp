#include "data/SchemaUpgrade.h"

#include "data/Cipher.h"
#include "data/Database.h"
#include "data/SqlText.h"

#include <QSqlQuery>
#include <utility>
#include <vector>

namespace {

// A probe that raises a database error means the step is needed; a probe is never reported.
bool probeSucceeds(Database& db, const QString& sql)
{
    try {
        db.select(sql);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

const char* const LettersTrigger =
    "CREATE OR ALTER TRIGGER LETTERS_BI FOR LETTERS\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "  IF (NEW.LID IS NULL) THEN\n"
    "    NEW.LID = GEN_ID(GEN_LETTERS_ID,1);\n"
    "END";

const char* const DepositsTrigger =
    "CREATE OR ALTER TRIGGER DEPOSITS_BI FOR DEPOSITS\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "  IF (NEW.DEPID IS NULL) THEN\n"
    "    NEW.DEPID = GEN_ID(GEN_DEPOSITS_ID,1);\n"
    "END";

struct Step
{
    const char* name;
    const char* probe;
    std::vector<const char*> statements;
};

const std::vector<Step>& ddlSteps()
{
    static const std::vector<Step> steps = {
        {"1: added AGREEMENTS.DEPOSIT",
         "select deposit from agreements",
         {"ALTER TABLE AGREEMENTS ADD DEPOSIT NUMERIC(15,2) DEFAULT 0 ;"}},
        {"2: added USERS.NPASSWORD",
         "select NPASSWORD from users",
         {"ALTER TABLE users ADD NPASSWORD VARCHAR(30)"}},
        {"4: created LETTERS",
         "select * from letters",
         {"CREATE GENERATOR GEN_LETTERS_ID;",
          "CREATE TABLE LETTERS (LID INTEGER NOT NULL, TITLE VARCHAR(255), "
          "BODY BLOB SUB_TYPE 0 SEGMENT SIZE 80)",
          "ALTER TABLE LETTERS ADD CONSTRAINT PK_LETTERS PRIMARY KEY (LID);", LettersTrigger}},
        {"5: created DEPOSITS",
         "select * from deposits",
         {"CREATE GENERATOR GEN_DEPOSITS_ID;",
          "CREATE TABLE DEPOSITS (DEPID INTEGER NOT NULL, TID INTEGER, TDATE DATE, "
          "AMOUNT NUMERIC(15,2) DEFAULT 0, MEMO VARCHAR(255), PAYMENTTYPE VARCHAR(100))",
          "ALTER TABLE DEPOSITS ADD CONSTRAINT PK_DEPOSITS PRIMARY KEY (DEPID);",
          DepositsTrigger}},
    };
    return steps;
}

bool runStep(Database& db, const Step& step, UpgradeResult& result)
{
    if (probeSucceeds(db, QLatin1String(step.probe)))
        return true;
    // The statements of a step commit together, so a failure leaves the step undone and the
    // next start can run it again from the beginning.
    QString sql;
    QStringList executed;
    try {
        Transaction t(db);
        for (const char* statement : step.statements) {
            sql = QLatin1String(statement);
            db.exec(sql);
            executed << sql;
        }
        sql.clear();
        t.commit();
    } catch (const DbError& e) {
        result.ok = false;
        result.error = QStringLiteral("Upgrade step %1 failed: %2").arg(QLatin1String(step.name),
                                                                         e.message());
        if (!sql.isEmpty())
            result.error += QStringLiteral("\nStatement: ") + sql;
        return false;
    }
    result.statements << executed;
    result.stepsRun << QLatin1String(step.name);
    return true;
}

// Old databases keep plain passwords in a quoted "PASSWORD" column. They are enciphered
// into NPASSWORD in one transaction, and the old column is dropped only after that commit,
// so a failure never leaves users with half-converted passwords.
bool convertPasswords(Database& db, UpgradeResult& result)
{
    const QString probe = QStringLiteral("select wid, \"PASSWORD\" from users");
    if (!probeSucceeds(db, probe))
        return true;
    QString current;
    try {
        std::vector<std::pair<int, QString>> rows;
        {
            QSqlQuery q = db.select(probe);
            while (q.next())
                rows.emplace_back(q.value(0).toInt(), q.value(1).toString());
        }
        Transaction t(db);
        for (const auto& [wid, password] : rows) {
            current = QStringLiteral("update users set npassword =") + sqlQuote(Encipher(password)) +
                      QStringLiteral(" where wid=") + sqlNumber(qint64(wid));
            db.exec(current);
            result.statements << current;
        }
        t.commit();
        current = QStringLiteral("ALTER TABLE users drop \"PASSWORD\"");
        db.exec(current);
        result.statements << current;
    } catch (const DbError& e) {
        result.ok = false;
        result.error = QStringLiteral("Upgrade step 3 (password conversion) failed: %1\n"
                                      "Statement: %2")
                           .arg(e.message(), current);
        return false;
    }
    result.stepsRun << QStringLiteral("3: enciphered the passwords and dropped USERS.PASSWORD");
    return true;
}

} // namespace

UpgradeResult UpgradeSchema(Database& db)
{
    UpgradeResult result;
    const auto& steps = ddlSteps();
    // Steps 1 and 2 first: the password conversion needs NPASSWORD.
    for (size_t i = 0; i < 2; ++i)
        if (!runStep(db, steps[i], result))
            return result;
    if (!convertPasswords(db, result))
        return result;
    for (size_t i = 2; i < steps.size(); ++i)
        if (!runStep(db, steps[i], result))
            return result;
    return result;
}
