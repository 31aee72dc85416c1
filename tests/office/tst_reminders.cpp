#include "data/Clock.h"
#include "data/Dataset.h"
#include "office/ui/TRemForm.h"
#include "shell/SharedTables.h"
#include "shell/ui/DateField.h"
#include "shell/ui/Grid.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "shell/ui/TPromptForm.h"
#include "support/Gui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

void addReminders(Database& db)
{
    for (const char* sql : {
             "insert into reminders (remid, title, description, tdate, reminder) values "
             "(1, 'Rent due', 'Collect the rents', '2024-03-15', 1)",
             "insert into reminders (remid, title, description, tdate, reminder) values "
             "(2, 'CURRENT', 'Read the meters', '2024-03-01', 0)",
             "insert into reminders (remid, title, description, tdate, reminder) values "
             "(3, 'Call O''Brien', 'About the roof', null, 1)",
             "insert into reminders (remid, title, description, tdate, reminder) values "
             "(4, 'Plumber', 'Tomorrow', '2024-03-16', 1)",
             "insert into reminders (remid, title, description, tdate, reminder) values "
             "(5, 'Insurance', 'Unticked', '2024-03-10', null)",
             "set generator gen_reminders_id to 100",
         })
        db.exec(QLatin1String(sql));
}

QStringList titles(TRemForm* w)
{
    QStringList texts;
    QAbstractItemModel* m = w->list()->grid()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->index(r, 0).data().toString();
    return texts;
}

// Opens the reminders window; STEP works in it and closes it.
void openReminders(ShellFixture& f, const std::function<void(TRemForm*)>& step)
{
    f.dialogs.then([step](QDialog* d) {
        auto* w = qobject_cast<TRemForm*>(d);
        QVERIFY(w);
        step(w);
        click(d, "closeButton");
    });
    f.main->command(QStringLiteral("reminders"))->trigger();
    QVERIFY(f.dialogs.done());
}

QList<TPromptForm*> prompts(TMain& main)
{
    QList<TPromptForm*> shown;
    for (TPromptForm* p : main.findChildren<TPromptForm*>())
        if (p->isVisible())
            shown << p;
    return shown;
}

} // namespace

