#include "admin/AdminArgs.h"

std::optional<AdminArgs> parseAdminArgs(const QStringList& args, const AdminOptions& accepted,
                                        QTextStream& err)
{
    AdminArgs parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (accepted.flags.contains(a)) {
            parsed.flags.insert(a);
        } else if (accepted.lists.contains(a)) {
            QStringList& words = parsed.lists[a];
            const qsizetype before = words.size();
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
                words << args.at(++i);
            if (words.size() == before) {
                err << "keystead-admin: " << a << " needs " << accepted.lists.value(a) << '\n';
                return std::nullopt;
            }
        } else if (accepted.withValue.contains(a)) {
            if (i + 1 >= args.size()) {
                err << "keystead-admin: " << a << " needs a value\n";
                return std::nullopt;
            }
            if (parsed.options.contains(a)) {
                err << "keystead-admin: " << a << " is given twice\n";
                return std::nullopt;
            }
            parsed.options.insert(a, args.at(++i));
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "keystead-admin: unknown option " << a << '\n';
            return std::nullopt;
        } else if (parsed.path.isEmpty()) {
            parsed.path = a;
        } else {
            err << "keystead-admin: unexpected argument " << a << '\n';
            return std::nullopt;
        }
    }
    if (parsed.path.isEmpty()) {
        err << "keystead-admin: the database PATH is missing\n";
        return std::nullopt;
    }
    return parsed;
}
