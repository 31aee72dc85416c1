#include "shell/ui/Dialogs.h"

#include "shell/StopSignals.h"
#include "shell/ui/Splash.h"

#include <QFileDialog>
#include <QQueue>

namespace {
Dialogs::Handler g_handler;
QQueue<QString> g_fileNames;
bool g_scripted = false;
int g_openModals = 0;
} // namespace

namespace Dialogs {

ModalScope::ModalScope()
{
    ++g_openModals;
}

ModalScope::~ModalScope()
{
    --g_openModals;
}

int openModals()
{
    return g_openModals;
}

int exec(QDialog* dialog)
{
    // A dialog must never open hidden under the splash window.
    Splash::dismiss();
    if (!g_handler) {
        if (StopSignals::requested())
            return QDialog::Rejected;
        ModalScope modal;
        return dialog->exec();
    }
    // The handler presses a button; a dialog it leaves open counts as cancelled. Shown modal,
    // as exec() shows it.
    dialog->setResult(QDialog::Rejected);
    const bool wasModal = dialog->testAttribute(Qt::WA_ShowModal);
    dialog->setAttribute(Qt::WA_ShowModal, true);
    dialog->show();
    g_handler(dialog);
    if (dialog->isVisible())
        dialog->hide();
    dialog->setAttribute(Qt::WA_ShowModal, wasModal);
    return dialog->result();
}

void setHandler(Handler handler)
{
    g_handler = std::move(handler);
}

void queueFileName(const QString& path)
{
    g_scripted = true;
    g_fileNames.enqueue(path);
}

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                        const QString& defaultSuffix)
{
    if (g_scripted)
        return g_fileNames.isEmpty() ? QString() : g_fileNames.dequeue();
    if (StopSignals::requested())
        return QString();
    ModalScope modal;
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    if (g_scripted)
        return g_fileNames.isEmpty() ? QString() : g_fileNames.dequeue();
    if (StopSignals::requested())
        return QString();
    ModalScope modal;
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

} // namespace Dialogs