class TestReminders : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(Today); }
    void cleanup() { Clock::reset(); }

    // Due at or before today, or with the date cleared, and ticked: each in its own window at
    // the same place over the main window, the later on top; at every start again.
    void startUpPopsUpTheDueReminders()
    {
        ShellFixture f;
        f.prepare(addReminders);
        for (int start = 0; start < 2; ++start) {
            f.main.reset();
            f.dialogs.then(loginAs(QStringLiteral("ADMIN")));
            TMain& main = f.makeMain();
            main.setGeometry(100, 80, 1000, 700);
            main.show();
            QVERIFY(main.firstShowing());
            QApplication::processEvents();
            const QList<TPromptForm*> p = prompts(main);
            QCOMPARE(p.size(), 2);
            QCOMPARE(p[0]->windowTitle(), QStringLiteral("Rent due"));
            QCOMPARE(p[0]->text(), QStringLiteral("Collect the rents"));
            QCOMPARE(p[1]->windowTitle(), QStringLiteral("Call O'Brien"));
            QVERIFY(!p[0]->isModal() && !p[1]->isModal());
            QVERIFY(p[0]->windowFlags().testFlag(Qt::Tool));
            QVERIFY(p[0]->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(p[1]->pos(), p[0]->pos());
            // Centred; the frame may move it by a few pixels.
            QVERIFY((p[0]->geometry().center() - main.geometry().center()).manhattanLength() <= 6);
            QCOMPARE(QApplication::activeWindow(), p[1]);
        }
    }

    // Containment in any letter case, a quote only a character; blank criteria change nothing.
    void searchFindsTitlesInAnyCase()
    {
        ShellFixture f(false);
        f.prepare(addReminders);
        f.start();
        openReminders(f, [](TRemForm* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Reminders"));
            QCOMPARE(w->list()->fieldBox()->currentText(), QStringLiteral("Title"));
            QCOMPARE(titles(w).size(), 5);
            w->list()->criteriaEdit()->setText(QStringLiteral("rent"));
            click(w, "searchButton");
            QCOMPARE(titles(w), (QStringList{"Rent due", "CURRENT"}));
            w->list()->criteriaEdit()->setText(QStringLiteral("   "));
            click(w, "searchButton");
            QCOMPARE(titles(w), (QStringList{"Rent due", "CURRENT"}));
            w->list()->criteriaEdit()->setText(QStringLiteral("o'brien"));
            click(w, "searchButton");
            QCOMPARE(titles(w), QStringList{"Call O'Brien"});
            click(w, "clearButton");
            QCOMPARE(titles(w).size(), 5);
        });
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The window lives for the run and keeps its search; another window's search meanwhile
    // does not change what it lists.
    void reopenedWindowListsWhatItsCriteriaSay()
    {
        ShellFixture f(false);
        f.prepare(addReminders);
        f.start();
        TRemForm* first = nullptr;
        openReminders(f, [&first](TRemForm* w) {
            first = w;
            w->list()->criteriaEdit()->setText(QStringLiteral("rent"));
            click(w, "searchButton");
        });
        f.state.SearchField = QStringLiteral("NAME");
        f.state.SearchText = QStringLiteral("Acme");
        openReminders(f, [first](TRemForm* w) {
            QCOMPARE(w, first);
            QCOMPARE(w->list()->criteriaEdit()->text(), QStringLiteral("rent"));
            QCOMPARE(titles(w), (QStringList{"Rent due", "CURRENT"}));
        });
    }

    void newEditAndDelete()
    {
        ShellFixture f(false);
        f.prepare(addReminders);
        f.start();
        const QString longText(230, QLatin1Char('x'));
        openReminders(f, [&](TRemForm* w) {
            // New: dated today, not ticked; a blank title keeps the dialog open.
            f.dialogs.then([&](QDialog* d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("Reminder"));
                QCOMPARE(child<DateField>(d, "reminderDateEdit")->date(), Today);
                QVERIFY(!child<QCheckBox>(d, "popUpBox")->isChecked());
                click(d, "okButton");
                QVERIFY(d->isVisible());
                type(d, "titleEdit", QStringLiteral("Gas safety"));
                // The description takes what its column holds.
                child<QPlainTextEdit>(d, "descriptionEdit")->setPlainText(longText);
                // The date may be left out.
                child<DateField>(d, "reminderDateEdit")->lineEdit()->clear();
                click(d, "okButton");
            });
            click(w, "newButton");
            QCOMPARE(titles(w).size(), 6);
            // Edit: the row's date and box; Cancel keeps the row, OK stores the new date.
            w->list()->table().locate(QStringLiteral("REMID"), 1);
            f.dialogs.then([](QDialog* d) {
                QCOMPARE(child<DateField>(d, "reminderDateEdit")->date(), Today);
                QVERIFY(child<QCheckBox>(d, "popUpBox")->isChecked());
                type(d, "titleEdit", QStringLiteral("Changed"));
                click(d, "cancelButton");
            });
            f.dialogs.then([](QDialog* d) {
                child<DateField>(d, "reminderDateEdit")->setDate(QDate(2024, 4, 1));
                child<QCheckBox>(d, "popUpBox")->setChecked(false);
                click(d, "okButton");
            });
            click(w, "editButton");
            click(w, "editButton");
            f.messages.answers << Message::Yes;
            w->list()->table().locate(QStringLiteral("REMID"), 2);
            click(w, "deleteButton");
        });
        QCOMPARE(f.messages.texts(), (QStringList{"Title is blank!",
                                                  "Are you sure you want to delete the selected record?"}));
        QCOMPARE(f.messages.shown[0].icon, Message::Warning);
        Database& db = f.state.db;
        QSqlQuery added = db.select(QStringLiteral(
            "select remid, title, char_length(description), tdate, reminder from reminders where remid > 5"));
        QVERIFY(added.next());
        QCOMPARE(added.value(0).toInt(), 101);
        QCOMPARE(added.value(1).toString(), QStringLiteral("Gas safety"));
        QCOMPARE(added.value(2).toInt(), 200);
        QVERIFY(added.value(3).isNull());
        QCOMPARE(added.value(4).toInt(), 0);
        QSqlQuery edited = db.select(QStringLiteral("select title, tdate, reminder from reminders where remid = 1"));
        QVERIFY(edited.next());
        QCOMPARE(edited.value(0).toString(), QStringLiteral("Rent due"));
        QCOMPARE(edited.value(1).toDate(), QDate(2024, 4, 1));
        QCOMPARE(edited.value(2).toInt(), 0);
        QVERIFY(!db.scalar(QStringLiteral("select remid from reminders where remid = 2")).isValid());
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
