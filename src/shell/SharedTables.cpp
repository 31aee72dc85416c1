#include "shell/SharedTables.h"

#include "data/Dataset.h"
#include "data/Database.h"
#include "shell/AppState.h"
#include "shell/SearchFilter.h"

#include "data/NewDatabase.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

// The schema script is compiled into the core library; reading it here must not depend on a
// database having been created in this run.
static void initSchemaResources()
{
    Q_INIT_RESOURCE(schema);
}

namespace {

// Every table's columns as the current schema defines them, by table name in upper case.
const QHash<QString, QStringList>& schemaColumns()
{
    static const QHash<QString, QStringList> columns = [] {
        QHash<QString, QStringList> out;
        initSchemaResources();
        QFile file(QStringLiteral(":/schema/tables.sql"));
        if (!file.open(QIODevice::ReadOnly))
            return out;
        static const QRegularExpression head(QStringLiteral("^CREATE\\s+TABLE\\s+(\\w+)\\s*\\((.*)\\)$"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::DotMatchesEverythingOption);
        for (const QString& statement : NewDatabase::splitScript(QString::fromUtf8(file.readAll()))) {
            const auto m = head.match(statement.trimmed());
            if (!m.hasMatch())
                continue;
            QStringList names;
            for (const QString& line : m.captured(2).split(QLatin1Char('\n'))) {
                QString name = line.trimmed().section(QLatin1Char(' '), 0, 0);
                if (name.isEmpty() || name.startsWith(QLatin1String("--")))
                    continue;
                if (name.startsWith(QLatin1Char('"')))
                    name = name.mid(1, name.size() - 2);
                else
                    name = name.toUpper();
                names << name;
            }
            out.insert(m.captured(1).toUpper(), names);
        }
        return out;
    }();
    return columns;
}

QString fullName(const QVariant& first, const QVariant& last)
{
    return first.toString() + QLatin1Char(' ') + last.toString();
}

} // namespace

SharedTables::SharedTables(Database& db, AppState& state)
{
    auto make = [&](const char* table, const char* key, const char* order = "") {
        auto* d = new Dataset(db, QLatin1String(table), QLatin1String(key), QLatin1String(order));
        m_all << d;
        return d;
    };
    // The opening order of the start-up.
    Users = make("USERS", "WID");
    Buildings = make("BUILDINGS", "BUILDID");
    Tenants = make("TENANTS", "TID");
    Apartments = make("APARTMENTS", "APID");
    Agreements = make("AGREEMENTS", "RID");
    Vendors = make("VENDORS", "VID");
    Equipments = make("EQUIPMENTS", "EQUIPID");
    Reminders = make("REMINDERS", "REMID");
    Categories = make("CATEGORIES", "CATID");
    Cashbook = make("CASHBOOK", "ACCID", "TDATE, DESCRIPTION");
    Frequency = make("FREQUENCY", "FREQID");
    Leases = make("LEASES", "LEASEID");
    Ccards = make("CCARDS", "CCARDID");
    Payments = make("PAYMENTS", "PAYID");
    Schedules = make("SCHEDULES", "SCHID");
    Recurs = make("RECUR", "RECID");
    Charges = make("CHARGES", "CHID");
    Trans = make("TRANS", "TRANSID");
    Setup = make("SETUP", "", "SETUPORDER");
    WaitList = make("WAITLIST", "WID");
    Maint = make("MAINTENANCE", "MAINID");
    mApart = make("APARTMENTS", "APID");
    Misc = make("MISC", "");
    Owners = make("OWNERS", "OID");
    Fees = make("FEES", "FID");
    Disb = make("DISBURSEMENTS", "DISID");
    Todo = make("TODO", "TODOID");

    // Tables that grow with time are never held whole.
    for (Dataset* d : {Charges, Trans, Payments, Cashbook, Recurs, Maint})
        d->setPaged(true);

    // Links.
    Buildings->setMasterLink(Owners, QStringLiteral("OID"), QStringLiteral("OID"));
    Apartments->setMasterLink(Buildings, QStringLiteral("BID"), QStringLiteral("BUILDID"));
    Recurs->setMasterLink(Apartments, QStringLiteral("APID"), QStringLiteral("APID"));
    Payments->setMasterLink(Trans, QStringLiteral("TRANSID"), QStringLiteral("TRANSID"));
    Schedules->setMasterLink(Apartments, QStringLiteral("AGREEID"), QStringLiteral("AGREEID"));
    Maint->setMasterLink(Apartments, QStringLiteral("APID"), QStringLiteral("APID"));

    // The search filter, for the objects that search.
    for (Dataset* d : {Owners, Buildings, Tenants, Vendors, Equipments, Reminders, Categories,
                       Cashbook, Frequency, Maint})
        SearchFilter::install(*d, [&state] {
            return SearchFilter::Terms{state.SearchField, state.SearchText};
        });

    // Charges: the open charges of the current unit's tenant, as the payment screen lists them
    // (a credit, AMT below 0, is open too).
    Charges->setFilter({}, [this](const Dataset&) -> Dataset::Condition {
        if (Apartments->isEmpty() || Apartments->value(QStringLiteral("TID")).isNull())
            return {QStringLiteral("1 = 0"), {}};
        return {QStringLiteral("AMT <> 0 and TID = ?"), {Apartments->asInt(QStringLiteral("TID"))}};
    });
    // Transactions: mode 1 the current unit and its tenant, mode 2 the tenant in SearchText.
    Trans->setFilter({}, [this, &state](const Dataset&) -> Dataset::Condition {
        if (state.TransFilterMode == 2) {
            // The tenant number as text must be the text searched for, exactly.
            bool ok = false;
            const int tid = state.SearchText.toInt(&ok);
            if (!ok || QString::number(tid) != state.SearchText)
                return {QStringLiteral("1 = 0"), {}};
            return {QStringLiteral("TID = ?"), {tid}};
        }
        if (Apartments->isEmpty() || Apartments->value(QStringLiteral("APID")).isNull() ||
            Apartments->value(QStringLiteral("TID")).isNull())
            return {QStringLiteral("1 = 0"), {}};
        return {QStringLiteral("APID = ? and TID = ?"),
                {Apartments->asInt(QStringLiteral("APID")), Apartments->asInt(QStringLiteral("TID"))}};
    });

    // Display columns.
    Buildings->addLookup(QStringLiteral("OwnerCode"), Owners, QStringLiteral("OID"),
                         QStringLiteral("OID"), QStringLiteral("CODE"));
    Tenants->addLookup(QStringLiteral("mycard"), Ccards, QStringLiteral("CCTYPE"),
                       QStringLiteral("NAME"), QStringLiteral("NAME"));
    for (Dataset* a : {Apartments, mApart}) {
        a->addLookup(QStringLiteral("Tenant"), Tenants, QStringLiteral("TID"),
                     QStringLiteral("TID"), QStringLiteral("FIRSTNAME"));
        a->addLookup(QStringLiteral("Lastname"), Tenants, QStringLiteral("TID"),
                     QStringLiteral("TID"), QStringLiteral("LASTNAME"));
    }
    Apartments->addLookup(QStringLiteral("Company"), Tenants, QStringLiteral("TID"),
                          QStringLiteral("TID"), QStringLiteral("COMPANY"));
    Apartments->addLookup(QStringLiteral("Buildings"), Buildings, QStringLiteral("BID"),
                          QStringLiteral("BUILDID"), QStringLiteral("DESCRIPTION"));
    Apartments->addComputed(QStringLiteral("myTenant"), [](const Dataset& d, int row) {
        const QVariant first = d.rawValue(row, QStringLiteral("Tenant"));
        const QVariant last = d.rawValue(row, QStringLiteral("Lastname"));
        if (first.toString().isEmpty() && last.toString().isEmpty())
            return d.rawValue(row, QStringLiteral("Company"));
        return QVariant(fullName(first, last));
    });
    mApart->addLookup(QStringLiteral("Building"), Buildings, QStringLiteral("BID"),
                      QStringLiteral("BUILDID"), QStringLiteral("DESCRIPTION"));
    mApart->addComputed(QStringLiteral("myTenant"), [](const Dataset& d, int row) {
        return QVariant(fullName(d.rawValue(row, QStringLiteral("Tenant")),
                                 d.rawValue(row, QStringLiteral("Lastname"))));
    });

    Agreements->addLookup(QStringLiteral("Suite"), Apartments, QStringLiteral("APID"),
                          QStringLiteral("APID"), QStringLiteral("SUITE"));
    Agreements->addLookup(QStringLiteral("Company"), Tenants, QStringLiteral("TID"),
                          QStringLiteral("TID"), QStringLiteral("COMPANY"));
    Agreements->addLookup(QStringLiteral("firstname"), Tenants, QStringLiteral("TID"),
                          QStringLiteral("TID"), QStringLiteral("FIRSTNAME"));
    Agreements->addLookup(QStringLiteral("lastname"), Tenants, QStringLiteral("TID"),
                          QStringLiteral("TID"), QStringLiteral("LASTNAME"));
    Agreements->addLookup(QStringLiteral("RecurString"), Frequency, QStringLiteral("RECURS"),
                          QStringLiteral("FREQID"), QStringLiteral("NAME"));
    Agreements->addLookup(QStringLiteral("Myterms"), Leases, QStringLiteral("LEASETERM"),
                          QStringLiteral("NAME"), QStringLiteral("NAME"));

    Recurs->addLookup(QStringLiteral("FreqString"), Frequency, QStringLiteral("FREQ"),
                      QStringLiteral("FREQID"), QStringLiteral("NAME"));
    Recurs->addComputed(QStringLiteral("thecompleted"), [](const Dataset& d, int row) {
        return QVariant(d.rawValue(row, QStringLiteral("COMPLETED")).toInt() != 0
                            ? QStringLiteral("Yes")
                            : QStringLiteral("No"));
    });

    Trans->addLookup(QStringLiteral("Suite"), Apartments, QStringLiteral("APID"),
                     QStringLiteral("APID"), QStringLiteral("SUITE"));
    Trans->addLookup(QStringLiteral("Tenant"), Apartments, QStringLiteral("APID"),
                     QStringLiteral("APID"), QStringLiteral("myTenant"));
    Trans->addLookup(QStringLiteral("Address"), Tenants, QStringLiteral("TID"),
                     QStringLiteral("TID"), QStringLiteral("ADDRESS"));
    Trans->addLookup(QStringLiteral("City"), Tenants, QStringLiteral("TID"),
                     QStringLiteral("TID"), QStringLiteral("CITY"));
    Trans->addLookup(QStringLiteral("Phone"), Tenants, QStringLiteral("TID"),
                     QStringLiteral("TID"), QStringLiteral("TEL"));

    Schedules->addComputed(QStringLiteral("Display"), [](const Dataset& d, int row) {
        QString text = QLocale().toString(d.rawValue(row, QStringLiteral("TDATE")).toDate(),
                                          QLocale::ShortFormat);
        if (d.rawValue(row, QStringLiteral("PAID")).toInt() == 1)
            text += QStringLiteral("*******PAID");
        return QVariant(text);
    });

    Cashbook->addLookup(QStringLiteral("Category"), Categories, QStringLiteral("CATID"),
                        QStringLiteral("CATID"), QStringLiteral("NAME"));
    Cashbook->addLookup(QStringLiteral("Vendor"), Vendors, QStringLiteral("VID"),
                        QStringLiteral("VID"), QStringLiteral("NAME"));
    Cashbook->addLookup(QStringLiteral("Suite"), mApart, QStringLiteral("APID"),
                        QStringLiteral("APID"), QStringLiteral("SUITE"));
    Cashbook->addLookup(QStringLiteral("myTenant"), mApart, QStringLiteral("APID"),
                        QStringLiteral("APID"), QStringLiteral("myTenant"));
    Cashbook->addLookup(QStringLiteral("Address"), mApart, QStringLiteral("APID"),
                        QStringLiteral("APID"), QStringLiteral("Building"));

    Categories->addComputed(QStringLiteral("thetype"), [](const Dataset& d, int row) {
        return QVariant(d.rawValue(row, QStringLiteral("TYPE")).toInt() != 0
                            ? QStringLiteral("Income")
                            : QStringLiteral("Expense"));
    });
    Maint->addLookup(QStringLiteral("VendorName"), Vendors, QStringLiteral("VENDOR"),
                     QStringLiteral("VID"), QStringLiteral("NAME"));
    Todo->addComputed(QStringLiteral("thePriority"), [](const Dataset& d, int row) {
        static const QStringList names = {QStringLiteral("Low"), QStringLiteral("Normal"),
                                          QStringLiteral("High")};
        const int p = d.rawValue(row, QStringLiteral("TPRIORITY")).toInt();
        return QVariant(p >= 0 && p < names.size() ? names.at(p) : QString::number(p));
    });
    Disb->addLookup(QStringLiteral("Owner"), Owners, QStringLiteral("OID"), QStringLiteral("OID"),
                    QStringLiteral("CODE"));
    Fees->addLookup(QStringLiteral("Owner"), Owners, QStringLiteral("OID"), QStringLiteral("OID"),
                    QStringLiteral("CODE"));

    // After-post hooks.
    QObject::connect(Cashbook, &Dataset::afterPost, &state, &AppState::cashbookChanged);
    QObject::connect(Cashbook, &Dataset::afterDelete, &state, &AppState::cashbookChanged);
    QObject::connect(Buildings, &Dataset::afterPost, &state, [&state] { state.BuildingsChanged = true; });
    QObject::connect(Buildings, &Dataset::afterDelete, &state, [&state] { state.BuildingsChanged = true; });
}

SharedTables::~SharedTables()
{
    qDeleteAll(m_all);
}

void SharedTables::open()
{
    for (Dataset* d : m_all) {
        try {
            d->open();
        } catch (const DbError& e) {
            throw DbError(e.message(), d->tableName());
        }
        // A file that lacks a column the program reads fails here, not later in a screen.
        const QStringList have = d->fieldNames();
        for (const QString& column : schemaColumns().value(d->tableName().toUpper())) {
            if (!have.contains(column, Qt::CaseInsensitive))
                throw DbError(QStringLiteral("The table %1 has no column %2.")
                                  .arg(d->tableName(), column),
                              d->tableName());
        }
    }
}

void SharedTables::refreshAll()
{
    for (Dataset* d : m_all)
        d->refresh();
}
