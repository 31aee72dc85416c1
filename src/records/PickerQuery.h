#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class Database;

// The search-as-you-type query of a record picker: which table it reads, the columns the
// user may search and sort by, the columns it lists and what it hands back.
struct PickerQuery
{
    struct Field
    {
        QString caption; // shown in "Field"
        QString column;  // what the condition tests and the list is sorted by
    };

    QString caption;   // the picker's window title
    QString select;    // the select and from clauses
    QString fixed;     // a condition every row must meet, or empty
    QList<Field> fields;
    QStringList columns;     // listed, in order
    QStringList titles;      // their titles, in words
    QString keyColumn;       // handed back as the id
    QStringList textColumns; // joined by one blank, handed back as the text

    static PickerQuery building();
    static PickerQuery unit();
    static PickerQuery tenant(bool waitList = false);
    static PickerQuery vendor();

    // The statement for Field choice `field` and the Search text as typed: every row when the
    // text is blank, otherwise the rows whose column, in lower case, contains the text in lower
    // case; sorted ascending by the column.
    QString sql(int field, const QString& text) const;

    struct Rows
    {
        QStringList names; // result column names, upper case
        QVector<QVector<QVariant>> values;
        int column(const QString& name) const { return int(names.indexOf(name.toUpper())); }
    };
    // Runs sql() and reads every row, so no cursor stays open between keystrokes.
    Rows run(Database& db, int field, const QString& text) const;
};

// A LIKE condition's pattern for "contains TEXT": the text between % signs, with LIKE's own
// wildcards and the escape character escaped so they match literally; use with likeEscape().
QString likeContains(const QString& text);
// The escape clause that goes with likeContains().
QString likeEscape();
