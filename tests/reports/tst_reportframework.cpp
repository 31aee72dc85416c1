#include "data/Clock.h"
#include "data/Dataset.h"
#include "records/ui/Pickers.h"
#include "reports/ReportFramework.h"
#include "reports/ReportLayout.h"
#include "reports/ui/ReportQuestions.h"
#include "reports/ui/TFRange.h"
#include "shell/SharedTables.h"
#include "support/Gui.h"
#include "support/Reports.h"
#include "support/TestDb.h"

#include "shell/ui/DateField.h"
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

namespace {

// Owners OWN-B (2) and OWN-A (1); Elm Court (10) and Oak Row (11) belong to 1, Pine Hall (12)
// to 2. Income in Elm Court on 1 and 31 March 2008, in Pine Hall on 15 March.
void portfolio(Database& db)
{
    db.exec(QStringLiteral("insert into owners (oid, code) values (2, 'OWN-B')"));
    db.exec(QStringLiteral("insert into owners (oid, code) values (1, 'OWN-A')"));
    db.exec(QStringLiteral(
        "insert into buildings (buildid, oid, description) values (10, 1, 'Elm Court')"));
    db.exec(QStringLiteral(
        "insert into buildings (buildid, oid, description) values (11, 1, 'Oak Row')"));
    db.exec(QStringLiteral(
        "insert into buildings (buildid, oid, description) values (12, 2, 'Pine Hall')"));
    db.exec(QStringLiteral(
        "insert into apartments (apid, bid, suite, tid, agreeid) values (100, 10, '1', -1, -1)"));
    db.exec(QStringLiteral(
        "insert into apartments (apid, bid, suite, tid, agreeid) values (120, 12, '1', -1, -1)"));
    db.exec(QStringLiteral("insert into cashbook (accid, tdate, description, income, apid) values "
                           "(1, '2008-03-01', 'March 1', 100, 100)"));
    db.exec(QStringLiteral("insert into cashbook (accid, tdate, description, income, apid) values "
                           "(2, '2008-03-31', 'March 31', 200, 100)"));
    db.exec(QStringLiteral("insert into cashbook (accid, tdate, description, income, apid) values "
                           "(3, '2008-03-15', 'Pine', 50, 120)"));
}

const QString IncomeHead = QStringLiteral(
    "select * from cashbook, apartments, buildings where apartments.apid =cashbook.apid\n"
    "and buildings.buildid =apartments.bid \n");

// An income-by-building style layout: title, period line, value column and total that runs
// change and put back.
std::unique_ptr<Report> incomeReport(Database& db)
{
    auto r = std::make_unique<Report>(QStringLiteral("Income By Building"));
    r->db = &db;
    r->headQuery = r->query = IncomeHead;
    r->title.height = 40;
    r->title
        .label(QStringLiteral("Income By Building"), {0, 0, Report::BodyWidth, 18},
               ReportAlign::Center, {14, true})
        .name = QStringLiteral("title");
    r->title.label(QString(), {0, 20, Report::BodyWidth, 14}, ReportAlign::Center).name =
        QStringLiteral("period");
    r->columnHeader.height = 14;
    r->columnHeader.label(QStringLiteral("Income"), {300, 0, 80, 12}).name =
        QStringLiteral("valueHeading");
    r->detail.height = 14;
    r->detail.field(QStringLiteral("CASHBOOK.DESCRIPTION"), {0, 0, 200, 12});
    r->detail.field(QStringLiteral("INCOME"), {300, 0, 80, 12}).name = QStringLiteral("value");
    r->summary.height = 14;
    r->summary.sum(QStringLiteral("INCOME"), {300, 0, 80, 12}).name = QStringLiteral("total");
    return r;
}

// The text of the income report for a building condition and a range, as a run builds it.
QString incomeQuery(const QString& head, const QString& condition, const QDate& from,
                    const QDate& to)
{
    return head + QStringLiteral(" and income>0") + ReportConditions::andCondition(condition) +
           ReportConditions::dateCondition(QStringLiteral("Cashbook.TDate"), from, to) +
           QStringLiteral(" order by cashbook.Tdate");
}

// Selects these rows of the list picker and presses OK (or Cancel when ok is false).
DialogScript::Step choose(QList<int> rows, bool ok = true, QStringList* shown = nullptr)
{
    return [rows, ok, shown](QDialog* d) {
        auto* list = child<QListWidget>(d, "choiceList");
        if (shown) {
            for (int i = 0; i < list->count(); ++i)
                *shown << (list->item(i)->isSelected() ? QStringLiteral("*") : QString()) +
                              list->item(i)->text();
            *shown << child<QLabel>(d, "promptLabel")->text();
        }
        list->clearSelection();
        for (int r : rows)
            list->item(r)->setSelected(true);
        click(d, ok ? "okButton" : "cancelButton");
    };
}

} // namespace

