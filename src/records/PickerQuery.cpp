#include "records/PickerQuery.h"

#include "data/Database.h"
#include "data/SqlText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
const QChar Escape = QLatin1Char('\\');
} // namespace

QString likeContains(const QString& text)
{
    QString s;
    s.reserve(text.size() + 2);
    s += QLatin1Char('%');
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == Escape)
            s += Escape;
        s += c;
    }
    s += QLatin1Char('%');
    return s;
}

QString likeEscape()
{
    return QStringLiteral(" escape ") + sqlQuote(QString(Escape));
}

PickerQuery PickerQuery::building()
{
    PickerQuery q;
    q.caption = QStringLiteral("Select Building");
    // Address, City and Tel are the building's, although owners have such columns too; Owner
    // is the owner's code, the text the list shows.
    q.select = QStringLiteral(
        "select buildings.buildid, buildings.description, owners.code as owner, "
        "buildings.address, buildings.city, buildings.tel, buildings.apartments, "
        "buildings.manager, buildings.mantel from buildings "
        "left join owners on buildings.oid = owners.oid");
    q.fields = {{QStringLiteral("Description"), QStringLiteral("buildings.description")},
                {QStringLiteral("Address"), QStringLiteral("buildings.address")},
                {QStringLiteral("City"), QStringLiteral("buildings.city")},
                {QStringLiteral("Tel"), QStringLiteral("buildings.tel")},
                {QStringLiteral("Manager"), QStringLiteral("buildings.manager")},
                {QStringLiteral("Owner"), QStringLiteral("owners.code")}};
    q.columns = QStringList{QStringLiteral("DESCRIPTION"), QStringLiteral("OWNER"),
                            QStringLiteral("ADDRESS"),     QStringLiteral("CITY"),
                            QStringLiteral("TEL"),         QStringLiteral("APARTMENTS"),
                            QStringLiteral("MANAGER"),     QStringLiteral("MANTEL")};
    q.titles = QStringList{QStringLiteral("Description"), QStringLiteral("Owner"),
                           QStringLiteral("Address"),     QStringLiteral("City"),
                           QStringLiteral("Tel"),         QStringLiteral("Apartments"),
                           QStringLiteral("Manager"),     QStringLiteral("Manager's Tel.")};
    q.keyColumn = QStringLiteral("BUILDID");
    q.textColumns = QStringList{QStringLiteral("DESCRIPTION")};
    return q;
}

PickerQuery PickerQuery::unit()
{
    PickerQuery q;
    q.caption = QStringLiteral("Select Apartment/Suite");
    q.select = QStringLiteral(
        "select apartments.apid, apartments.suite, buildings.description as building, "
        "apartments.floor, apartments.bathrooms, apartments.bedrooms from apartments "
        "join buildings on apartments.bid = buildings.buildid");
    q.fields = {{QStringLiteral("Suite"), QStringLiteral("apartments.suite")},
                {QStringLiteral("Description"), QStringLiteral("buildings.description")}};
    q.columns = QStringList{QStringLiteral("SUITE"), QStringLiteral("BUILDING"),
                            QStringLiteral("FLOOR"), QStringLiteral("BATHROOMS"),
                            QStringLiteral("BEDROOMS")};
    q.titles =
        QStringList{QStringLiteral("Suite"), QStringLiteral("Building"), QStringLiteral("Floor"),
                    QStringLiteral("Bathrooms"), QStringLiteral("Bedrooms")};
    q.keyColumn = QStringLiteral("APID");
    q.textColumns = QStringList{QStringLiteral("SUITE")};
    return q;
}

