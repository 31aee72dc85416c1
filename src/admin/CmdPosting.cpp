#include "admin/Commands.h"

#include "admin/AdminArgs.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/SqlText.h"
#include "ledger/Posting.h"
#include "shell/StopSignals.h"

#include <optional>

namespace {

// PATH followed by "--name VALUE" options; every option named in ALLOWED takes a value.
// A whole number of at least MIN; reports the option by name otherwise.
std::optional<int> wholeNumber(const QString& option, const QString& text, int min,
                               QTextStream& err)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < min) {
        err << "keystead-admin: " << option << " needs a whole number of " << min
            << " or more, not \"" << text << "\"\n";
        return std::nullopt;
    }
    return n;
}

} // namespace

int stoppedStatus()
{
    return 128 + StopSignals::signalNumber();
}

int cmdPostDue(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage =
        "Usage: keystead-admin post-due PATH [--today YYYY-MM-DD] [--ahead-days N]\n";
    const auto parsed =
        parseAdminArgs(args, {{QStringLiteral("--today"), QStringLiteral("--ahead-days")}}, err);
    if (!parsed) {
        err << usage;
        return 2;
    }
    if (parsed->options.contains(QStringLiteral("--today"))) {
        const QString text = parsed->options.value(QStringLiteral("--today"));
        const QDate today = QDate::fromString(text, Qt::ISODate);
        if (!today.isValid()) {
            err << "keystead-admin: --today needs a date as YYYY-MM-DD, not \"" << text << "\"\n"
                << usage;
            return 2;
        }
        Clock::setFixed(today);
    }
    std::optional<int> ahead;
    if (parsed->options.contains(QStringLiteral("--ahead-days"))) {
        ahead = wholeNumber(QStringLiteral("--ahead-days"),
                            parsed->options.value(QStringLiteral("--ahead-days")), 0, err);
        if (!ahead) {
            err << usage;
            return 2;
        }
    }

    Database db;
    if (!openForAdmin(db, parsed->path, err))
        return 1;
    try {
        if (!ahead)
            ahead = Posting::chargeAheadDays(db);
    } catch (const DbError& e) {
        err << "keystead-admin: cannot read the days to charge ahead:\n" << e.message() << '\n';
        return 1;
    }

    Posting posting(db);
    posting.setStopCheck(&StopSignals::requested);
    const PostingReport report = posting.PostDueCharges(*ahead);
    out << "Posted " << report.rowsPosted << " recurring charges up to " << SqlDate(Clock::today())
        << " (" << *ahead << " days ahead): " << report.chargesWritten << " charges written, "
        << report.rowsCompleted << " recurring charges completed.\n";
    for (const PostingSkip& s : report.skipped)
        err << "keystead-admin: skipped recurring charge " << s.recId << ": " << s.reason << '\n';
    if (!report.ok()) {
        err << "keystead-admin: posting stopped";
        if (report.failedRecId)
            err << " at recurring charge " << report.failedRecId << " (nothing of it was written)";
        err << ":\n" << report.error << '\n';
        return 1;
    }
    if (report.stopped) {
        err << "keystead-admin: stopped by " << StopSignals::name(StopSignals::signalNumber())
            << "; what was posted is committed, " << report.rowsLeft
            << " recurring charges are left for the next run.\n";
        return stoppedStatus();
    }
    return report.skipped.isEmpty() ? 0 : 1;
}

int cmdChargeAhead(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const char* usage = "Usage: keystead-admin charge-ahead PATH --recid N --periods N\n";
    const auto parsed =
        parseAdminArgs(args, {{QStringLiteral("--recid"), QStringLiteral("--periods")}}, err);
    if (!parsed) {
        err << usage;
        return 2;
    }
    for (const char* option : {"--recid", "--periods"}) {
        if (!parsed->options.contains(QLatin1String(option))) {
            err << "keystead-admin: " << option << " is missing\n" << usage;
            return 2;
        }
    }
    const auto recId = wholeNumber(QStringLiteral("--recid"),
                                   parsed->options.value(QStringLiteral("--recid")), 1, err);
    const auto periods =
        recId ? wholeNumber(QStringLiteral("--periods"),
                            parsed->options.value(QStringLiteral("--periods")), 1, err)
              : std::nullopt;
    if (!recId || !periods) {
        err << usage;
        return 2;
    }

    Database db;
    if (!openForAdmin(db, parsed->path, err))
        return 1;
    try {
        const std::optional<RecurRow> row = RecurRow::load(db, *recId);
        if (!row) {
            err << "keystead-admin: there is no recurring charge with RECID " << *recId << '\n';
            return 1;
        }
        // Posting past the end date of a finished row would bill a period the row never had.
        if (row->completed) {
            err << "keystead-admin: recurring charge " << *recId
                << " is completed; no further charges are posted\n";
            return 1;
        }
        Posting posting(db);
        const int result = posting.PostChargesAhead(*row, *periods);
        const std::optional<RecurRow> after = RecurRow::load(db, *recId);
        out << "Wrote " << posting.lastChargeCount() << " charges for recurring charge " << *recId
            << "; it is " << (result == Posting::Completed ? "now completed" : "still active")
            << ", next date " << (after ? SqlDate(after->nextDate) : QString()) << ".\n";
        return 0;
    } catch (const PostingError& e) {
        err << "keystead-admin: recurring charge " << *recId << " was not posted: " << e.message()
            << '\n';
    } catch (const DbError& e) {
        err << "keystead-admin: posting failed; nothing was written:\n" << e.message() << '\n';
    }
    return 1;
}
