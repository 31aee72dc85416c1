#include "data/Database.h"
#include "records/ui/Pickers.h"
#include "support/Gui.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <memory>

namespace {

void fill(Database& db)
{
    for (const char* sql : {
             "insert into tenants (tid, id, firstname, lastname) values (1, 'T1', 'Ann', 'Smith')",
             "insert into tenants (tid, id, firstname, lastname) values (2, 'T2', 'Bob', 'Goldsmith')",
             "insert into tenants (tid, id, firstname, lastname) values (3, 'T3', 'Cy', 'SMART')",
             "insert into tenants (tid, id, firstname, lastname) values (4, 'T4', 'Smitty', 'Jones')",
             "insert into tenants (tid, id, firstname, lastname) values (5, 'T5', 'Dan', 'O''Brien')",
             "insert into tenants (tid, id, firstname, lastname) values (6, 'T6', 'Eve', 'Kim')",
             // Eve waits twice over and is still listed once.
             "insert into waitlist (wid, tid) values (1, 2)",
             "insert into waitlist (wid, tid) values (2, 6)",
             "insert into waitlist (wid, tid) values (3, 6)",
             "insert into vendors (vid, name) values (12, '50% Off Paint')",
             "insert into vendors (vid, name) values (13, '500 Supplies')",
             "insert into vendors (vid, name) values (14, 'A_B Co')",
             "insert into vendors (vid, name) values (15, 'AxB Co')",
             // Owners have addresses too: the building's own must be searched.
             "insert into owners (oid, code, address) values (1, 'ABC', '5 Elm St')",
             "insert into owners (oid, code, address) values (2, 'DEF', '7 Main Rd')",
             "insert into buildings (buildid, oid, description, address, owner) "
             "values (10, 1, 'Tower', '1 Main St', 'Def Trust')",
             "insert into buildings (buildid, oid, description, address) values (11, 2, 'Annex', '9 Oak Ave')",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (100, 10, 'B2', -1, -1)",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (101, 10, 'A1', -1, -1)",
             "insert into apartments (apid, bid, suite, tid, agreeid) values (102, 11, 'C3', -1, -1)",
         })
        db.exec(QLatin1String(sql));
}

std::unique_ptr<SearchPicker> make(Database& db, const QString& kind)
{
    if (kind == QLatin1String("building"))
        return std::make_unique<TSelBuild>(db);
    if (kind == QLatin1String("unit"))
        return std::make_unique<TFSelApart>(db);
    if (kind == QLatin1String("vendor"))
        return std::make_unique<TSelVen>(db);
    auto t = std::make_unique<TSelTen>(db);
    t->setWaitListMode(kind == QLatin1String("waitlist"));
    return t;
}

// The keys of the listed rows, in order, and that the first one is selected.
QString listedIds(SearchPicker& p)
{
    QStringList ids;
    QAbstractItemModel* m = p.list()->model();
    for (int row = 0; row < m->rowCount(); ++row) {
        p.list()->selectRow(row);
        ids << QString::number(p.selectedId());
    }
    if (m->rowCount() > 0)
        p.list()->selectRow(0);
    return ids.join(QLatin1Char(','));
}

} // namespace

