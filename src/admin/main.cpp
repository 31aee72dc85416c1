#include "admin/Commands.h"

#include "shell/StopSignals.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <iterator>
#include <memory>

namespace {

const AdminCommand Commands[] = {
    {"create", "create PATH", "write a new database file with the starting rows", cmdCreate},
    {"upgrade", "upgrade PATH", "bring an older database file up to the current schema",
     cmdUpgrade},
    {"post-due", "post-due PATH [--today YYYY-MM-DD] [--ahead-days N]",
     "post every recurring charge that is due", cmdPostDue},
    {"charge-ahead", "charge-ahead PATH --recid N --periods N",
     "post the next N periods of one recurring charge", cmdChargeAhead},
    {"late-fees", "late-fees PATH --tenant TID [--today YYYY-MM-DD]",
     "bill the late fees of the tenant's unit", cmdLateFees},
    {"pay",
     "pay PATH --tenant TID [--date D] [--cash X] [--check Y --check-no TEXT] [--card Z "
     "--card-no TEXT] --apply CHID=AMOUNT...",
     "record a payment applied to the tenant's open charges", cmdPay},
    {"void", "void PATH --trans N [--keep-cashbook]",
     "void a payment: its charges owe again, its cashbook entries go unless kept", cmdVoid},
    {"adjust-rent",
     "adjust-rent PATH (--percent P | --amount A) [--building N | --unit N | --tenant N] "
     "--target units|agreements|both",
     "raise or lower rents by a percentage or an amount", cmdAdjustRent},
    {"generate", "generate PATH --size small|large [--seed N] [--today YYYY-MM-DD]",
     "write a new database filled with a portfolio for measuring", cmdGenerate},
    {"report", "report NAME PATH [selections] --out FILE.pdf|FILE.csv",
     "write a report as PDF or CSV (report --help lists them)", cmdReport},
};

void printHelp(QTextStream& out)
{
    out << "Usage: keystead-admin COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const AdminCommand& c : Commands)
        out << "  " << QString::fromLatin1(c.usage).leftJustified(58) << ' ' << c.summary << '\n';
    out << "  " << QStringLiteral("--help").leftJustified(58) << " show this list\n";
}

} // namespace

int main(int argc, char** argv)
{
    // SIGTERM and SIGINT end a long command between its units of work.
    StopSignals::install();
    // Reports lay out text, which needs the font database of a GUI application; there is no
    // window, so the offscreen platform serves on any machine.
    const bool report = argc > 1 && qstrcmp(argv[1], "report") == 0;
    if (report)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application(report ? new QGuiApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h") || args.first() == QLatin1String("help")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const AdminCommand& c : Commands) {
        if (name == QLatin1String(c.name))
            return c.run(args, out, err);
    }
    err << "keystead-admin: unknown command \"" << name << "\"\n\n";
    err.flush();
    printHelp(out);
    return 2;
}
