#include "admin/Commands.h"

#include "admin/AdminArgs.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/SqlText.h"
#include "ledger/Payment.h"

#include <QHash>
#include <QLocale>
#include <QList>
#include <QPair>
#include <optional>

namespace {

// PATH and "--name VALUE" options; --apply takes one or more CHID=AMOUNT words and may come
// again.
std::optional<int> tenantOf(const AdminArgs& a, QTextStream& err)
{
    if (!a.options.contains(QStringLiteral("--tenant"))) {
        err << "keystead-admin: --tenant is missing\n";
        return std::nullopt;
    }
    const QString text = a.options.value(QStringLiteral("--tenant"));
    bool ok = false;
    const int tid = text.toInt(&ok);
    if (!ok || tid < 1) {
        err << "keystead-admin: --tenant needs a tenant number, not \"" << text << "\"\n";
        return std::nullopt;
    }
    return tid;
}

// A YYYY-MM-DD option; true when absent.
bool dateOption(const AdminArgs& a, const QString& option, QDate* date, QTextStream& err)
{
    if (!a.options.contains(option))
        return true;
    const QString text = a.options.value(option);
    *date = QDate::fromString(text, Qt::ISODate);
    if (!date->isValid()) {
        err << "keystead-admin: " << option << " needs a date as YYYY-MM-DD, not \"" << text
            << "\"\n";
        return false;
    }
    return true;
}

bool amountOption(const AdminArgs& a, const QString& option, Money* amount, QTextStream& err)
{
    if (!a.options.contains(option))
        return true;
    QString error;
    const std::optional<Money> m = Payment::readAmount(a.options.value(option), QLocale::c(), &error);
    if (!m) {
        err << "keystead-admin: " << option << ": " << error << '\n';
        return false;
    }
    *amount = *m;
    return true;
}

QString unitText(const PaymentUnit& u)
{
    return QStringLiteral("unit %1 (suite %2)").arg(u.apId).arg(u.suite);
}

// Opens the file and finds the tenant's unit; the message and false when there is none.
std::optional<PaymentUnit> unitFor(Database& db, const QString& path, int tid, QTextStream& err)
{
    if (!openForAdmin(db, path, err))
        return std::nullopt;
    const std::optional<PaymentUnit> unit = PaymentUnit::ofTenant(db, tid);
    if (!unit)
        err << "keystead-admin: No apartment has been assigned to tenant! (tenant " << tid
            << ")\n";
    return unit;
}

} // namespace

int cmdLateFees(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage = "Usage: keystead-admin late-fees PATH --tenant TID [--today YYYY-MM-DD]\n";
    const auto parsed = parseAdminArgs(args, {{QStringLiteral("--tenant"), QStringLiteral("--today")}}, err);
    std::optional<int> tid = parsed ? tenantOf(*parsed, err) : std::nullopt;
    QDate today;
    if (!tid || !dateOption(*parsed, QStringLiteral("--today"), &today, err)) {
        err << usage;
        return 2;
    }
    if (today.isValid())
        Clock::setFixed(today);
    try {
        Database db;
        const std::optional<PaymentUnit> unit = unitFor(db, parsed->path, *tid, err);
        if (!unit)
            return 1;
        Payment payment(db, *unit);
        const QList<LateFee> fees = payment.billLateFees();
        payment.confirm();
        if (fees.isEmpty()) {
            out << "No late fees are due on " << unitText(*unit) << " on "
                << SqlDate(Clock::today()) << "; nothing was written.\n";
            return 0;
        }
        Money total;
        for (const LateFee& f : fees)
            total += f.fee;
        out << "Billed " << fees.size() << " late fees, " << total.format() << " in all, to tenant "
            << unit->tId << " for " << unitText(*unit) << " on " << SqlDate(Clock::today())
            << ":\n";
        for (const LateFee& f : fees)
            out << "  charge " << f.chId << ": " << f.fee.format() << " for charge "
                << f.overdueChId << " (" << f.overdueType << ") due " << SqlDate(f.forDate) << ", "
                << f.days << " days late: " << f.flat.format() << " + " << f.perDay.format()
                << " x " << f.days << '\n';
        return 0;
    } catch (const DbError& e) {
        err << "keystead-admin: billing late fees failed; nothing was written:\n"
            << e.message() << '\n';
    } catch (const PaymentRefused& e) {
        err << "keystead-admin: " << e.message() << '\n';
    }
    return 1;
}

