#pragma once

#include <QDialog>
#include <QString>
#include <functional>

// Every modal dialog and file dialog goes through here, so tests can fill and close them.
namespace Dialogs {

// Shows the dialog modally and returns its result (QDialog::Accepted or Rejected). Once the
// program has been asked to stop (SIGTERM, SIGINT) a dialog is not shown and counts as
// cancelled.
int exec(QDialog* dialog);

// How many modal loops of these seams (dialogs, message boxes, file dialogs) are running:
// the program closes only when the code that opened them has had its answer.
int openModals();
// Counts one modal loop for as long as it lives.
class ModalScope
{
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// A test installs a handler that fills the dialog's widgets, presses its own OK or Cancel
// and returns; while one is installed no dialog is shown.
using Handler = std::function<void(QDialog*)>;
void setHandler(Handler handler);

// Save and open file dialogs; an empty text means the user cancelled.
QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                        const QString& defaultSuffix = QString());
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter);
// Tests queue the paths that the next file dialogs return.
void queueFileName(const QString& path);

} // namespace Dialogs
