#include "shell/ui/ListWindow.h"

#include "data/Dataset.h"
#include "shell/AppState.h"
#include "shell/ui/Grid.h"
#include "shell/ui/SearchGroup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
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
    m_grid = new Grid;
    m_grid->setObjectName(QStringLiteral("grid"));
    m_model = new DatasetModel(table, columns, this);
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    connect(m_grid, &Grid::openRequested, this, &ListWindow::editRequested);

    m_new = button("&New...", "newButton");
    m_edit = button("&Edit...", "editButton");
    m_delete = button("&Delete", "deleteButton");
    m_print = button("&Print", "printButton");
    m_print->setEnabled(false); // reports are not built yet
    connect(m_new, &QPushButton::clicked, this, &ListWindow::newRequested);
    connect(m_edit, &QPushButton::clicked, this, &ListWindow::editRequested);
    connect(m_delete, &QPushButton::clicked, this, &ListWindow::deleteRequested);
    connect(m_print, &QPushButton::clicked, this, &ListWindow::printRequested);

    m_searchGroup = new SearchGroup(QStringLiteral("Search"), fields);
    connect(m_searchGroup, &SearchGroup::searchRequested, this, &ListWindow::search);
    connect(m_searchGroup, &SearchGroup::clearRequested, this, &ListWindow::clearSearch);

    m_buttons = new QVBoxLayout;
    for (QPushButton* b : {m_new, m_edit, m_delete, m_print})
        m_buttons->addWidget(b);
    m_buttons->addSpacing(12);
    m_buttons->addWidget(m_searchGroup);
    m_buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons);
}

QComboBox* ListWindow::fieldBox() const
{
    return m_searchGroup->fieldBox();
}

QLineEdit* ListWindow::criteriaEdit() const
{
    return m_searchGroup->criteriaEdit();
}

QPushButton* ListWindow::searchButton() const
{
    return m_searchGroup->searchButton();
}

QPushButton* ListWindow::clearButton() const
{
    return m_searchGroup->clearButton();
}

void ListWindow::addButton(QPushButton* b)
{
    m_buttons->insertWidget(m_buttons->count() - 1, b);
}

void ListWindow::insertButtonAfter(QPushButton* after, QPushButton* b)
{
    const int at = m_buttons->indexOf(after);
    if (at < 0)
        addButton(b);
    else
        m_buttons->insertWidget(at + 1, b);
}

void ListWindow::search()
{
    QLineEdit* criteria = criteriaEdit();
    if (criteria->text().trimmed().isEmpty())
        return;
    m_state.SearchField = m_searchGroup->field();
    m_state.SearchText = criteria->text();
    if (m_table.isFiltered())
        m_table.refilter();
    else
        m_table.setFiltered(true);
}

void ListWindow::clearSearch()
{
    m_table.setFiltered(false);
    criteriaEdit()->clear();
}
