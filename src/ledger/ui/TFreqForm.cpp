#include "ledger/ui/TFreqForm.h"
#include "shell/ui/DialogButtons.h"

#include "data/Dataset.h"
#include "records/ui/RecordFields.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFreqProp::TFreqProp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFreqProp"));
    setWindowTitle(QStringLiteral("Rent Frequency"));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMaxLength(30);
    m_description = new QLineEdit;
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_description->setMaxLength(50);
    // Posting steps due dates by this count: it must move them forward.
    m_days =
        RecordFields::whole("daysEdit", QStringLiteral("days"), {1, RecordFields::SmallInt.max});
    auto* days = new QHBoxLayout;
    days->addWidget(m_days);
    days->addWidget(new QLabel(QStringLiteral("Day(s)")));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), m_name);
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Occurs Every"), days);
    auto* buttons = okCancelButtons(this, QStringLiteral("&OK"), QStringLiteral("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TFreqProp::accept()
{
    if (m_name->text().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("The name field is blank!"));
        return;
    }
    if (m_days->text().trimmed().isEmpty()) {
        Messages::warning(QStringLiteral("The days field is blank!"));
        return;
    }
    if (!RecordFields::checkFields(this))
        return;
    QDialog::accept();
}

TFreqForm::TFreqForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFreqForm"));
    setWindowTitle(QStringLiteral("Rent Frequency Types"));
    Dataset& table = *state.tables().Frequency;
    m_list = new ListWindow(
        state, table,
        {{QStringLiteral("NAME"), QStringLiteral("Name")},
         {QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
         {QStringLiteral("DAYS"), QStringLiteral("Type"), DatasetModel::Format::Whole}},
        {{QStringLiteral("Name"), QStringLiteral("NAME")},
         {QStringLiteral("Description"), QStringLiteral("DESCRIPTION")}});
    m_list->printButton()->hide();
    // C is "&Clear".
    auto* close = new QPushButton(QStringLiteral("Cl&ose"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_list->addButton(close);
    connect(m_list, &ListWindow::newRequested, this, &TFreqForm::newFrequency);
    connect(m_list, &ListWindow::editRequested, this, &TFreqForm::editFrequency);
    connect(m_list, &ListWindow::deleteRequested, this, &TFreqForm::deleteFrequency);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(640, 380);
}

TFreqForm::~TFreqForm() = default;

bool TFreqForm::runDialog()
{
    Dataset& t = m_list->table();
    TFreqProp dialog(this);
    dialog.nameEdit()->setText(t.asText(QStringLiteral("NAME")));
    dialog.descriptionEdit()->setText(t.asText(QStringLiteral("DESCRIPTION")));
    RecordFields::showWhole(dialog.daysEdit(), t.value(QStringLiteral("DAYS")));
    if (Dialogs::exec(&dialog) != QDialog::Accepted)
        return false;
    t.setValue(QStringLiteral("NAME"), dialog.nameEdit()->text());
    t.setValue(QStringLiteral("DESCRIPTION"), dialog.descriptionEdit()->text());
    t.setValue(QStringLiteral("DAYS"), RecordFields::readWhole(dialog.daysEdit()));
    return true;
}

void TFreqForm::newFrequency()
{
    Dataset& t = m_list->table();
    try {
        t.append();
        if (!runDialog()) {
            t.cancel();
            return;
        }
        t.setValue(QStringLiteral("FREQID"), m_state.db.NextKey(QStringLiteral("GEN_FREQUENCY_ID")));
        t.setValue(QStringLiteral("SYSTEM"), 0);
        t.post();
    } catch (const DbError& e) {
        if (t.isEditing())
            t.cancel();
        Messages::error(e.message());
    }
}

void TFreqForm::editFrequency()
{
    Dataset& t = m_list->table();
    if (t.isEmpty())
        return;
    if (t.asFlag(QStringLiteral("SYSTEM"))) {
        Messages::plain(QStringLiteral("This is a system type.It can't be Edited!"));
        return;
    }
    try {
        t.edit();
        if (!runDialog()) {
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

void TFreqForm::deleteFrequency()
{
    Dataset& t = m_list->table();
    if (t.isEmpty())
        return;
    if (t.asFlag(QStringLiteral("SYSTEM"))) {
        Messages::plain(QStringLiteral("This is a system type.It can't be deleted!"));
        return;
    }
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        t.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}
