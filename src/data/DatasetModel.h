#pragma once

#include "data/Dataset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>

class QItemSelectionModel;

// A grid's view of a Dataset: one column per listed field, with its title and format. The
// model follows the dataset (reset when its shown rows change, one row repainted when a row
// is edited) and can keep a selection model's current row and the dataset's current row in
// step both ways.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Format
    {
        Plain,
        Money, // "#,##0.00"; NULL shows empty
        Whole, // a whole number (a count or an area kept as a decimal); NULL shows empty
        Date,  // the user's short date; NULL shows empty
        YesNo, // "Yes" for a non-zero value, "No" for 0 or NULL
    };
    struct Column
    {
        QString field;
        QString title;
        Format format = Format::Plain;
    };

    DatasetModel(Dataset& dataset, const QList<Column>& columns, QObject* parent = nullptr);

    Dataset& dataset() const { return m_dataset; }
    const QList<Column>& columns() const { return m_columns; }
    void setColumns(const QList<Column>& columns);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // A paged dataset's rows past those available: counted when the view wants them.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // DisplayRole: the formatted text; EditRole: the stored value; ToolTipRole: the whole text
    // (a grid shows it where the column cuts the text); TextAlignmentRole: numbers
    // right-aligned.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The selection model must belong to a view showing this model. Selecting a row moves
    // the dataset there (a pending edit is posted first, as moving does; when that fails the
    // selection goes back to the dataset's row); moving the dataset selects its row.
    void bindSelection(QItemSelectionModel* selection);

    static QString formatValue(const QVariant& value, Format format);

    // A blank model shows no rows, whatever its dataset holds: the detail grid of a master
    // row that is not on screen.
    void setBlank(bool on);
    bool isBlank() const { return m_blank; }

private:
    void resolveFields();
    void selectCurrent();
    void onSelectionRowChanged(const QModelIndex& current);

    Dataset& m_dataset;
    QList<Column> m_columns;
    QVector<int> m_fields;
    QPointer<QItemSelectionModel> m_selection;
    bool m_syncing = false;
    bool m_blank = false;
};
