#include "data/Clock.h"
#include "data/DateText.h"
#include "shell/ui/DateField.h"
#include "support/Gui.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QDate Today(2026, 3, 15);

QLocale locale(const QString& name)
{
    return name == QLatin1String("C") ? QLocale::c() : QLocale(name);
}

// A dialog with a date field between two line edits, as the screens have them.
struct Form
{
    QDialog dialog;
    QLineEdit* before = new QLineEdit;
    DateField* field = new DateField;
    QLineEdit* after = new QLineEdit;

    Form()
    {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(before);
        layout->addWidget(field);
        layout->addWidget(after);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
    }

    // Tabs into the field, as the user does, which selects the whole date.
    void enter()
    {
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestDateField : public QObject
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

    void formatKeepsTheLocaleOrderWithFourDigitYears_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("United States") << "en_US"
                                       << "3/15/2026";
        QTest::newRow("Britain") << "en_GB"
                                 << "15/03/2026";
        QTest::newRow("Germany") << "de_DE"
                                 << "15.03.2026";
        QTest::newRow("Japan") << "ja_JP"
                               << "2026/03/15";
    }
    void formatKeepsTheLocaleOrderWithFourDigitYears()
    {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QCOMPARE(DateText::show(Today, ::locale(locale)), shown);
        QCOMPARE(DateText::parse(shown, QDate(2000, 1, 1), ::locale(locale)), Today);
    }

