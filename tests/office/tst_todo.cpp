#include "data/Clock.h"
#include "data/Dataset.h"
#include "office/ui/TTodoForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/Grid.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);
const QDate Monday(2024, 3, 18);

void addItems(Database& db)
{
    for (const char* sql : {
             "insert into todo (todoid, description, tdate, tpriority) values (1, 'Pay taxes', '2024-03-15', 0)",
             "insert into todo (todoid, description, tdate, tpriority) values (2, 'Fix gate', '2024-03-15', 2)",
             "insert into todo (todoid, description, tdate, tpriority) values (3, 'Call bank', '2024-03-18', 1)",
             "insert into todo (todoid, description, tdate, tpriority) values (4, 'Old', '2024-03-14', null)",
             "set generator gen_todo_id to 100",
             "set generator gen_reminders_id to 100",
         })
        db.exec(QLatin1String(sql));
}

QStringList column(TTodoForm* w, int c)
{
    QStringList texts;
    QAbstractItemModel* m = w->grid()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->index(r, c).data().toString();
    return texts;
}

// Opens the to-do window; STEP works in it and closes it.
void openTodo(ShellFixture& f, const std::function<void(TTodoForm*)>& step)
{
    f.dialogs.then([step](QDialog* d) {
        auto* w = qobject_cast<TTodoForm*>(d);
        QVERIFY(w);
        step(w);
        click(d, "closeButton");
    });
    f.main->command(QStringLiteral("todo"))->trigger();
    QVERIFY(f.dialogs.done());
}

struct Todo
{
    Todo() : f(false)
    {
        Clock::setFixed(Today);
        f.prepare(addItems);
        f.start();
    }
    ~Todo() { Clock::reset(); }
    int count(const QString& sql) { return f.state.db.scalar(sql).toInt(); }
    ShellFixture f;
};

} // namespace

class TestTodo : public QObject
{
    Q_OBJECT
private slots:
    // Each showing starts at today; a day chosen lists that day's items with their priority.
    void listsTheChosenDaysItems()
    {
        Todo t;
        openTodo(t.f, [](TTodoForm* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Todo List"));
            QCOMPARE(w->calendar()->selectedDate(), Today);
            QCOMPARE(column(w, 0), (QStringList{"Pay taxes", "Fix gate"}));
            QCOMPARE(column(w, 1), (QStringList{"Low", "High"}));
            w->calendar()->setSelectedDate(Monday);
            QCOMPARE(column(w, 0), QStringList{"Call bank"});
            QCOMPARE(column(w, 1), QStringList{"Normal"});
            w->calendar()->setSelectedDate(QDate(2024, 3, 14));
            QCOMPARE(column(w, 1), QStringList{"Low"}); // no priority counts as Low
        });
        // The day filter stays on the shared table.
        QVERIFY(t.f.state.tables().Todo->isFiltered());
        openTodo(t.f, [](TTodoForm* w) {
            QCOMPARE(w->calendar()->selectedDate(), Today);
            QCOMPARE(column(w, 0).size(), 2);
        });
    }

