#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// The arguments of a keystead-admin command: the database PATH, "--name VALUE" options (each
// once), value-less flags, and options that take every word up to the next option.
struct AdminArgs
{
    QString path;
    QHash<QString, QString> options;
    QSet<QString> flags;
    QHash<QString, QStringList> lists;
};

// What a command accepts. lists maps each option that takes several words to what one word
// is, for the message when none is given ("CHID=AMOUNT").
struct AdminOptions
{
    QStringList withValue;
    QStringList flags = {};
    QHash<QString, QString> lists = {};
};

// Nothing, with the reason written to err, for an unknown option, an option without its
// value or given twice, a second PATH, or no PATH at all.
std::optional<AdminArgs> parseAdminArgs(const QStringList& args, const AdminOptions& accepted,
                                        QTextStream& err);
