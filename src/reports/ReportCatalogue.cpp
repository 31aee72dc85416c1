#include "reports/ReportCatalogue.h"

#include "data/Database.h"
#include "reports/Letterhead.h"
#include "reports/TDepReport.h"
#include "reports/TRepInvoice.h"

namespace ReportCatalogue {

const QList<Entry>& entries()
{
    static const QList<Entry> list = {
        {QStringLiteral("invoice"),
         QStringLiteral("the receipt of a stored payment"),
         {QStringLiteral("--trans")},
         {QStringLiteral("--trans")},
         [](Database& db, const Selection& s, QString* problem) -> std::unique_ptr<Report> {
             const std::optional<InvoicePayment> payment = InvoicePayment::load(db, *s.trans);
             if (!payment) {
                 *problem = QStringLiteral("there is no payment with TRANSID %1").arg(*s.trans);
                 return nullptr;
             }
             return std::make_unique<TRepInvoice>(db, Letterhead::load(db), *payment,
                                                  TRepInvoice::storedLines(db, *s.trans));
         }},
        {QStringLiteral("deposit-receipt"),
         QStringLiteral("a tenant's security deposit receipt"),
         {QStringLiteral("--tenant")},
         {QStringLiteral("--tenant")},
         [](Database& db, const Selection& s, QString* problem) -> std::unique_ptr<Report> {
             // The tenant window always has a tenant; a typed number may name none.
             if (!db.scalar(QStringLiteral("select count(*) from tenants where tid = %1")
                                .arg(*s.tenant))
                      .toInt()) {
                 *problem = QStringLiteral("there is no tenant with TID %1").arg(*s.tenant);
                 return nullptr;
             }
             return std::make_unique<TDepReport>(db, Letterhead::load(db), *s.tenant);
         }},
    };
    return list;
}

const Entry* find(const QString& name)
{
    for (const Entry& e : entries())
        if (e.name == name)
            return &e;
    return nullptr;
}

} // namespace ReportCatalogue
