#include "cashbook/ui/TCashForm.h"

#include "cashbook/ui/TCatForm.h"
#include "data/Dataset.h"
#include "records/ui/ChildActivation.h"
#include "records/ui/Pickers.h"
#include "records/ui/RecordFields.h"
#include "records/ui/TVenMain.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/DateField.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/SearchGroup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

const QString SearchField = QStringLiteral("DESCRIPTION");

QPushButton* sideButton(const QString& text, const char* objectName)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(objectName));
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout* row(QWidget* field, QWidget* button)
{
    auto* r = new QHBoxLayout;
    r->addWidget(field, 1);
    r->addWidget(button);
    return r;
}

// Runs the entry dialog on the row begun: stored on OK, discarded on Cancel.
bool runEntry(AppState& state, Cashbook& book, const CashEntry& start, bool blankAmount,
              QWidget* parent)
{
    TCashProp dialog(state, parent);
    dialog.showEntry(start);
    if (blankAmount)
        dialog.amountEdit()->clear();
    dialog.onAccept = [&] {
        try {
            book.store(dialog.entry());
            return true;
        } catch (const DbError& e) {
            Messages::error(e.message());
            return false;
        }
    };
    if (Dialogs::exec(&dialog) == QDialog::Accepted)
        return true;
    book.cancel();
    return false;
}

} // namespace

// ---- the entry dialog ------------------------------------------------------------------

TCashProp::TCashProp(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TCashProp"));
    setWindowTitle(QStringLiteral("Cashbook Entry"));
    m_date = RecordFields::date("dateEdit", QStringLiteral("Date"));
    m_description = RecordFields::text("descriptionEdit", 100);
    m_category = new QComboBox;
    m_category->setObjectName(QStringLiteral("categoryBox"));
    m_amount = RecordFields::amount("amountEdit");
    m_vendor = new QComboBox;
    m_vendor->setObjectName(QStringLiteral("vendorBox"));
    m_apartment = RecordFields::readOnly("apartmentEdit");
    m_comments = new QPlainTextEdit;
    m_comments->setObjectName(QStringLiteral("commentsEdit"));
    m_comments->setTabChangesFocus(true);
    fillCategories(0);
    fillVendors(0);

    auto* newCategory = sideButton(QStringLiteral("&New..."), "newCategoryButton");
    auto* newVendor = sideButton(QStringLiteral("Ne&w..."), "newVendorButton");
    auto* searchUnit = sideButton(QStringLiteral("&Search..."), "searchUnitButton");
    connect(newCategory, &QPushButton::clicked, this, &TCashProp::newCategory);
    connect(newVendor, &QPushButton::clicked, this, &TCashProp::newVendor);
    connect(searchUnit, &QPushButton::clicked, this, &TCashProp::chooseUnit);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Date"), m_date);
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Category"), row(m_category, newCategory));
    form->addRow(QStringLiteral("Amount"), m_amount);
    form->addRow(QStringLiteral("Vendor"), row(m_vendor, newVendor));
    form->addRow(QStringLiteral("Apartment"), row(m_apartment, searchUnit));
    form->addRow(QStringLiteral("Comments"), m_comments);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    resize(460, 380);
}