class TestPickers : public QObject
{
    Q_OBJECT
private slots:
    void searchAsYouType_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("ids");
        // The text is typed first and the field chosen after, so each row also shows that
        // a change of field filters again.
        QTest::newRow("sm in last names, any case") << "tenant" << "sm" << "Lastname" << "2,3,1";
        QTest::newRow("sm in first names") << "tenant" << "sm" << "Firstname" << "4";
        QTest::newRow("blanks list all, by field") << "tenant" << "   " << "Lastname" << "2,4,6,5,3,1";
        QTest::newRow("a quote") << "tenant" << "o'b" << "Lastname" << "5";
        QTest::newRow("wait list, all") << "waitlist" << "" << "Lastname" << "2,6";
        QTest::newRow("wait list, sm") << "waitlist" << "sm" << "Lastname" << "2";
        QTest::newRow("percent is literal") << "vendor" << "0%" << "Name" << "12";
        QTest::newRow("underscore is literal") << "vendor" << "a_b" << "Name" << "14";
        QTest::newRow("building address, not owner's") << "building" << "main" << "Address" << "10";
        QTest::newRow("building owner is the code") << "building" << "def" << "Owner" << "11";
        QTest::newRow("units by suite") << "unit" << "" << "Suite" << "101,100,102";
        QTest::newRow("units by building") << "unit" << "ANN" << "Description" << "102";
    }
    void searchAsYouType()
    {
        QFETCH(QString, picker);
        QFETCH(QString, text);
        QFETCH(QString, field);
        QFETCH(QString, ids);
        TestDb t;
        fill(t.db());
        MessageRecorder messages;
        Messages::install(&messages);
        auto p = make(t.db(), picker);
        p->searchEdit()->setText(text);
        p->fieldBox()->setCurrentText(field);
        QCOMPARE(p->fieldBox()->currentText(), field);
        QCOMPARE(listedIds(*p), ids);
        QCOMPARE(messages.texts(), QStringList());
        Messages::install(nullptr);
    }

    void handBack()
    {
        TestDb t;
        fill(t.db());
        TSelTen tenants(t.db());
        QCOMPARE(tenants.fieldBox()->currentText(), QStringLiteral("ID"));
        QCOMPARE(tenants.selectedId(), 1); // opened on every tenant, first selected
        tenants.fieldBox()->setCurrentText(QStringLiteral("Lastname"));
        tenants.searchEdit()->setText(QStringLiteral("O'B"));
        QCOMPARE(tenants.selectedText(), QStringLiteral("Dan O'Brien"));
        TSelVen vendors(t.db());
        vendors.searchEdit()->setText(QStringLiteral("0%"));
        QCOMPARE(vendors.selectedIdText(), QStringLiteral("12"));
        TSelBuild buildings(t.db());
        buildings.searchEdit()->setText(QStringLiteral("tow"));
        QCOMPARE(buildings.selectedText(), QStringLiteral("Tower"));
    }

    void okOnAnEmptyResultStaysOpen()
    {
        TestDb t;
        fill(t.db());
        MessageRecorder messages;
        Messages::install(&messages);
        DialogScript dialogs;
        bool stayedOpen = false;
        dialogs.then([&](QDialog* d) {
            type(d, "searchEdit", QStringLiteral("zzz"));
            click(d, "okButton");
            stayedOpen = d->isVisible();
            type(d, "searchEdit", QString());
            click(d, "okButton");
        });
        TSelVen vendors(t.db());
        QCOMPARE(Dialogs::exec(&vendors), int(QDialog::Accepted));
        QVERIFY(stayedOpen);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QStringLiteral("No item Selected"));
        QCOMPARE(messages.shown[0].caption, QStringLiteral("item"));
        QCOMPARE(messages.shown[0].icon, Message::Warning);
        Messages::install(nullptr);
    }

    void refreshListsAllAndKeepsTheText()
    {
        TestDb t;
        fill(t.db());
        TFSelApart units(t.db());
        type(&units, "searchEdit", QStringLiteral("a1"));
        QCOMPARE(listedIds(units), QStringLiteral("101"));
        click(&units, "refreshButton");
        QCOMPARE(listedIds(units), QStringLiteral("101,100,102"));
        QCOMPARE(units.searchEdit()->text(), QStringLiteral("a1"));
    }

    void statusPickerKeepsItsChoice()
    {
        TFSelStat& first = TFSelStat::shared();
        QCOMPARE(first.selectedIndex(), 0);
        QCOMPARE(first.selectedText(), QStringLiteral("ALL "));
        first.findChild<QListWidget*>(QStringLiteral("statusList"))->setCurrentRow(2);
        QCOMPARE(&TFSelStat::shared(), &first);
        QCOMPARE(TFSelStat::shared().selectedText(), QStringLiteral("RESOLVED"));
    }
};

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
