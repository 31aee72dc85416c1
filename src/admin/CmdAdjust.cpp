#include "admin/Commands.h"

#include "admin/AdminArgs.h"

#include "data/Database.h"
#include "data/SqlText.h"
#include "ledger/RentAdjustment.h"
#include "ledger/Voiding.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QSqlQuery>
#include <optional>

namespace {

std::optional<int> number(const AdminArgs& a, const QString& option, QTextStream& err)
{
    const QString text = a.options.value(option);
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) {
        err << "keystead-admin: " << option << " needs a record number, not \"" << text << "\"\n";
        return std::nullopt;
    }
    return n;
}

QString plural(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

int cmdVoid(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage = "Usage: keystead-admin void PATH --trans N [--keep-cashbook]\n";
    const auto parsed =
        parseAdminArgs(args, {{QStringLiteral("--trans")}, {QStringLiteral("--keep-cashbook")}}, err);
    if (parsed && !parsed->options.contains(QStringLiteral("--trans")))
        err << "keystead-admin: --trans is missing\n";
    const std::optional<int> transId =
        parsed && parsed->options.contains(QStringLiteral("--trans"))
            ? number(*parsed, QStringLiteral("--trans"), err)
            : std::nullopt;
    if (!transId) {
        err << usage;
        return 2;
    }
    const bool deleteCashbook = !parsed->flags.contains(QStringLiteral("--keep-cashbook"));
    try {
        Database db;
        if (!openForAdmin(db, parsed->path, err))
            return 1;
        const VoidResult r = Voiding::voidTransaction(db, *transId, deleteCashbook);
        out << "Voided payment " << r.transId << " of " << SqlDate(r.date) << " from tenant "
            << r.tId << ", " << r.payTotal.format() << ", with "
            << plural(int(r.lines.size()), "payment line", "payment lines") << ":\n";
        for (const VoidedLine& l : r.lines) {
            out << "  charge " << l.chId << " " << l.type << " due " << SqlDate(l.forDate) << ": ";
            if (l.chargeFound)
                out << "owes " << l.owedAfter.format() << " again (was " << l.owedBefore.format()
                    << ", the line paid " << l.amount.format() << ")";
            else
                out << "no longer exists; the line paid " << l.amount.format();
            if (l.accId <= 0)
                out << "; no cashbook entry";
            else if (!deleteCashbook)
                out << "; cashbook entry " << l.accId << " kept";
            else if (l.cashbookDeleted)
                out << "; cashbook entry " << l.accId << " deleted";
            else
                out << "; cashbook entry " << l.accId << " no longer exists";
            out << " (payment line " << l.payId << " deleted)\n";
        }
        return 0;
    } catch (const VoidRefused& e) {
        err << "keystead-admin: " << e.message() << "\nNothing was changed.\n";
    } catch (const DbError& e) {
        err << "keystead-admin: the void failed; nothing was changed:\n" << e.message() << '\n';
    }
    return 1;
}

int cmdAdjustRent(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage =
        "Usage: keystead-admin adjust-rent PATH (--percent P | --amount A) [--building N | "
        "--unit N | --tenant N] --target units|agreements|both\n";
    const auto parsed = parseAdminArgs(
        args,
        {{QStringLiteral("--percent"), QStringLiteral("--amount"), QStringLiteral("--building"),
          QStringLiteral("--unit"), QStringLiteral("--tenant"), QStringLiteral("--target")}},
        err);
    if (!parsed) {
        err << usage;
        return 2;
    }
    const AdminArgs& a = *parsed;
    RentAdjustment adj;

    const bool percent = a.options.contains(QStringLiteral("--percent"));
    const bool amount = a.options.contains(QStringLiteral("--amount"));
    if (percent == amount) {
        err << "keystead-admin: give either --percent or --amount\n" << usage;
        return 2;
    }
    adj.kind = percent ? RentAdjustment::Kind::Percentage : RentAdjustment::Kind::Amount;
    const QString option = percent ? QStringLiteral("--percent") : QStringLiteral("--amount");
    QString error;
    const std::optional<Money> value =
        Money::parseLocale(a.options.value(option), QLocale::c(), Money::Sign::Signed, &error);
    if (!value) {
        err << "keystead-admin: " << option << ": " << error << '\n' << usage;
        return 2;
    }
    adj.value = *value;

    const struct
    {
        const char* option;
        RentAdjustment::Scope scope;
    } scopes[] = {{"--building", RentAdjustment::Scope::Building},
                  {"--unit", RentAdjustment::Scope::Unit},
                  {"--tenant", RentAdjustment::Scope::Tenant}};
    int given = 0;
    for (const auto& s : scopes) {
        const QString name = QLatin1String(s.option);
        if (!a.options.contains(name))
            continue;
        ++given;
        const std::optional<int> id = number(a, name, err);
        if (!id) {
            err << usage;
            return 2;
        }
        adj.scope = s.scope;
        adj.id = *id;
    }
    if (given > 1) {
        err << "keystead-admin: give at most one of --building, --unit and --tenant\n" << usage;
        return 2;
    }

    const QString target = a.options.value(QStringLiteral("--target"));
    if (target == QLatin1String("units"))
        adj.target = RentAdjustment::Target::FutureRates;
    else if (target == QLatin1String("agreements"))
        adj.target = RentAdjustment::Target::CurrentAgreements;
    else if (target == QLatin1String("both"))
        adj.target = RentAdjustment::Target::Both;
    else {
        err << "keystead-admin: --target needs units, agreements or both"
            << (target.isEmpty() ? QString() : QStringLiteral(", not \"%1\"").arg(target)) << '\n'
            << usage;
        return 2;
    }

    try {
        Database db;
        if (!openForAdmin(db, a.path, err))
            return 1;
        // A scope that names a record that does not exist would change nothing: say so.
        if (adj.scope != RentAdjustment::Scope::AllUnits) {
            const char* sql = adj.scope == RentAdjustment::Scope::Building
                                  ? "select count(*) from buildings where BUILDID = ?"
                              : adj.scope == RentAdjustment::Scope::Unit
                                  ? "select count(*) from apartments where APID = ?"
                                  : "select count(*) from tenants where TID = ?";
            QSqlQuery q = db.prepare(QLatin1String(sql));
            q.addBindValue(adj.id);
            db.execPrepared(q);
            if (!q.next() || q.value(0).toInt() == 0) {
                const char* what = adj.scope == RentAdjustment::Scope::Building ? "building"
                                   : adj.scope == RentAdjustment::Scope::Unit   ? "unit"
                                                                                : "tenant";
                err << "keystead-admin: there is no " << what << ' ' << adj.id
                    << ".\nNothing was changed.\n";
                return 1;
            }
        }
        const RentAdjustResult r = RentAdjust::adjust(db, adj);
        const QString scope = adj.scope == RentAdjustment::Scope::AllUnits ? QStringLiteral("all units")
                              : adj.scope == RentAdjustment::Scope::Building
                                  ? QStringLiteral("the units of building %1").arg(adj.id)
                              : adj.scope == RentAdjustment::Scope::Unit
                                  ? QStringLiteral("unit %1").arg(adj.id)
                                  : QStringLiteral("the units of tenant %1").arg(adj.id);
        out << "Adjusted the rents of " << scope << ": each rent" << adj.operatorText()
            << ", rounded to the cent:\n";
        auto line = [&out](const char* what, const RentChange& c) {
            out << "  " << what << ": " << c.rows << " changed, " << c.before.format() << " -> "
                << c.after.format() << " in all\n";
        };
        if (adj.target != RentAdjustment::Target::CurrentAgreements)
            line("asking rents of units (APARTMENTS.RENT)", r.units);
        if (adj.target != RentAdjustment::Target::FutureRates) {
            line("running agreements (AGREEMENTS.RENT)", r.agreements);
            line("active rent recurring charges (RECUR.AMOUNT)", r.recurring);
        }
        return 0;
    } catch (const AdjustmentRefused& e) {
        err << "keystead-admin: " << e.message() << "\nNothing was changed.\n";
    } catch (const DbError& e) {
        err << "keystead-admin: the adjustment failed; nothing was changed:\n"
            << e.message() << '\n';
    }
    return 1;
}
