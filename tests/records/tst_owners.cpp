#include "data/Cipher.h"
#include "data/Dataset.h"
#include "records/ui/TFTOwn.h"
#include "shell/SharedTables.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

namespace {

TFTOwn* openOwners(ShellFixture& f)
{
    f.main->command(QStringLiteral("owners"))->trigger();
    QMdiSubWindow* w = f.main->openChildWindow(QStringLiteral("owners"));
    return w ? qobject_cast<TFTOwn*>(w->widget()) : nullptr;
}

int count(ShellFixture& f, const QString& sql)
{
    return f.state.db.scalar(sql).toInt();
}

} // namespace

class TestOwners : public QObject
{
    Q_OBJECT
private slots:
    void codeChecks_data()
    {
        QTest::addColumn<bool>("editing"); // owner ABC in the dialog, else a new owner
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        const QString taken = QStringLiteral("The code you have entered already exists!");
        QTest::newRow("trimmed") << false << "  XYZ " << "" << "XYZ";
        QTest::newRow("other letter case") << false << "abc" << "" << "abc";
        QTest::newRow("taken") << false << "ABC" << taken << "";
        QTest::newRow("taken once trimmed") << false << " ABC  " << taken << "";
        QTest::newRow("blank") << false << "   " << "The code field is blank!" << "";
        QTest::newRow("a quote") << false << "O'K" << "" << "O'K";
        QTest::newRow("a taken code with a quote") << false << "D'F" << taken << "";
        QTest::newRow("own code unchanged") << true << "ABC" << "" << "ABC";
        QTest::newRow("another owner's code") << true << "D'F" << taken << "";
    }
    void codeChecks()
    {
        QFETCH(bool, editing);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        ShellFixture f(false);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into owners (oid, code, name) values (1, 'ABC', 'Acme')"));
            db.exec(QStringLiteral("insert into owners (oid, code, name) values (2, 'D''F', 'Dee')"));
            db.exec(QStringLiteral("alter sequence gen_owners_id restart with 2"));
        });
        f.start();
        TFTOwn* w = openOwners(f);
        QVERIFY(w);
        bool stayedOpen = false;
        QString box;
        f.dialogs.then([&](QDialog* d) {
            type(d, "codeEdit", typed);
            click(d, "okButton");
            box = child<QLineEdit>(d, "codeEdit")->text();
            stayedOpen = d->isVisible();
            if (stayedOpen)
                click(d, "cancelButton");
        });
        if (editing) {
            QVERIFY(w->list()->table().locate(QStringLiteral("OID"), 1));
            click(w, "editButton");
        } else {
            click(w, "newButton");
        }
        QCOMPARE(box, typed.trimmed()); // the trimmed code is put back into the box
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stayedOpen, !message.isEmpty());
        const int owners = count(f, QStringLiteral("select count(*) from owners"));
        QCOMPARE(owners, editing || !message.isEmpty() ? 2 : 3);
        if (!stored.isEmpty())
            QCOMPARE(count(f, QStringLiteral("select count(*) from owners where code = '%1'")
                                  .arg(QString(stored).replace(QLatin1Char('\''), QStringLiteral("''")))),
                     1);
        if (editing) // a refused change leaves the row as it was
            QCOMPARE(f.state.db.scalar(QStringLiteral("select code from owners where oid = 1")).toString(),
                     QStringLiteral("ABC"));
    }

    void ownerWithBuildingsIsKeptUntilAddMovesThem()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into owners (oid, code) values (1, 'ABC')"));
            db.exec(QStringLiteral("insert into owners (oid, code) values (2, 'DEF')"));
            db.exec(QStringLiteral("insert into buildings (buildid, oid, description) values (10, 1, 'Tower')"));
        });
        f.start();
        TFTOwn* w = openOwners(f);
        QVERIFY(w);
        Dataset& owners = *f.state.tables().Owners;
        Dataset& buildings = *f.state.tables().Buildings;

        QVERIFY(owners.locate(QStringLiteral("OID"), 1));
        QCOMPARE(buildings.rowCount(), 1); // the tab follows the selected owner
        click(w, "deleteButton");
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral("There are buildings assigned to this owner. Delete or "
                                            "reassign those buildings before deleting?")});

        // In the other owner's window: "Add..." and the building picker.
        QVERIFY(owners.locate(QStringLiteral("OID"), 2));
        QCOMPARE(buildings.rowCount(), 0);
        f.dialogs.then([](QDialog* d) {
            type(d, "searchEdit", QStringLiteral("tow"));
            click(d, "okButton");
        });
        click(w, "addBuildingButton");
        QCOMPARE(buildings.rowCount(), 1);
        QCOMPARE(buildings.asText(QStringLiteral("OwnerCode")), QStringLiteral("DEF"));
        QVERIFY(buildings.linkActive());

        QVERIFY(owners.locate(QStringLiteral("OID"), 1));
        QCOMPARE(buildings.rowCount(), 0);
        f.messages.clear();
        f.messages.answers.enqueue(Message::Yes);
        click(w, "deleteButton");
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral("Are you sure you want to delete the selected record?")});
        QCOMPARE(count(f, QStringLiteral("select count(*) from owners where oid = 1")), 0);
        QCOMPARE(count(f, QStringLiteral("select oid from buildings where buildid = 10")), 2);
    }

    void rightsGuardTheCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("opens");
        QTest::newRow("owners") << "owners" << false;
        QTest::newRow("buildings") << "buildings" << false;
        QTest::newRow("vendors, for everybody") << "vendors" << true;
    }
    void rightsGuardTheCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, opens);
        ShellFixture f;
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, firstname, npassword, owners, buildings) "
                                   "values (2, 'mary', 'Mary', '%1', 0, 0)")
                        .arg(Encipher(QStringLiteral("pw"))));
        });
        f.dialogs.then(loginAs(QStringLiteral("mary"), QStringLiteral("pw")));
        f.start();
        f.main->command(command)->trigger();
        QCOMPARE(f.main->openChildWindow(command) != nullptr, opens);
        QCOMPARE(f.messages.texts(), opens ? QStringList() : QStringList{TMain::NoRights});
        if (!opens)
            QCOMPARE(f.messages.shown[0].icon, Message::Information);
    }
};

QTEST_MAIN(TestOwners)
#include "tst_owners.moc"
