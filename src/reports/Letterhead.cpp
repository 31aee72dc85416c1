#include "reports/Letterhead.h"

#include "data/Database.h"
#include "reports/ReportLayout.h"

#include <QSqlQuery>

namespace Letterhead {

QStringList load(Database& db)
{
    QStringList info;
    QSqlQuery q = db.select(QStringLiteral("select STR from SETUP order by SETUPORDER"));
    while (q.next() && info.size() < 11)
        info << q.value(0).toString();
    const QString last = info.isEmpty() ? QString() : info.last();
    while (info.size() < 11)
        info << last;
    return info;
}

double add(ReportBand& band, const QStringList& ownerInfo)
{
    const auto info = [&ownerInfo](int i) {
        return i < ownerInfo.size() ? ownerInfo.at(i) : QString();
    };
    const double w = Report::BodyWidth;
    band.label(info(0), {0, 0, w, 18}, ReportAlign::Center, {14, true}).name =
        QStringLiteral("companyName");
    const ReportFont plain{10};
    band.label(info(1), {0, 20, w, 13}, ReportAlign::Center, plain).name =
        QStringLiteral("address1");
    band.label(info(2), {0, 33, w, 13}, ReportAlign::Center, plain).name =
        QStringLiteral("address2");
    band.label(info(3) + QStringLiteral(", ") + info(4) + QStringLiteral(", ") + info(5),
               {0, 46, w, 13}, ReportAlign::Center, plain)
        .name = QStringLiteral("cityStateZip");
    band.label(info(6), {0, 59, w, 13}, ReportAlign::Center, plain).name =
        QStringLiteral("telephone");
    band.rule(76, 0, w);
    return 80;
}

} // namespace Letterhead