    // A new item takes the calendar's day and starts Low, inside a transaction of its own
    // from the start to OK or Cancel.
    void newItemOnTheCalendarsDay_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK stores") << true;
        QTest::newRow("Cancel stores nothing") << false;
    }
    void newItemOnTheCalendarsDay()
    {
        QFETCH(bool, ok);
        Todo t;
        openTodo(t.f, [&](TTodoForm* w) {
            w->calendar()->setSelectedDate(Monday);
            t.f.dialogs.then([&](QDialog* d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("To-do item"));
                QVERIFY(t.f.state.db.inTransaction());
                QVERIFY(child<QRadioButton>(d, "lowButton")->isChecked());
                click(d, "okButton");
                QVERIFY(d->isVisible()); // blank description
                type(d, "descriptionEdit", QStringLiteral("Paint fence"));
                child<QPlainTextEdit>(d, "notesEdit")->setPlainText(QStringLiteral("Two coats, café green"));
                child<QRadioButton>(d, "highButton")->setChecked(true);
                click(d, ok ? "okButton" : "cancelButton");
            });
            click(w, "newButton");
            QVERIFY(!t.f.state.db.inTransaction());
            QCOMPARE(column(w, 0), ok ? (QStringList{"Call bank", "Paint fence"}) : QStringList{"Call bank"});
            if (ok)
                QCOMPARE(column(w, 1).value(1), QStringLiteral("High"));
        });
        QCOMPARE(t.f.messages.texts(), QStringList{"The description field is blank!"});
        QCOMPARE(t.f.messages.shown[0].icon, Message::Warning);
        QCOMPARE(t.count(QStringLiteral("select count(*) from todo where description = 'Paint fence' "
                                        "and tdate = '2024-03-18' and tpriority = 2")),
                 ok ? 1 : 0);
        if (!ok)
            return;
        // The notes come back as typed.
        openTodo(t.f, [&](TTodoForm* w) {
            w->calendar()->setSelectedDate(Monday);
            w->grid()->selectRow(1);
            t.f.dialogs.then([](QDialog* d) {
                QCOMPARE(child<QPlainTextEdit>(d, "notesEdit")->toPlainText(),
                         QStringLiteral("Two coats, café green"));
                QVERIFY(child<QRadioButton>(d, "highButton")->isChecked());
                click(d, "cancelButton");
            });
            click(w, "editButton");
        });
    }

    // The reminder takes the description and notes as typed, cut to what its columns hold,
    // and the item's day; it is kept even when the new item is then cancelled.
    void reminderFromAnItem()
    {
        Todo t;
        SharedTables& tables = t.f.state.tables();
        t.f.state.SearchField = QStringLiteral("TITLE");
        t.f.state.SearchText = QStringLiteral("nothing like it");
        tables.Reminders->setFiltered(true);
        const QString description = QStringLiteral("Ask the bank about the mortgage ") + QString(60, QLatin1Char('x'));
        const QString notes(240, QLatin1Char('n'));
        openTodo(t.f, [&](TTodoForm* w) {
            w->calendar()->setSelectedDate(Monday);
            t.f.dialogs.then([&](QDialog* d) {
                type(d, "descriptionEdit", description);
                child<QPlainTextEdit>(d, "notesEdit")->setPlainText(notes);
                t.f.dialogs.then([&](QDialog* r) {
                    QCOMPARE(r->objectName(), QStringLiteral("TRForm"));
                    QCOMPARE(child<QLineEdit>(r, "titleEdit")->text(), description.left(50));
                    QCOMPARE(child<QPlainTextEdit>(r, "descriptionEdit")->toPlainText(), notes.left(200));
                    QCOMPARE(child<DateField>(r, "reminderDateEdit")->date(), Monday);
                    QVERIFY(!child<QCheckBox>(r, "popUpBox")->isChecked());
                    click(r, "okButton");
                });
                click(d, "createReminderButton");
                QVERIFY(d->isVisible());
                QVERIFY(!tables.Reminders->isFiltered());
                QVERIFY(t.f.state.db.inTransaction());
                click(d, "cancelButton");
            });
            click(w, "newButton");
        });
        QCOMPARE(t.count(QStringLiteral("select count(*) from todo")), 4);
        QSqlQuery q = t.f.state.db.select(
            QStringLiteral("select remid, title, description, tdate, reminder from reminders"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 101);
        QCOMPARE(q.value(1).toString(), description.left(50));
        QCOMPARE(q.value(2).toString(), notes.left(200));
        QCOMPARE(q.value(3).toDate(), Monday);
        QCOMPARE(q.value(4).toInt(), 0);
        QCOMPARE(tables.Reminders->rowCount(), 1);
    }
};

QTEST_MAIN(TestTodo)
#include "tst_todo.moc"
