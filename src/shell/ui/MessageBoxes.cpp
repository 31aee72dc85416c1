#include "shell/ui/MessageBoxes.h"

#include "shell/StopSignals.h"
#include "shell/ui/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The answer that changes nothing: what the program gives once it has been asked to stop.
int safeAnswer(const Message& m)
{
    if (m.buttons & Message::Cancel)
        return Message::Cancel;
    if (m.buttons & Message::No)
        return Message::No;
    return Message::Ok;
}

} // namespace

int MessageBoxSink::show(const Message& m)
{
    if (StopSignals::requested())
        return safeAnswer(m);
    Dialogs::ModalScope modal;
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(m.caption);
    box.setText(m.text);
    switch (m.icon) {
    case Message::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Message::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Message::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Message::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Message::NoIcon:
        break;
    }
    QMessageBox::StandardButtons buttons;
    if (m.buttons & Message::Ok)
        buttons |= QMessageBox::Ok;
    if (m.buttons & Message::Cancel)
        buttons |= QMessageBox::Cancel;
    if (m.buttons & Message::Yes)
        buttons |= QMessageBox::Yes;
    if (m.buttons & Message::No)
        buttons |= QMessageBox::No;
    box.setStandardButtons(buttons);
    const int pressed = box.exec();
    // Closed because the program is stopping, not by the user.
    if (StopSignals::requested())
        return safeAnswer(m);
    switch (pressed) {
    case QMessageBox::Cancel:
        return Message::Cancel;
    case QMessageBox::Yes:
        return Message::Yes;
    case QMessageBox::No:
        return Message::No;
    default:
        return (m.buttons & Message::Ok) ? int(Message::Ok)
                                          : ((m.buttons & Message::Cancel) ? int(Message::Cancel)
                                                                           : int(Message::No));
    }
}
