#include "data/Money.h"
#include "data/SqlText.h"
#include "support/TestDb.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QSqlQuery>
#include <QTest>

class TestSqlText : public QObject
{
    Q_OBJECT
private slots:
    void sqlDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 March 2008") << QDate(2008, 3, 1) << "2008-03-01";
        QTest::newRow("31 December 2099") << QDate(2099, 12, 31) << "2099-12-31";
        QTest::newRow("year below 1000") << QDate(999, 1, 9) << "0999-01-09";
        QTest::newRow("invalid") << QDate() << "";
    }
    void sqlDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(SqlDate(date), text);
    }

    void numbersIgnoreTheUserLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(sqlNumber(1234.5), QStringLiteral("1234.5"));
        QCOMPARE(sqlNumber(qint64(-7)), QStringLiteral("-7"));
        QCOMPARE(sqlNumber(Money::fromCents(123456)), QStringLiteral("1234.56"));
        QLocale::setDefault(QLocale::c());
    }

    void money_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "1234.5" << qint64(12345000) << "1234.50" << "1,234.50";
        QTest::newRow("separators") << "1,234,567.89" << qint64(12345678900) << "1234567.89"
                                    << "1,234,567.89";
        QTest::newRow("negative") << "-0.25" << qint64(-2500) << "-0.25" << "-0.25";
        QTest::newRow("ten-thousandths") << "0.0125" << qint64(125) << "0.0125" << "0.01";
        QTest::newRow("half cent rounds away") << "2.005" << qint64(20050) << "2.005" << "2.01";
        QTest::newRow("fifth decimal rounds") << "0.00005" << qint64(1) << "0.0001" << "0.00";
        QTest::newRow("zero") << "0" << qint64(0) << "0.00" << "0.00";
    }
    void money()
    {
        QFETCH(QString, input);
        QFETCH(qint64, units);
        QFETCH(QString, sql);
        QFETCH(QString, shown);
        bool ok = false;
        const Money m = Money::parse(input, &ok);
        QVERIFY(ok);
        QCOMPARE(m.units(), units);
        QCOMPARE(m.toSql(), sql);
        QCOMPARE(m.format(), shown);
    }

    void moneyRefusesJunk()
    {
        for (const char* junk : {"", "abc", "1.2.3", "12a", "-"}) {
            bool ok = true;
            Money::parse(QLatin1String(junk), &ok);
            QVERIFY2(!ok, junk);
        }
    }

    // What a user types into an amount field, read in the user's locale. qint64 -1 marks a
    // refusal; the reason must then quote what was typed.
    void typedAmounts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("signedField");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("reason");
        const qint64 refused = -1;
        QTest::newRow("en grouped") << "en_US" << "1,234.50" << false << qint64(123450) << "";
        QTest::newRow("en plain") << "en_US" << "1234.5" << false << qint64(123450) << "";
        QTest::newRow("en millions") << "en_US" << " 1,234,567 " << false << qint64(123456700) << "";
        QTest::newRow("en negative") << "en_US" << "-0.25" << true << qint64(-25) << "";
        QTest::newRow("en no sign in an unsigned field")
            << "en_US" << "-0.25" << false << refused << "cannot be negative";
        QTest::newRow("en comma as decimal") << "en_US" << "12,50" << false << refused << "group separator";
        QTest::newRow("en stray groups") << "en_US" << "1,2,3" << false << refused << "group separator";
        QTest::newRow("en leading zero group") << "en_US" << "0,123" << false << refused << "group separator";
        QTest::newRow("en three decimals") << "en_US" << "0.125" << false << refused << "two decimals";
        QTest::newRow("en German form") << "en_US" << "1.234,50" << false << refused << "like 1,234.50";
        QTest::newRow("en two points") << "en_US" << "1.2.3" << false << refused << "like 1,234.50";
        QTest::newRow("en letters") << "en_US" << "12a" << false << refused << "like 1,234.50";
        QTest::newRow("en sign alone") << "en_US" << "-" << true << refused << "like 1,234.50";
        QTest::newRow("en empty") << "en_US" << "" << false << refused << "No amount";
        QTest::newRow("en too large") << "en_US" << "12345678901234" << false << refused << "too large";
        QTest::newRow("de grouped") << "de_DE" << "1.234,50" << false << qint64(123450) << "";
        QTest::newRow("de plain") << "de_DE" << "12,5" << false << qint64(1250) << "";
        QTest::newRow("de negative") << "de_DE" << "-0,25" << true << qint64(-25) << "";
        QTest::newRow("de point as decimal") << "de_DE" << "12.50" << false << refused << "\".\"";
        QTest::newRow("de stray separators") << "de_DE" << "1,2,3" << false << refused << "like 1.234,50";
        QTest::newRow("de English form") << "de_DE" << "1,234.50" << false << refused << "like 1.234,50";
        QTest::newRow("de three decimals") << "de_DE" << "0,125" << false << refused << "two decimals";
        // A blank stands for the no-break space the locale groups with.
        QTest::newRow("fr blank groups") << "fr_FR" << "1 234,50" << false << qint64(123450) << "";
        QTest::newRow("C locale") << "C" << "1,234.50" << false << qint64(123450) << "";
    }
    void typedAmounts()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(bool, signedField);
        QFETCH(qint64, cents);
        QFETCH(QString, reason);
        QString error;
        const std::optional<Money> m = Money::parseLocale(
            typed, QLocale(locale), signedField ? Money::Sign::Signed : Money::Sign::Unsigned,
            &error);
        if (cents == -1) {
            QVERIFY2(!m, qPrintable(typed));
            QVERIFY2(error.contains(reason), qPrintable(error));
            if (!typed.isEmpty())
                QVERIFY2(error.contains(typed.trimmed()), qPrintable(error));
        } else {
            QVERIFY2(m, qPrintable(error));
            QCOMPARE(m->units(), cents * 100);
            // What an amount field shows reads back as the same amount.
            QCOMPARE(Money::parseLocale(m->toLocaleText(QLocale(locale)), QLocale(locale)), m);
        }
    }

    void moneySumsAreExact()
    {
        // 0.1 + 0.2 in double is not 0.3; ten thousand cents must be exactly 100.00.
        Money sum;
        for (int i = 0; i < 10000; ++i)
            sum += Money::fromDouble(0.01);
        QCOMPARE(sum, Money::fromCents(10000));
        QCOMPARE(Money::fromDouble(0.1) + Money::fromDouble(0.2), Money::fromDouble(0.3));
    }

    void moneyRoundTripsThroughTheDatabase()
    {
        TestDb t;
        const Money amount = Money::parse(QStringLiteral("98765432109.87"));
        t.db().exec(QStringLiteral("insert into charges (chid, amt) values (1, %1)")
                        .arg(sqlNumber(amount)));
        QCOMPARE(Money::fromVariant(t.db().scalar(QStringLiteral("select amt from charges"))),
                 amount);
    }

    void quotedTextSurvivesInsertAndSelect()
    {
        TestDb t;
        const QString name = QStringLiteral("O'Brien");
        t.db().exec(QStringLiteral("insert into tenants (tid, lastname) values (1, %1)")
                        .arg(sqlQuote(name)));
        QSqlQuery q = t.db().select(
            QStringLiteral("select tid, lastname from tenants where lastname=%1").arg(sqlQuote(name)));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toString(), name);
        QCOMPARE(sqlQuote(QStringLiteral("it's ''x''")), QStringLiteral("'it''s ''''x'''''"));
    }

    void nextKeyAdvancesByOne()
    {
        TestDb t;
        const int first = t.db().NextKey(QStringLiteral("GEN_CHARGES_ID"));
        QCOMPARE(t.db().NextKey(QStringLiteral("GEN_CHARGES_ID")), first + 1);
        QCOMPARE(t.db().NextKey(QStringLiteral("GEN_CHARGES_ID")), first + 2);
        QVERIFY_THROWS_EXCEPTION(DbError, t.db().NextKey(QStringLiteral("GEN_NO_SUCH_ID")));
    }

    void transactionRollsBackUnlessCommitted()
    {
        TestDb t;
        {
            Transaction tr(t.db());
            QVERIFY(tr.owns());
            t.db().exec(QStringLiteral("insert into leases (leaseid, name) values (900, 'A')"));
            {
                Transaction inner(t.db()); // joins the open one
                QVERIFY(!inner.owns());
                t.db().exec(QStringLiteral("insert into leases (leaseid, name) values (901, 'B')"));
                inner.commit();
            }
        }
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from leases where leaseid>=900")).toInt(), 0);
        {
            Transaction tr(t.db());
            t.db().exec(QStringLiteral("insert into leases (leaseid, name) values (902, 'C')"));
            tr.commit();
        }
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from leases where leaseid>=900")).toInt(), 1);
    }

    void copyingTheTemplateIsQuick()
    {
        TestDb::templatePath();
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        TestDb::copyTemplate(dir.filePath(QStringLiteral("copy.fdb")));
        const qint64 ms = timer.elapsed();
        qInfo("template copy: %lld ms", ms);
        QVERIFY2(ms < 250, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
