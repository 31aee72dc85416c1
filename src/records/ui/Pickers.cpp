#include "records/ui/Pickers.h"

#include "data/Database.h"
#include "shell/Messages.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Grid.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

// The rows of the last query, showing the picker's listed columns.
class PickerRowsModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(PickerQuery::Rows rows, const QStringList& columns, const QStringList& titles)
    {
        beginResetModel();
        m_rows = std::move(rows);
        m_titles = titles;
        m_fields.clear();
        for (const QString& c : columns)
            m_fields << m_rows.column(c);
        endResetModel();
    }
    const PickerQuery::Rows& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.values.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_fields.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        const int f = m_fields.value(index.column(), -1);
        if (f < 0)
            return QVariant();
        const QVariant& v = m_rows.values.at(index.row()).at(f);
        return v.isNull() ? QVariant() : v;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_titles.value(section);
        return QVariant();
    }

private:
    PickerQuery::Rows m_rows;
    QStringList m_titles;
    QVector<int> m_fields;
};

namespace {

QPushButton* button(const QString& text, const char* name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

SearchPicker::SearchPicker(Database& db, const PickerQuery& query, QWidget* parent)
    : QDialog(parent), m_db(db), m_query(query)
{
    setWindowTitle(query.caption);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->installEventFilter(this);
    m_field = new QComboBox;
    m_field->setObjectName(QStringLiteral("fieldBox"));
    for (const PickerQuery::Field& f : query.fields)
        m_field->addItem(f.caption);

    m_model = new PickerRowsModel(this);
    auto* grid = new Grid;
    m_list = grid;
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_model);
    connect(grid, &Grid::openRequested, this, &SearchPicker::accept);

    auto* ok = button(QStringLiteral("Ok"), "okButton");
    auto* cancel = button(QStringLiteral("Cancel"), "cancelButton");
    connect(ok, &QPushButton::clicked, this, &SearchPicker::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("Search"));
    searchLabel->setBuddy(m_search);
    auto* fieldLabel = new QLabel(QStringLiteral("Field"));
    fieldLabel->setBuddy(m_field);
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);
    top->addSpacing(12);
    top->addWidget(fieldLabel);
    top->addWidget(m_field);
    auto* bottom = new QHBoxLayout;
    bottom->setObjectName(QStringLiteral("buttonRow"));
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
    // Now that it sits in the dialog: Enter in the search box chooses.
    ok->setDefault(true);
    resize(860, 440);

    connect(m_search, &QLineEdit::textChanged, this, [this] { requery(); });
    connect(m_field, &QComboBox::currentIndexChanged, this, [this] { requery(); });
    m_search->setFocus();
    requery();
}

void SearchPicker::setQuery(const PickerQuery& query)
{
    m_query = query;
    setWindowTitle(query.caption);
    requery();
}

void SearchPicker::requery(bool withText)
{
    PickerQuery::Rows rows;
    try {
        rows = m_query.run(m_db, m_field->currentIndex(), withText ? m_search->text() : QString());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_model->setRows(std::move(rows), m_query.columns, m_query.titles);
    if (m_model->rowCount() > 0)
        m_list->selectRow(0);
}

int SearchPicker::selectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int SearchPicker::selectedId() const
{
    const int row = selectedRow();
    const int key = m_model->rows().column(m_query.keyColumn);
    if (row < 0 || key < 0)
        return -1;
    return m_model->rows().values.at(row).at(key).toInt();
}

QString SearchPicker::selectedText() const
{
    const int row = selectedRow();
    if (row < 0)
        return QString();
    QStringList parts;
    for (const QString& c : m_query.textColumns) {
        const int f = m_model->rows().column(c);
        parts << (f < 0 ? QString() : m_model->rows().values.at(row).at(f).toString());
    }
    return parts.join(QLatin1Char(' '));
}

void SearchPicker::accept()
{
    if (selectedRow() < 0) {
        Messages::show({QStringLiteral("item"), Message::Warning, Message::Ok,
                        QStringLiteral("No item Selected")});
        return;
    }
    QDialog::accept();
}

bool SearchPicker::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow and page keys in the search box move through the list.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TSelBuild::TSelBuild(Database& db, QWidget* parent)
    : SearchPicker(db, PickerQuery::building(), parent)
{
    setObjectName(QStringLiteral("TSelBuild"));
}

TFSelApart::TFSelApart(Database& db, QWidget* parent)
    : SearchPicker(db, PickerQuery::unit(), parent)
{
    setObjectName(QStringLiteral("TFSelApart"));
    auto* refresh = button(QStringLiteral("Refresh"), "refreshButton");
    // Lists every unit again; the search text stays in the box.
    connect(refresh, &QPushButton::clicked, this, [this] { requery(false); });
    if (auto* row = findChild<QHBoxLayout*>(QStringLiteral("buttonRow")))
        row->insertWidget(0, refresh);
}

TSelTen::TSelTen(Database& db, QWidget* parent) : SearchPicker(db, PickerQuery::tenant(), parent)
{
    setObjectName(QStringLiteral("TSelTen"));
}

void TSelTen::setWaitListMode(bool on)
{
    setQuery(PickerQuery::tenant(on));
}

TSelVen::TSelVen(Database& db, QWidget* parent) : SearchPicker(db, PickerQuery::vendor(), parent)
{
    setObjectName(QStringLiteral("TSelVen"));
}

QString TSelVen::selectedIdText() const
{
    const int id = selectedId();
    return id < 0 ? QString() : QString::number(id);
}

TFSelStat::TFSelStat(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFSelStat"));
    setWindowTitle(QStringLiteral("Maintenance Status"));
    auto* label = new QLabel(QStringLiteral("Status of Maintenance"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("statusList"));
    m_list->addItems({QStringLiteral("ALL "), QStringLiteral("OPEN"), QStringLiteral("RESOLVED"),
                      QStringLiteral("CLOSED"), QStringLiteral("POSTPONED")});
    m_list->setCurrentRow(0);
    label->setBuddy(m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(260, 240);
}

TFSelStat::TFSelStat(const QString& label, const QStringList& items, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFSelStat"));
    setWindowTitle(QStringLiteral("Select"));
    auto* caption = new QLabel(label);
    caption->setObjectName(QStringLiteral("promptLabel"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("choiceList"));
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->addItems(items);
    caption->setBuddy(m_list);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(okCancelButtons(this));
    resize(300, 360);
}

void TFSelStat::selectAll()
{
    m_list->selectAll();
}

QList<int> TFSelStat::selectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected())
            rows << i;
    return rows;
}

void TFSelStat::accept()
{
    if (m_list->selectionMode() == QAbstractItemView::MultiSelection && selectedRows().isEmpty()) {
        Messages::warning(QStringLiteral("No item selected"));
        return;
    }
    QDialog::accept();
}

TFSelStat& TFSelStat::shared()
{
    static QPointer<TFSelStat> instance;
    if (!instance) {
        instance = new TFSelStat;
        // Removed while the application object still exists, before widgets become invalid.
        qAddPostRoutine([] { delete instance.data(); });
    }
    return *instance;
}

int TFSelStat::selectedIndex() const
{
    return m_list->currentRow();
}

QString TFSelStat::selectedText() const
{
    return m_list->currentItem() ? m_list->currentItem()->text() : QString();
}
