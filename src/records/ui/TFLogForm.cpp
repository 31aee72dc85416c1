#include "records/ui/TFLogForm.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "records/Maintenance.h"
#include "records/ui/TFNLog.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ListWindow.h"

#include <QPushButton>
#include <QVBoxLayout>

TFLogForm::TFLogForm(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFLogForm"));
    setWindowTitle(QStringLiteral("Maintenance Log"));
    Dataset& maint = *state.tables().Maint;
    // A search left on by an earlier opening would hide orders behind an empty Criteria box,
    // or hide them all once another window has searched a column this table lacks.
    maint.setFiltered(false);
    m_list = new ListWindow(
        state, maint,
        {{QStringLiteral("LDATE"), QStringLiteral("Date"), DatasetModel::Format::Date},
         {QStringLiteral("DESCRIPTION"), QStringLiteral("Description")},
         {QStringLiteral("TYPE"), QStringLiteral("Type")},
         {QStringLiteral("STATUS"), QStringLiteral("Status")},
         {QStringLiteral("VendorName"), QStringLiteral("Vendor ")},
         {QStringLiteral("PRIORITY"), QStringLiteral("Priority")},
         {QStringLiteral("COST"), QStringLiteral("COST"), DatasetModel::Format::Money}},
        {{QStringLiteral("Description"), QStringLiteral("DESCRIPTION")},
         {QStringLiteral("Type"), QStringLiteral("TYPE")},
         {QStringLiteral("Status"), QStringLiteral("STATUS")}});
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_list->addButton(close);
    connect(m_list, &ListWindow::newRequested, this, &TFLogForm::newOrder);
    connect(m_list, &ListWindow::editRequested, this, &TFLogForm::editOrder);
    connect(m_list, &ListWindow::deleteRequested, this, &TFLogForm::deleteOrder);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(1080, 440);
}

void TFLogForm::runDialog()
{
    Dataset& m = m_list->table();
    try {
        TFNLog dialog(m_state.db, this);
        dialog.load(m);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            m.cancel();
            return;
        }
        dialog.store(m);
        Maintenance::post(m);
    } catch (const DbError& error) {
        if (m.isEditing())
            m.cancel();
        Messages::error(error.message());
    }
}

void TFLogForm::newOrder()
{
    try {
        Maintenance::append(m_list->table(), Clock::today());
    } catch (const DbError& error) {
        Messages::error(error.message());
        return;
    }
    runDialog();
}

void TFLogForm::editOrder()
{
    Dataset& m = m_list->table();
    if (m.isEmpty())
        return;
    try {
        m.edit();
    } catch (const DbError& error) {
        Messages::error(error.message());
        return;
    }
    runDialog();
}

void TFLogForm::deleteOrder()
{
    Dataset& m = m_list->table();
    if (m.isEmpty())
        return;
    if (!Messages::askYesNo(QStringLiteral("Are you sure you want to delete the selected record?"),
                            Message::Warning))
        return;
    try {
        m.remove();
    } catch (const DbError& error) {
        Messages::error(error.message());
    }
}
