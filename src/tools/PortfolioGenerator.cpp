#include "tools/PortfolioGenerator.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Money.h"
#include "records/Agreements.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>

PortfolioSize PortfolioSize::named(const QString& name)
{
    PortfolioSize s;
    if (name == QLatin1String("large"))
        s = {40, 400, 5000, 6000, 10, 300, 10000, 10000, 20000};
    else if (name == QLatin1String("small"))
        s = {4, 40, 500, 600, 10, 30, 1000, 1000, 2000};
    else if (name == QLatin1String("tiny"))
        s = {2, 3, 8, 10, 1, 3, 5, 5, 6};
    return s;
}

namespace {

const char* const FirstNames[] = {"James", "Mary",  "John",   "Patricia", "Robert", "Linda",
                                  "Michael", "Barbara", "William", "Elizabeth", "David", "Susan",
                                  "Richard", "Jessica", "Joseph", "Sarah", "Thomas", "Karen",
                                  "Charles", "Nancy", "Daniel", "Lisa", "Matthew", "Betty"};
const char* const LastNames[] = {"Smith",  "Johnson", "Williams", "Brown",  "Jones",   "Garcia",
                                 "Miller", "Davis",   "Rodriguez", "Martinez", "Hernandez",
                                 "Lopez",  "Gonzalez", "Wilson",  "Anderson", "Thomas", "Taylor",
                                 "Moore",  "Jackson", "Martin",  "Lee",     "Perez",   "Thompson",
                                 "White",  "Harris",  "Sanchez", "Clark",   "Ramirez", "Lewis",
                                 "Robinson", "O'Brien", "Walker"};
const char* const Streets[] = {"Elm",   "Oak",    "Maple", "Cedar",  "Pine",   "Birch", "Willow",
                               "Ash",   "Spruce", "Park",  "Lake",   "Hill",   "River", "Church",
                               "Mill",  "High",   "King",  "Queen",  "Market", "Bridge"};
const char* const Cities[] = {"Springfield", "Riverton", "Lakeside", "Fairview", "Georgetown",
                              "Salem", "Madison", "Franklin", "Clinton", "Arlington"};
const char* const VendorTypes[] = {"Plumbing", "Electrical", "Painting", "Roofing", "Cleaning",
                                   "Landscaping", "Heating", "Locksmith", "Appliances", "Pest Control"};

template <size_t N> QString pick(QRandomGenerator& r, const char* const (&list)[N])
{
    return QString::fromLatin1(list[r.bounded(int(N))]);
}

// Keys drawn from a table's generator a block at a time, so the generator is advanced just
// as drawing them one by one would, in far fewer statements.
class KeyBlock
{
public:
    KeyBlock(Database& db, const char* generator) : m_db(db), m_generator(QLatin1String(generator)) {}
    int take()
    {
        if (m_next > m_last) {
            const int block = 1000;
            m_last = m_db.scalar(QStringLiteral("select gen_id(%1,%2) from rdb$database")
                                     .arg(m_generator)
                                     .arg(block))
                         .toInt();
            m_next = m_last - block + 1;
        }
        return m_next++;
    }

private:
    Database& m_db;
    QString m_generator;
    int m_next = 1;
    int m_last = 0;
};

QVariant dateOrNull(const QDate& d)
{
    return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
}

} // namespace

