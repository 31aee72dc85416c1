#include "data/Dataset.h"
#include "records/ui/TFBuild.h"
#include "records/ui/TFTOwn.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

QWidget* open(ShellFixture& f, const char* key)
{
    f.main->command(QLatin1String(key))->trigger();
    QMdiSubWindow* w = f.main->openChildWindow(QLatin1String(key));
    return w ? w->widget() : nullptr;
}

void twoOwners(Database& db)
{
    db.exec(QStringLiteral("insert into owners (oid, code) values (1, 'ABC')"));
    db.exec(QStringLiteral("insert into owners (oid, code) values (2, 'DEF')"));
}

} // namespace

class TestBuildings : public QObject
{
    Q_OBJECT
private slots:
    void dialogChecks_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("owner"); // the code chosen, or none
        QTest::addColumn<QString>("message");
        QTest::newRow("stored") << "Tower" << "DEF" << "";
        QTest::newRow("no description") << "" << "DEF" << "The description field is blank!";
        QTest::newRow("blank description") << "   " << "DEF" << "The description field is blank!";
        QTest::newRow("no owner") << "Tower" << "" << "No owner has been selected!";
        QTest::newRow("neither, description first") << "" << "" << "The description field is blank!";
    }
    void dialogChecks()
    {
        QFETCH(QString, description);
        QFETCH(QString, owner);
        QFETCH(QString, message);
        ShellFixture f(false);
        f.prepare(twoOwners);
        f.start();
        QWidget* w = open(f, "buildings");
        QVERIFY(w);
        bool stayedOpen = false;
        f.dialogs.then([&](QDialog* d) {
            type(d, "descriptionEdit", description);
            child<QComboBox>(d, "ownerBox")->setCurrentIndex(
                owner.isEmpty() ? -1 : child<QComboBox>(d, "ownerBox")->findText(owner));
            click(d, "okButton");
            stayedOpen = d->isVisible();
            if (stayedOpen)
                click(d, "cancelButton");
        });
        click(w, "newButton");
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stayedOpen, !message.isEmpty());
        QCOMPARE(f.state.BuildingsChanged, message.isEmpty());
        QSqlQuery q = f.state.db.select(QStringLiteral("select buildid, oid from buildings"));
        QCOMPARE(q.next(), message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(q.value(0).toInt() > 0); // drawn from the generator
            QCOMPARE(q.value(1).toInt(), 2);
        }
    }

    void newNeedsAnOwner()
    {
        ShellFixture f(false);
        f.start();
        click(open(f, "buildings"), "newButton"); // no dialog is scripted: none may open
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral("No owner exists. You must create at least 1 owner?")});
    }

    void buildingWithUnitsIsNotDeleted()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            twoOwners(db);
            db.exec(QStringLiteral("insert into buildings (buildid, oid, description) values (10, 1, 'Tower')"));
            db.exec(QStringLiteral("insert into apartments (apid, bid, suite, tid, agreeid) values (100, 10, 'A1', -1, -1)"));
        });
        f.start();
        QWidget* w = open(f, "buildings");
        click(w, "deleteButton");
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral("There are apartments assigned to this Building. Delete "
                                            "or reassign those apartments before deleting?")});
        QVERIFY(!f.state.BuildingsChanged);

        f.state.db.exec(QStringLiteral("delete from apartments"));
        f.messages.clear();
        f.messages.answers.enqueue(Message::Yes);
        click(w, "deleteButton");
        QCOMPARE(f.state.db.scalar(QStringLiteral("select count(*) from buildings")).toInt(), 0);
        QVERIFY(f.state.BuildingsChanged);
    }

    void ownerLinkFollowsTheActiveWindow()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            twoOwners(db);
            db.exec(QStringLiteral("insert into buildings (buildid, oid, description) values (10, 1, 'Tower')"));
            db.exec(QStringLiteral("insert into buildings (buildid, oid, description) values (11, 2, 'Annex')"));
        });
        f.start();
        f.main->show();
        Dataset& buildings = *f.state.tables().Buildings;
        QVERIFY(buildings.linkActive());

        open(f, "buildings");
        QCOMPARE(buildings.rowCount(), 2); // every owner's
        open(f, "owners");
        QCOMPARE(buildings.rowCount(), 1); // the selected owner's
        open(f, "buildings");              // back to the front
        QCOMPARE(buildings.rowCount(), 2);
        f.main->openChildWindow(QStringLiteral("buildings"))->close();
        QVERIFY(buildings.linkActive());
        QCOMPARE(buildings.rowCount(), 1);
    }
};

QTEST_MAIN(TestBuildings)
#include "tst_buildings.moc"
