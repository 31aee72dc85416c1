// The grid of every list: columns sized from the rows in view only, whole texts in tooltips,
// and the selection on the row just stored.
#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "records/ui/TFTOwn.h"
#include "shell/SharedTables.h"
#include "shell/ui/Grid.h"
#include "shell/ui/ListWindow.h"
#include "shell/ui/TMain.h"
#include "support/Gui.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolTip>

namespace {

// A table as long as a history table, which notes the furthest row anybody read.
class LongModel : public QAbstractTableModel
{
public:
    static constexpr int Rows = 1000000;
    mutable int furthest = -1;
    QString early = QStringLiteral("a somewhat longer text in row three");
    QString late = QString(300, QLatin1Char('x'));

    int rowCount(const QModelIndex& = QModelIndex()) const override { return Rows; }
    int columnCount(const QModelIndex& = QModelIndex()) const override { return 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        furthest = std::max(furthest, index.row());
        if (index.column() == 1)
            return QStringLiteral("last");
        if (index.row() == 3)
            return early;
        return index.row() == Rows - 1 ? late : QStringLiteral("short");
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && role == Qt::DisplayRole)
            return section == 0 ? QStringLiteral("Text") : QStringLiteral("Other");
        return QVariant();
    }
    void change(const QString& text)
    {
        beginResetModel();
        early = text;
        endResetModel();
    }
};

int textWidth(const Grid& g, const QString& text)
{
    return g.fontMetrics().horizontalAdvance(text);
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT
private slots:
    void columnsFitTheRowsInViewOnly()
    {
        LongModel model;
        Grid grid;
        grid.resize(900, 400);
        grid.setModel(&model);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCoreApplication::processEvents();

        // Row three's text fits; the last row's was never read, nor any row out of view.
        QVERIFY(grid.columnWidth(0) >= textWidth(grid, model.early));
        QVERIFY(grid.columnWidth(0) < textWidth(grid, model.late));
        QVERIFY2(model.furthest < Grid::MeasuredRows, qPrintable(QString::number(model.furthest)));

        // A reset sizes again.
        model.change(QStringLiteral("a text that is longer again than the one before it"));
        QCoreApplication::processEvents();
        QVERIFY(grid.columnWidth(0) >= textWidth(grid, model.early));
        QVERIFY(model.furthest < Grid::MeasuredRows);

        // A width the user dragged stays after the rows are read again.
        grid.horizontalHeader()->resizeSection(0, 37);
        model.change(QStringLiteral("short again"));
        QCoreApplication::processEvents();
        QCOMPARE(grid.columnWidth(0), 37);
    }

    void cutTextsShowWholeInATooltip()
    {
        LongModel model;
        model.early = QString(200, QLatin1Char('y'));
        Grid grid;
        grid.resize(500, 300);
        grid.setModel(&model);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCoreApplication::processEvents();
        const auto hover = [&grid](int row, int column) {
            const QPoint at = grid.visualRect(grid.model()->index(row, column)).center();
            QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(grid.viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(hover(3, 0), model.early);
        QCOMPARE(grid.wholeText(model.index(2, 0)), QString()); // "short" fits
    }

    // The model gives the whole formatted text as the tooltip.
    void datasetModelToolTips()
    {
        ShellFixture f(false);
        f.prepare([](Database& db) {
            db.exec(QStringLiteral(
                "insert into owners (oid, code, name, manvalue) values (1, 'A', 'Ann', 1234.5)"));
        });
        f.start();
        DatasetModel model(
            *f.state.tables().Owners,
            {{QStringLiteral("NAME"), QStringLiteral("Name")},
             {QStringLiteral("MANVALUE"), QStringLiteral("Value"), DatasetModel::Format::Money},
             {QStringLiteral("EMAIL"), QStringLiteral("Email")}});
        QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Ann"));
        QCOMPARE(model.index(0, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("1,234.50"));
        QVERIFY(model.index(0, 2).data(Qt::ToolTipRole).isNull());
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
    }

    // After New and Edit the stored row is the one selected, whole, and in view.
    void selectionFollowsTheStoredRow_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("adding");
        QTest::newRow("new owner") << "owners" << true;
        QTest::newRow("edited owner") << "owners" << false;
        QTest::newRow("new tenant") << "tenants" << true;
        QTest::newRow("edited tenant") << "tenants" << false;
    }
    void selectionFollowsTheStoredRow()
    {
        QFETCH(QString, screen);
        QFETCH(bool, adding);
        const bool owners = screen == QLatin1String("owners");
        ShellFixture f(false);
        f.prepare([](Database& db) {
            for (int i = 1; i <= 60; ++i) {
                db.exec(QStringLiteral("insert into owners (oid, code) values (%1, 'O%2')")
                            .arg(i)
                            .arg(i, 2, 10, QLatin1Char('0')));
                db.exec(QStringLiteral("insert into tenants (tid, id) values (%1, 'T%2')")
                            .arg(i)
                            .arg(i, 2, 10, QLatin1Char('0')));
            }
            db.exec(QStringLiteral("set generator gen_owners_id to 100"));
            db.exec(QStringLiteral("set generator gen_tenants_id to 100"));
        });
        TMain& main = f.start();
        main.resize(1000, 700);
        main.show();
        main.command(screen)->trigger();
        QWidget* w = main.openChildWindow(screen)->widget();
        ListWindow* list = owners ? qobject_cast<TFTOwn*>(w)->list() : w->findChild<ListWindow*>();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        Grid* grid = list->grid();
        if (!adding)
            QVERIFY(
                list->table().locate(owners ? QStringLiteral("OID") : QStringLiteral("TID"), 45));
        const QString code = QStringLiteral("ZZ");
        f.dialogs.then([&](QDialog* d) {
            type(d, owners ? "codeEdit" : "idEdit", code);
            if (!owners)
                child<QCheckBox>(d, "waitListBox")->setChecked(false);
            click(d, "okButton");
        });
        click(list, adding ? "newButton" : "editButton");
        QVERIFY(f.dialogs.done());
        QCoreApplication::processEvents();

        const QModelIndex current = grid->currentIndex();
        QVERIFY(current.isValid());
        QCOMPARE(current.row(), list->table().currentIndex());
        QCOMPARE(grid->model()->index(current.row(), 0).data().toString(), code);
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), grid->model()->columnCount());
        QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(current)));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
