#include "data/Cipher.h"
#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/SqlText.h"
#include "records/Tenants.h"
#include "records/ui/TFormDeposit.h"
#include "records/ui/TNTForm.h"
#include "records/ui/TTenForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTest>

namespace {

int count(ShellFixture& f, const QString& sql)
{
    return f.state.db.scalar(sql).toInt();
}

int generator(ShellFixture& f, const char* name)
{
    return count(f, QStringLiteral("select gen_id(%1, 0) from rdb$database").arg(QLatin1String(name)));
}

// Two stored tenants, 501 Ann Smith and 502 Bob Jones.
void twoTenants(Database& db)
{
    db.exec(QStringLiteral("insert into tenants (tid, id, firstname, lastname) values (501, 'A1', 'Ann', 'Smith')"));
    db.exec(QStringLiteral("insert into tenants (tid, id, firstname, lastname) values (502, 'B2', 'Bob', 'Jones')"));
}

TTenForm* openTenants(ShellFixture& f)
{
    f.main->command(QStringLiteral("tenants"))->trigger();
    return f.main->findChild<TTenForm*>();
}

// Sets an optional date field.
void setDate(QWidget* d, const char* name, const QDate& date)
{
    child<DateField>(d, qPrintable(QLatin1String(name) + QStringLiteral("Edit")))->setDate(date);
}

DialogScript::Step fillDetail(const char* field, const QString& text)
{
    return [field, text](QDialog* d) {
        type(d, field, text);
        click(d, "okButton");
    };
}

} // namespace

