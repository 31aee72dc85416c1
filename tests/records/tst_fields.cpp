// The number and date fields of the record dialogs: what a column cannot hold, or what makes no
// sense in it, is refused on OK with a message naming the field, and nothing is stored.
#include "data/Clock.h"
#include "records/ui/TFApart.h"
#include "shell/ui/DateField.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

namespace {

const QDate Today(2026, 3, 15);

// One owner with one building; unit 10 is let to tenant 1 under agreement 5.
void addPortfolio(Database& db)
{
    for (const char* sql : {
             "insert into owners (oid, code) values (1, 'ZED')",
             "insert into buildings (buildid, oid, description) values (1, 1, 'Maple Court')",
             "insert into tenants (tid, id, firstname) values (1, 'JS', 'John')",
             "insert into apartments (apid, bid, suite, tid, agreeid, rent) values "
             "(10, 1, '101', 1, 5, 900)",
             "insert into agreements (rid, apid, tid, rent) values (5, 10, 1, 900)",
             "set generator gen_apartments_id to 100",
             "set generator gen_buildings_id to 100",
             "set generator gen_recur_id to 100",
             "set generator gen_tenants_id to 100",
         })
        db.exec(QLatin1String(sql));
}

// Fills what a dialog needs besides the field under test.
void fillRequired(QDialog* d, const QString& dialog)
{
    if (dialog == QLatin1String("unit")) {
        type(d, "suiteEdit", QStringLiteral("102"));
        type(d, "rentEdit", QStringLiteral("800"));
    } else if (dialog == QLatin1String("building")) {
        child<QComboBox>(d, "ownerBox")->setCurrentIndex(0);
        type(d, "descriptionEdit", QStringLiteral("Birch House"));
    } else if (dialog == QLatin1String("recurring")) {
        child<QComboBox>(d, "typeBox")->setCurrentIndex(0);
        child<QComboBox>(d, "frequencyBox")->setCurrentIndex(0);
        type(d, "amountEdit", QStringLiteral("25"));
    } else if (dialog == QLatin1String("tenant")) {
        type(d, "idEdit", QStringLiteral("MJ"));
    }
}

// Types into a number box or a date field.
void enter(QDialog* d, const QString& field, const QString& text)
{
    if (auto* date = d->findChild<DateField*>(field))
        date->lineEdit()->setText(text);
    else
        type(d, qPrintable(field), text);
}

// Opens the dialog through its screen, as the user does.
void open(ShellFixture& f, const QString& dialog)
{
    if (dialog == QLatin1String("unit") || dialog == QLatin1String("recurring")) {
        f.main->command(QStringLiteral("apartments"))->trigger();
        auto* units =
            qobject_cast<TFApart*>(f.main->openChildWindow(QStringLiteral("apartments"))->widget());
        QVERIFY(units->selectBuilding(1));
        QVERIFY(units->selectUnit(10));
        click(units, dialog == QLatin1String("unit") ? "newButton" : "addRecurButton");
    } else {
        const QString key = dialog == QLatin1String("building") ? QStringLiteral("buildings")
                                                                : QStringLiteral("tenants");
        f.main->command(key)->trigger();
        click(f.main->openChildWindow(key)->widget(), "newButton");
    }
}

int rows(ShellFixture& f)
{
    return f.state.db
        .scalar(QStringLiteral("select (select count(*) from apartments) + (select count(*) "
                               "from buildings) + (select count(*) from recur) + (select "
                               "count(*) from tenants) + (select count(*) from charges) from "
                               "rdb$database"))
        .toInt();
}

} // namespace