PickerQuery PickerQuery::tenant(bool waitList)
{
    PickerQuery q;
    q.caption = waitList ? QStringLiteral("Tenants on Waitlist") : QStringLiteral("Select Tenant");
    // Only the listed columns: the memo columns would be read on every keystroke otherwise.
    q.select = QStringLiteral(
        "select tenants.tid, tenants.id, tenants.company, tenants.firstname, tenants.lastname, "
        "tenants.tel, tenants.driverslicense, tenants.address, tenants.city, tenants.state "
        "from tenants");
    // A tenant with two wait-list rows is still listed once.
    if (waitList)
        q.fixed = QStringLiteral("exists (select 1 from waitlist where waitlist.tid = tenants.tid)");
    for (const char* f : {"ID", "Firstname", "Lastname", "Tel", "Company"})
        q.fields << Field{QLatin1String(f), QStringLiteral("tenants.") + QString::fromLatin1(f).toUpper()};
    q.columns = QStringList{QStringLiteral("ID"),       QStringLiteral("COMPANY"),
                            QStringLiteral("FIRSTNAME"), QStringLiteral("LASTNAME"),
                            QStringLiteral("TEL"),       QStringLiteral("DRIVERSLICENSE"),
                            QStringLiteral("ADDRESS"),   QStringLiteral("CITY"),
                            QStringLiteral("STATE")};
    q.titles = QStringList{
        QStringLiteral("ID"),        QStringLiteral("Company"), QStringLiteral("First Name"),
        QStringLiteral("Last Name"), QStringLiteral("Tel"),     QStringLiteral("Driver's Licence"),
        QStringLiteral("Address"),   QStringLiteral("City"),    QStringLiteral("State")};
    q.keyColumn = QStringLiteral("TID");
    q.textColumns = QStringList{QStringLiteral("FIRSTNAME"), QStringLiteral("LASTNAME")};
    return q;
}

PickerQuery PickerQuery::vendor()
{
    PickerQuery q;
    q.caption = QStringLiteral("Select Vendor");
    q.select = QStringLiteral("select vendors.* from vendors");
    for (const char* f : {"Name", "Type", "Contact", "Address", "City", "State", "Tel"})
        q.fields << Field{QLatin1String(f), QStringLiteral("vendors.") + QString::fromLatin1(f).toUpper()};
    q.columns = QStringList{QStringLiteral("NAME"),    QStringLiteral("TYPE"),
                            QStringLiteral("CONTACT"), QStringLiteral("ADDRESS"),
                            QStringLiteral("CITY"),    QStringLiteral("STATE"),
                            QStringLiteral("TEL")};
    q.titles =
        QStringList{QStringLiteral("Name"),    QStringLiteral("Type"), QStringLiteral("Contact"),
                    QStringLiteral("Address"), QStringLiteral("City"), QStringLiteral("State"),
                    QStringLiteral("Tel")};
    q.keyColumn = QStringLiteral("VID");
    q.textColumns = QStringList{QStringLiteral("NAME")};
    return q;
}

QString PickerQuery::sql(int field, const QString& text) const
{
    const QString column = fields.value(field, fields.value(0)).column;
    QStringList conditions;
    if (!fixed.isEmpty())
        conditions << fixed;
    // Blanks alone search for nothing; otherwise the text counts as typed, blanks included.
    if (!text.trimmed().isEmpty())
        conditions << QStringLiteral("Lower(%1) like %2%3")
                          .arg(column, sqlQuote(likeContains(text.toLower())), likeEscape());
    QString s = select;
    if (!conditions.isEmpty())
        s += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    return s + QStringLiteral(" order by ") + column + QStringLiteral(" asc");
}

PickerQuery::Rows PickerQuery::run(Database& db, int field, const QString& text) const
{
    Rows rows;
    QSqlQuery q = db.select(sql(field, text));
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        rows.names << rec.fieldName(i).toUpper();
    while (q.next()) {
        QVector<QVariant> row(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row[i] = q.value(i);
        rows.values.append(std::move(row));
    }
    if (q.lastError().isValid())
        throw DbError(q.lastError().databaseText().trimmed(), q.lastQuery());
    q.finish();
    return rows;
}
