#include "cashbook/ui/TCcardForm.h"

#include "cashbook/CreditCards.h"
#include "data/DatasetModel.h"
#include "records/ui/RecordFields.h"
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

TCcardForm::TCcardForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TCcardForm"));
    setWindowTitle(QStringLiteral("Accepted Credit Cards"));
    m_name = RecordFields::text("cardNameEdit", 30);
    // Made in the dialog, so that it stays the dialog's default button.
    auto* insert = new QPushButton(QStringLiteral("&Insert"), this);
    insert->setObjectName(QStringLiteral("insertButton"));
    insert->setDefault(true);
    auto* remove = new QPushButton(QStringLiteral("&Delete"));
    remove->setObjectName(QStringLiteral("deleteButton"));
    remove->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(insert, &QPushButton::clicked, this, &TCcardForm::insertCard);
    connect(remove, &QPushButton::clicked, this, &TCcardForm::deleteCard);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_list = new Grid;
    m_list->setObjectName(QStringLiteral("cardList"));
    m_model = new DatasetModel(*state.tables().Ccards, {{QStringLiteral("NAME"), QString()}}, this);
    m_list->setModel(m_model);
    m_model->bindSelection(m_list->selectionModel());
    m_list->horizontalHeader()->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(m_name, 1);
    top->addWidget(insert);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(360, 320);
}

void TCcardForm::insertCard()
{
    try {
        CreditCards::insert(*m_state.tables().Ccards, m_name->text());
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
    m_name->clear();
}

void TCcardForm::deleteCard()
{
    Dataset& cards = *m_state.tables().Ccards;
    if (cards.isEmpty())
        return;
    try {
        cards.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
