#include "cashbook/Cashbook.h"
#include "cashbook/ui/TCashForm.h"
#include "data/Clock.h"
#include "data/Dataset.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

// Ann Lee rents unit 1A of Elm Court; Acme Plumbing is a vendor. The book: three income
// entries (750.30) and two expense entries (200.00). The template's categories: Rent (1) and
// Deposit (6) are income, Repairs (8) and Legal & Professional (17) expense.
void addBook(Database& db)
{
    for (const char* s : {
             "insert into owners (OID, CODE) values (1, 'OWN')",
             "insert into buildings (BUILDID, OID, DESCRIPTION) values (1, 1, 'Elm Court')",
             "insert into tenants (TID, ID, FIRSTNAME, LASTNAME) values (1, 'T1', 'Ann', 'Lee')",
             "insert into apartments (APID, BID, SUITE, TID, AGREEID) values (10, 1, '1A', 1, -1)",
             "insert into vendors (VID, NAME) values (1, 'Acme Plumbing')",
             "insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, INCOME, EXPENSE, APID) values "
             "(1, '2024-01-05', 'Rent March', 1, 500.00, null, 10)",
             "insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, INCOME, EXPENSE, APID) values "
             "(2, '2024-01-06', 'RENT deposit', 6, 250.10, null, 10)",
             "insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, INCOME, EXPENSE) values "
             "(3, '2024-01-07', 'back rent', 1, 0.20, null)",
             "insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, EXPENSE, VID, APID) values "
             "(4, '2024-01-08', 'Plumbing', 8, 120.00, 1, 10)",
             "insert into cashbook (ACCID, TDATE, DESCRIPTION, CATID, EXPENSE) values "
             "(5, '2024-01-09', 'O''Brien''s fee', 17, 80.00)",
             "set generator gen_cashbook_id to 100",
             "set generator gen_vendors_id to 1",
         })
        db.exec(QLatin1String(s));
}

// A started program with the book, and the Cashbook window open with its totals shown.
struct Book
{
    ShellFixture f{false};
    TCashForm* form = nullptr;

    explicit Book(bool withEntries = true)
    {
        if (withEntries)
            f.prepare(addBook);
        f.start();
        f.messages.clear(); // the start-up's own warnings
        f.main->command(QStringLiteral("cashbook"))->trigger();
        form = f.main->findChild<TCashForm*>();
        QCoreApplication::processEvents(); // the totals follow the rows
    }
    QAbstractItemModel* model() const { return form->list()->grid()->model(); }
    QString cell(int row, int column) const { return model()->index(row, column).data().toString(); }
    QStringList descriptions() const
    {
        QStringList out;
        for (int row = 0; row < model()->rowCount(); ++row)
            out << cell(row, 1);
        return out;
    }
    QString totals() const
    {
        return form->totalIncomeLabel()->text() + QStringLiteral(" / ") +
               form->totalExpenseLabel()->text();
    }
    void select(const QString& description)
    {
        form->list()->grid()->selectRow(int(descriptions().indexOf(description)));
    }
    // INCOME and EXPENSE of an entry as stored, "NULL" for NULL.
    QString stored(int accId)
    {
        QSqlQuery q = f.state.db.select(
            QStringLiteral("select INCOME, EXPENSE from cashbook where ACCID = %1").arg(accId));
        if (!q.next())
            return QStringLiteral("gone");
        auto text = [&q](int i) {
            return q.value(i).isNull() ? QStringLiteral("NULL") : Money::fromVariant(q.value(i)).toSql();
        };
        return text(0) + QLatin1Char('/') + text(1);
    }
};

void chooseCategory(QDialog* d, const QString& name)
{
    auto* box = child<QComboBox>(d, "categoryBox");
    box->setCurrentIndex(box->findText(name));
}

// Fills the entry dialog and presses OK.
DialogScript::Step entry(const QString& description, const QString& category, const QString& amount)
{
    return [=](QDialog* d) {
        type(d, "descriptionEdit", description);
        chooseCategory(d, category);
        type(d, "amountEdit", amount);
        click(d, "okButton");
    };
}

} // namespace

