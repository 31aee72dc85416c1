#include "ledger/ui/LedgerCommands.h"

#include "data/Dataset.h"
#include "ledger/Payment.h"
#include "ledger/ui/TAdjustRent.h"
#include "ledger/ui/TChargeForm.h"
#include "ledger/ui/TTHForm.h"
#include "records/ui/Pickers.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TMain.h"

#include <QSqlQuery>

namespace {

// Moves to the row, switching off a search another screen left on when it hides it.
bool locateShown(Dataset& d, const QString& field, int value)
{
    if (d.locate(field, value))
        return true;
    if (!d.isFiltered())
        return false;
    d.setFiltered(false);
    return d.locate(field, value);
}

// The payment's unit as the current row of the shared units table, which the shared charges
// filter follows. Its building (of whatever owner) is made current first; when that cannot be
// done the user is told, and the unit is found with the table's link to the buildings let go
// until the payment is over, so the charges shown are still the tenant's.
class CurrentUnit
{
public:
    CurrentUnit(AppState& state, const PaymentUnit& unit) : m_units(*state.tables().Apartments)
    {
        SharedTables& t = state.tables();
        bool found = false;
        QSqlQuery q = state.db.prepare(QStringLiteral("select OID from buildings where BUILDID = ?"));
        q.addBindValue(unit.buildId);
        state.db.execPrepared(q);
        if (q.next() && locateShown(*t.Owners, QStringLiteral("OID"), q.value(0).toInt()) &&
            locateShown(*t.Buildings, QStringLiteral("BUILDID"), unit.buildId))
            found = m_units.locate(QStringLiteral("APID"), unit.apId);
        if (found)
            return;
        Messages::plain(QStringLiteral("Error"));
        m_units.releaseLink();
        m_released = true;
        m_units.locate(QStringLiteral("APID"), unit.apId);
    }
    ~CurrentUnit()
    {
        if (!m_released)
            return;
        try {
            m_units.restoreLink();
        } catch (const DbError& e) {
            DataErrors::report(e);
        }
    }

private:
    Dataset& m_units;
    bool m_released = false;
};

} // namespace

void collectRent(TMain& main)
{
    AppState& state = main.state();
    TSelTen picker(state.db, &main);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return;
    const int tid = picker.selectedId();
    SharedTables& t = state.tables();
    try {
        const std::optional<PaymentUnit> unit = PaymentUnit::ofTenant(state.db, tid);
        if (!unit) {
            Messages::warning(QStringLiteral("No apartment has been assigned to tenant!"));
            return;
        }
        if (!unit->hasAgreement() &&
            !Messages::askYesNo(QStringLiteral("No rental agreement exists. Do you want to continue?")))
            return;
        CurrentUnit current(state, *unit);
        bool confirmed = false;
        {
            Payment payment(state.db, *unit);
            TChargeForm form(state, payment, &main);
            form.prepare();
            confirmed = Dialogs::exec(&form) == QDialog::Accepted;
            // Cancel, or a screen closed any other way, keeps nothing.
            payment.cancel();
        }
        const QList<Dataset*> reread =
            confirmed ? QList<Dataset*>{t.Trans, t.Charges, t.Recurs, t.Payments, t.Cashbook}
                      : QList<Dataset*>{t.Recurs, t.Charges};
        for (Dataset* d : reread)
            d->refresh();
        if (confirmed)
            emit state.cashbookChanged();
    } catch (const PaymentRefused& e) {
        Messages::warning(e.message());
    } catch (const DbError& e) {
        Messages::error(e.message());
        // What the screen showed may be gone with the rolled-back work.
        for (Dataset* d : {t.Recurs, t.Charges}) {
            try {
                d->refresh();
            } catch (const DbError&) {
            }
        }
    }
}

void connectLedgerCommands(TMain& main)
{
    main.guarded(QStringLiteral("collectRent"), QStringLiteral("BILL"), TMain::NoRights,
                 [&main] { collectRent(main); });
    main.guarded(QStringLiteral("paymentHistory"), QStringLiteral("VOIDTRANS"), TMain::NoRights,
                 [&main] {
                     TSelTen picker(main.state().db, &main);
                     if (Dialogs::exec(&picker) == QDialog::Accepted)
                         showPaymentHistory(main.state(), picker.selectedId(), &main);
                 });
    main.guarded(QStringLiteral("adjustRent"), QStringLiteral("APARTMENTS"), TMain::NoRights,
                 [&main] {
                     TAdjustRent dialog(main.state(), &main);
                     if (Dialogs::exec(&dialog) != QDialog::Accepted)
                         return;
                     try {
                         main.state().tables().Recurs->refresh();
                     } catch (const DbError& e) {
                         Messages::error(e.message());
                     }
                 });
}
