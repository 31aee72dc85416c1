#include "data/Cipher.h"
#include "data/Clock.h"
#include "data/SchemaUpgrade.h"
#include "ledger/Posting.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/Startup.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

bool exists(Database& db, const QString& sql)
{
    try {
        db.select(sql);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

QStringList rows(Database& db, const QString& sql)
{
    QStringList out;
    QSqlQuery q = db.select(sql);
    const int n = q.record().count();
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < n; ++i)
            cells << (q.value(i).isNull() ? QStringLiteral("null") : q.value(i).toString().trimmed());
        out << cells.join(QLatin1Char(' '));
    }
    return out;
}

// Everything a file's schema says about its user tables, one sorted line per item; column
// order is left out (the upgrade appends the columns it adds).
QStringList schema(Database& db)
{
    QStringList s;
    s << rows(db, QStringLiteral("select 'charset', RDB$CHARACTER_SET_NAME from RDB$DATABASE"));
    s << rows(db, QStringLiteral(
        "select 'column', rf.RDB$RELATION_NAME, rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE, "
        "f.RDB$FIELD_SUB_TYPE, f.RDB$FIELD_SCALE, f.RDB$FIELD_PRECISION, f.RDB$CHARACTER_LENGTH, "
        "cs.RDB$CHARACTER_SET_NAME, coalesce(rf.RDB$NULL_FLAG, 0), "
        "cast(rf.RDB$DEFAULT_SOURCE as varchar(100)) "
        "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "left join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID "
        "where coalesce(rf.RDB$SYSTEM_FLAG, 0) = 0"));
    s << rows(db, QStringLiteral(
        "select 'constraint', RDB$CONSTRAINT_NAME, RDB$RELATION_NAME, RDB$CONSTRAINT_TYPE "
        "from RDB$RELATION_CONSTRAINTS where RDB$CONSTRAINT_TYPE in ('PRIMARY KEY', 'UNIQUE', "
        "'FOREIGN KEY')"));
    // Constraint indexes carry generated names; they are described by their columns.
    s << rows(db, QStringLiteral(
        "select 'index', iif(rc.RDB$CONSTRAINT_NAME is null, i.RDB$INDEX_NAME, rc.RDB$CONSTRAINT_NAME), "
        "i.RDB$RELATION_NAME, list(trim(s.RDB$FIELD_NAME)), coalesce(i.RDB$INDEX_TYPE, 0), "
        "coalesce(i.RDB$UNIQUE_FLAG, 0), coalesce(i.RDB$INDEX_INACTIVE, 0) "
        "from RDB$INDICES i join (select RDB$INDEX_NAME, RDB$FIELD_NAME from RDB$INDEX_SEGMENTS "
        "order by RDB$INDEX_NAME, RDB$FIELD_POSITION) s on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
        "left join RDB$RELATION_CONSTRAINTS rc on rc.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
        "where coalesce(i.RDB$SYSTEM_FLAG, 0) = 0 "
        "group by 1, 2, 3, 5, 6, 7"));
    s << rows(db, QStringLiteral("select 'generator', RDB$GENERATOR_NAME from RDB$GENERATORS "
                                 "where coalesce(RDB$SYSTEM_FLAG, 0) = 0"));
    s << rows(db, QStringLiteral(
        "select 'trigger', RDB$TRIGGER_NAME, RDB$RELATION_NAME, RDB$TRIGGER_TYPE, "
        "RDB$TRIGGER_SEQUENCE, coalesce(RDB$TRIGGER_INACTIVE, 0) from RDB$TRIGGERS "
        "where coalesce(RDB$SYSTEM_FLAG, 0) = 0"));
    s << rows(db, QStringLiteral("select 'domain', RDB$FIELD_NAME from RDB$FIELDS "
                                 "where RDB$FIELD_NAME not starting with 'RDB$' "
                                 "and RDB$FIELD_NAME not starting with 'SEC$' "
                                 "and RDB$FIELD_NAME not starting with 'MON$'"));
    s.sort();
    return s;
}