PortfolioCounts generatePortfolio(Database& db, const PortfolioSize& size, quint32 seed,
                                  const std::function<void(const QString&)>& progress,
                                  const std::function<bool()>& stop)
{
    QRandomGenerator rnd(seed);
    PortfolioCounts counts;
    const QDate today = Clock::today();
    auto say = [&](const QString& s) {
        if (progress)
            progress(s);
    };
    auto stopping = [&] {
        if (stop && stop())
            counts.stopped = true;
        return counts.stopped;
    };
    if (stopping())
        return counts;

    KeyBlock ownerKeys(db, "GEN_OWNERS_ID"), buildingKeys(db, "GEN_BUILDINGS_ID"),
        unitKeys(db, "GEN_APARTMENTS_ID"), tenantKeys(db, "GEN_TENANTS_ID"),
        transKeys(db, "GEN_TRANS_ID"), paymentKeys(db, "GEN_PAYMENTS_ID"),
        cashKeys(db, "GEN_CASHBOOK_ID"), vendorKeys(db, "GEN_VENDORS_ID"),
        equipmentKeys(db, "GEN_EQUIPMENTS_ID"), maintenanceKeys(db, "GEN_MAINTENANCE_ID"),
        waitKeys(db, "GEN_WAITLIST_ID");

    const int rentCategory =
        db.scalar(QStringLiteral("select catid from categories where name='Rent'")).toInt();
    QList<int> expenseCategories;
    {
        QSqlQuery q = db.select(QStringLiteral("select catid from categories where type=0"));
        while (q.next())
            expenseCategories << q.value(0).toInt();
    }

    // Owners, buildings, units, tenants and vendors.
    QList<int> unitIds;
    QList<QString> unitNames;
    QList<int> tenantIds;
    QList<int> vendorIds;
    {
        Transaction t(db);
        say(QStringLiteral("owners, buildings and units"));
        QSqlQuery owner = db.prepare(QStringLiteral(
            "insert into owners (oid, code, name, address, city, state, zip, tel, email, manfee) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery building = db.prepare(QStringLiteral(
            "insert into buildings (buildid, oid, description, address, city, provstate, "
            "postalcode, tel, manager, apartments, marketval, purchasedate) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery unit = db.prepare(QStringLiteral(
            "insert into apartments (apid, bid, suite, tid, agreeid, rent, status, category, "
            "floor, bedrooms, bathrooms, squarefootage) values (?, ?, ?, -1, -1, ?, ?, ?, ?, ?, ?, ?)"));
        QList<int> ownerIds;
        for (int i = 0; i < size.owners; ++i) {
            const int oid = ownerKeys.take();
            ownerIds << oid;
            const QString last = pick(rnd, LastNames);
            owner.addBindValue(oid);
            owner.addBindValue(QStringLiteral("OWN%1").arg(i + 1, 3, 10, QLatin1Char('0')));
            owner.addBindValue(pick(rnd, FirstNames) + QLatin1Char(' ') + last);
            owner.addBindValue(QStringLiteral("%1 %2 St").arg(rnd.bounded(1, 999)).arg(pick(rnd, Streets)));
            owner.addBindValue(pick(rnd, Cities));
            owner.addBindValue(QStringLiteral("CA"));
            owner.addBindValue(QString::number(rnd.bounded(90000, 96000)));
            owner.addBindValue(QStringLiteral("555-%1").arg(rnd.bounded(1000, 9999)));
            owner.addBindValue(QStringLiteral("owner%1@example.com").arg(i + 1));
            owner.addBindValue(QStringLiteral("8.00"));
            db.execPrepared(owner);
        }
        int unitsLeft = size.units;
        for (int b = 0; b < size.buildings; ++b) {
            const int bid = buildingKeys.take();
            const int inThis = b == size.buildings - 1 ? unitsLeft
                                                       : std::min(unitsLeft, size.units / size.buildings +
                                                                                 ((b % 2) ? 1 : 0));
            const QString street = pick(rnd, Streets);
            const QString name = QStringLiteral("%1 %2").arg(street, b % 3 ? QStringLiteral("Court")
                                                                          : QStringLiteral("Towers"));
            building.addBindValue(bid);
            building.addBindValue(ownerIds.at(b % ownerIds.size()));
            building.addBindValue(QStringLiteral("%1 %2").arg(name).arg(b + 1));
            building.addBindValue(QStringLiteral("%1 %2 Ave").arg(rnd.bounded(1, 999)).arg(street));
            building.addBindValue(pick(rnd, Cities));
            building.addBindValue(QStringLiteral("CA"));
            building.addBindValue(QString::number(rnd.bounded(90000, 96000)));
            building.addBindValue(QStringLiteral("555-%1").arg(rnd.bounded(1000, 9999)));
            building.addBindValue(pick(rnd, FirstNames) + QLatin1Char(' ') + pick(rnd, LastNames));
            building.addBindValue(inThis);
            building.addBindValue(Money::fromCents(qint64(rnd.bounded(500000, 5000000)) * 100).toSql());
            building.addBindValue(today.addYears(-size.years - 1 - rnd.bounded(10)));
            db.execPrepared(building);
            for (int u = 0; u < inThis; ++u) {
                const int apid = unitKeys.take();
                const int floor = u / 6 + 1;
                const QString suite = QStringLiteral("%1%2").arg(floor).arg(QChar(u'A' + u % 6));
                unit.addBindValue(apid);
                unit.addBindValue(bid);
                unit.addBindValue(suite);
                unit.addBindValue(Money::fromCents(qint64(rnd.bounded(80, 250)) * 1000).toSql());
                unit.addBindValue(QStringLiteral("Normal"));
                unit.addBindValue(QStringLiteral("Regular"));
                unit.addBindValue(floor);
                unit.addBindValue(rnd.bounded(1, 4));
                unit.addBindValue(rnd.bounded(1, 3));
                unit.addBindValue(QString::number(rnd.bounded(450, 1600)));
                db.execPrepared(unit);
                unitIds << apid;
                unitNames << suite;
            }
            unitsLeft -= inThis;
        }

        say(QStringLiteral("tenants and vendors"));
        QSqlQuery tenant = db.prepare(QStringLiteral(
            "insert into tenants (tid, id, firstname, lastname, company, address, city, state, "
            "postalcode, tel, dat1, active, incometype, acctype) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 0)"));
        for (int i = 0; i < size.tenants; ++i) {
            const int tid = tenantKeys.take();
            tenantIds << tid;
            const QString first = pick(rnd, FirstNames);
            const QString last = pick(rnd, LastNames);
            tenant.addBindValue(tid);
            tenant.addBindValue(QStringLiteral("T%1").arg(i + 1, 5, 10, QLatin1Char('0')));
            tenant.addBindValue(first);
            tenant.addBindValue(last);
            tenant.addBindValue(i % 25 == 0 ? last + QStringLiteral(" Holdings") : QString());
            tenant.addBindValue(QStringLiteral("%1 %2 St").arg(rnd.bounded(1, 999)).arg(pick(rnd, Streets)));
            tenant.addBindValue(pick(rnd, Cities));
            tenant.addBindValue(QStringLiteral("CA"));
            tenant.addBindValue(QString::number(rnd.bounded(90000, 96000)));
            tenant.addBindValue(QStringLiteral("555-%1").arg(rnd.bounded(1000, 9999)));
            tenant.addBindValue(QStringLiteral("%1.%2%3@example.com").arg(first.toLower(), last.toLower().remove(QLatin1Char('\''))).arg(i));
            db.execPrepared(tenant);
        }
        // Tenants beyond the units wait for one, half of them on the wait list.
        QSqlQuery wait = db.prepare(QStringLiteral("insert into waitlist (wid, tid) values (?, ?)"));
        for (int i = size.units; i < size.tenants; i += 2) {
            wait.addBindValue(waitKeys.take());
            wait.addBindValue(tenantIds.at(i));
            db.execPrepared(wait);
        }
        QSqlQuery vendor = db.prepare(QStringLiteral(
            "insert into vendors (vid, name, contact, tel, address, city, state, type) "
            "values (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < size.vendors; ++i) {
            const int vid = vendorKeys.take();
            vendorIds << vid;
            const QString type = pick(rnd, VendorTypes);
            vendor.addBindValue(vid);
            vendor.addBindValue(QStringLiteral("%1 %2 %3").arg(pick(rnd, LastNames), type).arg(i + 1));
            vendor.addBindValue(pick(rnd, FirstNames));
            vendor.addBindValue(QStringLiteral("555-%1").arg(rnd.bounded(1000, 9999)));
            vendor.addBindValue(QStringLiteral("%1 Industrial Way").arg(rnd.bounded(1, 999)));
            vendor.addBindValue(pick(rnd, Cities));
            vendor.addBindValue(QStringLiteral("CA"));
            vendor.addBindValue(type);
            db.execPrepared(vendor);
        }
        t.commit();
    }

    // Every unit gets a tenant and an agreement whose rent started `years` ago; its posting
    // writes the rent history. All but the last months are paid.
    const QDate historyStart = today.addYears(-size.years);
    const int batch = 25;
    for (int first = 0; first < unitIds.size(); first += batch) {
        if (stopping())
            return counts;
        if (first % 500 == 0)
            say(QStringLiteral("agreements and payments: unit %1 of %2").arg(first).arg(unitIds.size()));
        Transaction t(db);
        QSqlQuery place = db.prepare(QStringLiteral("update apartments set tid=? where apid=?"));
        QSqlQuery charges = db.prepare(QStringLiteral(
            "select chid, type, fordate, amt from charges where tid=? and apid=? order by fordate"));
        QSqlQuery trans = db.prepare(QStringLiteral(
            "insert into trans (transid, tid, apid, tdate, cash, mycheck, checkn, ccard, paytotal, "
            "duetotal, applied) values (?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)"));
        QSqlQuery cash = db.prepare(QStringLiteral(
            "insert into cashbook (accid, tdate, description, catid, income, expense, apid) "
            "values (?, ?, ?, ?, ?, 0, ?)"));
        QSqlQuery payment = db.prepare(QStringLiteral(
            "insert into payments (payid, transid, chid, accid, type, fordate, datepaid, amount) "
            "values (?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery paid = db.prepare(QStringLiteral("update charges set amt=0 where chid=?"));
        for (int i = first; i < std::min<int>(first + batch, unitIds.size()); ++i) {
            const int apid = unitIds.at(i);
            const int tid = tenantIds.at(i);
            place.addBindValue(tid);
            place.addBindValue(apid);
            db.execPrepared(place);

            NewAgreement a;
            a.apId = apid;
            a.rent = Money::fromCents(qint64(rnd.bounded(80, 250)) * 1000);
            a.damage = a.rent;
            a.lateFee = Money::fromCents(2500);
            a.perDay = Money::fromCents(500);
            a.recurs = 3;
            a.leaseStart = historyStart.addDays(rnd.bounded(28));
            a.firstPayment = a.leaseStart;
            a.firstDue = a.leaseStart;
            a.moveIn = a.leaseStart;
            a.moveOut = today.addYears(2);
            // Most leases run on past the next year; a few have just expired.
            a.leaseEnd = rnd.bounded(50) == 0 ? today.addDays(-rnd.bounded(1, 60))
                                              : today.addDays(rnd.bounded(400, 1100));
            a.leaseTerm = QStringLiteral("1 Year");
            const CreatedAgreement made = Agreements::create(db, a);
            ++counts.agreements;
            counts.charges += made.chargesPosted;

            // One in ten tenants owes the last one or two months.
            const int owing = rnd.bounded(10) == 0 ? 1 + rnd.bounded(2) : 0;
            struct Charge
            {
                int chid;
                QString type;
                QDate forDate;
                QString amount;
            };
            QList<Charge> posted;
            charges.addBindValue(tid);
            charges.addBindValue(apid);
            db.execPrepared(charges);
            while (charges.next())
                posted.append({charges.value(0).toInt(), charges.value(1).toString(),
                               charges.value(2).toDate(),
                               Money::fromVariant(charges.value(3)).toSql()});
            charges.finish();
            for (int c = 0; c < posted.size() - owing; ++c) {
                const Charge& ch = posted.at(c);
                const QDate payDate = std::min(ch.forDate.addDays(rnd.bounded(-3, 12)), today);
                const bool byCheck = rnd.bounded(3) != 0;
                const int transId = transKeys.take();
                trans.addBindValue(transId);
                trans.addBindValue(tid);
                trans.addBindValue(apid);
                trans.addBindValue(payDate);
                trans.addBindValue(byCheck ? QStringLiteral("0") : ch.amount);
                trans.addBindValue(byCheck ? ch.amount : QStringLiteral("0"));
                trans.addBindValue(byCheck ? QString::number(1000 + c) : QString());
                trans.addBindValue(ch.amount);
                trans.addBindValue(ch.amount);
                trans.addBindValue(ch.amount);
                db.execPrepared(trans);
                const int accId = cashKeys.take();
                cash.addBindValue(accId);
                cash.addBindValue(payDate);
                cash.addBindValue(QStringLiteral("%1 %2 %3").arg(ch.type, unitNames.at(i), ch.forDate.toString(QStringLiteral("MMM yyyy"))));
                cash.addBindValue(rentCategory);
                cash.addBindValue(ch.amount);
                cash.addBindValue(apid);
                db.execPrepared(cash);
                payment.addBindValue(paymentKeys.take());
                payment.addBindValue(transId);
                payment.addBindValue(ch.chid);
                payment.addBindValue(accId);
                payment.addBindValue(ch.type);
                payment.addBindValue(ch.forDate);
                payment.addBindValue(payDate);
                payment.addBindValue(ch.amount);
                db.execPrepared(payment);
                paid.addBindValue(ch.chid);
                db.execPrepared(paid);
                ++counts.payments;
            }
            counts.openCharges += std::min<int>(owing, posted.size());
        }
        t.commit();
    }

    if (stopping())
        return counts;
    say(QStringLiteral("expenses, equipment and maintenance"));
    {
        Transaction t(db);
        QSqlQuery expense = db.prepare(QStringLiteral(
            "insert into cashbook (accid, tdate, description, catid, expense, vid, apid) "
            "values (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < size.expenses; ++i) {
            expense.addBindValue(cashKeys.take());
            expense.addBindValue(historyStart.addDays(rnd.bounded(historyStart.daysTo(today) + 1)));
            expense.addBindValue(QStringLiteral("Invoice %1").arg(10000 + i));
            expense.addBindValue(expenseCategories.isEmpty() ? QVariant() : QVariant(expenseCategories.at(rnd.bounded(int(expenseCategories.size())))));
            expense.addBindValue(Money::fromCents(rnd.bounded(2000, 250000)).toSql());
            expense.addBindValue(vendorIds.isEmpty() ? QVariant() : QVariant(vendorIds.at(rnd.bounded(int(vendorIds.size())))));
            expense.addBindValue(unitIds.at(rnd.bounded(int(unitIds.size()))));
            db.execPrepared(expense);
        }
        QSqlQuery equipment = db.prepare(QStringLiteral(
            "insert into equipments (equipid, apid, description, brand, model, serial, "
            "purchasedate, purchaseprice, purchasedfrom) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const char* const items[] = {"Refrigerator", "Stove", "Dishwasher", "Washer", "Dryer",
                                     "Water heater", "Air conditioner", "Furnace"};
        for (int i = 0; i < size.equipment; ++i) {
            equipment.addBindValue(equipmentKeys.take());
            equipment.addBindValue(unitIds.at(rnd.bounded(int(unitIds.size()))));
            equipment.addBindValue(pick(rnd, items));
            equipment.addBindValue(QStringLiteral("Brand%1").arg(rnd.bounded(20)));
            equipment.addBindValue(QStringLiteral("M-%1").arg(rnd.bounded(1000, 9999)));
            equipment.addBindValue(QStringLiteral("SN%1").arg(rnd.generate() % 100000000));
            equipment.addBindValue(dateOrNull(historyStart.addDays(rnd.bounded(3000))));
            equipment.addBindValue(Money::fromCents(rnd.bounded(20000, 200000)).toSql());
            equipment.addBindValue(QStringLiteral("Appliance World"));
            db.execPrepared(equipment);
        }
        QSqlQuery work = db.prepare(QStringLiteral(
            "insert into maintenance (mainid, apid, ldate, type, status, priority, description, "
            "vendor, cost) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const char* const types[] = {"REPAIR", "INCIDENT", "REGULAR MAINTENANCE", "CHECKUP",
                                     "METER READING", "OTHER"};
        const char* const states[] = {"OPEN", "RESOLVED", "CLOSED", "POSTPONED"};
        const char* const priorities[] = {"HIGH", "NORMAL", "LOW"};
        for (int i = 0; i < size.maintenance; ++i) {
            work.addBindValue(maintenanceKeys.take());
            work.addBindValue(unitIds.at(rnd.bounded(int(unitIds.size()))));
            work.addBindValue(historyStart.addDays(rnd.bounded(historyStart.daysTo(today) + 1)));
            work.addBindValue(pick(rnd, types));
            work.addBindValue(pick(rnd, states));
            work.addBindValue(pick(rnd, priorities));
            work.addBindValue(QStringLiteral("Work order %1").arg(i + 1));
            work.addBindValue(vendorIds.isEmpty() || i % 4 == 0 ? QVariant(QMetaType::fromType<int>())
                                                               : QVariant(vendorIds.at(rnd.bounded(int(vendorIds.size())))));
            work.addBindValue(Money::fromCents(rnd.bounded(5000, 150000)).toSql());
            db.execPrepared(work);
        }
        t.commit();
    }
    return counts;
}
