#include "support/TestDb.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestAdmin : public QObject
{
    Q_OBJECT
private slots:
    void helpListsEverySubcommand()
    {
        QString out;
        QCOMPARE(runAdmin({QStringLiteral("--help")}, &out), 0);
        for (const char* command : {"create", "upgrade"})
            QVERIFY2(out.contains(QLatin1String(command)), command);
    }

    void createRefusesAnExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("DATA.FDB"));
        QCOMPARE(runAdmin({QStringLiteral("create"), path}), 0);
        QVERIFY(QFileInfo(path).size() > 0);
        const QDateTime written = QFileInfo(path).lastModified();
        QString err;
        QVERIFY(runAdmin({QStringLiteral("create"), path}, nullptr, &err) != 0);
        QVERIFY(err.contains(QLatin1String("already exists")));
        QCOMPARE(QFileInfo(path).lastModified(), written);
    }

    void badFilesAreRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("upgrade") << "upgrade";
    }
    void badFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QString, command);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("none.fdb"));
        QString err;
        QVERIFY(runAdmin({command, missing}, nullptr, &err) != 0);
        QVERIFY(err.contains(QLatin1String("does not exist")));
        QVERIFY(!QFileInfo::exists(missing));

        const QString junk = dir.filePath(QStringLiteral("junk.fdb"));
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database\n");
        f.close();
        QVERIFY(runAdmin({command, junk}, nullptr, &err) != 0);
        QVERIFY2(err.contains(QLatin1String("cannot open")), qPrintable(err));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("this is not a database\n"));
    }

    void upgradeReportsItsSteps()
    {
        TestDb t(TestDb::EarlierRelease);
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QString()}});
        t.db().Disconnect();
        QString out;
        QCOMPARE(runAdmin({QStringLiteral("upgrade"), t.path()}, &out), 0);
        QVERIFY2(out.contains(QLatin1String("LETTERS")) && out.contains(QLatin1String("DEPOSITS")),
                 qPrintable(out));
        QCOMPARE(runAdmin({QStringLiteral("upgrade"), t.path()}, &out), 0);
        QVERIFY(out.contains(QLatin1String("up to date")));
    }

    void unknownCommandFails()
    {
        QVERIFY(runAdmin({QStringLiteral("frobnicate")}) != 0);
    }
};

QTEST_GUILESS_MAIN(TestAdmin)
#include "tst_admin.moc"
