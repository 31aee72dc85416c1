#include "ledger/ui/TTHForm.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "ledger/Voiding.h"
#include "reports/TRepInvoice.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/TMain.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString TTHForm::VoidQuestion =
    QStringLiteral("Are you sure you want to delete the selected transaction");
const QString TTHForm::CashbookQuestion =
    QStringLiteral("Delete associated entries in the cashbook?");

namespace {

Grid* grid(Dataset& table, const QList<DatasetModel::Column>& columns, const char* name,
           QObject* owner)
{
    auto* view = new Grid;
    view->setObjectName(QLatin1String(name));
    auto* model = new DatasetModel(table, columns, owner);
    view->setModel(model);
    model->bindSelection(view->selectionModel());
    return view;
}

QPushButton* button(const QString& text, const char* name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TTHForm::TTHForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TTHForm"));
    setWindowTitle(QStringLiteral("Payment History"));
    SharedTables& t = state.tables();
    using F = DatasetModel::Format;
    m_transGrid = grid(*t.Trans,
                       {{QStringLiteral("TDATE"), QStringLiteral("Date"), F::Date},
                        {QStringLiteral("DUETOTAL"), QStringLiteral("Amount Due"), F::Money},
                        {QStringLiteral("PAYTOTAL"), QStringLiteral("Paid"), F::Money},
                        {QStringLiteral("CASH"), QStringLiteral("Cash"), F::Money},
                        {QStringLiteral("MYCHECK"), QStringLiteral("Check"), F::Money},
                        {QStringLiteral("CCARD"), QStringLiteral("Credit Card"), F::Money}},
                       "transactionsGrid", this);
    m_chargesGrid = grid(*t.Payments,
                         {{QStringLiteral("FORDATE"), QStringLiteral("Due Date"), F::Date},
                          {QStringLiteral("TYPE"), QStringLiteral("Type")},
                          {QStringLiteral("AMOUNT"), QStringLiteral("AMOUNT"), F::Money}},
                         "chargesGrid", this);

    auto* voidButton = button(QStringLiteral("Void &Transaction..."), "voidButton");
    auto* print = button(QStringLiteral("&Print Receipt..."), "printReceiptButton");
    auto* close = button(QStringLiteral("&Close..."), "closeButton");
    connect(voidButton, &QPushButton::clicked, this, &TTHForm::voidTransaction);
    connect(print, &QPushButton::clicked, this, &TTHForm::printReceipt);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(voidButton);
    buttons->addWidget(print);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Transaction")));
    layout->addWidget(m_transGrid, 3);
    layout->addWidget(new QLabel(QStringLiteral("Charges")));
    layout->addWidget(m_chargesGrid, 2);
    layout->addLayout(buttons);
    resize(720, 520);
}

void TTHForm::voidTransaction()
{
    if (!m_state.CheckRight(QStringLiteral("VOIDTRANS"))) {
        Messages::information(TMain::NoRights);
        return;
    }
    SharedTables& t = m_state.tables();
    int transId = 0;
    try {
        if (t.Trans->isEmpty())
            return;
        transId = t.Trans->asInt(QStringLiteral("TRANSID"));
    } catch (const DbError& e) {
        Messages::error(e.message());
        return;
    }
    if (!Messages::askYesNo(VoidQuestion))
        return;
    const bool deleteCashbook = Messages::askYesNo(CashbookQuestion);
    bool voided = false;
    try {
        Voiding::voidTransaction(m_state.db, transId, deleteCashbook);
        voided = true;
    } catch (const VoidRefused&) {
        Messages::plain(QStringLiteral("Unknown error"));
    } catch (const DbError&) {
        Messages::plain(QStringLiteral("Unknown error"));
    }
    // In every case: what the lists and the other screens show is read again.
    for (Dataset* d : {t.Charges, t.Cashbook, t.Trans}) {
        try {
            d->refresh();
        } catch (const DbError& e) {
            Messages::error(e.message());
        }
    }
    if (voided && deleteCashbook)
        emit m_state.cashbookChanged();
}

void TTHForm::printReceipt()
{
    Dataset& trans = *m_state.tables().Trans;
    try {
        if (trans.isEmpty())
            return;
        TRepInvoice::previewStored(m_state, trans.asInt(QStringLiteral("TRANSID")));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void showPaymentHistory(AppState& state, int tid, QWidget* parent)
{
    SharedTables& t = state.tables();
    try {
        state.TransFilterMode = 2;
        state.SearchText = QString::number(tid);
        if (t.Trans->isFiltered())
            t.Trans->refilter();
        else
            t.Trans->setFiltered(true);
        t.Payments->refresh();
        TTHForm dialog(state, parent);
        Dialogs::exec(&dialog);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    try {
        t.Trans->setFiltered(false);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