// Each table's columns in their order.
QStringList columnOrder(Database& db)
{
    return rows(db, QStringLiteral(
        "select rf.RDB$RELATION_NAME, list(trim(rf.RDB$FIELD_NAME)) from "
        "(select RDB$RELATION_NAME, RDB$FIELD_NAME from RDB$RELATION_FIELDS "
        " where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by RDB$RELATION_NAME, RDB$FIELD_POSITION) rf "
        "group by 1 order by 1"));
}

QStringList missingFromNewSchema(Database& upgraded)
{
    TestDb fresh;
    const QStringList want = schema(fresh.db());
    const QStringList got = schema(upgraded);
    QStringList faults;
    for (const QString& line : want)
        if (!got.contains(line))
            faults << QStringLiteral("missing: ") + line;
    for (const QString& line : got)
        if (!want.contains(line))
            faults << QStringLiteral("extra: ") + line;
    return faults;
}

// Every statement a start runs; a current file must see probes only.
struct StatementLog
{
    QStringList all;
    explicit StatementLog(Database& db)
    {
        db.beforeExec = [this](const QString& sql) { all << sql; };
    }
    QStringList changes() const
    {
        QStringList out;
        for (const QString& s : all)
            if (!s.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive))
                out << s;
        return out;
    }
};

class MessageLog : public MessageSink
{
public:
    QStringList texts;
    MessageLog() { Messages::install(this); }
    ~MessageLog() override { Messages::install(nullptr); }
    int show(const Message& m) override
    {
        texts << m.text;
        return Message::Ok;
    }
};

} // namespace

class TestUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void currentDatabaseIsLeftUntouched()
    {
        TestDb t;
        StatementLog log(t.db());
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.stepsRun.isEmpty());
        QVERIFY(r.statements.isEmpty());
        QVERIFY2(log.changes().isEmpty(), qPrintable(log.changes().join(QLatin1Char('\n'))));
    }

    // Users, passwords and the new tables; afterwards the file describes itself exactly as a
    // new one does, and the next start changes nothing.
    void earlierReleaseIsUpgradedInOneStart()
    {
        TestDb t(TestDb::EarlierRelease);
        const QList<QPair<QString, QString>> users = {
            {QStringLiteral("ADMIN"), QString()},
            {QStringLiteral("mary"), QStringLiteral("s3cret ")},
            {QStringLiteral("joe"), QStringLiteral("")},
            {QStringLiteral("o'hara"), QStringLiteral("a'b")},
            {QStringLiteral("jürgen"), QStringLiteral("Grüße€")},
            // Too long for the 30 characters NPASSWORD had in the earlier release.
            {QStringLiteral("long"), QString(25, QLatin1Char('x'))}};
        setOldUsers(t.db(), users);
        t.reconnect();

        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));

        QVERIFY(!exists(t.db(), QStringLiteral("select \"PASSWORD\" from users")));
        QSqlQuery q = t.db().select(QStringLiteral("select id, npassword from users order by wid"));
        for (const auto& [id, password] : users) {
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), id);
            QCOMPARE(q.value(1).toString(), Encipher(password));
        }
        QVERIFY(!q.next());

        // The new tables come with keys filled by their triggers, but without rows.
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from letters")).toInt(), 0);
        t.db().exec(QStringLiteral("insert into letters (title) values ('x')"));
        t.db().exec(QStringLiteral("insert into deposits (tid, amount) values (1, 10)"));
        QVERIFY(!t.db().scalar(QStringLiteral("select lid from letters")).isNull());
        QVERIFY(!t.db().scalar(QStringLiteral("select depid from deposits")).isNull());

        t.reconnect();
        const QStringList faults = missingFromNewSchema(t.db());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        StatementLog log(t.db());
        const UpgradeResult again = UpgradeSchema(t.db());
        QVERIFY2(again.ok, qPrintable(again.error));
        QVERIFY2(log.changes().isEmpty(), qPrintable(log.changes().join(QLatin1Char('\n'))));
    }

    // The earlier release wrote Windows-1252 bytes into columns without a character set.
    // They read as their letters afterwards and are written back unchanged; bytes of a binary
    // blob stay bytes, and no column moves.
    void storedBytesReadAsTheirLetters()
    {
        TestDb t(TestDb::EarlierRelease);
        Database& db = t.db();
        db.exec(QStringLiteral("insert into tenants (tid, lastname, address) values (1, %1, %2)")
                    .arg(earlierText(QStringLiteral("Müller")), earlierText(QStringLiteral("Hauptstraße 5"))));
        db.exec(QStringLiteral("insert into apartments (apid, notes) values (1, %1)")
                    .arg(earlierText(QStringLiteral("Grüße – „Küche“ 5 €"))));
        db.exec(QStringLiteral("insert into owners (oid, notes) values (1, %1)")
                    .arg(earlierText(QStringLiteral("Müller"))));
        db.exec(QStringLiteral("insert into cashbook (accid, description, notes) values (1, %1, %2)")
                    .arg(earlierText(QStringLiteral("Öl")), earlierText(QStringLiteral("Œuvre"))));
        const QStringList order = columnOrder(db);
        t.reconnect();

        const UpgradeResult r = UpgradeSchema(db);
        QVERIFY2(r.ok, qPrintable(r.error));
        t.reconnect();

        QCOMPARE(db.scalar(QStringLiteral("select lastname from tenants")).toString(), QStringLiteral("Müller"));
        QCOMPARE(db.scalar(QStringLiteral("select address from tenants")).toString(), QStringLiteral("Hauptstraße 5"));
        QCOMPARE(QString::fromUtf8(db.scalar(QStringLiteral("select notes from apartments")).toByteArray()),
                 QStringLiteral("Grüße – „Küche“ 5 €"));
        QCOMPARE(db.scalar(QStringLiteral("select description from cashbook")).toString(), QStringLiteral("Öl"));
        QCOMPARE(QString::fromUtf8(db.scalar(QStringLiteral("select notes from cashbook")).toByteArray()),
                 QStringLiteral("Œuvre"));
        QCOMPARE(db.scalar(QStringLiteral("select notes from owners")).toByteArray(), QByteArray("M\xfcller"));

        // Read and written back, the bytes are those the earlier release stored.
        QSqlQuery update = db.prepare(QStringLiteral("update tenants set lastname = ?, address = ?"));
        update.addBindValue(db.scalar(QStringLiteral("select lastname from tenants")));
        update.addBindValue(db.scalar(QStringLiteral("select address from tenants")));
        db.execPrepared(update);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from tenants where "
                                          "cast(lastname as varchar(100) character set octets) = x'4dfc6c6c6572' "
                                          "and cast(address as varchar(255) character set octets) = "
                                          "x'486175707473747261df652035'")).toInt(), 1);

        QStringList moved;
        for (const QString& table : order) {
            if (!columnOrder(db).contains(table))
                moved << table;
        }
        // USERS loses PASSWORD, gains NPASSWORD; the others the upgrade extends at their end.
        const QStringList changedByDesign = {QStringLiteral("AGREEMENTS"), QStringLiteral("SETUP"),
                                             QStringLiteral("USERS")};
        for (const QString& line : moved)
            QVERIFY2(changedByDesign.contains(line.section(QLatin1Char(' '), 0, 0)), qPrintable(line));
        QCOMPARE(moved.size(), changedByDesign.size());
    }

    // States that an interrupted upgrade (this one or the earlier release's) leaves behind.
    void halfDoneUpgradesAreFinished_data()
    {
        QTest::addColumn<QStringList>("leftBehind");
        QTest::newRow("generator without its table")
            << QStringList{QStringLiteral("CREATE GENERATOR GEN_DEPOSITS_ID")};
        QTest::newRow("table without key or trigger")
            << QStringList{QStringLiteral("CREATE GENERATOR GEN_LETTERS_ID"),
                           QStringLiteral("CREATE TABLE LETTERS (LID INTEGER NOT NULL, TITLE VARCHAR(255), "
                                          "BODY BLOB SUB_TYPE 0 SEGMENT SIZE 80)")};
        QTest::newRow("narrow NPASSWORD")
            << QStringList{QStringLiteral("ALTER TABLE USERS ADD NPASSWORD VARCHAR(30)")};
        QTest::newRow("SETUPORDER without numbers")
            << QStringList{QStringLiteral("ALTER TABLE SETUP ADD SETUPORDER INTEGER")};
        QTest::newRow("default character set already set")
            << QStringList{QStringLiteral("ALTER DATABASE SET DEFAULT CHARACTER SET WIN1252")};
        QTest::newRow("copy column of a text blob")
            << QStringList{QStringLiteral("ALTER TABLE CASHBOOK ADD NOTES_W1252 BLOB SUB_TYPE TEXT "
                                          "CHARACTER SET WIN1252")};
    }
    void halfDoneUpgradesAreFinished()
    {
        QFETCH(QStringList, leftBehind);
        TestDb t(TestDb::EarlierRelease);
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QStringLiteral("pw")}});
        t.db().exec(QStringLiteral("insert into cashbook (accid, notes) values (1, %1)")
                        .arg(earlierText(QStringLiteral("Grüße"))));
        for (const QString& statement : leftBehind)
            t.db().exec(statement);
        t.reconnect();

        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));
        t.reconnect();
        const QStringList faults = missingFromNewSchema(t.db());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(QString::fromUtf8(t.db().scalar(QStringLiteral("select notes from cashbook")).toByteArray()),
                 QStringLiteral("Grüße"));
        QCOMPARE(t.db().scalar(QStringLiteral("select npassword from users")).toString(),
                 Encipher(QStringLiteral("pw")));
    }

    // An old password whose enciphered form is longer than any column the upgrade plans for
    // widens NPASSWORD further instead of stopping the start.
    void passwordLongerThanTheColumnWidensIt()
    {
        TestDb t(TestDb::EarlierRelease);
        const QString password(110, QLatin1Char('y'));
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QString()}, {QStringLiteral("long"), password}});
        t.db().exec(QStringLiteral("ALTER TABLE USERS ADD NPASSWORD VARCHAR(30)"));
        t.reconnect();
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(t.db().scalar(QStringLiteral("select npassword from users where id = 'long'")).toString(),
                 Encipher(password));
        QCOMPARE(Decipher(Encipher(password)), password);
    }

    // Interrupted between copying a text blob and dropping the old column: the next start
    // finishes with the texts intact and the column in its place.
    void interruptedConversionResumes()
    {
        TestDb t(TestDb::EarlierRelease);
        t.db().exec(QStringLiteral("insert into maintenance (mainid, description, notes) values (1, %1, %2)")
                        .arg(earlierText(QStringLiteral("Kühlschrank")), earlierText(QStringLiteral("Tür klemmt"))));
        const QStringList order = columnOrder(t.db());
        t.reconnect();
        t.db().beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("ALTER TABLE \"MAINTENANCE\" DROP")))
                throw DbError(QStringLiteral("lock conflict on no wait transaction"), sql);
        };
        const UpgradeResult failed = UpgradeSchema(t.db());
        QVERIFY(!failed.ok);
        QVERIFY2(failed.error.contains(QLatin1String("lock conflict")), qPrintable(failed.error));
        t.db().beforeExec = nullptr;
        t.reconnect();

        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY2(r.ok, qPrintable(r.error));
        t.reconnect();
        QCOMPARE(t.db().scalar(QStringLiteral("select description from maintenance")).toString(),
                 QStringLiteral("Kühlschrank"));
        QCOMPARE(QString::fromUtf8(t.db().scalar(QStringLiteral("select notes from maintenance")).toByteArray()),
                 QStringLiteral("Tür klemmt"));
        const auto maintenance = [](const QStringList& tables) {
            for (const QString& line : tables)
                if (line.startsWith(QLatin1String("MAINTENANCE ")))
                    return line;
            return QString();
        };
        QCOMPARE(maintenance(columnOrder(t.db())), maintenance(order));
    }

    // SETUP rows are read in SETUPORDER now; they keep the order the earlier release read
    // them in, which is the order the database returns them.
    void setupRowsKeepTheirOrder()
    {
        TestDb t(TestDb::EarlierRelease);
        t.db().exec(QStringLiteral("delete from setup"));
        for (const char* text : {"k", "b", "z", "c"})
            t.db().exec(QStringLiteral("insert into setup (\"int\", str) values (3, '%1')").arg(QLatin1String(text)));
        t.db().exec(QStringLiteral("delete from setup where str = 'b'"));
        t.db().exec(QStringLiteral("insert into setup (\"int\", str) values (3, 'a')"));
        const QStringList stored = rows(t.db(), QStringLiteral("select str from setup"));
        t.reconnect();

        QVERIFY(UpgradeSchema(t.db()).ok);
        QCOMPARE(rows(t.db(), QStringLiteral("select str from setup order by setuporder")), stored);
        QCOMPARE(rows(t.db(), QStringLiteral("select setuporder from setup order by setuporder")),
                 (QStringList{"1", "2", "3", "4"}));
    }

    // The start-up of an earlier file: upgrade, every shared table, the SETUP values, then
    // posting of a due rent.
    void earlierReleaseStartsAndPosts()
    {
        Clock::setFixed(QDate(2026, 12, 11));
        TestDb t(TestDb::EarlierRelease);
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QString()}});
        Database& db = t.db();
        db.exec(QStringLiteral("update setup set \"int\" = 0, str = %1").arg(earlierText(QStringLiteral("Müller GmbH"))));
        db.exec(QStringLiteral("insert into tenants (tid, lastname) values (1, 'Roe')"));
        db.exec(QStringLiteral("insert into apartments (apid, bid, suite, tid, agreeid) values (1, 1, '1A', 1, 1)"));
        db.exec(QStringLiteral("insert into agreements (rid, apid, tid, leaseend) values (1, 1, 1, '2030-01-01')"));
        db.exec(QStringLiteral("insert into recur (recid, apid, tid, type, amount, freq, startdate, enddate, "
                               "nextdate, completed) values (1, 1, 1, 'Rent', 500, 3, '2026-11-01', "
                               "'2099-12-31', '2026-11-01', 0)"));
        db.Disconnect();

        MessageLog messages;
        AppState state;
        state.DataFolder = t.dir() + QLatin1Char('/');
        QCOMPARE(Startup::openDatabase(state), Startup::Continue);
        QVERIFY2(messages.texts.isEmpty(), qPrintable(messages.texts.join(QLatin1Char('\n'))));
        QCOMPARE(state.OwnerInfo.first(), QStringLiteral("Müller GmbH"));
        const PostingReport report = Posting(state.db).PostDueCharges(state.ChargeAheadDays);
        QVERIFY2(report.ok(), qPrintable(report.error));
        QCOMPARE(report.chargesWritten, 2);
        Clock::reset();
    }

    void failingStatementStopsAndIsReported()
    {
        TestDb t(TestDb::EarlierRelease);
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QStringLiteral("pw")}});
        t.reconnect();
        t.db().beforeExec = [](const QString& sql) {
            if (sql.startsWith(QLatin1String("CREATE TABLE LETTERS")))
                throw DbError(QStringLiteral("no permission for CREATE access to TABLE LETTERS"), sql);
        };
        const UpgradeResult r = UpgradeSchema(t.db());
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QLatin1String("no permission")));
        QVERIFY(r.error.contains(QLatin1String("CREATE TABLE LETTERS")));
        // Nothing of the step, and nothing after it, ran.
        QVERIFY(!exists(t.db(), QStringLiteral("select * from letters")));
        QVERIFY(!exists(t.db(), QStringLiteral("select * from deposits")));
        t.db().beforeExec = nullptr;
        QVERIFY(UpgradeSchema(t.db()).ok);
        QVERIFY(exists(t.db(), QStringLiteral("select * from letters")));
    }

    void failedPasswordConversionKeepsThePlainPasswords()
    {
        TestDb t(TestDb::EarlierRelease);
        setOldUsers(t.db(), {{QStringLiteral("ADMIN"), QStringLiteral("a")},
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
