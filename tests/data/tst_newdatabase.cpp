#include "support/TestDb.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>
#include <QTest>
#include <memory>

namespace {

// One table of a new database. Columns are "NAME:TYPE ..." with TYPE one of
//   I INTEGER, S SMALLINT, F flag (SMALLINT), N NUMERIC(15,2), D DATE,
//   T<n> VARCHAR(n) (T* any width), M memo (BLOB SUB_TYPE 1), B BLOB SUB_TYPE 0.
struct TableDef
{
    const char* name;
    const char* key;       // "" when the table has none
    const char* generator; // "" when no generator feeds the key
    const char* columns;
};

const TableDef kTables[] = {
    {"USERS", "WID", "GEN_USERS_ID",
     "WID:I ID:T60 FIRSTNAME:T40 LASTNAME:T40 NPASSWORD:T136 REPORTS:F BILL:F VOIDTRANS:F "
     "TENANTS:F CASHBOOK:F APARTMENTS:F BUILDINGS:F EQUIPMENTS:F MODUSERS:F PROGOPTIONS:F "
     "OWNERS:F EMAIL:F RENTALS:F"},
    {"SETUP", "", "", "SETUPORDER:I int:I STR:T*"},
    {"OWNERS", "OID", "GEN_OWNERS_ID",
     "OID:I CODE:T20 NAME:T255 ADDRESS:T255 CITY:T100 STATE:T100 ZIP:T20 TEL:T50 HOME:T50 "
     "MOBILE:T50 FAX:T50 EMAIL:T100 DAT1:T255 DAT2:T255 MANFEE:N MANVALUE:N RESVALUE:N "
     "BANKNUM:T100 BANKNAME:T100 BSB:T100 IRDNUM:T100 CLOSED:F NOTES:B"},
    {"BUILDINGS", "BUILDID", "GEN_BUILDINGS_ID",
     "BUILDID:I OID:I DESCRIPTION:T200 ADDRESS:T200 CITY:T100 PROVSTATE:T100 POSTALCODE:T100 "
     "STATE:T100 ZIP:T100 TEL:T100 MANAGER:T100 MANTEL:T100 OWNER:T100 INSURANCENUM:T100 "
     "INSURANCECAR:T100 PURCHASEDATE:D APARTMENTS:I MARKETVAL:N"},
    {"APARTMENTS", "APID", "GEN_APARTMENTS_ID",
     "APID:I BID:I SUITE:T20 TID:I AGREEID:I RENT:N STATUS:T20 CATEGORY:T20 FLOOR:S "
     "BEDROOMS:S BATHROOMS:S SQUAREFOOTAGE:N ELECTRIC:T20 COMMUNITY:T20 HEATINGTYPE:T30 "
     "DAT1:T50 DAT2:T50 NOTES:M DINNING:F FAMILY:F DEN:F AIRCONDITIONING:F GAS:F BASEMENT:F "
     "FURNISHED:F BALCONY:F FIREPLACE:F NONSMOKING:F MICROWAVE:F WASHER:F DISHWASHER:F "
     "FRIDGE:F"},
    {"TENANTS", "TID", "GEN_TENANTS_ID",
     "TID:I ID:T20 FIRSTNAME:T100 LASTNAME:T100 COMPANY:T200 ADDRESS:T255 CITY:T100 "
     "STATE:T100 POSTALCODE:T20 TEL:T100 DAT1:T100 DAT2:T100 INSURENUM:T100 "
     "DRIVERSLICENSE:T100 DRIVERSLICENSEPROV:T100 DOB:D OCCUPATION:T100 EMPLOYER:T100 "
     "INCOME:N INCOMETYPE:S BANKNAME:T100 BRANCH:T100 ACCNUM:T100 ACCTYPE:S CCTYPE:T100 "
     "CCARDNUM:T100 CCARDEXPIRE:D NOTIFYNAME:T100 NOTIFYTEL:T199 NOTIFYREL:T100 ACTIVE:F "
     "NOTES:B INCIDENTS:B BALANCE:N"},
    {"AGREEMENTS", "RID", "GEN_AGREEMENTS_ID",
     "RID:I APID:I TID:I RENT:N RECURS:I FIRSTDUE:D LEASESTART:D LEASEEND:D MOVEIN:D "
     "MOVEOUT:D LEASETERM:T40 TERMS:M LATEFEE:N PERDAY:N DAMAGE:N DEPOSIT:N COMPLETED:F "
     "NEXTDATE:D"},
    {"LEASES", "LEASEID", "GEN_LEASES_ID", "LEASEID:I NAME:T30"},
    {"FREQUENCY", "FREQID", "GEN_FREQUENCY_ID",
     "FREQID:I NAME:T30 DESCRIPTION:T50 DAYS:S SYSTEM:F"},
    {"RECUR", "RECID", "GEN_RECUR_ID",
     "RECID:I APID:I TID:I TYPE:T40 AMOUNT:N FREQ:I STARTDATE:D ENDDATE:D NEXTDATE:D "
     "COMPLETED:F LATEFEE:N PERDAY:N"},
    {"CHARGES", "CHID", "GEN_CHARGES_ID",
     "CHID:I TID:I APID:I TYPE:T40 FORDATE:D AMT:N ORIGAMOUNT:N APPLIED:N PAID:N "
     "LATEFEEFLAT:N PERDAY:N LFD:F MEMO:T255"},
    {"TRANS", "TRANSID", "GEN_TRANS_ID",
     "TRANSID:I TID:I APID:I TDATE:D CASH:N MYCHECK:N CHECKN:T40 CCARD:N CCARDN:T40 "
     "PAYTOTAL:N DUETOTAL:N APPLIED:N"},
    {"PAYMENTS", "PAYID", "GEN_PAYMENTS_ID",
     "PAYID:I TRANSID:I CHID:I ACCID:I TYPE:T40 FORDATE:D DATEPAID:D AMOUNT:N"},
    {"SCHEDULES", "SCHID", "", "SCHID:I AGREEID:I TDATE:D PAID:F"},
    {"CASHBOOK", "ACCID", "GEN_CASHBOOK_ID",
     "ACCID:I TDATE:D DESCRIPTION:T100 CATID:I INCOME:N EXPENSE:N VID:I APID:I NOTES:M"},
    {"CATEGORIES", "CATID", "GEN_CATEGORIES_ID", "CATID:I NAME:T20 DESCRIPTION:T100 TYPE:F"},
    {"CCARDS", "CCARDID", "GEN_CCARDS_ID", "CCARDID:I NAME:T30"},
    {"DEPOSITS", "DEPID", "GEN_DEPOSITS_ID",
     "DEPID:I TID:I TDATE:D AMOUNT:N MEMO:T255 PAYMENTTYPE:T100"},
    {"REMINDERS", "REMID", "GEN_REMINDERS_ID",
     "REMID:I TITLE:T50 DESCRIPTION:T200 TDATE:D REMINDER:F"},
    {"WAITLIST", "WID", "GEN_WAITLIST_ID", "WID:I TID:I"},
    {"PETS", "PID", "", "PID:I TID:I ANIMAL:T20 COMMENT:B"},
    {"VEHICLES", "VID", "", "VID:I TID:I MAKE:T20 MODEL:T20 NUMBER:T20"},
    {"OCCUPANTS", "OCID", "", "OCID:I TID:I NAME:T30 RELATIONSHIP:T20 SSN:T20 DOB:D COMMENTS:B"},
    {"VENDORS", "VID", "GEN_VENDORS_ID",
     "VID:I NAME:T100 CONTACT:T100 TEL:T100 ADDRESS:T100 CITY:T100 STATE:T100 TYPE:T100 "
     "OTHERTYPE:T100"},
    {"EQUIPMENTS", "EQUIPID", "GEN_EQUIPMENTS_ID",
     "EQUIPID:I APID:I DESCRIPTION:T30 BRAND:T20 MODEL:T30 SERIAL:T30 PURCHASEDATE:D "
     "PURCHASEPRICE:N PURCHASEDFROM:T30"},
    {"MAINTENANCE", "MAINID", "GEN_MAINTENANCE_ID",
     "MAINID:I APID:I LDATE:D TYPE:T20 STATUS:T20 PRIORITY:T20 DESCRIPTION:T50 VENDOR:I "
     "INVNUM:T20 INVDATE:D COMPDATE:D COST:N NOTES:M"},
    {"DISBURSEMENTS", "DISID", "",
     "DISID:I OID:I TDATE:D BANKACC:T100 REFERENCE:T100 FEES:N TOOWNER:N RESERVE:N NOTES:M"},
    {"FEES", "FID", "", "FID:I OID:I TDATE:D DESCRIPTION:T100 CATEGORY:T100 AMOUNT:N"},
    {"TODO", "TODOID", "", "TODOID:I DESCRIPTION:T100 TDATE:D TPRIORITY:S NOTES:B"},
    {"LETTERS", "LID", "GEN_LETTERS_ID", "LID:I TITLE:T255 BODY:B"},
    {"MISC", "", "",
     "SERVER:T255 PORT:S USERNAME:T255 PASSWORD:T255 FROMADDRESS:T255 FROMNAME:T255"},
    {"MAIL", "ID", "", "ID:I SUBJECT:T255 INTRODUCTION:B SIGNOFF:M"},
};

// Indexes beyond the primary keys: the columns that link rows or that reports select a range
// of, and both directions of the orders the grids page through.
struct IndexDef
{
    const char* name;
    const char* table;
    const char* columns;
    bool descending;
};

const IndexDef kIndexes[] = {
    {"IX_APARTMENTS_BID", "APARTMENTS", "BID", false},
    {"IX_APARTMENTS_TID", "APARTMENTS", "TID", false},
    {"IX_APARTMENTS_AGREEID", "APARTMENTS", "AGREEID", false},
    {"IX_AGREEMENTS_APID", "AGREEMENTS", "APID", false},
    {"IX_AGREEMENTS_TID", "AGREEMENTS", "TID", false},
    {"IX_AGREEMENTS_RECURS", "AGREEMENTS", "RECURS", false},
    {"IX_AGREEMENTS_LEASEEND", "AGREEMENTS", "LEASEEND", false},
    {"IX_RECUR_APID", "RECUR", "APID", false},
    {"IX_RECUR_TID", "RECUR", "TID", false},
    {"IX_RECUR_FREQ", "RECUR", "FREQ", false},
    {"IX_RECUR_RECID_DESC", "RECUR", "RECID", true},
    {"IX_CHARGES_TID", "CHARGES", "TID,AMT", false},
    {"IX_CHARGES_APID", "CHARGES", "APID", false},
    {"IX_CHARGES_CHID_DESC", "CHARGES", "CHID", true},
    {"IX_TRANS_TID", "TRANS", "TID", false},
    {"IX_TRANS_APID", "TRANS", "APID", false},
    {"IX_TRANS_TDATE", "TRANS", "TDATE", false},
    {"IX_TRANS_TRANSID_DESC", "TRANS", "TRANSID", true},
    {"IX_PAYMENTS_TRANSID", "PAYMENTS", "TRANSID", false},
    {"IX_PAYMENTS_CHID", "PAYMENTS", "CHID", false},
    {"IX_PAYMENTS_ACCID", "PAYMENTS", "ACCID", false},
    {"IX_PAYMENTS_PAYID_DESC", "PAYMENTS", "PAYID", true},
    {"IX_CASHBOOK_TDATE", "CASHBOOK", "TDATE,DESCRIPTION,ACCID", false},
    {"IX_CASHBOOK_TDATE_DESC", "CASHBOOK", "TDATE,DESCRIPTION,ACCID", true},
    {"IX_CASHBOOK_CATID", "CASHBOOK", "CATID", false},
    {"IX_CASHBOOK_VID", "CASHBOOK", "VID", false},
    {"IX_CASHBOOK_APID", "CASHBOOK", "APID", false},
    {"IX_DEPOSITS_TID", "DEPOSITS", "TID", false},
    {"IX_MAINTENANCE_APID", "MAINTENANCE", "APID", false},
    {"IX_MAINTENANCE_VENDOR", "MAINTENANCE", "VENDOR", false},
    {"IX_MAINTENANCE_MAINID_DESC", "MAINTENANCE", "MAINID", true},
    {"IX_EQUIPMENTS_APID", "EQUIPMENTS", "APID", false},
};

QString expectedType(const QString& code)
{
    switch (code.at(0).toLatin1()) {
    case 'I':
        return QStringLiteral("INTEGER");
    case 'S':
    case 'F':
        return QStringLiteral("SMALLINT");
    case 'N':
        return QStringLiteral("NUMERIC(15,2)");
    case 'D':
        return QStringLiteral("DATE");
    case 'T':
        return QStringLiteral("VARCHAR(%1)").arg(code.mid(1));
    case 'M':
        return QStringLiteral("BLOB SUB_TYPE 1");
    case 'B':
        return QStringLiteral("BLOB SUB_TYPE 0");
    }
    return QStringLiteral("unknown code ") + code;
}

// The column's type as DDL would spell it, from its RDB$FIELDS row.
QString describeType(const QSqlQuery& q)
{
    const int type = q.value(1).toInt();
    const int subType = q.value(2).toInt();
    const int scale = q.value(3).toInt();
    const int precision = q.value(4).toInt();
    const int byteLength = q.value(6).toInt();
    const int charLength = q.value(5).isNull() ? byteLength : q.value(5).toInt();
    const auto scaled = [&](const char* plain) {
        if (scale == 0)
            return QString::fromLatin1(plain);
        return QStringLiteral("%1(%2,%3)")
            .arg(subType == 2 ? QStringLiteral("DECIMAL") : QStringLiteral("NUMERIC"))
            .arg(precision)
            .arg(-scale);
    };
    switch (type) {
    case 7:
        return scaled("SMALLINT");
    case 8:
        return scaled("INTEGER");
    case 16:
        return scaled("BIGINT");
    case 12:
        return QStringLiteral("DATE");
    case 13:
        return QStringLiteral("TIME");
    case 35:
        return QStringLiteral("TIMESTAMP");
    case 10:
        return QStringLiteral("FLOAT");
    case 27:
        return QStringLiteral("DOUBLE PRECISION");
    case 14:
    case 37: {
        QString s = QStringLiteral("%1(%2)")
                        .arg(type == 14 ? QStringLiteral("CHAR") : QStringLiteral("VARCHAR"))
                        .arg(charLength);
        if (byteLength != charLength) // a multi-byte character set
            s += QStringLiteral(" of %1 bytes").arg(byteLength);
        return s;
    }
    case 261:
        return QStringLiteral("BLOB SUB_TYPE %1").arg(subType);
    }
    return QStringLiteral("field type %1").arg(type);
}

bool typeMatches(const QString& expected, const QString& found)
{
    if (expected == QLatin1String("VARCHAR(*)"))
        return found.startsWith(QLatin1String("VARCHAR(")) &&
               !found.contains(QLatin1String("bytes"));
    return expected == found;
}

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

class TestNewDatabase : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDb> m_t; // shared by the checks that only read

