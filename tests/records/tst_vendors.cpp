#include "data/Dataset.h"
#include "records/ui/TVenMain.h"
#include "shell/SharedTables.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QTest>

class TestVendors : public QObject
{
    Q_OBJECT
private slots:
    void newVendor_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("suggestion"); // -1: the type is typed
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedType");
        QTest::newRow("first suggestion keeps its blank") << "Cool Co" << 0 << "" << "" << "AIR CONDITIONING ";
        QTest::newRow("last suggestion") << "Bins" << 30 << "" << "" << "WASTE REMOVAL";
        QTest::newRow("typed type, as typed") << "Roofs" << -1 << "roofing " << "" << "roofing ";
        QTest::newRow("blank name") << "  " << 0 << "" << "Vendor name is blank!" << "";
    }
    void newVendor()
    {
        QFETCH(QString, name);
        QFETCH(int, suggestion);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, storedType);
        ShellFixture f(false);
        f.start();
        f.main->command(QStringLiteral("vendors"))->trigger();
        QWidget* w = f.main->openChildWindow(QStringLiteral("vendors"))->widget();
        bool stayedOpen = false;
        int suggestions = 0;
        f.dialogs.then([&](QDialog* d) {
            auto* types = child<QComboBox>(d, "typeBox");
            suggestions = types->count();
            type(d, "nameEdit", name);
            if (suggestion >= 0)
                types->setCurrentIndex(suggestion);
            else
                types->setEditText(typed);
            click(d, "okButton");
            stayedOpen = d->isVisible();
            if (stayedOpen)
                click(d, "cancelButton");
        });
        click(w, "newButton");
        QCOMPARE(suggestions, 31);
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stayedOpen, !message.isEmpty());
        QSqlQuery q = f.state.db.select(QStringLiteral("select vid, type from vendors"));
        QCOMPARE(q.next(), message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(q.value(0).toInt() > 0);
            QCOMPARE(q.value(1).toString(), storedType);
        }
    }
};

QTEST_MAIN(TestVendors)
#include "tst_vendors.moc"