class TestCashbook : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    // An empty book shows 0.00 twice; Edit and Delete then do nothing at all.
    void emptyBook()
    {
        Book b(false);
        QCOMPARE(b.form->windowTitle(), QStringLiteral("Cashbook"));
        QVERIFY(b.form->parentWidget()->isMaximized());
        QCOMPARE(b.totals(), QStringLiteral("0.00 / 0.00"));
        QVERIFY(!b.form->list()->printButton()->isEnabled());
        click(b.form, "editButton");
        click(b.form, "deleteButton");
        QVERIFY(b.f.messages.shown.isEmpty());
        QVERIFY(b.f.dialogs.seen.isEmpty());
    }

    // The category decides: income to INCOME, expense to EXPENSE, and a change of category on
    // edit moves the amount; Record Expense with an income category records income; zero and
    // negative amounts count as typed; an entry may have no vendor or unit.
    void categoryDecidesIncomeOrExpense()
    {
        Book b;
        QCOMPARE(b.totals(), QStringLiteral("750.30 / 200.00"));
        // Looked up: category, vendor, the unit's tenant and suite; empty where there is none.
        QCOMPARE(b.descriptions(), (QStringList{"Rent March", "RENT deposit", "back rent", "Plumbing",
                                                "O'Brien's fee"}));
        QCOMPARE(QStringList({b.cell(3, 2), b.cell(3, 3), b.cell(3, 4), b.cell(3, 5), b.cell(3, 6), b.cell(3, 7)}),
                 (QStringList{"", "120.00", "Repairs", "Acme Plumbing", "Ann Lee", "1A"}));
        QCOMPARE(QStringList({b.cell(4, 5), b.cell(4, 6), b.cell(4, 7)}), (QStringList{"", "", ""}));

        b.f.dialogs.then([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Cashbook Entry"));
            QCOMPARE(child<DateField>(d, "dateEdit")->date(), Today);
            QVERIFY(child<QLineEdit>(d, "amountEdit")->text().isEmpty());
            entry(QStringLiteral("Laundry room"), QStringLiteral("Rent"), QStringLiteral("1000.50"))(d);
        });
        b.f.main->command(QStringLiteral("recordExpense"))->trigger();
        QCOMPARE(b.stored(101), QStringLiteral("1000.50/NULL"));
        // The window's labels follow at its own next refresh.
        QCOMPARE(b.totals(), QStringLiteral("750.30 / 200.00"));

        b.f.dialogs.then(entry(QStringLiteral("Refund of a fee"), QStringLiteral("Repairs"), QStringLiteral("-25")));
        click(b.form, "newButton");
        QCOMPARE(b.stored(102), QStringLiteral("NULL/-25.00"));
        b.f.dialogs.then(entry(QStringLiteral("Nothing"), QStringLiteral("Repairs"), QStringLiteral("0")));
        click(b.form, "newButton");
        QCOMPARE(b.stored(103), QStringLiteral("NULL/0.00"));
        QCOMPARE(b.totals(), QStringLiteral("1,750.80 / 175.00"));

        // Edit "Rent March" to Repairs and back: the amount moves, the totals with it.
        b.select(QStringLiteral("Rent March"));
        b.f.dialogs.then([](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "amountEdit")->text(), QLocale().toString(500.0, 'f', 2));
            QCOMPARE(child<QComboBox>(d, "categoryBox")->currentText(), QStringLiteral("Rent"));
            QCOMPARE(child<QLineEdit>(d, "apartmentEdit")->text(), QStringLiteral("1A"));
            chooseCategory(d, QStringLiteral("Repairs"));
            click(d, "okButton");
        });
        click(b.form, "editButton");
        QCOMPARE(b.stored(1), QStringLiteral("NULL/500.00"));
        QCOMPARE(b.totals(), QStringLiteral("1,250.80 / 675.00"));
        b.select(QStringLiteral("Rent March"));
        b.f.dialogs.then([](QDialog* d) {
            chooseCategory(d, QStringLiteral("Rent"));
            click(d, "okButton");
        });
        click(b.form, "editButton");
        QCOMPARE(b.stored(1), QStringLiteral("500.00/NULL"));
        QCOMPARE(b.totals(), QStringLiteral("1,750.80 / 175.00"));

        // Cancel leaves the entry exactly as it was, in the book and in the list.
        b.select(QStringLiteral("Plumbing"));
        b.f.dialogs.then([](QDialog* d) {
            type(d, "descriptionEdit", QStringLiteral("Changed"));
            chooseCategory(d, QStringLiteral("Rent"));
            type(d, "amountEdit", QStringLiteral("9"));
            click(d, "cancelButton");
        });
        click(b.form, "editButton");
        QCOMPARE(b.stored(4), QStringLiteral("NULL/120.00"));
        QVERIFY(b.descriptions().contains(QStringLiteral("Plumbing")));
        QCOMPARE(b.f.state.tables().Cashbook->state(), Dataset::State::Browse);

        // The kept totals are what the database sums.
        const CashTotals kept = Cashbook(b.f.state).totals();
        const CashTotals summed = Cashbook(b.f.state).recompute();
        QCOMPARE(kept.income, summed.income);
        QCOMPARE(kept.expense, summed.expense);
        QVERIFY(b.f.messages.shown.isEmpty());
        QVERIFY(b.f.dialogs.done());
    }

    // A category and a vendor made from the dialog are listed for choosing, the entry's own
    // stay as they were; the unit comes from the unit picker; the grid then shows them all.
    void categoryVendorAndUnitFromTheDialog()
    {
        Book b;
        b.f.dialogs.then([&b](QDialog* d) {
            auto* categories = child<QComboBox>(d, "categoryBox");
            auto* vendors = child<QComboBox>(d, "vendorBox");
            b.f.dialogs.then([](QDialog* cat) {
                type(cat, "nameEdit", QStringLiteral("Snow Removal"));
                child<QRadioButton>(cat, "expenseButton")->setChecked(true);
                click(cat, "okButton");
            });
            click(d, "newCategoryButton");
            QVERIFY(categories->currentText().isEmpty());
            b.f.dialogs.then([](QDialog* vendor) {
                type(vendor, "nameEdit", QStringLiteral("Frosty Co"));
                click(vendor, "okButton");
            });
            click(d, "newVendorButton");
            QVERIFY(vendors->currentText().isEmpty());
            b.f.dialogs.then([](QDialog* picker) {
                type(picker, "searchEdit", QStringLiteral("1A"));
                click(picker, "okButton");
            });
            click(d, "searchUnitButton");
            QCOMPARE(child<QLineEdit>(d, "apartmentEdit")->text(), QStringLiteral("1A"));
            vendors->setCurrentIndex(vendors->findText(QStringLiteral("Frosty Co")));
            entry(QStringLiteral("Driveway"), QStringLiteral("Snow Removal"), QStringLiteral("60"))(d);
        });
        click(b.form, "newButton");
        QVERIFY(b.f.dialogs.done());
        QCOMPARE(b.stored(101), QStringLiteral("NULL/60.00"));
        const int row = int(b.descriptions().indexOf(QStringLiteral("Driveway")));
        QCOMPARE(QStringList({b.cell(row, 4), b.cell(row, 5), b.cell(row, 6), b.cell(row, 7)}),
                 (QStringList{"Snow Removal", "Frosty Co", "Ann Lee", "1A"}));
        QCOMPARE(b.totals(), QStringLiteral("750.30 / 260.00"));
    }

    // The dialog's checks, in their order; the dialog stays open with what was typed.
    void entryDialogChecks()
    {
        Book b;
        const int before = b.f.state.db.scalar(QStringLiteral("select count(*) from cashbook")).toInt();
        b.f.dialogs.then([&b](QDialog* d) {
            click(d, "okButton");
            type(d, "descriptionEdit", QStringLiteral("   "));
            click(d, "okButton");
            type(d, "descriptionEdit", QStringLiteral("Paint"));
            click(d, "okButton");
            type(d, "amountEdit", QStringLiteral("12.50"));
            click(d, "okButton");
            chooseCategory(d, QStringLiteral("Repairs"));
            type(d, "amountEdit", QStringLiteral("twelve"));
            click(d, "okButton");
            QVERIFY(d->isVisible());
            QCOMPARE(child<QLineEdit>(d, "descriptionEdit")->text(), QStringLiteral("Paint"));
            click(d, "cancelButton");
        });
        click(b.form, "newButton");
        const QStringList texts = b.f.messages.texts();
        QCOMPARE(texts.mid(0, 4), (QStringList{Cashbook::BlankDescription, Cashbook::BlankDescription,
                                               Cashbook::BlankAmount, Cashbook::BlankCategory}));
        QCOMPARE(texts.size(), 5);
        QVERIFY(texts.last().contains(QStringLiteral("twelve")));
        for (const Message& m : b.f.messages.shown) {
            QCOMPARE(m.icon, Message::Warning);
            QCOMPARE(m.caption, QStringLiteral("Marbleway"));
        }
        QCOMPARE(b.f.state.db.scalar(QStringLiteral("select count(*) from cashbook")).toInt(), before);
        QCOMPARE(b.model()->rowCount(), before);
    }

    // The search finds the description's text in any letter case, a quote as typed; blanks
    // change nothing; the totals stay those of the whole book until an entry changes; Clear and
    // closing the window end the search.
    void searchByDescription()
    {
        Book b;
        ListWindow* list = b.form->list();
        QCOMPARE(list->fieldBox()->currentText(), QStringLiteral("Description"));
        for (const char* typed : {"rent", "RENT", "Rent"}) {
            list->criteriaEdit()->setText(QLatin1String(typed));
            click(b.form, "searchButton");
            QCOMPARE(b.descriptions(), (QStringList{"Rent March", "RENT deposit", "back rent"}));
        }
        QCOMPARE(b.totals(), QStringLiteral("750.30 / 200.00"));
        list->criteriaEdit()->setText(QStringLiteral("   "));
        click(b.form, "searchButton");
        QCOMPARE(b.model()->rowCount(), 3);
        list->criteriaEdit()->setText(QStringLiteral("o'brien"));
        click(b.form, "searchButton");
        QCOMPARE(b.descriptions(), QStringList{"O'Brien's fee"});

        b.f.dialogs.then(entry(QStringLiteral("Gutters"), QStringLiteral("Repairs"), QStringLiteral("30")));
        click(b.form, "newButton");
        QCOMPARE(b.descriptions(), QStringList{"O'Brien's fee"});
        QCOMPARE(b.totals(), QStringLiteral("750.30 / 230.00"));

        click(b.form, "clearButton");
        QVERIFY(list->criteriaEdit()->text().isEmpty());
        QCOMPARE(b.model()->rowCount(), 6);
        list->criteriaEdit()->setText(QStringLiteral("rent"));
        click(b.form, "searchButton");
        b.form->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Dataset& book = *b.f.state.tables().Cashbook;
        QVERIFY(!book.isFiltered());
        // Another screen's search field never reaches the book.
        b.f.state.SearchField = QStringLiteral("LASTNAME");
        book.refresh();
        QCOMPARE(book.rowCount(), 6);
        b.f.main->command(QStringLiteral("cashbook"))->trigger();
        auto* again = b.f.main->findChild<TCashForm*>();
        QVERIFY(again && again != b.form);
        QVERIFY(again->list()->criteriaEdit()->text().isEmpty());
        QVERIFY(b.f.dialogs.done());
    }

    // Delete asks first; Yes deletes and the totals follow, No keeps the entry.
    void deleteAsksFirst()
    {
        Book b;
        b.select(QStringLiteral("RENT deposit"));
        b.f.messages.answers << Message::No;
        click(b.form, "deleteButton");
        QCOMPARE(b.stored(2), QStringLiteral("250.10/NULL"));
        b.f.messages.answers << Message::Yes;
        click(b.form, "deleteButton");
        const Message& asked = b.f.messages.shown.last();
        QCOMPARE(asked.text, Cashbook::DeleteQuestion);
        QCOMPARE(asked.icon, Message::Warning);
        QCOMPARE(b.stored(2), QStringLiteral("gone"));
        QCOMPARE(b.totals(), QStringLiteral("500.20 / 200.00"));
        QCOMPARE(b.model()->rowCount(), 4);
    }

    // Without the CASHBOOK right neither the window nor the two buttons open anything.
    void cashbookRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (WID, ID, FIRSTNAME, CASHBOOK) values (2, 'CLERK', 'Clerk', 0)"));
        });
        f.dialogs.then(loginAs(QStringLiteral("CLERK")));
        TMain& main = f.start();
        f.messages.clear();
        for (const char* key : {"cashbook", "recordExpense", "recordIncome"})
            main.command(QLatin1String(key))->trigger();
        QCOMPARE(f.messages.texts(), QStringList(3, TMain::NoRights));
        QCOMPARE(f.messages.shown.first().icon, Message::Information);
        QVERIFY(!main.findChild<TCashForm*>());
        QVERIFY(f.dialogs.done());
    }
};

QTEST_MAIN(TestCashbook)
#include "tst_cashbook.moc"