    Database& db() { return m_t->db(); }

private slots:
    void initTestCase() { m_t = std::make_unique<TestDb>(); }
    void cleanupTestCase() { m_t.reset(); }

    void columns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        for (const TableDef& t : kTables)
            QTest::newRow(t.name) << QString::fromLatin1(t.name) << QString::fromLatin1(t.columns);
    }
    // Every column with its type, and nothing more; names are compared exactly, so a column
    // created with a quoted mixed-case name shows up as missing.
    void columns()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);

        const QVariant relationType = db().scalar(
            QStringLiteral("select RDB$RELATION_TYPE from RDB$RELATIONS "
                           "where RDB$RELATION_NAME = %1 and coalesce(RDB$SYSTEM_FLAG, 0) = 0")
                .arg(quoted(table)));
        QVERIFY2(relationType.isValid(), qPrintable(table + QStringLiteral(" is missing")));
        QCOMPARE(relationType.toInt(), 0); // a persistent table, not a view

        QMap<QString, QString> found;
        QSqlQuery q = db().select(
            QStringLiteral("select rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, "
                           "f.RDB$FIELD_SCALE, f.RDB$FIELD_PRECISION, f.RDB$CHARACTER_LENGTH, "
                           "f.RDB$FIELD_LENGTH "
                           "from RDB$RELATION_FIELDS rf "
                           "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                           "where rf.RDB$RELATION_NAME = %1")
                .arg(quoted(table)));
        while (q.next())
            found.insert(q.value(0).toString().trimmed(), describeType(q));

        QStringList faults;
        const QStringList entries = columns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& entry : entries) {
            const QString name = entry.section(QLatin1Char(':'), 0, 0);
            const QString want = expectedType(entry.section(QLatin1Char(':'), 1));
            if (!found.contains(name))
                faults << QStringLiteral("%1 missing (want %2)").arg(name, want);
            else if (!typeMatches(want, found.value(name)))
                faults << QStringLiteral("%1 is %2, want %3").arg(name, found.value(name), want);
            found.remove(name);
        }
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            faults << QStringLiteral("%1 %2 not expected").arg(it.key(), it.value());
        QVERIFY2(faults.isEmpty(),
                 qPrintable(table + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("generator");
        for (const TableDef& t : kTables) {
            if (*t.key)
                QTest::newRow(t.name) << QString::fromLatin1(t.name) << QString::fromLatin1(t.key)
                                      << QString::fromLatin1(t.generator);
        }
    }
    // PK_<TABLE> on exactly the key column; the generator exists and its next value cannot
    // collide with a seed row.
    void keys()
    {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, generator);

        QSqlQuery q = db().select(
            QStringLiteral("select rc.RDB$CONSTRAINT_NAME, s.RDB$FIELD_NAME "
                           "from RDB$RELATION_CONSTRAINTS rc "
                           "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = rc.RDB$INDEX_NAME "
                           "where rc.RDB$RELATION_NAME = %1 "
                           "and rc.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'")
                .arg(quoted(table)));
        QStringList primary;
        while (q.next())
            primary << q.value(0).toString().trimmed() + QLatin1Char('(') +
                           q.value(1).toString().trimmed() + QLatin1Char(')');
        QCOMPARE(primary, QStringList{QStringLiteral("PK_%1(%2)").arg(table, key)});

        if (generator.isEmpty())
            return;
        QVERIFY2(db().scalar(QStringLiteral("select 1 from RDB$GENERATORS "
                                            "where RDB$GENERATOR_NAME = %1")
                                 .arg(quoted(generator)))
                     .isValid(),
                 qPrintable(generator + QStringLiteral(" is missing")));
        const qint64 next =
            db().scalar(QStringLiteral("select gen_id(%1, 1) from RDB$DATABASE").arg(generator))
                .toLongLong();
        const qint64 highest =
            db().scalar(QStringLiteral("select coalesce(max(%1), 0) from %2").arg(key, table))
                .toLongLong();
        QVERIFY2(next > highest, qPrintable(QStringLiteral("%1 gives %2, %3 already holds %4")
                                                .arg(generator)
                                                .arg(next)
                                                .arg(table)
                                                .arg(highest)));
    }

    // Every index that no constraint owns, with its columns in order and its direction;
    // nothing unique (references are kept by the program), nothing switched off.
    void indexes()
    {
        QMap<QString, QString> found;
        QSqlQuery q = db().select(QStringLiteral(
            "select trim(i.RDB$INDEX_NAME), trim(i.RDB$RELATION_NAME), trim(s.RDB$FIELD_NAME), "
            "coalesce(i.RDB$INDEX_TYPE, 0), coalesce(i.RDB$UNIQUE_FLAG, 0), "
            "coalesce(i.RDB$INDEX_INACTIVE, 0) "
            "from RDB$INDICES i join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
            "where coalesce(i.RDB$SYSTEM_FLAG, 0) = 0 and not exists (select 1 from "
            "RDB$RELATION_CONSTRAINTS rc where rc.RDB$INDEX_NAME = i.RDB$INDEX_NAME) "
            "order by i.RDB$INDEX_NAME, s.RDB$FIELD_POSITION"));
        while (q.next()) {
            const QString name = q.value(0).toString();
            QString& d = found[name];
            if (d.isEmpty())
                d = QStringLiteral("%1 on %2 (%3)%4%5")
                        .arg(q.value(3).toInt() == 1 ? QStringLiteral("descending")
                                                     : QStringLiteral("ascending"),
                             q.value(1).toString(), q.value(2).toString(),
                             q.value(4).toInt() ? QStringLiteral(" unique") : QString(),
                             q.value(5).toInt() ? QStringLiteral(" inactive") : QString());
            else
                d.replace(QLatin1Char(')'), QLatin1Char(',') + q.value(2).toString() + QLatin1Char(')'));
        }
        QStringList faults;
        for (const IndexDef& i : kIndexes) {
            const QString want = QStringLiteral("%1 on %2 (%3)")
                                     .arg(i.descending ? QStringLiteral("descending")
                                                       : QStringLiteral("ascending"),
                                          QLatin1String(i.table), QLatin1String(i.columns));
            const QString name = QLatin1String(i.name);
            if (found.value(name) != want)
                faults << QStringLiteral("%1 is \"%2\", want \"%3\"").arg(name, found.value(name), want);
            found.remove(name);
        }
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            faults << QStringLiteral("%1 %2 not expected").arg(it.key(), it.value());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Texts are single-byte Windows-1252, the character set of the earlier release: the file's
    // default (for columns the upgrade adds later) and every text column's.
    void textsAreWindows1252()
    {
        QCOMPARE(db().scalar(QStringLiteral("select trim(RDB$CHARACTER_SET_NAME) from RDB$DATABASE"))
                     .toString(),
                 QStringLiteral("WIN1252"));
        const QStringList others = [&] {
            QStringList out;
            QSqlQuery q = db().select(QStringLiteral(
                "select trim(rf.RDB$RELATION_NAME) || '.' || trim(rf.RDB$FIELD_NAME) || ' ' || "
                "coalesce(trim(cs.RDB$CHARACTER_SET_NAME), 'NONE') "
                "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                "left join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID "
                "where coalesce(rf.RDB$SYSTEM_FLAG, 0) = 0 and (f.RDB$FIELD_TYPE in (14, 37) "
                "or (f.RDB$FIELD_TYPE = 261 and f.RDB$FIELD_SUB_TYPE = 1)) "
                "and coalesce(cs.RDB$CHARACTER_SET_NAME, '') <> 'WIN1252'"));
            while (q.next())
                out << q.value(0).toString();
            return out;
        }();
        QVERIFY2(others.isEmpty(), qPrintable(others.join(QStringLiteral(", "))));
    }

    // References are kept by the program; a foreign key would refuse a vacant unit's TID -1.
    void noForeignKeys()
    {
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from RDB$RELATION_CONSTRAINTS "
                                            "where RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'"))
                     .toInt(),
                 0);
    }

    void keyTriggers_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("PETS") << "PETS"
                              << "PID"
                              << "PETS_BI"
                              << "TID"
                              << "7";
        QTest::newRow("VEHICLES") << "VEHICLES"
                                  << "VID"
                                  << "VEHICLES_BI"
                                  << "TID"
                                  << "7";
        QTest::newRow("OCCUPANTS") << "OCCUPANTS"
                                   << "OCID"
                                   << "OCCUPANTS_BI"
                                   << "TID"
                                   << "7";
        QTest::newRow("DISBURSEMENTS") << "DISBURSEMENTS"
                                       << "DISID"
                                       << "DISBURSEMENTS_BI"
                                       << "OID"
                                       << "7";
        QTest::newRow("FEES") << "FEES"
                              << "FID"
                              << "FEES_BI"
                              << "OID"
                              << "7";
        QTest::newRow("TODO") << "TODO"
                              << "TODOID"
                              << "TODO_BI"
                              << "DESCRIPTION"
                              << "'probe'";
        QTest::newRow("SCHEDULES") << "SCHEDULES"
                                   << "SCHID"
                                   << "SCHEDULES_BI"
                                   << "AGREEID"
                                   << "7";
        QTest::newRow("DEPOSITS") << "DEPOSITS"
                                  << "DEPID"
                                  << "DEPOSITS_BI"
                                  << "TID"
                                  << "7";
        QTest::newRow("LETTERS") << "LETTERS"
                                 << "LID"
                                 << "LETTERS_BI"
                                 << "TITLE"
                                 << "'probe'";
    }
    // Rows inserted without a key get a fresh one; a key given by the caller is kept.
    void keyTriggers()
    {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, trigger);
        QFETCH(QString, column);
        QFETCH(QString, value);

        TestDb t;
        QSqlQuery q =
            t.db().select(QStringLiteral("select RDB$RELATION_NAME, RDB$TRIGGER_TYPE, "
                                         "coalesce(RDB$TRIGGER_INACTIVE, 0), RDB$TRIGGER_SEQUENCE "
                                         "from RDB$TRIGGERS where RDB$TRIGGER_NAME = %1")
                              .arg(quoted(trigger)));
        QVERIFY2(q.next(), qPrintable(trigger + QStringLiteral(" is missing")));
        QCOMPARE(q.value(0).toString().trimmed(), table);
        QCOMPARE(q.value(1).toInt(), 1); // before insert
        QCOMPARE(q.value(2).toInt(), 0); // active
        QCOMPARE(q.value(3).toInt(), 0); // position 0

        const QString insert = QStringLiteral("insert into %1 (%2) values (%3)");
        t.db().exec(insert.arg(table, column, value));
        t.db().exec(insert.arg(table, column, value));
        QSqlQuery keys = t.db().select(
            QStringLiteral("select %1 from %2 where %3 = %4").arg(key, table, column, value));
        QList<QVariant> drawn;
        while (keys.next())
            drawn << keys.value(0);
        QCOMPARE(drawn.size(), 2);
        QVERIFY(!drawn[0].isNull() && !drawn[1].isNull());
        QVERIFY(drawn[0].toInt() != drawn[1].toInt());

        t.db().exec(QStringLiteral("insert into %1 (%2, %3) values (900000, %4)")
                        .arg(table, key, column, value));
        QCOMPARE(
            t.db()
                .scalar(QStringLiteral("select count(*) from %1 where %2 = 900000").arg(table, key))
                .toInt(),
            1);
    }

    void defaults_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("AGREEMENTS")
            << "AGREEMENTS"
            << "RID"
            << "RENT=0 RECURS=1 LATEFEE=0 PERDAY=0 DAMAGE=0 DEPOSIT=0 COMPLETED=0";
        QTest::newRow("RECUR") << "RECUR"
                               << "RECID"
                               << "AMOUNT=0 COMPLETED=0 LATEFEE=0 PERDAY=0";
        QTest::newRow("CHARGES")
            << "CHARGES"
            << "CHID"
            << "AMT=0 ORIGAMOUNT=0 APPLIED=0 PAID=0 LATEFEEFLAT=0 PERDAY=0 LFD=0";
        QTest::newRow("TRANS") << "TRANS"
                               << "TRANSID"
                               << "CASH=0 MYCHECK=0 CCARD=0 PAYTOTAL=0 DUETOTAL=0 APPLIED=0";
        QTest::newRow("DEPOSITS") << "DEPOSITS"
                                  << "DEPID"
                                  << "AMOUNT=0";
    }
    // Posting, late fees and rent adjustment select on COMPLETED = 0 and LFD = 0, so a row
    // stored without them must carry the default, not NULL.
    void defaults()
    {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, expected);

        TestDb t;
        t.db().exec(QStringLiteral("insert into %1 (%2) values (900001)").arg(table, key));
        QStringList faults;
        const QStringList pairs = expected.split(QLatin1Char(' '));
        for (const QString& pair : pairs) {
            const QString column = pair.section(QLatin1Char('='), 0, 0);
            const double want = pair.section(QLatin1Char('='), 1).toDouble();
            const QVariant v = t.db().scalar(
                QStringLiteral("select %1 from %2 where %3 = 900001").arg(column, table, key));
            if (v.isNull())
                faults << column + QStringLiteral(" is NULL");
            else if (v.toDouble() != want)
                faults << QStringLiteral("%1 is %2, want %3").arg(column, v.toString()).arg(want);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // The administrator can log in with an empty password and create further users.
    void administrator()
    {
        static const char* const rights[] = {"REPORTS",  "BILL",        "VOIDTRANS", "TENANTS",
                                             "CASHBOOK", "APARTMENTS",  "BUILDINGS", "EQUIPMENTS",
                                             "MODUSERS", "PROGOPTIONS", "OWNERS",    "EMAIL"};
        QSqlQuery q = db().select(QStringLiteral("select * from USERS where WID = 1"));
        QVERIFY(q.next());
        QCOMPARE(q.value(QStringLiteral("ID")).toString(), QStringLiteral("ADMIN"));
        QVERIFY(q.value(QStringLiteral("NPASSWORD")).toString().isEmpty());
        for (const char* right : rights)
            QVERIFY2(q.value(QLatin1String(right)).toInt() == 1, right);
    }

    void setupRows()
    {
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from SETUP")).toInt(), 11);
        QCOMPARE(
            db().scalar(QStringLiteral("select count(distinct SETUPORDER) from SETUP")).toInt(),
            11);
        QSqlQuery q =
            db().select(QStringLiteral("select \"int\", STR from SETUP order by SETUPORDER"));
        QVERIFY(q.next());
        QVERIFY(!q.value(0).isNull());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.value(1).toString().isEmpty());
        while (q.next())
            QVERIFY(q.value(1).toString().isEmpty());
    }

    void frequencies()
    {
        QSqlQuery q =
            db().select(QStringLiteral("select FREQID, SYSTEM from FREQUENCY order by FREQID"));
        QList<int> ids;
        while (q.next()) {
            ids << q.value(0).toInt();
            QCOMPARE(q.value(1).toInt(), 1);
        }
        QCOMPARE(ids, (QList<int>{1, 2, 3, 4, 5, 6}));
        QVERIFY(db().NextKey(QStringLiteral("GEN_FREQUENCY_ID")) > 6);
    }

    void mailRows()
    {
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from MISC")).toInt(), 1);
        QSqlQuery q = db().select(QStringLiteral("select ID from MAIL order by ID"));
        QList<int> ids;
        while (q.next())
            ids << q.value(0).toInt();
        QCOMPARE(ids, (QList<int>{1, 2, 3}));
    }

    void builtInLetters()
    {
        QSqlQuery q = db().select(
            QStringLiteral("select LID, TITLE, BODY from LETTERS where LID <= 4 order by LID"));
        QList<int> ids;
        while (q.next()) {
            const int lid = q.value(0).toInt();
            ids << lid;
            const QByteArray body = q.value(2).toByteArray();
            QVERIFY2(!q.value(1).toString().trimmed().isEmpty(), qPrintable(QString::number(lid)));
            QVERIFY2(body.startsWith("{\\rtf"), qPrintable(QString::number(lid)));
            QVERIFY2(body.contains("<<"), qPrintable(QString::number(lid)));
        }
        QCOMPARE(ids, (QList<int>{1, 2, 3, 4}));
    }

    void pickLists()
    {
        QCOMPARE(
            db().scalar(QStringLiteral("select TYPE from CATEGORIES where NAME = 'Rent'")).toInt(),
            1);
        QCOMPARE(db().scalar(QStringLiteral("select TYPE from CATEGORIES "
                                            "where NAME = 'Rent Late Fee'"))
                     .toInt(),
                 1);
        QVERIFY(db().scalar(QStringLiteral("select count(*) from LEASES")).toInt() > 0);
        QVERIFY(db().scalar(QStringLiteral("select count(*) from CCARDS")).toInt() > 0);
    }

    void forcedWrites()
    {
        QCOMPARE(db().scalar(QStringLiteral("select MON$FORCED_WRITES from MON$DATABASE")).toInt(),
                 1);
    }

    void templateReadableByOwnerOnly()
    {
        const QFile::Permissions p = QFileInfo(TestDb::templatePath()).permissions();
        const QFile::Permissions others = QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                          QFile::ExeOther;
        QVERIFY(p.testFlag(QFile::ReadOwner) && p.testFlag(QFile::WriteOwner));
        QCOMPARE(int(p & others), 0);
    }
};

QTEST_GUILESS_MAIN(TestNewDatabase)
#include "tst_newdatabase.moc"