class TestTenants : public QObject
{
    Q_OBJECT
private slots:
    void newThenCancelLeavesNothingAlthoughTheKeyWasDrawn()
    {
        ShellFixture f(false);
        f.start();
        TTenForm* w = openTenants(f);
        QVERIFY(w);
        QCOMPARE(f.main->openChildWindow(QStringLiteral("tenants"))->windowTitle(), QStringLiteral("Tenants"));
        openTenants(f); // a second opening brings the same window forward
        QCOMPARE(f.main->findChildren<TTenForm*>().size(), 1);

        const int before = generator(f, "GEN_TENANTS_ID");
        int listed = 0;
        bool inTransaction = false;
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TNTForm*>(d);
            QVERIFY(form->waitListBox()->isChecked());
            type(d, "idEdit", QStringLiteral("T1"));
            click(d, "vehicleInsertButton");
            click(d, "petInsertButton");
            click(d, "occupantInsertButton");
            for (auto k : {TenantDetails::Vehicles, TenantDetails::Pets, TenantDetails::Occupants})
                listed += form->details(k)->rowCount();
            inTransaction = f.state.db.inTransaction();
            click(d, "cancelButton");
        });
        f.dialogs.then(fillDetail("makeEdit", QStringLiteral("Ford")));
        f.dialogs.then(fillDetail("animalEdit", QStringLiteral("Cat")));
        f.dialogs.then(fillDetail("nameEdit", QStringLiteral("Kim")));
        click(w, "newButton");

        QVERIFY(f.dialogs.done());
        QCOMPARE(listed, 3); // the lists show their rows while the dialog is open
        QVERIFY(inTransaction);
        QVERIFY(!f.state.db.inTransaction());
        QCOMPARE(generator(f, "GEN_TENANTS_ID"), before + 1);
        for (const char* table : {"tenants", "waitlist", "vehicles", "pets", "occupants"})
            QCOMPARE(count(f, QStringLiteral("select count(*) from %1").arg(QLatin1String(table))), 0);
        Dataset& tenants = *f.state.tables().Tenants;
        QCOMPARE(tenants.rowCount(), 0);
        QVERIFY(!tenants.isEditing());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void waitListRowOnlyWhileTheBoxIsTicked_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("alreadyWaiting");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("rows");
        QTest::newRow("new, box left ticked") << false << false << true << 1;
        QTest::newRow("new, box unticked") << false << false << false << 0;
        QTest::newRow("edit, box left unticked") << true << false << false << 0;
        QTest::newRow("edit, box ticked") << true << false << true << 1;
        QTest::newRow("edit, ticked, already waiting") << true << true << true << 1;
    }
    void waitListRowOnlyWhileTheBoxIsTicked()
    {
        QFETCH(bool, editing);
        QFETCH(bool, alreadyWaiting);
        QFETCH(bool, ticked);
        QFETCH(int, rows);
        ShellFixture f(false);
        f.prepare([&](Database& db) {
            if (!editing)
                return;
            twoTenants(db);
            if (alreadyWaiting)
                db.exec(QStringLiteral("insert into waitlist (wid, tid) values (7, 501)"));
        });
        f.start();
        TTenForm* w = openTenants(f);
        bool openedTicked = false;
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TNTForm*>(d);
            openedTicked = form->waitListBox()->isChecked();
            form->waitListBox()->setChecked(ticked);
            type(d, "idEdit", QStringLiteral("W1"));
            click(d, "okButton");
        });
        click(w, editing ? "editButton" : "newButton");

        QCOMPARE(openedTicked, !editing);
        const int tid = editing ? 501 : generator(f, "GEN_TENANTS_ID");
        QCOMPARE(count(f, QStringLiteral("select count(*) from tenants where tid = %1 and id = 'W1'").arg(tid)), 1);
        QCOMPARE(count(f, QStringLiteral("select count(*) from waitlist")), rows);
        QCOMPARE(count(f, QStringLiteral("select count(*) from waitlist where tid = %1").arg(tid)), rows);
        QCOMPARE(f.state.tables().WaitList->rowCount(), rows);
        QVERIFY(!f.state.db.inTransaction());
    }

    void detailChangesInEditAreUndoneByCancelAndKeptByOk()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            twoTenants(db);
            db.exec(QStringLiteral("insert into vehicles (tid, make) values (501, 'Volvo')"));
        });
        f.start();
        TTenForm* w = openTenants(f);

        // Cancel: the new pet, the deleted vehicle and the changed name all go back.
        f.messages.answers.enqueue(Message::Yes);
        f.dialogs.then([](QDialog* d) {
            type(d, "firstNameEdit", QStringLiteral("Changed"));
            click(d, "petInsertButton");
            click(d, "vehicleDeleteButton");
            click(d, "cancelButton");
        });
        f.dialogs.then(fillDetail("animalEdit", QStringLiteral("Dog")));
        click(w, "editButton");
        QCOMPARE(count(f, QStringLiteral("select count(*) from pets")), 0);
        QCOMPARE(count(f, QStringLiteral("select count(*) from vehicles where tid = 501")), 1);
        QCOMPARE(f.state.db.scalar(QStringLiteral("select firstname from tenants where tid = 501")).toString(),
                 QStringLiteral("Ann"));
        QCOMPARE(f.state.tables().Tenants->asText(QStringLiteral("FIRSTNAME")), QStringLiteral("Ann"));

        // OK: the pet and an edited occupant stay, with keys from the database.
        f.dialogs.then([](QDialog* d) {
            click(d, "petInsertButton");
            click(d, "occupantEditButton"); // on an empty list Edit starts a new row
            click(d, "okButton");
        });
        f.dialogs.then(fillDetail("animalEdit", QStringLiteral("Dog")));
        f.dialogs.then([](QDialog* d) {
            type(d, "nameEdit", QStringLiteral("Kim O'Neil"));
            setDate(d, "dob", QDate(1990, 2, 3));
            click(d, "okButton");
        });
        click(w, "editButton");
        QVERIFY(f.dialogs.done());
        QCOMPARE(count(f, QStringLiteral("select count(*) from pets where tid = 501 and animal = 'Dog' and pid is not null")), 1);
        QCOMPARE(count(f, QStringLiteral("select count(*) from occupants where tid = 501 and name = %1 and dob = '1990-02-03'")
                              .arg(sqlQuote(QStringLiteral("Kim O'Neil")))), 1);
        QVERIFY(!f.state.db.inTransaction());
    }

    void aRefusedStoreKeepsTheDialogAndItsListsForAnotherTry()
    {
        ShellFixture f(false);
        f.start();
        TTenForm* w = openTenants(f);
        bool refuse = true;
        f.state.db.beforeExec = [&](const QString& sql) {
            if (refuse && sql.startsWith(QStringLiteral("insert into TENANTS"), Qt::CaseInsensitive))
                throw DbError(QStringLiteral("disk full"), sql);
        };
        bool stayedOpen = false;
        f.dialogs.then([&](QDialog* d) {
            type(d, "idEdit", QStringLiteral("R1"));
            click(d, "petInsertButton");
            click(d, "okButton");
            stayedOpen = d->isVisible() && f.state.db.inTransaction();
            refuse = false;
            click(d, "okButton");
        });
        f.dialogs.then(fillDetail("animalEdit", QStringLiteral("Cat")));
        click(w, "newButton");
        f.state.db.beforeExec = nullptr;
        QVERIFY(stayedOpen);
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("disk full")});
        QCOMPARE(count(f, QStringLiteral("select count(*) from tenants t join pets p on p.tid = t.tid "
                                         "where t.id = 'R1' and p.animal = 'Cat'")), 1);
        QVERIFY(!f.state.db.inTransaction());
    }

    void tenantsMayShareACodeAndQuotesStoreAndSearch()
    {
        ShellFixture f(false);
        f.start();
        TTenForm* w = openTenants(f);
        f.dialogs.then([](QDialog* d) {
            type(d, "idEdit", QStringLiteral("   "));
            click(d, "okButton"); // refused, the dialog stays open
            QVERIFY(d->isVisible());
            type(d, "idEdit", QStringLiteral("A1"));
            type(d, "lastNameEdit", QStringLiteral("O'Brien"));
            click(d, "okButton");
        });
        f.dialogs.then([](QDialog* d) {
            type(d, "idEdit", QStringLiteral("A1"));
            type(d, "lastNameEdit", QStringLiteral("Smith"));
            click(d, "okButton");
        });
        click(w, "newButton");
        click(w, "newButton");
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("The id field is blank!")});
        QCOMPARE(f.messages.shown.at(0).icon, Message::Warning);
        QCOMPARE(f.messages.shown.at(0).caption, QStringLiteral("Marbleway"));
        QCOMPARE(count(f, QStringLiteral("select count(*) from tenants where id = 'A1'")), 2);
        QCOMPARE(count(f, QStringLiteral("select count(*) from tenants where lastname = %1")
                              .arg(sqlQuote(QStringLiteral("O'Brien")))), 1);

        ListWindow* list = w->list();
        list->fieldBox()->setCurrentIndex(list->fieldBox()->findText(QStringLiteral("Lastname")));
        list->criteriaEdit()->setText(QStringLiteral("o'b"));
        click(w, "searchButton");
        Dataset& tenants = *f.state.tables().Tenants;
        QCOMPARE(tenants.rowCount(), 1);
        QCOMPARE(tenants.asText(QStringLiteral("LASTNAME")), QStringLiteral("O'Brien"));
        click(w, "clearButton");
        QCOMPARE(tenants.rowCount(), 2);
    }

    void everyFieldReachesItsColumnAndComesBack()
    {
        ShellFixture f(false);
        f.start();
        TTenForm* w = openTenants(f);
        const QList<QPair<const char*, QString>> texts = {
            {"idEdit", "C-7"}, {"firstNameEdit", "Mary"}, {"lastNameEdit", "Major"},
            {"companyEdit", "Major Ltd"}, {"addressEdit", "1 High St"}, {"cityEdit", "Leeds"},
            {"stateEdit", "Yorks"}, {"zipEdit", "LS1"}, {"telEdit", "555-1"},
            {"licenseEdit", "DL9"}, {"licenseProvEdit", "ON"}, {"ssnEdit", "123"},
            {"emailEdit", "mary@example.com"}, {"occupationEdit", "Pilot"},
            {"employerEdit", "Air"}, {"dat2Edit", "extra"}, {"notifyNameEdit", "Joe"},
            {"notifyTelEdit", QString(199, QLatin1Char('9'))}, {"notifyRelEdit", "Brother"},
            {"cardNumberEdit", "4111"}, {"incomeEdit", "52000.50"}, {"bankNameEdit", "Bank"},
            {"branchEdit", "Main"}, {"accountNumberEdit", "77"}};
        f.dialogs.then([&](QDialog* d) {
            auto* form = qobject_cast<TNTForm*>(d);
            QVERIFY(form->activeBox()->isChecked()); // a new tenant starts active
            for (const auto& [name, text] : texts)
                type(d, name, text);
            setDate(d, "dob", QDate(1980, 5, 17));
            setDate(d, "cardExpiry", QDate(2030, 1, 31));
            child<QComboBox>(d, "cardTypeBox")->setCurrentText(QStringLiteral("MasterCard"));
            child<QComboBox>(d, "incomeTypeBox")->setCurrentIndex(2);
            child<QComboBox>(d, "accountTypeBox")->setCurrentIndex(1);
            form->activeBox()->setChecked(false);
            child<QPlainTextEdit>(d, "notesEdit")->setPlainText(QStringLiteral("Pays early\nQuiet"));
            click(d, "okButton");
        });
        click(w, "newButton");

        QSqlQuery q = f.state.db.select(QStringLiteral(
            "select id, notifytel, dob, ccardexpire, cctype, income, incometype, acctype, active, "
            "notes, incidents, balance, dat1 from tenants"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("C-7"));
        QCOMPARE(q.value(1).toString().size(), 199);
        QCOMPARE(q.value(2).toDate(), QDate(1980, 5, 17));
        QCOMPARE(q.value(3).toDate(), QDate(2030, 1, 31));
        QCOMPARE(q.value(4).toString(), QStringLiteral("MasterCard"));
        QCOMPARE(Money::fromVariant(q.value(5)), Money::fromCents(5200050));
        QCOMPARE(q.value(6).toInt(), 2);
        QCOMPARE(q.value(7).toInt(), 1);
        QCOMPARE(q.value(8).toInt(), 0);
        QCOMPARE(QString::fromUtf8(q.value(9).toByteArray()), QStringLiteral("Pays early\nQuiet"));
        QVERIFY(q.value(10).isNull()); // untouched columns stay NULL
        QVERIFY(q.value(11).isNull());
        QCOMPARE(q.value(12).toString(), QStringLiteral("mary@example.com"));
        q.finish();

        // Editing shows every value again.
        f.dialogs.then([&](QDialog* d) {
            for (const auto& [name, text] : texts) {
                const QString shown = child<QLineEdit>(d, name)->text();
                QCOMPARE(shown, text);
            }
            QCOMPARE(child<DateField>(d, "dobEdit")->date(), QDate(1980, 5, 17));
            QCOMPARE(child<QComboBox>(d, "cardTypeBox")->currentText(), QStringLiteral("MasterCard"));
            QCOMPARE(child<QComboBox>(d, "incomeTypeBox")->currentIndex(), 2);
            QVERIFY(!qobject_cast<TNTForm*>(d)->activeBox()->isChecked());
            click(d, "cancelButton");
        });
        click(w, "editButton");
        QVERIFY(f.dialogs.done());
    }

    void depositCancelAfterNewStoresNothing()
    {
        Clock::setFixed(QDate(2008, 3, 1));
        ShellFixture f(false);
        f.prepare(twoTenants);
        f.start();
        TTenForm* w = openTenants(f);
        Dataset& tenants = *f.state.tables().Tenants;
        Dataset& deposits = *w->deposits();

        QDate shownDate;
        f.dialogs.then([&](QDialog* d) {
            shownDate = child<DateField>(d, "dateEdit")->date();
            type(d, "amountEdit", QStringLiteral("500"));
            click(d, "cancelButton");
        });
        click(w, "depositNewButton");
        QCOMPARE(shownDate, QDate(2008, 3, 1));
        QCOMPARE(deposits.rowCount(), 0);
        tenants.next();
        tenants.prior();
        QCOMPARE(count(f, QStringLiteral("select count(*) from deposits")), 0);

        f.dialogs.then([](QDialog* d) {
            type(d, "amountEdit", QStringLiteral("  "));
            click(d, "okButton"); // refused
            type(d, "amountEdit", QStringLiteral("1000.00"));
            child<QComboBox>(d, "paymentTypeBox")->setCurrentText(QStringLiteral("Check"));
            child<QPlainTextEdit>(d, "memoEdit")->setPlainText(QStringLiteral("O'Brien's cheque"));
            click(d, "okButton");
        });
        click(w, "depositNewButton");
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Enter a valid amount")});
        QCOMPARE(f.messages.shown.at(0).icon, Message::NoIcon);
        QSqlQuery q = f.state.db.select(
            QStringLiteral("select depid, tid, tdate, amount, paymenttype, memo from deposits"));
        QVERIFY(q.next());
        const int depid = q.value(0).toInt();
        QCOMPARE(depid, generator(f, "GEN_DEPOSITS_ID"));
        QCOMPARE(q.value(1).toInt(), 501);
        QCOMPARE(q.value(2).toDate(), QDate(2008, 3, 1));
        QCOMPARE(Money::fromVariant(q.value(3)), Money::fromCents(100000));
        QCOMPARE(q.value(4).toString(), QStringLiteral("Check"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("O'Brien's cheque"));
        QVERIFY(!q.next());
        q.finish();
        QCOMPARE(count(f, QStringLiteral("select count(*) from cashbook")) +
                     count(f, QStringLiteral("select count(*) from charges")),
                 0);

        // The list follows the selected tenant; editing keeps the key.
        tenants.next();
        QCOMPARE(deposits.rowCount(), 0);
        tenants.prior();
        QCOMPARE(deposits.rowCount(), 1);
        f.dialogs.then([](QDialog* d) {
            type(d, "amountEdit", QStringLiteral("1,200.00"));
            click(d, "okButton");
        });
        click(w, "depositEditButton");
        QCOMPARE(count(f, QStringLiteral("select count(*) from deposits where depid = %1 and tid = 501 "
                                         "and amount = 1200 and paymenttype = 'Check'").arg(depid)), 1);
        Clock::reset();
    }

    void tenantsNeedTheTenantsRight()
    {
        ShellFixture f(true);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral("insert into users (wid, id, npassword, tenants) values (2, 'mary', '%1', 0)")
                        .arg(Encipher(QString())));
        });
        f.dialogs.then(loginAs(QStringLiteral("mary")));
        f.start();
        f.main->command(QStringLiteral("tenants"))->trigger();
        QVERIFY(!f.main->findChild<TTenForm*>());
        QCOMPARE(f.messages.texts().value(0), TMain::NoRights);
        QCOMPARE(f.messages.shown.value(0).icon, Message::Information);
    }
};

QTEST_MAIN(TestTenants)
#include "tst_tenants.moc"