    void parseTypedDates_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("base");
        QTest::addColumn<QDate>("expected");
        const QDate base(2026, 3, 15);
        // Parts left out come from the date shown.
        QTest::newRow("day alone") << "en_GB"
                                   << "20" << base << QDate(2026, 3, 20);
        QTest::newRow("day alone, US") << "en_US"
                                       << "20" << base << QDate(2026, 3, 20);
        QTest::newRow("day and month") << "en_GB"
                                       << "20/12" << base << QDate(2026, 12, 20);
        QTest::newRow("month and day, US") << "en_US"
                                           << "12/20" << base << QDate(2026, 12, 20);
        QTest::newRow("whole date") << "en_GB"
                                    << "1/2/2027" << base << QDate(2027, 2, 1);
        QTest::newRow("whole date, US") << "en_US"
                                        << "2/1/2027" << base << QDate(2027, 2, 1);
        QTest::newRow("other separators") << "en_GB"
                                          << "1-2.2027" << base << QDate(2027, 2, 1);
        QTest::newRow("no separators") << "en_GB"
                                       << "01022027" << base << QDate(2027, 2, 1);
        QTest::newRow("no separators, short year") << "en_US"
                                                   << "020127" << base << QDate(2027, 2, 1);
        QTest::newRow("ISO") << "en_US"
                             << "2027-02-01" << base << QDate(2027, 2, 1);
        // Two-digit years: from 80 years back to 20 ahead.
        QTest::newRow("year 26") << "en_GB"
                                 << "1/2/26" << base << QDate(2026, 2, 1);
        QTest::newRow("year 46") << "en_GB"
                                 << "1/2/46" << base << QDate(2046, 2, 1);
        QTest::newRow("year 47") << "en_GB"
                                 << "1/2/47" << base << QDate(1947, 2, 1);
        QTest::newRow("month name") << "C"
                                    << "20 Dec 2026" << base << QDate(2026, 12, 20);
        QTest::newRow("month name, lower case") << "C"
                                                << "20 dec" << base << QDate(2026, 12, 20);
        QTest::newRow("German month name") << "de_DE"
                                           << "20. Dezember 2026" << base << QDate(2026, 12, 20);
        // Not dates.
        QTest::newRow("day past the month") << "en_GB"
                                            << "31" << QDate(2026, 2, 10) << QDate();
        QTest::newRow("31 February") << "en_GB"
                                     << "31/2/2026" << base << QDate();
        QTest::newRow("month 13") << "en_GB"
                                  << "1/13/2026" << base << QDate();
        QTest::newRow("letters") << "en_GB"
                                 << "soon" << base << QDate();
        QTest::newRow("four numbers") << "en_GB"
                                      << "1/2/3/4" << base << QDate();
        QTest::newRow("three-digit year") << "en_GB"
                                          << "1/2/202" << base << QDate();
        QTest::newRow("blank") << "en_GB"
                               << "  " << base << QDate();
    }
    void parseTypedDates()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QDate, base);
        QFETCH(QDate, expected);
        QCOMPARE(DateText::parse(typed, base, ::locale(locale)), expected);
    }

    // Typing over the selected day, or over the whole date, and Tab on to the next field.
    void typingInTheField_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("selectFrom"); // -1: the whole text, as entering selects it
        QTest::addColumn<int>("selectLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("a day over the whole date")
            << "en_GB" << -1 << 0 << "20" << QDate(2026, 3, 20);
        QTest::newRow("a day over the selected day")
            << "en_GB" << 0 << 2 << "20" << QDate(2026, 3, 20);
        QTest::newRow("a day over the selected day, US")
            << "en_US" << 2 << 2 << "20" << QDate(2026, 3, 20);
        QTest::newRow("a whole date") << "en_GB" << -1 << 0 << "4/7/2027" << QDate(2027, 7, 4);
        QTest::newRow("a whole date, US") << "en_US" << -1 << 0 << "7/4/2027" << QDate(2027, 7, 4);
    }
    void typingInTheField()
    {
        QFETCH(QString, locale);
        QFETCH(int, selectFrom);
        QFETCH(int, selectLength);
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        QLocale::setDefault(::locale(locale));
        Form f;
        f.field->setDate(Today);
        f.enter();
        QLineEdit* edit = f.field->lineEdit();
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), edit->text());
        if (selectFrom >= 0)
            edit->setSelection(selectFrom, selectLength);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(f.after->hasFocus());
        QCOMPARE(f.field->date(), expected);
        QCOMPARE(edit->text(), DateText::show(expected));
        QVERIFY(f.field->isValid());
    }

    void keysCalendarAndBlanks()
    {
        Form f;
        f.field->setDate(Today);
        f.enter();
        QLineEdit* edit = f.field->lineEdit();
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(f.field->date(), Today.addDays(1));
        QTest::keyClick(edit, Qt::Key_PageDown);
        QCOMPARE(f.field->date(), Today.addDays(1).addMonths(-1));

        // Alt+Down opens the calendar on the date shown; a day clicked there is the date.
        QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QCalendarWidget* calendar = f.field->calendar();
        QVERIFY(calendar);
        QCOMPARE(calendar->selectedDate(), Today.addDays(1).addMonths(-1));
        emit calendar->clicked(QDate(2026, 5, 9));
        QVERIFY(!f.field->calendar());
        QCOMPARE(f.field->date(), QDate(2026, 5, 9));
        QVERIFY(edit->hasFocus());

        // Text that is no date stays as typed and counts as no date; an empty field is a
        // date left out only where the field is optional.
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("31/2"));
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), QStringLiteral("31/2"));
        QVERIFY(!f.field->isValid());
        QVERIFY(f.field->value().isNull());
        edit->clear();
        QVERIFY(!f.field->isValid());
        f.field->setOptional(true);
        QVERIFY(f.field->isValid());
        QVERIFY(f.field->value().isNull());

        // Read only: shown, not changed by keys or the calendar.
        f.field->setDate(Today);
        f.field->setReadOnly(true);
        QVERIFY(!f.field->calendarButton()->isEnabled());
        f.enter();
        QTest::keyClick(edit, Qt::Key_Up);
        QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(f.field->date(), Today);
        QVERIFY(!f.field->calendar());
    }
};

QTEST_MAIN(TestDateField)
#include "tst_datefield.moc"
