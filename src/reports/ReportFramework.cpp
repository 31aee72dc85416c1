#include "reports/ReportFramework.h"

#include "data/Database.h"
#include "data/SqlText.h"
#include "reports/ReportLayout.h"
#include "reports/ReportOutput.h"
#include "reports/ReportText.h"
#include "shell/AppState.h"
#include "shell/Messages.h"

#include <QSqlQuery>

namespace ReportRights {

bool check(AppState& state)
{
    if (state.CheckRight(QStringLiteral("REPORTS")))
        return true;
    Messages::information(Refusal);
    return false;
}

} // namespace ReportRights

namespace DateRange {

void datesFor(Choice choice, const QDate& today, QDate* from, QDate* to)
{
    switch (choice) {
    case Choice::YearToDate:
        *from = QDate(today.year(), 1, 1);
        *to = today;
        break;
    case Choice::MonthToDate:
        *from = QDate(today.year(), today.month(), 1);
        *to = today;
        break;
    case Choice::Today:
        *from = today;
        *to = today;
        break;
    case Choice::Custom:
        break;
    }
}

QString periodLine(const QDate& from, const QDate& to)
{
    return QStringLiteral("From ") + ReportText::shortDate(from) + QStringLiteral(" To ") +
           ReportText::shortDate(to);
}

} // namespace DateRange

namespace ReportConditions {

namespace {

QList<Choice> choices(Database& db, const QString& sql)
{
    QList<Choice> list;
    QSqlQuery q = db.select(sql);
    while (q.next())
        list.append({q.value(0).toString(), q.value(1).toInt()});
    return list;
}

// " (" + term + " OR " + term ... + ")", each term a blank, the column and the key.
QString orTerms(const QList<int>& ids, const QString& column)
{
    QString c = None;
    bool first = true;
    for (int id : ids) {
        c += first ? QStringLiteral("(") : QStringLiteral(" OR ");
        first = false;
        c += QLatin1Char(' ') + column + sqlNumber(qint64(id));
    }
    return c + QLatin1Char(')');
}

} // namespace

QList<Choice> owners(Database& db)
{
    return choices(db, QStringLiteral("Select code,oid from owners order by code"));
}

QString ownerCondition(const QList<int>& chosenOids, bool allChosen, const QString& prefix)
{
    if (allChosen)
        return None;
    if (chosenOids.isEmpty())
        return Cancelled;
    return orTerms(chosenOids, prefix + QStringLiteral("oid="));
}

QList<Choice> buildings(Database& db, const QString& ownerCondition)
{
    const QString where = ownerCondition.trimmed().isEmpty()
                              ? ownerCondition
                              : QStringLiteral(" where ") + ownerCondition;
    return choices(db, QStringLiteral("Select description,buildid from buildings ") + where +
                           QStringLiteral(" order by description "));
}

QString buildingCondition(const QList<int>& chosenBuildIds)
{
    if (chosenBuildIds.isEmpty())
        return Cancelled;
    return orTerms(chosenBuildIds, QStringLiteral("bid="));
}

QString andCondition(const QString& condition)
{
    if (condition == Cancelled || condition.trimmed().isEmpty())
        return condition;
    return QStringLiteral(" and ") + condition;
}

QString dateCondition(const QString& column, const QDate& from, const QDate& to)
{
    return QStringLiteral(" and ") + column + QStringLiteral(">='") + SqlDate(from) +
           QStringLiteral("' and ") + column + QStringLiteral("<='") + SqlDate(to) +
           QLatin1Char('\'');
}

} // namespace ReportConditions

ReportRun::ReportRun(Report& report) : m_report(report), m_head(report.headQuery) {}

ReportRun::~ReportRun()
{
    m_report.close();
    m_report.query = m_head;
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        (*it)();
}

void ReportRun::setQuery(const QString& text)
{
    m_report.query = text;
}

void ReportRun::setText(const QString& name, const QString& text)
{
    ReportItem* item = m_report.item(name);
    if (!item) {
        qWarning("The report %s has no item %s.", qPrintable(m_report.caption), qPrintable(name));
        return;
    }
    m_undo.push_back([item, old = item->text] { item->text = old; });
    item->text = text;
}

void ReportRun::setVisible(const QString& name, bool visible)
{
    ReportItem* item = m_report.item(name);
    if (!item) {
        qWarning("The report %s has no item %s.", qPrintable(m_report.caption), qPrintable(name));
        return;
    }
    m_undo.push_back([item, old = item->visible] { item->visible = old; });
    item->visible = visible;
}

void ReportRun::setColumn(const QString& name, const QString& column)
{
    ReportItem* item = m_report.item(name);
    if (!item) {
        qWarning("The report %s has no item %s.", qPrintable(m_report.caption), qPrintable(name));
        return;
    }
    m_undo.push_back([item, old = item->column] { item->column = old; });
    item->column = column;
}

void ReportRun::setPeriod(const QDate& from, const QDate& to)
{
    setText(QStringLiteral("period"), DateRange::periodLine(from, to));
}

bool ReportRun::show(const QString& noDataMessage, Empty empty)
{
    try {
        const bool rows = m_report.open();
        if (!rows && empty != Empty::Preview) {
            m_report.close();
            if (empty == Empty::Plain)
                Messages::plain(noDataMessage);
            else
                Messages::warning(noDataMessage);
            return false;
        }
        ReportOutput::preview(m_report);
        return true;
    } catch (const DbError& e) {
        m_report.close();
        Messages::error(e.message());
        return false;
    }
}
