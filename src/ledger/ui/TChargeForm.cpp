#include "ledger/ui/TChargeForm.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "ledger/Payment.h"
#include "ledger/ui/PaymentReceipt.h"
#include "ledger/ui/TFAhead.h"
#include "ledger/ui/TFormOT.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSqlQuery>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

// The grid of the payment screen: the shared charges with "Paying" and "Memo" editable. An
// edit goes to the screen, which applies it through the payment or refuses it.
class ChargesModel : public DatasetModel
{
public:
    using Editor = std::function<bool(int row, int column, const QString& text)>;
    ChargesModel(Dataset& charges, Editor editor, QObject* parent)
        : DatasetModel(charges,
                       {{QStringLiteral("FORDATE"), QStringLiteral("Date Due"), Format::Date},
                        {QStringLiteral("TYPE"), QStringLiteral("Type")},
                        {QStringLiteral("AMT"), QStringLiteral("Amt Due"), Format::Money},
                        {QStringLiteral("APPLIED"), QStringLiteral("Paying"), Format::Money},
                        {QStringLiteral("MEMO"), QStringLiteral("Memo")}},
                       parent),
          m_editor(std::move(editor))
    {
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = DatasetModel::flags(index);
        if (index.column() == TChargeForm::Paying || index.column() == TChargeForm::Memo)
            f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        // The editor starts from the amount as the user would type it.
        if (role == Qt::EditRole && index.column() == TChargeForm::Paying)
            return Dataset::toMoney(DatasetModel::data(index, Qt::EditRole))
                .roundedToCents()
                .toLocaleText(QLocale());
        if (role == Qt::EditRole && index.column() == TChargeForm::Memo)
            return DatasetModel::data(index, Qt::EditRole).toString();
        return DatasetModel::data(index, role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        return m_editor(index.row(), index.column(), value.toString());
    }

private:
    Editor m_editor;
};

namespace {

class ChargeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        auto* e = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (!e)
            return nullptr;
        if (index.column() == TChargeForm::Paying) {
            // No validator: whatever is typed reaches the screen, which explains a refusal
            // rather than leaving the cell unable to close.
            e->setObjectName(QStringLiteral("payingEditor"));
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            e->setMaxLength(24);
        } else {
            e->setObjectName(QStringLiteral("memoEditor"));
            e->setMaxLength(255);
        }
        return e;
    }
};

QLineEdit* amountField(const char* name)
{
    QLineEdit* e = RecordFields::amount(name);
    RecordFields::showMoney(e, Money());
    return e;
}

