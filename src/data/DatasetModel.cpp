#include "data/DatasetModel.h"

#include "data/DateText.h"

#include <QItemSelectionModel>

DatasetModel::DatasetModel(Dataset& dataset, const QList<Column>& columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataset(dataset), m_columns(columns)
{
    resolveFields();
    connect(&m_dataset, &Dataset::rowsAboutToReset, this, [this] { beginResetModel(); });
    connect(&m_dataset, &Dataset::rowsReset, this, [this] {
        resolveFields();
        endResetModel();
        selectCurrent();
    });
    connect(&m_dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    connect(&m_dataset, &Dataset::currentChanged, this, &DatasetModel::selectCurrent);
    connect(&m_dataset, &Dataset::rowsAboutToBeAppended, this,
            [this](int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(&m_dataset, &Dataset::rowsAppended, this, [this] { endInsertRows(); });
}

void DatasetModel::setColumns(const QList<Column>& columns)
{
    beginResetModel();
    m_columns = columns;
    resolveFields();
    endResetModel();
    selectCurrent();
}

void DatasetModel::resolveFields()
{
    m_fields.clear();
    for (const Column& c : m_columns)
        m_fields << m_dataset.fieldIndex(c.field);
}

void DatasetModel::setBlank(bool on)
{
    if (on == m_blank)
        return;
    beginResetModel();
    m_blank = on;
    endResetModel();
    selectCurrent();
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_blank)
        return 0;
    // Views ask from inside painting and layout, where nothing may be thrown. A selection
    // not counted yet shows the rows that can be reached; the view asks for the rest when it
    // is scrolled to them (fetchMore).
    try {
        return m_dataset.rowsAvailable();
    } catch (const DbError& e) {
        DataErrors::report(e);
        return 0;
    }
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid())
        return false;
    try {
        return m_dataset.canFetchMore();
    } catch (const DbError& e) {
        DataErrors::report(e);
        return false;
    }
}

void DatasetModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    try {
        m_dataset.fetchMore();
    } catch (const DbError& e) {
        DataErrors::report(e);
    }
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetModel::formatValue(const QVariant& value, Format format)
{
    switch (format) {
    case Format::Plain:
        break;
    case Format::Money:
        return value.isNull() ? QString() : Dataset::toMoney(value).format();
    case Format::Whole: {
        if (value.isNull())
            return QString();
        const Money m = Dataset::toMoney(value);
        const qint64 units = m.units();
        const qint64 half = Money::Scale / 2;
        return QString::number((units >= 0 ? units + half : units - half) / Money::Scale);
    }
    case Format::Date:
        return DateText::show(value.toDate());
    case Format::YesNo:
        return value.toInt() != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    }
    return value.toString();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= m_columns.size())
        return QVariant();
    const Column& c = m_columns.at(index.column());
    if (role == Qt::TextAlignmentRole)
        return c.format == Format::Money || c.format == Format::Whole
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return QVariant();
    const int field = m_fields.at(index.column());
    if (field < 0)
        return QVariant();
    QVariant v;
    try {
        v = m_dataset.valueAt(index.row(), field);
    } catch (const DbError& e) {
        // A cell that cannot be read shows empty rather than unwinding through the view.
        DataErrors::report(e);
        return QVariant();
    }
    if (role == Qt::EditRole)
        return v;
    const QString text = formatValue(v, c.format);
    if (role == Qt::ToolTipRole && text.isEmpty())
        return QVariant();
    return text;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

void DatasetModel::bindSelection(QItemSelectionModel* selection)
{
    if (m_selection)
        disconnect(m_selection, nullptr, this, nullptr);
    m_selection = selection;
    if (!selection)
        return;
    Q_ASSERT(selection->model() == this);
    connect(
        selection, &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current, const QModelIndex&) { onSelectionRowChanged(current); });
    selectCurrent();
}

void DatasetModel::onSelectionRowChanged(const QModelIndex& current)
{
    if (m_syncing || !current.isValid())
        return;
    try {
        if (current.row() == m_dataset.currentIndex())
            return;
        m_dataset.moveTo(current.row());
    } catch (const DbError& e) {
        // The pending edit could not be posted, or the row could not be read.
        DataErrors::report(e);
    }
    selectCurrent();
}

void DatasetModel::selectCurrent()
{
    if (!m_selection || m_syncing)
        return;
    int row = -1;
    try {
        row = m_dataset.currentIndex();
    } catch (const DbError& e) {
        DataErrors::report(e);
    }
    m_syncing = true;
    if (row < 0 || m_columns.isEmpty() || m_blank) {
        m_selection->clear();
    } else {
        const QModelIndex cur = m_selection->currentIndex();
        const int column = cur.isValid() ? cur.column() : 0;
        m_selection->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    }
    m_syncing = false;
}
