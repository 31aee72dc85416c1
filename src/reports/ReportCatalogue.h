#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class Database;
class Report;

// The reports that run without a window (keystead-admin report): each names the selections
// it takes as options.
namespace ReportCatalogue {

struct Selection
{
    QDate from;
    QDate to;
    QList<int> owners;
    QList<int> buildings;
    std::optional<int> tenant;
    std::optional<int> trans;
};

struct Entry
{
    QString name;
    QString summary;
    QStringList options;  // the options it takes ("--trans")
    QStringList required; // those it cannot run without
    // The report for the selection, or nullptr with the reason (a record that does not
    // exist). Throws DbError.
    std::function<std::unique_ptr<Report>(Database& db, const Selection& selection,
                                          QString* problem)>
        make;
};

const QList<Entry>& entries();
const Entry* find(const QString& name);

} // namespace ReportCatalogue
