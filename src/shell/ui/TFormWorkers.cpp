#include "shell/ui/TFormWorkers.h"

#include "data/Cipher.h"
#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Grid.h"
#include "shell/ui/TFormWorkerEntry.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormWorkers::TFormWorkers(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("TFormWorkers"));
    setWindowTitle(QStringLiteral("Workers"));
    Dataset& users = *state.tables().Users;
    m_model = new DatasetModel(users,
                               {{QStringLiteral("ID"), QStringLiteral("ID")},
                                {QStringLiteral("FIRSTNAME"), QStringLiteral("First Name")},
                                {QStringLiteral("LASTNAME"), QStringLiteral("Last Name")}},
                               this);
    auto* grid = new Grid;
    m_grid = grid;
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setModel(m_model);
    m_model->bindSelection(m_grid->selectionModel());
    // Enter on a user, like a double click, edits it; no button of the list is pressed by
    // Enter, so "&Insert..." does not open from a stray key.
    connect(grid, &Grid::openRequested, this, &TFormWorkers::editUser);

    auto* buttons = new QVBoxLayout;
    const struct
    {
        const char* text;
        const char* name;
        void (TFormWorkers::*slot)();
    } defs[] = {{"&Insert...", "insertButton", &TFormWorkers::insertUser},
                {"&Edit...", "editButton", &TFormWorkers::editUser},
                {"&Delete", "deleteButton", &TFormWorkers::deleteUser}};
    for (const auto& d : defs) {
        auto* b = new QPushButton(QLatin1String(d.text));
        b->setObjectName(QLatin1String(d.name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, d.slot);
        buttons->addWidget(b);
    }
    auto* close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(520, 320);
}

namespace {

void storeDialog(Dataset& users, const TFormWorkerEntry& dialog)
{
    users.setValue(QStringLiteral("FIRSTNAME"), dialog.firstNameEdit()->text());
    users.setValue(QStringLiteral("LASTNAME"), dialog.lastNameEdit()->text());
    users.setValue(QStringLiteral("NPASSWORD"), Encipher(dialog.passwordEdit()->text()));
    users.setValue(QStringLiteral("ID"), dialog.idEdit()->text());
    for (const QString& column : TFormWorkerEntry::rightColumns())
        users.setValue(column, dialog.rightBox(column)->isChecked() ? 1 : 0);
}

void showRights(const Dataset& users, TFormWorkerEntry& dialog)
{
    for (const QString& column : TFormWorkerEntry::rightColumns())
        dialog.rightBox(column)->setChecked(users.asInt(column) == 1);
}

} // namespace

void TFormWorkers::insertUser()
{
    Dataset& users = *m_state.tables().Users;
    try {
        users.append();
        TFormWorkerEntry dialog(m_state.db, this);
        dialog.setRememberedId(QString());
        showRights(users, dialog);
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            users.cancel();
            return;
        }
        storeDialog(users, dialog);
        users.setValue(QStringLiteral("WID"), m_state.db.NextKey(QStringLiteral("GEN_USERS_ID")));
        users.post();
    } catch (const DbError& e) {
        if (users.isEditing())
            users.cancel();
        Messages::error(e.message());
    }
}

void TFormWorkers::editUser()
{
    Dataset& users = *m_state.tables().Users;
    if (users.isEmpty())
        return;
    try {
        TFormWorkerEntry dialog(m_state.db, this);
        dialog.firstNameEdit()->setText(users.asText(QStringLiteral("FIRSTNAME")));
        dialog.lastNameEdit()->setText(users.asText(QStringLiteral("LASTNAME")));
        dialog.idEdit()->setText(users.asText(QStringLiteral("ID")));
        const QString password = Decipher(users.asText(QStringLiteral("NPASSWORD")));
        dialog.passwordEdit()->setText(password);
        dialog.repeatEdit()->setText(password);
        dialog.setRememberedId(users.asText(QStringLiteral("ID")));
        showRights(users, dialog);
        if (users.asInt(QStringLiteral("WID")) == 1)
            dialog.rightBox(QStringLiteral("MODUSERS"))->setEnabled(false);
        users.edit();
        if (Dialogs::exec(&dialog) != QDialog::Accepted) {
            users.cancel();
            return;
        }
        storeDialog(users, dialog);
        users.post();
    } catch (const DbError& e) {
        if (users.isEditing())
            users.cancel();
        Messages::error(e.message());
    }
}

void TFormWorkers::deleteUser()
{
    Dataset& users = *m_state.tables().Users;
    if (users.isEmpty())
        return;
    const int wid = users.asInt(QStringLiteral("WID"));
    if (wid == 1) {
        Messages::warning(QStringLiteral("Can't delete the administrator!"));
        return;
    }
    if (wid == m_state.CurrentUserWID) {
        Messages::warning(QStringLiteral("You can't delete the account with which you logged in!"));
        return;
    }
    if (!Messages::askOkCancel(QStringLiteral("Deleting Selected record!")))
        return;
    try {
        users.remove();
    } catch (const DbError& e) {
        Messages::error(e.message());
    }
}

void TFormWorkers::done(int result)
{
    // The shared Users object rests on the logged-in user's row.
    m_state.tables().Users->locate(QStringLiteral("WID"), m_state.CurrentUserWID);
    QDialog::done(result);
}
