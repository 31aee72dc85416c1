#include "data/Dataset.h"
#include "data/SqlText.h"
#include "data/Windows1252.h"
#include "support/TestDb.h"

#include <QSqlQuery>
#include <QTest>
#include <functional>

namespace {

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

} // namespace

class TestEncoding : public QObject
{
    Q_OBJECT

private slots:
    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // hex; empty when the text cannot be held
        QTest::addColumn<uint>("refused");
        QTest::newRow("ASCII") << "Rent 5" << QByteArray("52656e742035") << 0u;
        QTest::newRow("Latin-1 letters") << "Müller ß" << QByteArray("4dfc6c6c657220df") << 0u;
        QTest::newRow("signs in 0x80 to 0x9F")
            << QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")
            << QByteArray("808283848586878889" "8a8b8c8e919293949596979899" "9a9b9c9e9f") << 0u;
        QTest::newRow("letter outside the set") << QStringLiteral("Łódź") << QByteArray() << 0x141u;
        QTest::newRow("control in 0x80 to 0x9F") << QStringLiteral("a\u0081") << QByteArray() << 0x81u;
        QTest::newRow("beyond 16 bits") << QStringLiteral("ok 😀") << QByteArray() << 0x1F600u;
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(uint, refused);
        QCOMPARE(uint(Windows1252::firstUnencodable(text)), refused);
        if (!bytes.isEmpty()) {
            QCOMPARE(Windows1252::encode(text).toHex(), bytes);
            QCOMPARE(Windows1252::decode(QByteArray::fromHex(bytes)), text);
        }
    }

    // The driver reads and writes UTF-8; the engine converts to and from the columns' set.
    void connectionSpeaksUtf8()
    {
        TestDb t;
        QCOMPARE(t.db().scalar(QStringLiteral(
                                   "select trim(cs.RDB$CHARACTER_SET_NAME) from MON$ATTACHMENTS a "
                                   "join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = "
                                   "a.MON$CHARACTER_SET_ID where a.MON$ATTACHMENT_ID = "
                                   "current_connection"))
                     .toString(),
                 QStringLiteral("UTF8"));
    }

    void textsRoundTrip_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("umlaut") << "TENANTS" << "TID" << "LASTNAME" << QStringLiteral("Müller");
        QTest::newRow("sharp s") << "BUILDINGS" << "BUILDID" << "ADDRESS" << QStringLiteral("Hauptstraße 5");
        QTest::newRow("signs beyond Latin-1")
            << "CASHBOOK" << "ACCID" << "DESCRIPTION" << QStringLiteral("„Miete“ – 5 € ‰ Œuvre");
        QTest::newRow("30 accented letters in a 30-character column")
            << "LEASES" << "LEASEID" << "NAME" << QString(30, QChar(0xE9));
        QTest::newRow("text blob") << "CASHBOOK" << "ACCID" << "NOTES" << QStringLiteral("Grüße\nÄrger €");
    }
    // Written as SQL text and as a bound value, read back as written, one byte a character.
    void textsRoundTrip()
    {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, column);
        QFETCH(QString, text);
        const bool blob = column == QLatin1String("NOTES");
        TestDb t;
        Database& db = t.db();
        db.exec(QStringLiteral("insert into %1 (%2, %3) values (900001, %4)").arg(table, key, column, sqlQuote(text)));
        QSqlQuery insert = db.prepare(QStringLiteral("insert into %1 (%2, %3) values (900002, ?)").arg(table, key, column));
        insert.addBindValue(blob ? QVariant(text.toUtf8()) : QVariant(text));
        db.execPrepared(insert);

        QSqlQuery q = db.select(QStringLiteral("select %1, octet_length(%1) from %2 where %3 > 900000 order by %3")
                                    .arg(column, table, key));
        for (int row = 0; row < 2; ++row) {
            QVERIFY(q.next());
            const QString read = blob ? QString::fromUtf8(q.value(0).toByteArray()) : q.value(0).toString();
            QCOMPARE(read, text);
            QCOMPARE(q.value(1).toInt(), int(text.size()));
        }
    }

    // A building's address copied into a tenant through the shared table object keeps its
    // letters and its stored bytes.
    void copiedTextKeepsItsLetters()
    {
        TestDb t;
        Database& db = t.db();
        db.exec(QStringLiteral("insert into buildings (buildid, address) values (1, 'Hauptstraße 5')"));
        Dataset buildings(db, QStringLiteral("BUILDINGS"), QStringLiteral("BUILDID"));
        Dataset tenants(db, QStringLiteral("TENANTS"), QStringLiteral("TID"));
        buildings.open();
        tenants.open();
        tenants.append();
        tenants.setValue(QStringLiteral("TID"), 1);
        tenants.setValue(QStringLiteral("ADDRESS"), buildings.value(QStringLiteral("ADDRESS")));
        tenants.post();
        QCOMPARE(db.scalar(QStringLiteral("select address from tenants where tid = 1")).toString(),
                 QStringLiteral("Hauptstraße 5"));
        QCOMPARE(count(db, QStringLiteral("select count(*) from tenants where cast(address as varchar(255) "
                                          "character set octets) = x'486175707473747261df652035'")),
                 1);
    }

    void unstorableCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("Polish letter") << QStringLiteral("Łódź") << QStringLiteral("\"Ł\" (U+0141)");
        QTest::newRow("Chinese") << QStringLiteral("租金") << QStringLiteral("\"租\" (U+79DF)");
        QTest::newRow("emoji") << QStringLiteral("ok 😀") << QStringLiteral("\"😀\" (U+1F600)");
        QTest::newRow("invisible control") << QStringLiteral("a\u0085b") << QStringLiteral("U+0085");
    }
    // Refused before the engine sees it, with a message that names the character, in SQL
    // text, in a bound value and in a text blob; nothing is stored.
    void unstorableCharactersAreRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        TestDb t;
        Database& db = t.db();
        QStringList sent;
        db.beforeExec = [&](const QString& sql) { sent << sql; };

        const auto refused = [&](const std::function<void()>& run) {
            try {
                run();
            } catch (const DbError& e) {
                return e.message();
            }
            return QString();
        };
        const QStringList messages = {
            refused([&] {
                db.exec(QStringLiteral("insert into tenants (tid, lastname) values (1, %1)").arg(sqlQuote(text)));
            }),
            refused([&] {
                db.select(QStringLiteral("select count(*) from tenants where lastname = %1").arg(sqlQuote(text)));
            }),
            refused([&] {
                QSqlQuery q = db.prepare(QStringLiteral("insert into tenants (tid, lastname) values (2, ?)"));
                q.addBindValue(text);
                db.execPrepared(q);
            }),
            refused([&] {
                QSqlQuery q = db.prepare(QStringLiteral("insert into cashbook (accid, notes) values (1, ?)"));
                q.addBindValue(text.toUtf8());
                db.execPrepared(q);
            }),
        };
        for (const QString& message : messages) {
            QVERIFY2(message.contains(named), qPrintable(message));
            QVERIFY2(message.contains(QLatin1String("Windows-1252")), qPrintable(message));
        }
        QVERIFY2(sent.isEmpty(), qPrintable(sent.join(QLatin1Char('\n'))));
        QCOMPARE(count(db, QStringLiteral("select count(*) from tenants")), 0);
        QCOMPARE(count(db, QStringLiteral("select count(*) from cashbook")), 0);

        // A binary blob holds bytes, whatever they mean.
        QSqlQuery q = db.prepare(QStringLiteral("insert into owners (oid, notes) values (1, ?)"));
        q.addBindValue(text.toUtf8());
        db.execPrepared(q);
        QCOMPARE(db.scalar(QStringLiteral("select notes from owners")).toByteArray(), text.toUtf8());
    }

    // Widths count characters: one accented letter more than the column holds is refused.
    void tooLongTextIsRefusedByItsColumn()
    {
        TestDb t;
        QSqlQuery q = t.db().prepare(QStringLiteral("insert into leases (leaseid, name) values (900001, ?)"));
        q.addBindValue(QString(31, QChar(0xE9)));
        QVERIFY_THROWS_EXCEPTION(DbError, t.db().execPrepared(q));
        QCOMPARE(count(t.db(), QStringLiteral("select count(*) from leases where leaseid = 900001")), 0);
    }

    // Memos in binary blobs are not converted by the engine: they are written and read as
    // Windows-1252 like every other text, and UTF-8 written by earlier builds still reads.
    void memosInBinaryBlobs()
    {
        TestDb t;
        Database& db = t.db();
        db.exec(QStringLiteral("insert into owners (oid, code) values (1, 'A')"));
        QSqlQuery q = db.prepare(QStringLiteral("update owners set notes = ? where oid = 1"));
        q.addBindValue(Database::memoBytes(QStringLiteral("Müller, Hauptstraße")));
        db.execPrepared(q);
        const QVariant stored = db.scalar(QStringLiteral("select notes from owners"));
        QCOMPARE(stored.toByteArray(), QByteArray("M\xFCller, Hauptstra\xDF" "e"));
        QCOMPARE(Database::memoText(stored), QStringLiteral("Müller, Hauptstraße"));
        QCOMPARE(Database::memoText(QStringLiteral("Müller").toUtf8()), QStringLiteral("Müller"));
        QVERIFY(Database::memoText(QVariant(QMetaType::fromType<QByteArray>())).isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, Database::memoBytes(QStringLiteral("Łódź")));
    }
};

QTEST_GUILESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