int cmdPay(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage = "Usage: keystead-admin pay PATH --tenant TID [--date YYYY-MM-DD] [--cash X] "
                        "[--check Y --check-no TEXT] [--card Z --card-no TEXT] --apply "
                        "CHID=AMOUNT...\n";
    const auto parsed =
        parseAdminArgs(args,
                       {{QStringLiteral("--tenant"), QStringLiteral("--date"),
                         QStringLiteral("--cash"), QStringLiteral("--check"),
                         QStringLiteral("--check-no"), QStringLiteral("--card"),
                         QStringLiteral("--card-no")},
                        {},
                        {{QStringLiteral("--apply"), QStringLiteral("CHID=AMOUNT")}}},
                       err);
    const std::optional<int> tid = parsed ? tenantOf(*parsed, err) : std::nullopt;
    if (!tid) {
        err << usage;
        return 2;
    }
    QDate date;
    Money cash, check, card;
    if (!dateOption(*parsed, QStringLiteral("--date"), &date, err) ||
        !amountOption(*parsed, QStringLiteral("--cash"), &cash, err) ||
        !amountOption(*parsed, QStringLiteral("--check"), &check, err) ||
        !amountOption(*parsed, QStringLiteral("--card"), &card, err)) {
        err << usage;
        return 2;
    }
    for (const char* option : {"--check-no", "--card-no"}) {
        if (parsed->options.value(QLatin1String(option)).size() > 40) {
            err << "keystead-admin: " << option << " takes at most 40 characters\n" << usage;
            return 2;
        }
    }
    if (parsed->lists.value(QStringLiteral("--apply")).isEmpty()) {
        err << "keystead-admin: --apply is missing\n" << usage;
        return 2;
    }
    QList<QPair<int, Money>> applies;
    for (const QString& word : parsed->lists.value(QStringLiteral("--apply"))) {
        const int eq = word.indexOf(QLatin1Char('='));
        bool ok = false;
        const int chId = eq > 0 ? word.left(eq).toInt(&ok) : 0;
        QString error;
        const std::optional<Money> amount =
            ok && chId > 0 ? Payment::readAmount(word.mid(eq + 1), QLocale::c(), &error) : std::nullopt;
        if (!ok || chId <= 0) {
            err << "keystead-admin: --apply needs CHID=AMOUNT, not \"" << word << "\"\n" << usage;
            return 2;
        }
        if (!amount) {
            err << "keystead-admin: --apply " << word << ": " << error << '\n' << usage;
            return 2;
        }
        for (const auto& a : applies) {
            if (a.first == chId) {
                err << "keystead-admin: charge " << chId << " is applied to twice\n" << usage;
                return 2;
            }
        }
        applies << qMakePair(chId, *amount);
    }

    int chId = 0;
    try {
        Database db;
        const std::optional<PaymentUnit> unit = unitFor(db, parsed->path, *tid, err);
        if (!unit)
            return 1;
        Payment payment(db, *unit);
        if (date.isValid())
            payment.date = date;
        payment.checkNo = parsed->options.value(QStringLiteral("--check-no"));
        payment.cardNo = parsed->options.value(QStringLiteral("--card-no"));
        payment.setReceived(cash, check, card);
        for (const auto& [id, amount] : applies) {
            chId = id;
            payment.apply(id, amount);
        }
        chId = 0;
        if (payment.totals().applied.isZero()) {
            err << "keystead-admin: nothing is applied to any charge; no payment was recorded\n";
            return 1;
        }
        const PaymentResult r = payment.confirm();
        out << "Payment " << r.transId << " of " << SqlDate(r.date) << " from tenant " << r.tId
            << " for " << unitText(*unit) << ": received " << r.payTotal.format() << " (cash "
            << r.cash.format() << ", check " << r.check.format();
        if (!payment.checkNo.isEmpty())
            out << " no. " << payment.checkNo;
        out << ", card " << r.card.format();
        if (!payment.cardNo.isEmpty())
            out << " no. " << payment.cardNo;
        out << "), applied " << r.applied.format() << " of " << r.dueTotal.format() << " due"
            << (unit->hasAgreement() ? "" : "; the unit has no rental agreement") << ".\n";
        for (const PaymentLine& l : r.lines)
            out << "  charge " << l.chId << " " << l.type << " due " << SqlDate(l.forDate)
                << ": paid " << l.paid.format() << ", still owed "
                << (l.owedBefore - l.paid).format() << " (cashbook entry " << l.accId
                << ", payment line " << l.payId << ")\n";
        return 0;
    } catch (const PaymentRefused& e) {
        err << "keystead-admin: ";
        if (chId)
            err << "charge " << chId << ": ";
        err << e.message() << "\nNothing was written.\n";
    } catch (const DbError& e) {
        err << "keystead-admin: the payment failed; nothing was written:\n" << e.message() << '\n';
    }
    return 1;
}
