#include "shell/ui/Grid.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QToolTip>

Grid::Grid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->setVisible(false);
    // Fixed row heights keep long lists fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableView::doubleClicked, this, &Grid::openRequested);
    // A width the user gives a column is kept when the rows are read again.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fitting)
            m_sizedByUser.insert(column);
    });
}

void Grid::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    m_sizedByUser.clear();
    if (!model)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &Grid::fitLater);
    connect(model, &QAbstractItemModel::layoutChanged, this, &Grid::fitLater);
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first) {
        // The first rows of an empty grid give the columns their size.
        if (first == 0)
            fitLater();
    });
    fitLater();
}

void Grid::fitLater()
{
    m_fitPending = true;
    if (!isVisible())
        return; // on showing
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_fitPending && isVisible())
                fitColumns();
        },
        Qt::QueuedConnection);
}

void Grid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    if (m_fitPending)
        fitLater();
}

void Grid::fitColumns()
{
    m_fitPending = false;
    QAbstractItemModel* m = model();
    if (!m)
        return;
    QHeaderView* header = horizontalHeader();
    const int rows = m->rowCount(rootIndex());
    const int columns = m->columnCount(rootIndex());
    int first = rowAt(0);
    if (first < 0)
        first = 0;
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int inView = viewport()->height() / rowHeight + 1;
    const int last = std::min(rows, first + std::min(inView, MeasuredRows));
    // No column takes more than half the width; a longer text shows whole in its tooltip.
    const int widest = std::max(160, viewport()->width() / 2);
    m_fitting = true;
    for (int c = 0; c < columns; ++c) {
        if (isColumnHidden(c) || m_sizedByUser.contains(c))
            continue;
        int width = header->sectionSizeHint(c);
        for (int r = first; r < last; ++r)
            width = std::max(width, sizeHintForIndex(m->index(r, c, rootIndex())).width());
        header->resizeSection(c, std::min(width + 4, widest));
    }
    m_fitting = false;
}

QString Grid::wholeText(const QModelIndex& index) const
{
    if (!index.isValid())
        return QString();
    const QString shown = index.data(Qt::DisplayRole).toString();
    const bool cut = sizeHintForIndex(index).width() > visualRect(index).width() ||
                     shown.contains(QLatin1Char('\n'));
    if (!cut)
        return QString();
    const QString whole = index.data(Qt::ToolTipRole).toString();
    return whole.isEmpty() ? shown : whole;
}

void Grid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && currentIndex().isValid() &&
        isSignalConnected(QMetaMethod::fromSignal(&Grid::openRequested))) {
        emit openRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool Grid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !model())
        return QTableView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = wholeText(index);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    return true;
}
