#include "data/Cipher.h"
#include "data/Dataset.h"
#include "ledger/ui/TFreqForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TFormWorkerEntry.h"
#include "shell/ui/TFormWorkers.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

// Fills the user dialog.
DialogScript::Step userDialog(const QString& first, const QString& id, const QString& password,
                              const QString& repeat, QStringList rights = {})
{
    return [=](QDialog* d) {
        type(d, "firstNameEdit", first);
        type(d, "idEdit", id);
        type(d, "passwordEdit", password);
        type(d, "repeatPasswordEdit", repeat);
        for (const QString& r : rights)
            d->findChild<QCheckBox*>(r.toLower() + "Box")->setChecked(true);
        click(d, "okButton");
    };
}

DialogScript::Step cancel()
{
    return [](QDialog* d) { click(d, "cancelButton"); };
}

} // namespace

class TestUsersAndFrequencies : public QObject
{
    Q_OBJECT
private slots:
    void userDialogChecksInOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank ID") << "Ann" << "  " << "" << "" << "The ID field cannot be blank!";
        QTest::newRow("blank first name") << " " << "ann" << "" << "" << "The firstname field cannot be blank!";
        QTest::newRow("duplicate ID") << "Ann" << "ADMIN" << "" << "" << "The ID you have chosen already exists!";
        QTest::newRow("passwords differ") << "Ann" << "ann" << "a" << "b" << "The passwords you have typed do not match";
        QTest::newRow("too long") << "Ann" << "ann" << QString(22, 'x') << QString(22, 'x')
                                  << "The password is too long: use at most 21 characters.";
    }
    void userDialogChecksInOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, repeat);
        QFETCH(QString, message);
        ShellFixture f(false);
        TMain& main = f.start();
        TFormWorkers list(f.state, &main);
        f.dialogs.then([&](QDialog* d) {
            userDialog(first, id, password, repeat)(d);
            QVERIFY(d->isVisible()); // the dialog stays open
            click(d, "cancelButton");
        });
        list.insertUser();
        QCOMPARE(f.messages.texts(), QStringList{message});
        QCOMPARE(f.messages.shown.at(0).icon, Message::Information);
        QCOMPARE(f.state.db.scalar("select count(*) from users").toInt(), 1);
    }

    void insertEditAndDeleteUsers()
    {
        ShellFixture f;
        f.dialogs.then(loginAs("ADMIN"));
        TMain& main = f.start();
        TFormWorkers list(f.state, &main);
        Dataset* users = f.state.tables().Users;

        // An empty password is accepted whatever the repeat field holds; blanks are trimmed.
        f.dialogs.then(userDialog(" Bob ", " bob ", "", "zzz", {"TENANTS"}));
        list.insertUser();
        QVERIFY(users->locate("ID", "bob"));
        QVERIFY(users->asInt("WID") > 1);
        QCOMPARE(users->asText("FIRSTNAME"), QStringLiteral("Bob"));
        QCOMPARE(users->asText("NPASSWORD"), QString());
        QCOMPARE(users->asInt("TENANTS"), 1);
        QCOMPARE(users->asInt("BILL"), 0);

        // Changing only a right keeps the password: the dialog shows it deciphered.
        f.state.db.exec(QStringLiteral("update users set npassword='%1' where id='bob'").arg(Encipher("s3cret")));
        users->refresh();
        QVERIFY(users->locate("ID", "bob"));
        QString shownPassword;
        f.dialogs.then([&](QDialog* d) {
            shownPassword = child<QLineEdit>(d, "passwordEdit")->text();
            d->findChild<QCheckBox*>("billBox")->setChecked(true);
            click(d, "okButton");
        });
        list.editUser();
        QCOMPARE(shownPassword, QStringLiteral("s3cret"));
        QCOMPARE(f.state.db.scalar("select npassword from users where id='bob'").toString(), Encipher("s3cret"));
        QCOMPARE(f.state.db.scalar("select bill from users where id='bob'").toInt(), 1);

        // Cancel discards the check-box changes too.
        f.dialogs.then([](QDialog* d) {
            d->findChild<QCheckBox*>("tenantsBox")->setChecked(false);
            click(d, "cancelButton");
        });
        list.editUser();
        QCOMPARE(f.state.db.scalar("select tenants from users where id='bob'").toInt(), 1);

        // The administrator's user right cannot be changed, nor can he be deleted.
        QVERIFY(users->locate("WID", 1));
        bool modusersEnabled = true;
        f.dialogs.then([&](QDialog* d) {
            modusersEnabled = d->findChild<QCheckBox*>("modusersBox")->isEnabled();
            click(d, "cancelButton");
        });
        list.editUser();
        QVERIFY(!modusersEnabled);
        list.deleteUser();
        QCOMPARE(f.messages.texts().last(), QStringLiteral("Can't delete the administrator!"));

        QVERIFY(users->locate("ID", "bob"));
        f.messages.answers.enqueue(Message::Ok);
        list.deleteUser();
        QCOMPARE(f.messages.texts().last(), QStringLiteral("Deleting Selected record!"));
        QCOMPARE(f.state.db.scalar("select count(*) from users where id='bob'").toInt(), 0);

        // Closing the list puts the shared Users object back on the logged-in user.
        users->last();
        list.reject();
        QCOMPARE(users->asInt("WID"), 1);
    }

    void cannotDeleteTheAccountLoggedInWith()
    {
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec("insert into users (wid, id, firstname, npassword, modusers) values (2, 'clerk', 'C', '', 1)");
        });
        f.dialogs.then(loginAs("clerk"));
        TMain& main = f.start();
        TFormWorkers list(f.state, &main);
        QVERIFY(f.state.tables().Users->locate("WID", 2));
        list.deleteUser();
        QCOMPARE(f.messages.texts(), QStringList{"You can't delete the account with which you logged in!"});
    }

    void frequencyDialogAndBuiltInRows()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        TFreqForm form(f.state, &main);
        Dataset* freq = f.state.tables().Frequency;

        // Built-in rows are refused in plain message boxes.
        QVERIFY(freq->locate("FREQID", 3));
        form.editFrequency();
        form.deleteFrequency();
        QCOMPARE(f.messages.texts(), (QStringList{"This is a system type.It can't be Edited!",
                                                  "This is a system type.It can't be deleted!"}));
        QCOMPARE(f.messages.shown.at(0).caption, QStringLiteral("Marbleway Keystead  2008"));
        f.messages.clear();

        // The dialog's checks, in order, then a good row.
        f.dialogs.then([&](QDialog* d) {
            type(d, "nameEdit", " ");
            click(d, "okButton");
            type(d, "nameEdit", "Every 10 days");
            click(d, "okButton");
            type(d, "daysEdit", "0");
            click(d, "okButton");
            // Beyond the SMALLINT column: refused, not stored wrapped round.
            type(d, "daysEdit", "99999");
            click(d, "okButton");
            type(d, "daysEdit", "10");
            click(d, "okButton");
        });
        form.newFrequency();
        const QString days =
            QStringLiteral("The days field must be a whole number from 1 to 32767!");
        QCOMPARE(f.messages.texts(),
                 (QStringList{"The name field is blank!", "The days field is blank!", days, days}));
        QCOMPARE(f.messages.shown.at(0).icon, Message::Warning);
        const int id = f.state.db.scalar("select freqid from frequency where name='Every 10 days'").toInt();
        QVERIFY(id > 6);
        QCOMPARE(f.state.db.scalar(QStringLiteral("select days from frequency where freqid=%1").arg(id)).toInt(), 10);

        // Cancel on New stores nothing; a user frequency can be deleted.
        f.dialogs.then(cancel());
        form.newFrequency();
        QCOMPARE(f.state.db.scalar("select count(*) from frequency").toInt(), 7);
        QVERIFY(freq->locate("FREQID", id));
        f.messages.answers.enqueue(Message::Yes);
        form.deleteFrequency();
        QCOMPARE(f.state.db.scalar("select count(*) from frequency").toInt(), 6);
    }

    void frequencySearch()
    {
        ShellFixture f(false);
        TMain& main = f.start();
        TFreqForm form(f.state, &main);
        ListWindow* list = form.list();
        QCOMPARE(list->fieldBox()->currentText(), QStringLiteral("Name"));
        list->criteriaEdit()->setText("  ");
        list->search(); // blank criteria: nothing happens
        QCOMPARE(list->table().rowCount(), 6);
        list->criteriaEdit()->setText("MONTH");
        list->search();
        QCOMPARE(list->table().rowCount(), 1);
        QCOMPARE(list->model()->rowCount(), 1);
        list->clearSearch();
        QCOMPARE(list->table().rowCount(), 6);
        QVERIFY(list->criteriaEdit()->text().isEmpty());
    }
};

QTEST_MAIN(TestUsersAndFrequencies)
#include "tst_users_frequencies.moc"
