#pragma once

#include <QSet>
#include <QTableView>

// The grid of every list: whole rows selected one at a time, read only, rows of one fixed
// height. Its columns are sized to their titles and to the rows in view (never to every row,
// so a grid over a large table stays fast), again whenever the model is reset, except the
// columns the user has sized by hand. A text cut by
// its column shows whole in a tooltip. Enter on a row and a double click ask to open it.
class Grid : public QTableView
{
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Rows measured at most when the columns are sized.
    static constexpr int MeasuredRows = 60;
    // Sizes the columns now (the grid does so by itself after a reset and when shown).
    void fitColumns();
    // The tooltip of a cell: its whole text (the model's tooltip, else the text shown) when
    // the column cuts it or it has more lines; empty when the cell shows it all.
    QString wholeText(const QModelIndex& index) const;

signals:
    void openRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void fitLater();

    bool m_fitPending = false;
    bool m_fitting = false;
    QSet<int> m_sizedByUser;
};
