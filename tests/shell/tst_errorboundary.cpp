#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "shell/ui/Application.h"
#include "support/Gui.h"
#include "support/TestDb.h"

#include <QPushButton>
#include <QTableView>
#include <QTest>

// A database error met while the program handles an event is shown with its own text and the
// program goes on.
class TestErrorBoundary : public QObject
{
    Q_OBJECT

    MessageRecorder messages;

    static void failOn(Database& db, const QString& table, const QString& text)
    {
        db.beforeExec = [table, text](const QString& sql) {
            if (sql.contains(QStringLiteral("from ") + table))
                throw DbError(text, sql);
        };
    }

private slots:
    void init()
    {
        messages.clear();
        Messages::install(&messages);
    }

    void errorInAnEventHandler()
    {
        QPushButton button(QStringLiteral("Go"));
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, [&clicks] {
            if (++clicks == 1)
                throw DbError(QStringLiteral("lock conflict on no wait transaction"));
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("lock conflict on no wait transaction")});
        QCOMPARE(messages.shown.at(0).caption, Titles::Program);
        // The program went on: the next click is handled as usual.
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(messages.shown.size(), 1);
    }

    void readFailingUnderAGridAndAFollowingList()
    {
        TestDb t;
        Database& db = t.db();
        db.exec("insert into owners (oid, code) values (1, 'A')");
        db.exec("insert into owners (oid, code) values (2, 'B')");
        for (int i = 1; i <= 3; ++i)
            db.exec(QStringLiteral("insert into buildings (buildid, oid, description) values (%1, 1, 'B%1')").arg(i));
        Dataset owners(db, "OWNERS", "OID");
        Dataset buildings(db, "BUILDINGS", "BUILDID");
        owners.open();
        buildings.open();
        buildings.setMasterLink(&owners, "OID", "OID");

        // A grid whose first read fails shows the error once and stays empty.
        failOn(db, "BUILDINGS", "I/O error during read");
        DatasetModel model(buildings, {{"DESCRIPTION", "Description"}});
        QTableView view;
        view.setModel(&model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCoreApplication::processEvents();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("I/O error during read")});
        QCOMPARE(model.rowCount(), 0);

        db.beforeExec = {};
        buildings.refresh();
        QCOMPARE(model.rowCount(), 3);

        // The list cannot follow its master: the master moves, the list is left empty, the
        // error is shown after the move.
        messages.clear();
        failOn(db, "BUILDINGS", "connection lost to database");
        QVERIFY(owners.next());
        QCOMPARE(owners.asInt("OID"), 2);
        QCOMPARE(model.rowCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("connection lost to database")});

        db.beforeExec = {};
        owners.prior();
        QCOMPARE(model.rowCount(), 3);
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestErrorBoundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorboundary.moc"