QLabel* totalLabel(const char* name)
{
    auto* l = new QLabel(QStringLiteral("0.00"));
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(90);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TChargeForm::TChargeForm(AppState& state, Payment& payment, QWidget* parent)
    : QDialog(parent), m_state(state), m_payment(payment)
{
    setObjectName(QStringLiteral("TChargeForm"));
    setWindowTitle(QStringLiteral("Make Payments"));

    // Who is paying, for which unit.
    auto* header = new QGroupBox;
    auto* grid = new QGridLayout(header);
    const struct
    {
        const char* label;
        const char* name;
    } fields[] = {{"Name", "nameEdit"},         {"Address", "addressEdit"}, {"City", "cityEdit"},
                  {"Phone", "phoneEdit"},       {"Building", "buildingEdit"},
                  {"Suite", "suiteEdit"}};
    QList<QLineEdit*> shown;
    for (int i = 0; i < 6; ++i) {
        auto* e = RecordFields::readOnly(fields[i].name);
        shown << e;
        grid->addWidget(new QLabel(QLatin1String(fields[i].label)), i / 2, (i % 2) * 2);
        grid->addWidget(e, i / 2, (i % 2) * 2 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    try {
        QSqlQuery t = state.db.prepare(
            QStringLiteral("select FIRSTNAME, ADDRESS, CITY, TEL from tenants where TID = ?"));
        t.addBindValue(payment.unit().tId);
        state.db.execPrepared(t);
        if (t.next())
            for (int i = 0; i < 4; ++i)
                shown.at(i)->setText(t.value(i).toString());
        QSqlQuery b = state.db.prepare(
            QStringLiteral("select DESCRIPTION from buildings where BUILDID = ?"));
        b.addBindValue(payment.unit().buildId);
        state.db.execPrepared(b);
        if (b.next())
            shown.at(4)->setText(b.value(0).toString());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    shown.at(5)->setText(payment.unit().suite);

    // The tenant's open charges. The filter goes on before the grid first asks for rows, so
    // the whole table is never read or counted.
    state.tables().Charges->setFiltered(true);
    m_grid = new Grid;
    m_grid->setObjectName(QStringLiteral("chargesGrid"));
    m_model = new ChargesModel(
        *state.tables().Charges,
        [this](int row, int column, const QString& text) { return editCharge(row, column, text); },
        this);
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    m_grid->setItemDelegate(new ChargeDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(DateDue, 100);
    m_grid->setColumnWidth(Type, 160);
    m_grid->setColumnWidth(AmtDue, 100);
    m_grid->setColumnWidth(Paying, 100);

    auto* add = new QPushButton(QStringLiteral("&Add..."));
    add->setObjectName(QStringLiteral("addButton"));
    auto* remove = new QPushButton(QStringLiteral("&Delete..."));
    remove->setObjectName(QStringLiteral("deleteButton"));
    // C is "&Cancel".
    auto* ahead = new QPushButton(QStringLiteral("C&harge Ahead..."));
    ahead->setObjectName(QStringLiteral("chargeAheadButton"));
    for (QPushButton* b : {add, remove, ahead})
        b->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &TChargeForm::addCharge);
    connect(remove, &QPushButton::clicked, this, &TChargeForm::deleteCharge);
    connect(ahead, &QPushButton::clicked, this, &TChargeForm::chargeAhead);
    auto* chargeButtons = new QHBoxLayout;
    chargeButtons->addWidget(add);
    chargeButtons->addWidget(remove);
    chargeButtons->addWidget(ahead);
    chargeButtons->addStretch();

    // How the money came in.
    m_date = RecordFields::date("datePaidEdit", QStringLiteral("Date Paid"));
    m_date->setDate(payment.date);
    m_cash = amountField("cashEdit");
    m_check = amountField("checkEdit");
    m_checkNo = RecordFields::text("checkNumberEdit", 40);
    m_card = amountField("cardEdit");
    m_cardNo = RecordFields::text("cardNumberEdit", 40);
    m_payTotal = RecordFields::readOnly("payTotalEdit");
    m_payTotal->setAlignment(Qt::AlignRight);
    m_payTotal->setText(QStringLiteral("0.00"));
    auto* paymentBox = new QGroupBox(QStringLiteral("Payment"));
    auto* pay = new QGridLayout(paymentBox);
    pay->addWidget(new QLabel(QStringLiteral("Date Paid:")), 0, 0);
    pay->addWidget(m_date, 0, 1);
    pay->addWidget(new QLabel(QStringLiteral("Cash")), 1, 0);
    pay->addWidget(m_cash, 1, 1);
    pay->addWidget(new QLabel(QStringLiteral("Check")), 2, 0);
    pay->addWidget(m_check, 2, 1);
    pay->addWidget(new QLabel(QStringLiteral("check#")), 2, 2);
    pay->addWidget(m_checkNo, 2, 3);
    pay->addWidget(new QLabel(QStringLiteral("Credit Card")), 3, 0);
    pay->addWidget(m_card, 3, 1);
    pay->addWidget(new QLabel(QStringLiteral("Credit Card #")), 3, 2);
    pay->addWidget(m_cardNo, 3, 3);
    pay->addWidget(new QLabel(QStringLiteral("Total")), 4, 0);
    pay->addWidget(m_payTotal, 4, 1);
    pay->setColumnStretch(3, 1);
    for (QLineEdit* e : {m_cash, m_check, m_card})
        connect(e, &QLineEdit::editingFinished, this, [this] { readReceived(); });

    // Totals.
    m_due = totalLabel("dueTotalLabel");
    m_paying = totalLabel("payingTotalLabel");
    m_applied = totalLabel("appliedTotalLabel");
    auto* totals = new QFormLayout;
    totals->addRow(QStringLiteral("Total Due:"), m_due);
    totals->addRow(QStringLiteral("Paying:"), m_paying);
    totals->addRow(QStringLiteral("Payments  Applied:"), m_applied);
    auto* totalsBox = new QGroupBox;
    totalsBox->setLayout(totals);

    m_printReceipts = new QCheckBox(QStringLiteral("Print receipts"));
    m_printReceipts->setObjectName(QStringLiteral("printReceiptsBox"));
    m_printReceipts->setChecked(state.settings.printrec);
    auto* buttons = okCancelButtons(this);
    // Enter in an amount field should finish the amount, not confirm the payment.
    buttons->findChild<QPushButton*>(QStringLiteral("okButton"))->setDefault(false);
    for (QPushButton* b : buttons->findChildren<QPushButton*>())
        b->setAutoDefault(false);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paymentBox, 1);
    lower->addWidget(totalsBox);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_printReceipts);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(new QLabel(QStringLiteral("Outstanding Charges:")));
    layout->addWidget(m_grid, 1);
    layout->addLayout(chargeButtons);
    layout->addLayout(lower);
    layout->addLayout(bottom);
    resize(760, 620);
}

TChargeForm::~TChargeForm() = default;

void TChargeForm::prepare()
{
    Dataset& charges = *m_state.tables().Charges;
    try {
        // Late fees first, so that they are listed and counted.
        if (!m_payment.lateFeesDue().isEmpty() &&
            Messages::askYesNo(QStringLiteral("Do you want to bill late fees?")) &&
            !m_payment.billLateFees().isEmpty())
            charges.refresh();
        showTotals();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TChargeForm::relist(int chId)
{
    Dataset& charges = *m_state.tables().Charges;
    try {
        charges.refresh();
        if (chId)
            charges.locate(QStringLiteral("CHID"), chId);
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    showTotals();
}

void TChargeForm::showTotals()
{
    if (!m_payment.isOpen())
        return;
    try {
        const Payment::Totals t = m_payment.totals();
        m_due->setText(t.due.format());
        m_applied->setText(t.applied.format());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_paying->setText(m_payment.payTotal().format());
    m_payTotal->setText(m_payment.payTotal().format());
}

bool TChargeForm::editCharge(int row, int column, const QString& text)
{
    // A message box opened from here must not start a second edit.
    if (m_busy || !m_payment.isOpen())
        return false;
    m_busy = true;
    bool taken = false;
    Dataset& charges = *m_state.tables().Charges;
    int chId = 0;
    try {
        chId = charges.valueAt(row, QStringLiteral("CHID")).toInt();
        if (column == Memo) {
            m_payment.setMemo(chId, text);
            taken = true;
        } else {
            QString error;
            const std::optional<Money> amount = Payment::readAmount(text, m_grid->locale(), &error);
            if (!amount) {
                Messages::warning(error);
            } else {
                m_payment.apply(chId, *amount);
                taken = true;
            }
        }
    } catch (const PaymentRefused& e) {
        Messages::warning(e.message());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_busy = false;
    // After the editor has closed: the list read again, or the focus back on the refused cell.
    const QPersistentModelIndex cell = m_model->index(row, column);
    QMetaObject::invokeMethod(
        this,
        [this, taken, chId, cell] {
            if (!m_payment.isOpen())
                return;
            if (taken) {
                relist(chId);
            } else if (cell.isValid()) {
                m_grid->setCurrentIndex(cell);
                m_grid->setFocus();
            }
        },
        Qt::QueuedConnection);
    return taken;
}

bool TChargeForm::readReceived()
{
    if (m_busy || !m_payment.isOpen())
        return false;
    m_busy = true;
    Money amounts[3];
    QLineEdit* fields[3] = {m_cash, m_check, m_card};
    bool good = true;
    for (int i = 0; i < 3 && good; ++i) {
        QString error;
        bool ok = false;
        amounts[i] = RecordFields::readMoney(fields[i], &ok, &error);
        if (!ok) {
            Messages::warning(error);
            fields[i]->setFocus();
            fields[i]->selectAll();
            good = false;
        }
    }
    if (good) {
        try {
            m_payment.setReceived(amounts[0], amounts[1], amounts[2]);
        } catch (const PaymentRefused& e) {
            Messages::warning(e.message());
            good = false;
        }
    }
    m_busy = false;
    showTotals();
    return good;
}

void TChargeForm::accept()
{
    if (!m_payment.isOpen())
        return;
    m_state.settings.printrec = m_printReceipts->isChecked();
    if (!RecordFields::checkFields(this))
        return;
    if (!readReceived())
        return;
    m_payment.date = m_date->date();
    m_payment.checkNo = m_checkNo->text();
    m_payment.cardNo = m_cardNo->text();
    try {
        const QString discrepancy = m_payment.discrepancy();
        if (!discrepancy.isEmpty()) {
            Messages::warning(discrepancy);
            return;
        }
        Payment::ReceiptHook receipt;
        if (m_printReceipts->isChecked())
            receipt = [this](const PaymentResult& r) { printPaymentReceipt(m_state, r); };
        m_payment.confirm(receipt);
    } catch (const PaymentRefused& e) {
        Messages::warning(e.message());
        return;
    } catch (const DbError& e) {
        Messages::error(e.message());
        // A failed commit has ended the transaction; there is nothing left to confirm.
        if (m_payment.isOpen())
            return;
        QDialog::reject();
        return;
    }
    QDialog::accept();
}

void TChargeForm::addCharge()
{
    TFormOT dialog(m_state, this);
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        return;
    try {
        const int chId = m_payment.addCharge(dialog.type(), dialog.amount(), dialog.billingDate());
        relist(chId);
    } catch (const PaymentRefused& e) {
        Messages::plain(e.message());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TChargeForm::deleteCharge()
{
    Dataset& charges = *m_state.tables().Charges;
    try {
        if (charges.isEmpty())
            return;
        if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected charge?")))
            return;
        m_payment.deleteCharge(charges.asInt(QStringLiteral("CHID")));
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    relist();
}

void TChargeForm::chargeAhead()
{
    TFAhead dialog(this);
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        return;
    QStringList skipped;
    try {
        m_payment.chargeAhead(dialog.periods(), &skipped);
        m_state.tables().Recurs->refresh();
    } catch (const PaymentRefused& e) {
        Messages::warning(e.message());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    if (!skipped.isEmpty())
        Messages::warning(QStringLiteral("These recurring charges could not be charged ahead: ") +
                          skipped.join(QStringLiteral("; ")));
    relist();
}
