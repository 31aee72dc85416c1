#include "reports/ui/ReportQuestions.h"

#include "records/ui/Pickers.h"
#include "reports/ReportFramework.h"
#include "reports/ui/TFRange.h"
#include "shell/ui/Dialogs.h"

#include <QListWidget>

namespace ReportQuestions {

bool askDateRange(QDate* from, QDate* to)
{
    // The one dialog lives as long as the program, so it belongs to no window.
    TFRange& range = TFRange::shared();
    if (Dialogs::exec(&range) != QDialog::Accepted)
        return false;
    *from = range.from();
    *to = range.to();
    return true;
}

QString OwnerCondition(Database& db, const QString& prefix, QWidget* parent)
{
    const QList<ReportConditions::Choice> owners = ReportConditions::owners(db);
    if (owners.isEmpty())
        return ReportConditions::None;
    QStringList items{QStringLiteral("All")};
    for (const ReportConditions::Choice& o : owners)
        items << o.text;
    TFSelStat picker(QStringLiteral("Select owner(s)."), items, parent);
    picker.list()->item(0)->setSelected(true);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return ReportConditions::Cancelled;
    QList<int> chosen;
    bool all = false;
    for (int row : picker.selectedRows()) {
        if (row == 0)
            all = true;
        else
            chosen << owners.at(row - 1).id;
    }
    return ReportConditions::ownerCondition(chosen, all, prefix);
}

QString BuildingCondition(Database& db, const QString& ownerCondition, QWidget* parent)
{
    if (ownerCondition == ReportConditions::Cancelled)
        return ReportConditions::Cancelled;
    const QList<ReportConditions::Choice> buildings =
        ReportConditions::buildings(db, ownerCondition);
    if (buildings.isEmpty())
        return ReportConditions::None;
    QStringList items;
    for (const ReportConditions::Choice& b : buildings)
        items << b.text;
    TFSelStat picker(QStringLiteral("Select building(s)/propertie(s)."), items, parent);
    picker.selectAll();
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return ReportConditions::Cancelled;
    QList<int> chosen;
    for (int row : picker.selectedRows())
        chosen << buildings.at(row).id;
    return ReportConditions::buildingCondition(chosen);
}

} // namespace ReportQuestions
