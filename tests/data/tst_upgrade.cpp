#include "data/Cipher.h"
#include "data/SchemaUpgrade.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>

class TestUpgrade : public QObject
{
    Q_OBJECT

    static bool exists(Database& db, const QString& sql)
    {
        try {
            db.select(sql);
            return true;
        } catch (const DbError&) {
            return false;
        }
    }

private slots:
    void currentDatabaseIsLeftUntouched()
    {
        TestDb t;
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY(r.ok);
        QVERIFY(r.stepsRun.isEmpty());
        QVERIFY(r.statements.isEmpty());
    }

    void oldDatabaseIsUpgradedInOneStart()
    {
        TestDb t;
        const QList<QPair<QString, QString>> users = {{QStringLiteral("ADMIN"), QString()},
                                                      {QStringLiteral("mary"), QStringLiteral("s3cret ")},
                                                      {QStringLiteral("joe"), QStringLiteral("")},
                                                      {QStringLiteral("o'hara"), QStringLiteral("a'b")}};
        makeOldFormat(t.db(), users);
        t.reconnect();

        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.stepsRun.size(), 5);

        QVERIFY(exists(t.db(), QStringLiteral("select deposit from agreements")));
        QVERIFY(!exists(t.db(), QStringLiteral("select \"PASSWORD\" from users")));
        QSqlQuery q = t.db().select(QStringLiteral("select wid, npassword from users order by wid"));
        for (const auto& [id, password] : users) {
            QVERIFY(q.next());
            QCOMPARE(q.value(1).toString(), Encipher(password));
        }
        QVERIFY(!q.next());
        QCOMPARE(Encipher(QStringLiteral("s3cret ")), Encipher(QStringLiteral("s3cret ")));

        // The new tables come with keys filled by their triggers, but without rows.
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from letters")).toInt(), 0);
        t.db().exec(QStringLiteral("insert into letters (title) values ('x')"));
        t.db().exec(QStringLiteral("insert into deposits (tid, amount) values (1, 10)"));
        QVERIFY(!t.db().scalar(QStringLiteral("select lid from letters")).isNull());
        QVERIFY(!t.db().scalar(QStringLiteral("select depid from deposits")).isNull());
        QCOMPARE(t.db().scalar(QStringLiteral(
                     "select count(*) from rdb$generators where rdb$generator_name in "
                     "('GEN_LETTERS_ID','GEN_DEPOSITS_ID')")).toInt(), 2);

        // The next start changes nothing.
        t.reconnect();
        const UpgradeResult again = UpgradeSchema(t.db());
        QVERIFY(again.ok);
        QVERIFY(again.statements.isEmpty());
    }

    void failingStatementStopsAndIsReported()
    {
        TestDb t;
        makeOldFormat(t.db(), {{QStringLiteral("ADMIN"), QStringLiteral("pw")}});
        t.reconnect();
        t.db().beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("CREATE TABLE LETTERS")))
                throw DbError(QStringLiteral("no permission for CREATE access to TABLE LETTERS"), sql);
        };
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QLatin1String("no permission")));
        QVERIFY(r.error.contains(QLatin1String("CREATE TABLE LETTERS")));
        // Nothing after the failure ran.
        QVERIFY(!exists(t.db(), QStringLiteral("select * from deposits")));
        t.db().beforeExec = nullptr;
        QVERIFY(UpgradeSchema(t.db()).ok);
        QVERIFY(exists(t.db(), QStringLiteral("select * from letters")));
    }

    void failedPasswordConversionKeepsThePlainPasswords()
    {
        TestDb t;
        makeOldFormat(t.db(), {{QStringLiteral("ADMIN"), QStringLiteral("a")},
                               {QStringLiteral("b"), QStringLiteral("b")}});
        t.reconnect();
        int updates = 0;
        t.db().beforeExec = [&](const QString& sql) {
            if (sql.startsWith(QLatin1String("update users")) && ++updates == 2)
                throw DbError(QStringLiteral("lock conflict"), sql);
        };
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY(!r.ok);
        t.db().beforeExec = nullptr;
        QVERIFY(exists(t.db(), QStringLiteral("select \"PASSWORD\" from users")));
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from users where npassword is not null")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