void TCashProp::fillCategories(int select)
{
    m_category->clear();
    try {
        // Every category, also two of one name: each is a category of its own.
        QSqlQuery q = m_state.db.select(
            QStringLiteral("select CATID, NAME from categories order by NAME, CATID"));
        while (q.next())
            m_category->addItem(q.value(1).toString(), q.value(0).toInt());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_category->setCurrentIndex(m_category->findData(select));
}

void TCashProp::fillVendors(int select)
{
    m_vendor->clear();
    // The empty choice: no vendor.
    m_vendor->addItem(QString(), 0);
    try {
        QSqlQuery q =
            m_state.db.select(QStringLiteral("select VID, NAME from vendors order by NAME, VID"));
        while (q.next())
            m_vendor->addItem(q.value(1).toString(), q.value(0).toInt());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_vendor->setCurrentIndex(std::max(0, m_vendor->findData(select)));
}

void TCashProp::showEntry(const CashEntry& e)
{
    m_date->setDate(e.date.isValid() ? e.date : m_date->date());
    m_description->setText(e.description);
    m_category->setCurrentIndex(e.catId > 0 ? m_category->findData(e.catId) : -1);
    RecordFields::showMoney(m_amount, e.amount);
    m_vendor->setCurrentIndex(std::max(0, m_vendor->findData(e.vendorId)));
    m_comments->setPlainText(e.notes);
    m_apId = e.apId;
    m_apartment->clear();
    if (m_apId > 0) {
        try {
            QSqlQuery q = m_state.db.prepare(QStringLiteral("select SUITE from apartments where APID = ?"));
            q.addBindValue(m_apId);
            m_state.db.execPrepared(q);
            if (q.next())
                m_apartment->setText(q.value(0).toString());
        } catch (const DbError& e) {
            Messages::error(e.message());
        }
    }
}

CashEntry TCashProp::entry() const
{
    CashEntry e;
    e.date = m_date->date();
    e.description = m_description->text();
    e.catId = m_category->currentIndex() < 0 ? 0 : m_category->currentData().toInt();
    e.amount = RecordFields::readMoney(m_amount);
    e.vendorId = m_vendor->currentData().toInt();
    e.apId = m_apId;
    e.notes = m_comments->toPlainText();
    return e;
}

void TCashProp::accept()
{
    const QString message =
        Cashbook::check(m_description->text(), m_amount->text(), m_category->currentText());
    if (!message.isEmpty()) {
        Messages::warning(message);
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    bool ok = false;
    QString error;
    RecordFields::readMoney(m_amount, &ok, &error);
    if (!ok) {
        Messages::warning(error);
        m_amount->setFocus();
        return;
    }
    if (onAccept && !onAccept())
        return;
    QDialog::accept();
}

void TCashProp::newCategory()
{
    Dataset& c = *m_state.tables().Categories;
    try {
        c.append();
        c.setValue(QStringLiteral("TYPE"), 1);
        if (TCatForm::runDialog(m_state, this)) {
            c.setValue(QStringLiteral("CATID"), m_state.db.NextKey(QStringLiteral("GEN_CATEGORIES_ID")));
            c.post();
        } else {
            c.cancel();
        }
    } catch (const DbError& e) {
        if (c.isEditing())
            c.cancel();
        Messages::error(e.message());
    }
    fillCategories(m_category->currentIndex() < 0 ? 0 : m_category->currentData().toInt());
}

void TCashProp::newVendor()
{
    const int keep = m_vendor->currentData().toInt();
    TVenMain::addVendor(m_state, this);
    fillVendors(keep);
}

void TCashProp::chooseUnit()
{
    TFSelApart picker(m_state.db, this);
    if (Dialogs::exec(&picker) != QDialog::Accepted)
        return;
    m_apId = picker.selectedId();
    m_apartment->setText(picker.selectedText());
}

// ---- the window ------------------------------------------------------------------------

TCashForm::TCashForm(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("TCashForm"));
    setWindowTitle(QStringLiteral("Cashbook"));
    using F = DatasetModel::Format;
    m_list = new ListWindow(state, *state.tables().Cashbook,
                            {{QStringLiteral("TDATE"), QStringLiteral("Date"), F::Date},
                             {QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
                             {QStringLiteral("INCOME"), QStringLiteral("Income"), F::Money},
                             {QStringLiteral("EXPENSE"), QStringLiteral("Expense"), F::Money},
                             {QStringLiteral("Category"), QStringLiteral("Category")},
                             {QStringLiteral("Vendor"), QStringLiteral("Vendor")},
                             {QStringLiteral("myTenant"), QStringLiteral("Tenant")},
                             {QStringLiteral("Suite"), QStringLiteral("Suite")}},
                            {{QStringLiteral("Description"), SearchField}});
    connect(m_list, &ListWindow::newRequested, this, &TCashForm::newEntry);
    connect(m_list, &ListWindow::editRequested, this, &TCashForm::editEntry);
    connect(m_list, &ListWindow::deleteRequested, this, &TCashForm::deleteEntry);
    // Runs after the list's own search, which set the shared search state.
    connect(m_list->searchGroup(), &SearchGroup::searchRequested, this, &TCashForm::rememberSearch);
    // The whole book again: counted at once, as when the window opened.
    connect(m_list->searchGroup(), &SearchGroup::clearRequested, this,
            [this] { m_list->model()->fetchMore(QModelIndex()); });

    auto value = [](const char* name) {
        auto* l = new QLabel(QStringLiteral("0.00"));
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(140);
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    m_totalExpense = value("totalExpenseLabel");
    m_totalIncome = value("totalIncomeLabel");
    auto* totals = new QHBoxLayout;
    totals->setContentsMargins(0, 0, 12, 0);
    totals->addStretch();
    totals->addWidget(new QLabel(QStringLiteral("Total Expense:")));
    totals->addWidget(m_totalExpense);
    totals->addSpacing(24);
    totals->addWidget(new QLabel(QStringLiteral("Total Income:")));
    totals->addWidget(m_totalIncome);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(m_list, 1);
    layout->addLayout(totals);
    resize(1100, 560);

    new ChildActivation(this, [this](bool active) { setActive(active); });
    setActive(true); // opening the window makes it the active one
    // Counting the book and summing its totals each take a pass over the whole table: the
    // first rows are put on screen before them.
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaint();
            m_list->model()->fetchMore(QModelIndex());
            refreshTotals();
        },
        Qt::QueuedConnection);
}

TCashForm::~TCashForm()
{
    if (!m_state.tablesOpen())
        return;
    SharedTables& t = m_state.tables();
    // The search goes with the window: left on, it would read whatever another screen searches.
    if (t.Cashbook->isFiltered() && !t.Cashbook->isEditing()) {
        try {
            t.Cashbook->setFiltered(false);
        } catch (const DbError& e) {
            DataErrors::report(e);
        }
    }
    if (m_active)
        setActive(false);
}

void TCashForm::setActive(bool active)
{
    m_active = active;
    // Every entry's unit resolves to its building whatever owner other screens chose.
    try {
        Dataset& b = *m_state.tables().Buildings;
        if (active) {
            b.releaseLink();
            restoreSearch();
        } else {
            b.restoreLink();
        }
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TCashForm::rememberSearch()
{
    if (m_state.tables().Cashbook->isFiltered())
        m_searchText = m_state.SearchText;
}

void TCashForm::restoreSearch()
{
    Dataset& book = *m_state.tables().Cashbook;
    if (!book.isFiltered() || m_searchText.isEmpty() || book.isEditing())
        return;
    if (m_state.SearchField == SearchField && m_state.SearchText == m_searchText)
        return;
    m_state.SearchField = SearchField;
    m_state.SearchText = m_searchText;
    book.refilter();
}

void TCashForm::refreshTotals()
{
    try {
        const CashTotals t = Cashbook(m_state).totals();
        m_totalExpense->setText(t.expense.format());
        m_totalIncome->setText(t.income.format());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

bool TCashForm::addEntry(AppState& state, QWidget* parent)
{
    Cashbook book(state);
    try {
        const CashEntry start = book.beginNew();
        return runEntry(state, book, start, true, parent);
    } catch (const DbError& e) {
        if (state.tables().Cashbook->isEditing())
            book.cancel();
        Messages::error(e.message());
        return false;
    }
}

void TCashForm::newEntry()
{
    if (addEntry(m_state, this))
        refreshTotals();
}

void TCashForm::editEntry()
{
    Cashbook book(m_state);
    try {
        CashEntry entry;
        if (!book.beginEdit(&entry))
            return;
        if (runEntry(m_state, book, entry, false, this))
            refreshTotals();
    } catch (const DbError& e) {
        if (m_state.tables().Cashbook->isEditing())
            book.cancel();
        Messages::error(e.message());
    }
}

void TCashForm::deleteEntry()
{
    if (m_state.tables().Cashbook->isEmpty())
        return;
    if (!Messages::askYesNo(Cashbook::DeleteQuestion, Message::Warning))
        return;
    try {
        Cashbook(m_state).removeCurrent();
        refreshTotals();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
