#include "shell/ui/ListWindow.h"

#include "data/Dataset.h"
#include "shell/AppState.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QPushButton* button(const char* text, const char* name)
{
    auto* b = new QPushButton(QLatin1String(text));
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

ListWindow::ListWindow(AppState& state, Dataset& table, const QList<DatasetModel::Column>& columns,
                       const QList<QPair<QString, QString>>& fields, QWidget* parent)
    : QWidget(parent), m_state(state), m_table(table), m_fields(fields)
{
    setObjectName(QStringLiteral("listWindow"));
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("grid"));
    m_model = new DatasetModel(table, columns, this);
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setVisible(false);
    // Fixed row heights keep large lists fast.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid, &QTableView::doubleClicked, this, &ListWindow::editRequested);

    m_new = button("&New...", "newButton");
    m_edit = button("&Edit...", "editButton");
    m_delete = button("&Delete", "deleteButton");
    m_print = button("&Print", "printButton");
    m_print->setEnabled(false); // reports are not built yet
    connect(m_new, &QPushButton::clicked, this, &ListWindow::newRequested);
    connect(m_edit, &QPushButton::clicked, this, &ListWindow::editRequested);
    connect(m_delete, &QPushButton::clicked, this, &ListWindow::deleteRequested);
    connect(m_print, &QPushButton::clicked, this, &ListWindow::printRequested);

    m_field = new QComboBox;
    m_field->setObjectName(QStringLiteral("fieldBox"));
    for (const auto& f : fields)
        m_field->addItem(f.first, f.second);
    m_criteria = new QLineEdit;
    m_criteria->setObjectName(QStringLiteral("criteriaEdit"));
    m_search = button("&Search", "searchButton");
    m_search->setDefault(true);
    m_clear = button("&Clear", "clearButton");
    connect(m_search, &QPushButton::clicked, this, &ListWindow::search);
    connect(m_clear, &QPushButton::clicked, this, &ListWindow::clearSearch);
    connect(m_criteria, &QLineEdit::returnPressed, this, &ListWindow::search);

    auto* searchBox = new QGroupBox(QStringLiteral("Search"));
    auto* form = new QFormLayout(searchBox);
    form->addRow(QStringLiteral("Field"), m_field);
    form->addRow(QStringLiteral("Criteria"), m_criteria);
    auto* searchButtons = new QHBoxLayout;
    searchButtons->addWidget(m_search);
    searchButtons->addWidget(m_clear);
    form->addRow(searchButtons);

    m_buttons = new QVBoxLayout;
    for (QPushButton* b : {m_new, m_edit, m_delete, m_print})
        m_buttons->addWidget(b);
    m_buttons->addSpacing(12);
    m_buttons->addWidget(searchBox);
    m_buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons);
}

void ListWindow::addButton(QPushButton* b)
{
    m_buttons->insertWidget(m_buttons->count() - 1, b);
}

void ListWindow::search()
{
    if (m_criteria->text().trimmed().isEmpty())
        return;
    m_state.SearchField = m_field->currentData().toString();
    m_state.SearchText = m_criteria->text();
    if (m_table.isFiltered())
        m_table.refilter();
    else
        m_table.setFiltered(true);
}

void ListWindow::clearSearch()
{
    m_table.setFiltered(false);
    m_criteria->clear();
}