class TestReportFramework : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup()
    {
        Clock::reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void conditionTexts()
    {
        using namespace ReportConditions;
        QCOMPARE(ownerCondition({3, 7}, false, QStringLiteral("buildings.")),
                 QStringLiteral(" ( buildings.oid=3 OR  buildings.oid=7)"));
        QCOMPARE(ownerCondition({3}, false, QString()), QStringLiteral(" ( oid=3)"));
        // "All" with others chosen is no restriction.
        QCOMPARE(ownerCondition({3, 7}, true, QString()), QStringLiteral(" "));
        QCOMPARE(ownerCondition({}, false, QString()), Cancelled);
        QCOMPARE(buildingCondition({2, 5}), QStringLiteral(" ( bid=2 OR  bid=5)"));
        QCOMPARE(andCondition(QStringLiteral(" ( bid=2)")), QStringLiteral(" and  ( bid=2)"));
        QCOMPARE(andCondition(None), None);
        QCOMPARE(andCondition(Cancelled), Cancelled);

        // The worked example: owners at "All", buildings 2 and 5, 1 to 31 March 2008.
        const QString head = QStringLiteral(
            "select * from cashbook, apartments, buildings where apartments.apid =cashbook.apid\n"
            "and buildings.buildid =apartments.bid \n");
        QCOMPARE(
            incomeQuery(head, buildingCondition({2, 5}), QDate(2008, 3, 1), QDate(2008, 3, 31)),
            head + QStringLiteral(" and income>0 and  ( bid=2 OR  bid=5) and "
                                  "Cashbook.TDate>='2008-03-01' and "
                                  "Cashbook.TDate<='2008-03-31' order by cashbook.Tdate"));
    }

    void dateChoices_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        const QDate custom(1999, 9, 9);
        QTest::newRow("year to date") << int(DateRange::Choice::YearToDate) << QDate(2008, 5, 20)
                                      << QDate(2008, 1, 1) << QDate(2008, 5, 20);
        QTest::newRow("year to date on 1 January is one day")
            << int(DateRange::Choice::YearToDate) << QDate(2008, 1, 1) << QDate(2008, 1, 1)
            << QDate(2008, 1, 1);
        QTest::newRow("month to date") << int(DateRange::Choice::MonthToDate) << QDate(2008, 2, 29)
                                       << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("today") << int(DateRange::Choice::Today) << QDate(2008, 2, 29)
                               << QDate(2008, 2, 29) << QDate(2008, 2, 29);
        QTest::newRow("custom keeps the dates")
            << int(DateRange::Choice::Custom) << QDate(2008, 2, 29) << custom << custom;
    }
    void dateChoices()
    {
        QFETCH(int, choice);
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QDate f(1999, 9, 9), t(1999, 9, 9);
        DateRange::datesFor(DateRange::Choice(choice), today, &f, &t);
        QCOMPARE(f, from);
        QCOMPARE(t, to);
    }

    void periodLineFollowsTheRegionWhileSqlDoesNot()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(DateRange::periodLine(QDate(2008, 3, 1), QDate(2008, 3, 31)),
                 QStringLiteral("From 01.03.08 To 31.03.08"));
        QCOMPARE(ReportConditions::dateCondition(QStringLiteral("Trans.TDate"), QDate(2008, 3, 1),
                                                 QDate(2008, 3, 31)),
                 QStringLiteral(" and Trans.TDate>='2008-03-01' and Trans.TDate<='2008-03-31'"));
    }

    void dateRangeDialog()
    {
        ShellFixture f(false);
        Clock::setFixed(QDate(2008, 5, 20));
        TFRange dialog;
        QVERIFY(dialog.button(DateRange::Choice::Today)->isChecked());
        QCOMPARE(dialog.from(), QDate(2008, 5, 20));
        QVERIFY(!dialog.fromEdit()->isEnabled());

        // "Today" is the day of the click, not of the dialog's making.
        Clock::setFixed(QDate(2008, 6, 2));
        dialog.button(DateRange::Choice::MonthToDate)->click();
        QCOMPARE(dialog.from(), QDate(2008, 6, 1));
        QCOMPARE(dialog.to(), QDate(2008, 6, 2));
        dialog.button(DateRange::Choice::Custom)->click();
        QVERIFY(dialog.fromEdit()->isEnabled() && dialog.toEdit()->isEnabled());
        QCOMPARE(dialog.from(), QDate(2008, 6, 1));

        // From later than To is refused and the dialog stays; equal dates are one day.
        f.dialogs.then([&](QDialog* d) {
            dialog.fromEdit()->setDate(QDate(2008, 3, 2));
            dialog.toEdit()->setDate(QDate(2008, 3, 1));
            click(d, "okButton");
            QVERIFY(d->isVisible());
            dialog.toEdit()->setDate(QDate(2008, 3, 2));
            click(d, "okButton");
        });
        QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Accepted));
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Invalid date range!")});
        QCOMPARE(f.messages.shown.first().icon, Message::Warning);
        QCOMPARE(f.messages.shown.first().caption, QStringLiteral("Marbleway"));

        // The one shared dialog offers the last choice again.
        QDate from, to;
        f.dialogs.then([](QDialog* d) {
            qobject_cast<TFRange*>(d)->button(DateRange::Choice::YearToDate)->click();
            click(d, "okButton");
        });
        QVERIFY(ReportQuestions::askDateRange(&from, &to));
        QCOMPARE(from, QDate(2008, 1, 1));
        f.dialogs.then([](QDialog* d) {
            QVERIFY(qobject_cast<TFRange*>(d)->button(DateRange::Choice::YearToDate)->isChecked());
            click(d, "cancelButton");
        });
        QVERIFY(!ReportQuestions::askDateRange(&from, &to));
        QVERIFY(f.dialogs.done());
    }

    void ownerAndBuildingQuestions()
    {
        ShellFixture f(false);
        TestDb t;
        Database& db = t.db();

        // No owners and no buildings: neither question is put.
        QCOMPARE(ReportQuestions::OwnerCondition(db, QString(), nullptr), QStringLiteral(" "));
        QCOMPARE(ReportQuestions::BuildingCondition(db, QStringLiteral(" "), nullptr),
                 QStringLiteral(" "));
        QVERIFY(f.dialogs.seen.isEmpty());

        portfolio(db);
        QStringList shown;
        f.dialogs.then(choose({2}, true, &shown)); // OWN-B
        const QString owners =
            ReportQuestions::OwnerCondition(db, QStringLiteral("buildings."), nullptr);
        QCOMPARE(shown, (QStringList{QStringLiteral("*All"), QStringLiteral("OWN-A"),
                                     QStringLiteral("OWN-B"), QStringLiteral("Select owner(s).")}));
        QCOMPARE(owners, QStringLiteral(" ( buildings.oid=2)"));

        // All with others still means every owner.
        f.dialogs.then(choose({0, 1}));
        QCOMPARE(ReportQuestions::OwnerCondition(db, QString(), nullptr), QStringLiteral(" "));
        f.dialogs.then(choose({1}, false));
        QCOMPARE(ReportQuestions::OwnerCondition(db, QString(), nullptr), QStringLiteral("0"));

        // Buildings of OWN-A only, all chosen at first.
        shown.clear();
        f.dialogs.then(choose({1}, true, &shown));
        QCOMPARE(ReportQuestions::BuildingCondition(db, QStringLiteral(" ( oid=1)"), nullptr),
                 QStringLiteral(" ( bid=11)"));
        QCOMPARE(shown, (QStringList{QStringLiteral("*Elm Court"), QStringLiteral("*Oak Row"),
                                     QStringLiteral("Select building(s)/propertie(s).")}));
        // A cancelled owner question is not followed by the building question.
        QCOMPARE(ReportQuestions::BuildingCondition(db, QStringLiteral("0"), nullptr),
                 QStringLiteral("0"));
        // An owner without buildings: no question, no restriction.
        db.exec(QStringLiteral("insert into owners (oid, code) values (3, 'OWN-C')"));
        QCOMPARE(ReportQuestions::BuildingCondition(db, QStringLiteral(" ( oid=3)"), nullptr),
                 QStringLiteral(" "));

        // Nothing chosen: the OK is refused with the warning, the picker stays for a choice.
        f.messages.clear();
        f.dialogs.then([](QDialog* d) {
            child<QListWidget>(d, "choiceList")->clearSelection();
            click(d, "okButton");
            QVERIFY(d->isVisible());
            child<QListWidget>(d, "choiceList")->item(2)->setSelected(true);
            click(d, "okButton");
        });
        QCOMPARE(ReportQuestions::BuildingCondition(db, QStringLiteral(" "), nullptr),
                 QStringLiteral(" ( bid=12)"));
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("No item selected")});
        QCOMPARE(f.messages.shown.first().icon, Message::Warning);
        QVERIFY(f.dialogs.done());
    }

    void runsLeaveTheLayoutAsTheyFoundIt()
    {
        ShellFixture f(false);
        ReportRecorder reports;
        TestDb t;
        Database& db = t.db();
        portfolio(db);
        auto report = incomeReport(db);
        QStringList statements;
        bool fail = false;
        db.beforeExec = [&](const QString& sql) {
            statements << sql;
            if (fail)
                throw DbError(QStringLiteral("lock conflict on no wait transaction"), sql);
        };

        const auto run = [&](const QDate& from, const QDate& to, const QString& condition) {
            ReportRun r(*report);
            r.setQuery(incomeQuery(r.head(), condition, from, to));
            r.setPeriod(from, to);
            r.setText(QStringLiteral("title"), QStringLiteral("Expenses By Building Report"));
            r.setText(QStringLiteral("valueHeading"), QStringLiteral("Expense"));
            r.setColumn(QStringLiteral("value"), QStringLiteral("EXPENSE"));
            r.setColumn(QStringLiteral("total"), QStringLiteral("EXPENSE"));
            r.setVisible(QStringLiteral("valueHeading"), false);
            return r.show(QStringLiteral(
                "There was no income from the selected building over the period indicated!"));
        };

        // From equal to To selects that one day, both ends included.
        QVERIFY(run(QDate(2008, 3, 31), QDate(2008, 3, 31), QStringLiteral(" ( bid=10)")));
        QCOMPARE(reports.shown.size(), 1);
        QCOMPARE(reports.last().lines(),
                 (QStringList{QStringLiteral("Expenses By Building Report"),
                              QStringLiteral("From 3/31/08 To 3/31/08"),
                              QStringLiteral("March 31 | 0"), QStringLiteral("0.00")}));
        // Everything is back: head, title, heading, columns, visibility.
        QCOMPARE(report->query, IncomeHead);
        QCOMPARE(report->item(QStringLiteral("title"))->text, QStringLiteral("Income By Building"));
        QCOMPARE(report->item(QStringLiteral("period"))->text, QString());
        QCOMPARE(report->item(QStringLiteral("valueHeading"))->text, QStringLiteral("Income"));
        QVERIFY(report->item(QStringLiteral("valueHeading"))->visible);
        QCOMPARE(report->item(QStringLiteral("value"))->column, QStringLiteral("INCOME"));
        QCOMPARE(report->item(QStringLiteral("total"))->column, QStringLiteral("INCOME"));
        QVERIFY(!report->isOpen());

        // The same run again, after one the database refused, runs the same text.
        const QString first = statements.last();
        fail = true;
        QVERIFY(!run(QDate(2008, 3, 31), QDate(2008, 3, 31), QStringLiteral(" ( bid=10)")));
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral("lock conflict on no wait transaction")});
        QCOMPARE(f.messages.shown.last().caption, QStringLiteral("Marbleway Keystead  2008"));
        QCOMPARE(report->query, IncomeHead);
        QCOMPARE(report->item(QStringLiteral("title"))->text, QStringLiteral("Income By Building"));
        fail = false;
        QVERIFY(run(QDate(2008, 3, 31), QDate(2008, 3, 31), QStringLiteral(" ( bid=10)")));
        QCOMPARE(statements.size(), 3);
        QCOMPARE(statements.at(1), first);
        QCOMPARE(statements.at(2), first);

        // Rows only outside the range: the report's own message and no preview.
        f.messages.clear();
        QVERIFY(!run(QDate(2008, 4, 1), QDate(2008, 4, 30), QStringLiteral(" ")));
        QCOMPARE(reports.shown.size(), 2);
        QCOMPARE(f.messages.texts(),
                 QStringList{QStringLiteral(
                     "There was no income from the selected building over the period indicated!")});
        QCOMPARE(f.messages.shown.first().icon, Message::Warning);
        QCOMPARE(f.messages.shown.first().caption, QStringLiteral("Marbleway"));
        db.beforeExec = nullptr;

        // A plain message, and a report that previews even when empty.
        f.messages.clear();
        {
            ReportRun r(*report);
            r.setQuery(
                incomeQuery(r.head(), QStringLiteral(" "), QDate(2009, 1, 1), QDate(2009, 1, 1)));
            QVERIFY(!r.show(QStringLiteral("No equipments available for the selected apartment!"),
                            ReportRun::Empty::Plain));
            QVERIFY(r.show(QString(), ReportRun::Empty::Preview));
        }
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown.first().icon, Message::NoIcon);
        QCOMPARE(f.messages.shown.first().caption, QStringLiteral("Marbleway Keystead  2008"));
        QCOMPARE(reports.shown.size(), 3);
    }

    void reportRights()
    {
        ShellFixture f(true);
        f.state.db.Connect(f.databasePath());
        QString error;
        QVERIFY2(f.state.OpenSharedTables(&error), qPrintable(error));
        f.state.CurrentUserWID = 1;
        QVERIFY(ReportRights::check(f.state));
        for (const char* value : {"0", "NULL"}) {
            f.state.db.exec(QStringLiteral("update users set reports = %1 where wid = 1")
                                .arg(QLatin1String(value)));
            f.state.tables().Users->refresh();
            QVERIFY(!ReportRights::check(f.state));
        }
        QCOMPARE(f.messages.texts(),
                 QStringList(2, QStringLiteral("You do not have rights to access this area!")));
        QCOMPARE(f.messages.shown.first().icon, Message::Information);
        // With user control off everyone may.
        f.state.settings.PasswordChecking = false;
        QVERIFY(ReportRights::check(f.state));
        QCOMPARE(f.messages.shown.size(), 2);
    }
};

QTEST_MAIN(TestReportFramework)
#include "tst_reportframework.moc"
