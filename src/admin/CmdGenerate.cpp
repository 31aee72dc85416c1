#include "admin/Commands.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/NewDatabase.h"
#include "shell/StopSignals.h"
#include "tools/PortfolioGenerator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>

int cmdGenerate(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString usage =
        QStringLiteral("Usage: keystead-admin generate PATH --size small|large [--seed N] "
                       "[--today YYYY-MM-DD]\n");
    if (args.isEmpty()) {
        err << usage;
        return 2;
    }
    const QString path = args.first();
    QString sizeName;
    quint32 seed = 2008;
    QDate today;
    for (int i = 1; i < args.size(); ++i) {
        const QString option = args.at(i);
        if (i + 1 >= args.size()) {
            err << "keystead-admin: " << option << " needs a value\n" << usage;
            return 2;
        }
        const QString value = args.at(++i);
        bool ok = true;
        if (option == QLatin1String("--size"))
            sizeName = value;
        else if (option == QLatin1String("--seed"))
            seed = value.toUInt(&ok);
        else if (option == QLatin1String("--today"))
            ok = (today = QDate::fromString(value, Qt::ISODate)).isValid();
        else
            ok = false;
        if (!ok) {
            err << "keystead-admin: bad option " << option << ' ' << value << '\n' << usage;
            return 2;
        }
    }
    const PortfolioSize size = PortfolioSize::named(sizeName);
    if (!size.isValid()) {
        err << "keystead-admin: --size must be small, large or tiny\n" << usage;
        return 2;
    }
    if (today.isValid())
        Clock::setFixed(today);

    QString error;
    if (!NewDatabase::create(path, &error)) {
        err << "keystead-admin: cannot create " << path << ":\n" << error << '\n';
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    PortfolioCounts counts;
    {
        Database db;
        if (!openForAdmin(db, path, err)) {
            QFile::remove(path);
            return 1;
        }
        try {
            counts = generatePortfolio(
                db, size, seed,
                [&](const QString& step) {
                    out << "  " << step << '\n';
                    out.flush();
                },
                &StopSignals::requested);
        } catch (const DbError& e) {
            db.Disconnect();
            QFile::remove(path);
            err << "keystead-admin: generating failed:\n" << e.message() << '\n';
            return 1;
        }
        if (counts.stopped) {
            // Half a portfolio measures nothing.
            db.Disconnect();
            QFile::remove(path);
            err << "keystead-admin: stopped by "
                << StopSignals::name(StopSignals::signalNumber()) << "; the unfinished " << path
                << " was removed.\n";
            return stoppedStatus();
        }
    }
    out << "Generated " << path << " (" << sizeName << ", seed " << seed << ", today "
        << Clock::today().toString(Qt::ISODate) << ") in " << timer.elapsed() / 1000.0 << " s: "
        << counts.agreements << " agreements, " << counts.charges << " charges, " << counts.payments
        << " payments, " << counts.openCharges << " charges open\n";
    return 0;
}
