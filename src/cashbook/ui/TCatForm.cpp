#include "cashbook/ui/TCatForm.h"

#include "data/Dataset.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/DialogButtons.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TPropCat::TPropCat(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPropCat"));
    setWindowTitle(QStringLiteral("Category"));
    m_name = RecordFields::text("nameEdit", 20);
    m_description = RecordFields::text("descriptionEdit", 100);
    m_income = new QRadioButton(QStringLiteral("Income"));
    m_income->setObjectName(QStringLiteral("incomeButton"));
    m_expense = new QRadioButton(QStringLiteral("Expense"));
    m_expense->setObjectName(QStringLiteral("expenseButton"));
    m_income->setChecked(true);
    auto* type = new QGroupBox(QStringLiteral("Type"));
    auto* typeLayout = new QHBoxLayout(type);
    typeLayout->addWidget(m_income);
    typeLayout->addWidget(m_expense);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), m_name);
    form->addRow(QStringLiteral("Description"), m_description);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(type);
    layout->addWidget(okCancelButtons(this));
}

void TPropCat::accept()
{
    if (m_name->text().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("The name field is blank!"));
        return;
    }
    QDialog::accept();
}

TCatForm* TCatForm::instance(AppState& state, QWidget* anchor)
{
    QWidget* root = anchor;
    while (root && root->parentWidget())
        root = root->parentWidget();
    if (root) {
        if (auto* existing = root->findChild<TCatForm*>(QStringLiteral("TCatForm"),
                                                        Qt::FindDirectChildrenOnly))
            return existing;
    }
    return new TCatForm(state, root);
}

TCatForm::TCatForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TCatForm"));
    setWindowTitle(QStringLiteral("Cashbook categories"));
    m_list = new ListWindow(state, *state.tables().Categories,
                            {{QStringLiteral("NAME"), QStringLiteral("Name")},
                             {QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
                             {QStringLiteral("thetype"), QStringLiteral("Type")}},
                            {{QStringLiteral("Name"), QStringLiteral("NAME")},
                             {QStringLiteral("Description"), QStringLiteral("DESCRIPTION")}});
    m_list->printButton()->hide();
    m_list->clearButton()->setAutoDefault(false);
    // C is "&Clear".
    auto* close = new QPushButton(QStringLiteral("Cl&ose"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_list->addButton(close);
    connect(m_list, &ListWindow::newRequested, this, &TCatForm::newCategory);
    connect(m_list, &ListWindow::editRequested, this, &TCatForm::editCategory);
    connect(m_list, &ListWindow::deleteRequested, this, &TCatForm::deleteCategory);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(640, 380);
}

bool TCatForm::runDialog(AppState& state, QWidget* parent)
{
    Dataset& t = *state.tables().Categories;
    TPropCat dialog(parent);
    dialog.nameEdit()->setText(t.asText(QStringLiteral("NAME")));
    dialog.descriptionEdit()->setText(t.asText(QStringLiteral("DESCRIPTION")));
    const bool income = t.value(QStringLiteral("TYPE")).isNull() || t.asFlag(QStringLiteral("TYPE"));
    (income ? dialog.incomeButton() : dialog.expenseButton())->setChecked(true);
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        return false;
    t.setValue(QStringLiteral("NAME"), dialog.nameEdit()->text());
    t.setValue(QStringLiteral("DESCRIPTION"), dialog.descriptionEdit()->text());
    t.setValue(QStringLiteral("TYPE"), dialog.incomeButton()->isChecked() ? 1 : 0);
    return true;
}

void TCatForm::newCategory()
{
    Dataset& t = m_list->table();
    try {
        t.append();
        t.setValue(QStringLiteral("TYPE"), 1);
        if (!runDialog(m_state, this)) {
            t.cancel();
            return;
        }
        t.setValue(QStringLiteral("CATID"), m_state.db.NextKey(QStringLiteral("GEN_CATEGORIES_ID")));
        t.post();
    } catch (const DbError& e) {
        if (t.isEditing())
            t.cancel();
        Messages::error(e.message());
    }
}

void TCatForm::editCategory()
{
    Dataset& t = m_list->table();
    if (t.isEmpty())
        return;
    try {
        t.edit();
        if (!runDialog(m_state, this)) {
            t.cancel();
            return;
        }
        t.post();
    } catch (const DbError& e) {
        if (t.isEditing())
            t.cancel();
        Messages::error(e.message());
    }
}

void TCatForm::deleteCategory()
{
    Dataset& t = m_list->table();
    if (t.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        t.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
