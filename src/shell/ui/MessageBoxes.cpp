#include "shell/ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

int MessageBoxSink::show(const Message& m)
{
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
    switch (box.exec()) {
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
