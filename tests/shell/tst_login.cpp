#include "data/Cipher.h"
#include "data/Dataset.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "shell/ui/TFormPass.h"
#include "support/Gui.h"

#include <QLineEdit>
#include <QTest>

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void adminWithEmptyPasswordOnAFreshDatabase()
    {
        ShellFixture f;
        QString prefilled;
        QWidget* caret = nullptr;
        QWidget* password = nullptr;
        f.dialogs.then([&](QDialog* d) {
            prefilled = child<QLineEdit>(d, "userIdEdit")->text();
            caret = d->focusWidget();
            password = child<QLineEdit>(d, "passwordEdit");
            click(d, "okButton");
        });
        f.start();
        // The only user is filled in, and the password is what is left to type.
        QCOMPARE(prefilled, QStringLiteral("ADMIN"));
        QCOMPARE(caret, password);
        QCOMPARE(f.state.CurrentUserWID, 1);
        QVERIFY(f.state.optionsRight);
        QVERIFY(f.dialogs.done());
    }

    void loginMessages_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("lower case ID") << "admin" << "" << "The ID does not exist";
        QTest::newRow("blank ID") << "   " << "" << "The ID field cannot be blank";
        QTest::newRow("wrong password") << "mary" << "nope" << "The password you have entered is invalid!";
    }
    void loginMessages()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, message);
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, firstname, npassword, progoptions) "
                                   "values (2, 'mary', 'Mary', '%1', 0)").arg(Encipher(QStringLiteral("pw"))));
        });
        bool caretOnId = false;
        f.dialogs.then([&](QDialog* d) {
            // Two users: nothing is filled in, the ID comes first.
            caretOnId = d->focusWidget() == child<QLineEdit>(d, "userIdEdit");
            loginAs(id, password)(d);
        });
        // After the refusal the dialog comes back; trailing blanks are trimmed.
        f.dialogs.then(loginAs(QStringLiteral("mary "), QStringLiteral("pw  ")));
        f.start();
        QCOMPARE(f.messages.texts().value(0), message);
        QCOMPARE(f.messages.shown.value(0).caption, QStringLiteral("Marbleway"));
        QCOMPARE(f.messages.shown.value(0).icon, Message::Warning);
        QCOMPARE(f.state.CurrentUserWID, 2);
        QVERIFY(!f.state.optionsRight);
        QVERIFY(caretOnId);
    }

    void cancellingTheLoginEndsTheProgramBeforePosting()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, "
                                   "enddate, nextdate, completed) values (1, 1, 1, 'Rent', 100, 3, "
                                   "'2000-01-01', '2099-01-01', '2000-01-01', 0)"));
        });
        f.dialogs.then([](QDialog* d) { click(d, "cancelButton"); });
        f.makeMain();
        QVERIFY(!f.main->firstShowing());
        QCOMPARE(f.state.db.scalar(QStringLiteral("select count(*) from charges")).toInt(), 0);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
