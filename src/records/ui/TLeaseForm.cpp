#include "records/ui/TLeaseForm.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "records/Agreements.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Grid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TLeaseForm::TLeaseForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TLeaseForm"));
    setWindowTitle(QStringLiteral("Lease Terms"));
    Dataset& leases = *state.tables().Leases;

    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMaxLength(30);
    m_model = new DatasetModel(leases, {{QStringLiteral("NAME"), QStringLiteral("Name")}}, this);
    m_list = new Grid;
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_model);
    m_model->bindSelection(m_list->selectionModel());
    m_list->horizontalHeader()->setVisible(false);

    auto* insert = new QPushButton(QStringLiteral("&Insert"), this);
    insert->setObjectName(QStringLiteral("insertButton"));
    insert->setDefault(true);
    auto* remove = new QPushButton(QStringLiteral("&Delete"));
    remove->setObjectName(QStringLiteral("deleteButton"));
    auto* close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(insert, &QPushButton::clicked, this, &TLeaseForm::insertTerm);
    connect(remove, &QPushButton::clicked, this, &TLeaseForm::deleteTerm);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(insert);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* left = new QVBoxLayout;
    left->addWidget(m_name);
    left->addWidget(m_list, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(360, 300);
}

void TLeaseForm::insertTerm()
{
    if (m_name->text().trimmed().isEmpty())
        return;
    try {
        Agreements::addLeaseTerm(m_state.db, *m_state.tables().Leases, m_name->text());
        m_name->clear();
    } catch (const DbError& e) {
        Messages::error(e.message()); // the text stays for correcting
    }
}

void TLeaseForm::deleteTerm()
{
    Dataset& leases = *m_state.tables().Leases;
    if (leases.isEmpty())
        return;
    try {
        leases.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