class TestFields : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Clock::setFixed(Today);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }
    void cleanup()
    {
        Clock::reset();
        QLocale::setDefault(QLocale::system());
    }

    void refusedWithAMessageAndNothingStored_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString bedrooms =
            QStringLiteral("The # Bedrooms field must be a whole number from 0 to 32767!");
        QTest::newRow("half a bedroom") << "unit"
                                        << "bedroomsEdit"
                                        << "2.5" << bedrooms;
        QTest::newRow("bedrooms beyond SMALLINT") << "unit"
                                                  << "bedroomsEdit"
                                                  << "40000" << bedrooms;
        QTest::newRow("bedrooms in words") << "unit"
                                           << "bedroomsEdit"
                                           << "three" << bedrooms;
        QTest::newRow("no bathroom less")
            << "unit"
            << "bathroomsEdit"
            << "-1"
            << "The # Bathrooms field must be a whole number from 0 to 32767!";
        QTest::newRow("floor beyond SMALLINT")
            << "unit"
            << "floorEdit"
            << "99999"
            << "The Floor field must be a whole number from -32768 to 32767!";
        QTest::newRow("a part of a square foot")
            << "unit"
            << "squareFootageEdit"
            << "612.5"
            << "The Square Footage field must be a whole number from 0 to 9999999999999!";
        QTest::newRow("units beyond INTEGER")
            << "building"
            << "apartmentsEdit"
            << "3000000000"
            << "The # Apartments field must be a whole number from 0 to 2147483647!";
        QTest::newRow("purchase date that is none") << "building"
                                                    << "purchaseDateEdit"
                                                    << "30/2/2020"
                                                    << "The Purchase Date field is not a date!";
        QTest::newRow("start date that is none") << "recurring"
                                                 << "startDateEdit"
                                                 << "32/1"
                                                 << "The Start Date field is not a date!";
        QTest::newRow("end date left blank") << "recurring"
                                             << "endDateEdit"
                                             << ""
                                             << "The End Date field is blank!";
        QTest::newRow("birth date that is none") << "tenant"
                                                 << "dobEdit"
                                                 << "1980/13/40"
                                                 << "The Dob field is not a date!";
    }
    void refusedWithAMessageAndNothingStored()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        ShellFixture f(false);
        f.prepare(addPortfolio);
        f.start();
        const int before = rows(f);
        bool stayedOpen = false;
        bool fieldShown = false;
        f.dialogs.then([&](QDialog* d) {
            fillRequired(d, dialog);
            enter(d, field, typed);
            click(d, "okButton");
            stayedOpen = d->isVisible();
            // The refused field is the one in view, with the keyboard.
            QWidget* w = d->findChild<QWidget*>(field);
            QWidget* focus = d->focusWidget();
            fieldShown = w->isVisible() && (focus == w || w->isAncestorOf(focus));
            click(d, "cancelButton");
        });
        open(f, dialog);
        QVERIFY(f.dialogs.done());
        QVERIFY(stayedOpen);
        QVERIFY(fieldShown);
        QCOMPARE(f.messages.texts(), QStringList{message});
        QCOMPARE(f.messages.shown.at(0).icon, Message::Warning);
        QCOMPARE(rows(f), before);
    }

    // The bounds themselves are stored as typed.
    void boundsAreStored_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("column");
        QTest::newRow("a basement floor") << "floorEdit"
                                          << "-2"
                                          << "floor";
        QTest::newRow("most bedrooms") << "bedroomsEdit"
                                       << "32767"
                                       << "bedrooms";
        QTest::newRow("no bathroom") << "bathroomsEdit"
                                     << "0"
                                     << "bathrooms";
        QTest::newRow("square footage") << "squareFootageEdit"
                                        << " 1250 "
                                        << "squarefootage";
    }
    void boundsAreStored()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, column);
        ShellFixture f(false);
        f.prepare(addPortfolio);
        f.start();
        f.dialogs.then([&](QDialog* d) {
            fillRequired(d, QStringLiteral("unit"));
            enter(d, field, typed);
            click(d, "okButton");
        });
        open(f, QStringLiteral("unit"));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(
            f.state.db
                .scalar(QStringLiteral("select %1 from apartments where suite='102'").arg(column))
                .toLongLong(),
            typed.trimmed().toLongLong());
    }
};

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
