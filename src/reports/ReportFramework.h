#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class AppState;
class Database;
class Report;

// What every report of the Reports menu shares: who may run reports, the date range, the
// owner and building conditions, and a run that leaves its layout as it found it.

namespace ReportRights {

inline const QString Refusal = QStringLiteral("You do not have rights to access this area!");

// With user control on, the logged-in user's REPORTS flag decides; a refusal is shown
// ("Marbleway", information icon) and false returned. With user control off anyone may.
bool check(AppState& state);

} // namespace ReportRights

// The choices of the date range dialog.
namespace DateRange {

enum class Choice
{
    YearToDate,
    MonthToDate,
    Today,
    Custom,
};

// From and To of a choice on the given day; Custom leaves both as they are.
void datesFor(Choice choice, const QDate& today, QDate* from, QDate* to);
// "From 3/1/08 To 3/31/08": both dates in the user's short date format.
QString periodLine(const QDate& from, const QDate& to);

} // namespace DateRange

// Condition texts appended to a report's head query. They hold only numbers and date
// literals, never typed text.
namespace ReportConditions {

// A question that was not confirmed: the report ends silently.
inline const QString Cancelled = QStringLiteral("0");
// No restriction: one blank.
inline const QString None = QStringLiteral(" ");

struct Choice
{
    QString text;
    int id = 0;
};

// Owners by code ("Select code,oid from owners order by code"). Throws DbError.
QList<Choice> owners(Database& db);
// The owner condition for the chosen owners, in list order: " ( buildings.oid=3 OR
// buildings.oid=7)" with the prefix "buildings.". "All" chosen means no restriction.
// Nothing chosen gives Cancelled: the picker refuses to be confirmed that way.
QString ownerCondition(const QList<int>& chosenOids, bool allChosen, const QString& prefix);

// The buildings an owner condition allows, by description. Throws DbError.
QList<Choice> buildings(Database& db, const QString& ownerCondition);
// " ( bid=2 OR  bid=5)" for the chosen buildings in list order; nothing chosen gives
// Cancelled.
QString buildingCondition(const QList<int>& chosenBuildIds);

// How a report appends a condition: Cancelled stays Cancelled (the report stops), a blank one
// adds nothing, any other gets " and " in front.
QString andCondition(const QString& condition);

// " and COLUMN>='YYYY-MM-DD' and COLUMN<='YYYY-MM-DD'": both days inclusive.
QString dateCondition(const QString& column, const QDate& from, const QDate& to);

} // namespace ReportConditions

// One run of a report: the query text set from the head, run-time layout changes, the
// preview or the no-data message, and afterwards everything put back as it was, also when
// the database refuses the query.
class ReportRun
{
public:
    explicit ReportRun(Report& report);
    ~ReportRun();
    ReportRun(const ReportRun&) = delete;
    ReportRun& operator=(const ReportRun&) = delete;

    // The head query as it was when the run began.
    const QString& head() const { return m_head; }
    void setQuery(const QString& text);

    // Run-time changes of the layout, each undone when the run ends.
    void setText(const QString& item, const QString& text);
    void setVisible(const QString& item, bool visible);
    void setColumn(const QString& item, const QString& column);
    // The item named "period": "From ... To ...".
    void setPeriod(const QDate& from, const QDate& to);

    enum class Empty
    {
        Warning, // "Marbleway", warning icon
        Plain,   // the program's title, no icon
        Preview, // no check: an empty report is previewed
    };
    // Opens the rows; shows the preview when there are any (or when Empty::Preview), else
    // the no-data message. A database error is shown with its own text. True when the
    // preview was shown.
    bool show(const QString& noDataMessage, Empty empty = Empty::Warning);

private:
    Report& m_report;
    QString m_head;
    std::vector<std::function<void()>> m_undo;
};
