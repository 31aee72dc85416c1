#include "admin/Commands.h"

#include "data/Database.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportLayout.h"
#include "reports/ReportOutput.h"

#include <QDate>

namespace {

const QStringList AllOptions = {QStringLiteral("--from"),   QStringLiteral("--to"),
                                QStringLiteral("--owner"),  QStringLiteral("--building"),
                                QStringLiteral("--tenant"), QStringLiteral("--trans"),
                                QStringLiteral("--out")};

void usage(QTextStream& err)
{
    // Also the answer to "report --help", on standard output then.
    err << "Usage: keystead-admin report NAME PATH [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
           "         [--owner N[,N...]] [--building N[,N...]] [--tenant N] [--trans N]\n"
           "         --out FILE.pdf|FILE.csv\nReports:\n";
    for (const ReportCatalogue::Entry& e : ReportCatalogue::entries())
        err << "  " << e.name.leftJustified(18) << ' ' << e.options.join(QLatin1Char(' ')) << "  ("
            << e.summary << ")\n";
}

std::optional<int> key(const QString& option, const QString& text, QTextStream& err)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0) {
        err << "keystead-admin: " << option << " needs a record number, not \"" << text << "\"\n";
        return std::nullopt;
    }
    return n;
}

std::optional<QList<int>> keys(const QString& option, const QString& text, QTextStream& err)
{
    QList<int> list;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const auto n = key(option, part.trimmed(), err);
        if (!n)
            return std::nullopt;
        list << *n;
    }
    return list;
}

std::optional<QDate> date(const QString& option, const QString& text, QTextStream& err)
{
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (!d.isValid()) {
        err << "keystead-admin: " << option << " needs a date as YYYY-MM-DD, not \"" << text
            << "\"\n";
        return std::nullopt;
    }
    return d;
}

} // namespace

int cmdReport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty() && args.first() == QLatin1String("--help")) {
        usage(out);
        return 0;
    }
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--"))) {
        usage(err);
        return 2;
    }
    const ReportCatalogue::Entry* entry = ReportCatalogue::find(args.first());
    if (!entry) {
        err << "keystead-admin: there is no report \"" << args.first() << "\"\n";
        usage(err);
        return 2;
    }
    QString path;
    QHash<QString, QString> options;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (!a.startsWith(QLatin1String("--"))) {
            if (!path.isEmpty()) {
                err << "keystead-admin: unexpected argument " << a << '\n';
                usage(err);
                return 2;
            }
            path = a;
            continue;
        }
        if (!AllOptions.contains(a)) {
            err << "keystead-admin: unknown option " << a << '\n';
            usage(err);
            return 2;
        }
        if (a != QLatin1String("--out") && !entry->options.contains(a)) {
            err << "keystead-admin: the report " << entry->name << " does not take " << a << '\n';
            return 2;
        }
        if (i + 1 >= args.size()) {
            err << "keystead-admin: " << a << " needs a value\n";
            return 2;
        }
        if (options.contains(a)) {
            err << "keystead-admin: " << a << " is given twice\n";
            return 2;
        }
        options.insert(a, args.at(++i));
    }
    if (path.isEmpty()) {
        err << "keystead-admin: the database PATH is missing\n";
        usage(err);
        return 2;
    }
    const QString outFile = options.value(QStringLiteral("--out"));
    if (outFile.isEmpty() || !(outFile.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ||
                               outFile.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))) {
        err << "keystead-admin: --out needs a file ending in .pdf or .csv\n";
        return 2;
    }
    for (const QString& r : entry->required) {
        if (!options.contains(r)) {
            err << "keystead-admin: the report " << entry->name << " needs " << r << '\n';
            return 2;
        }
    }

    ReportCatalogue::Selection selection;
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        const QString& o = it.key();
        if (o == QLatin1String("--from") || o == QLatin1String("--to")) {
            const auto d = date(o, it.value(), err);
            if (!d)
                return 2;
            (o == QLatin1String("--from") ? selection.from : selection.to) = *d;
        } else if (o == QLatin1String("--owner") || o == QLatin1String("--building")) {
            const auto list = keys(o, it.value(), err);
            if (!list)
                return 2;
            (o == QLatin1String("--owner") ? selection.owners : selection.buildings) = *list;
        } else if (o == QLatin1String("--tenant") || o == QLatin1String("--trans")) {
            const auto n = key(o, it.value(), err);
            if (!n)
                return 2;
            (o == QLatin1String("--tenant") ? selection.tenant : selection.trans) = *n;
        }
    }
    if (selection.from.isValid() && selection.to.isValid() && selection.from > selection.to) {
        err << "keystead-admin: --from is later than --to\n";
        return 2;
    }

    Database db;
    if (!openForAdmin(db, path, err))
        return 1;
    try {
        QString problem;
        std::unique_ptr<Report> report = entry->make(db, selection, &problem);
        if (!report) {
            err << "keystead-admin: " << problem << '\n';
            return 1;
        }
        QString error;
        if (!ReportOutput::write(*report, outFile, &error)) {
            err << "keystead-admin: " << error << '\n';
            return 1;
        }
    } catch (const DbError& e) {
        err << "keystead-admin: the report " << entry->name << " failed:\n" << e.message() << '\n';
        return 1;
    }
    out << "Wrote " << outFile << '\n';
    return 0;
}
