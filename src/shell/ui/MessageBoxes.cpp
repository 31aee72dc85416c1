#include "shell/ui/MessageBoxes.h"

#include "shell/StopSignals.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Icons.h"
#include "shell/ui/Splash.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
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

std::unique_ptr<QMessageBox> MessageBoxSink::makeBox(const Message& m, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setWindowTitle(m.caption);
    box->setText(m.text);
    QString icon;
    switch (m.icon) {
    case Message::Information:
        box->setIcon(QMessageBox::Information);
        icon = QStringLiteral("dialog-information");
        break;
    case Message::Warning:
        box->setIcon(QMessageBox::Warning);
        icon = QStringLiteral("dialog-warning");
        break;
    case Message::Question:
        box->setIcon(QMessageBox::Question);
        icon = QStringLiteral("dialog-question");
        break;
    case Message::Critical:
        box->setIcon(QMessageBox::Critical);
        icon = QStringLiteral("dialog-error");
        break;
    case Message::NoIcon:
        break;
    }
    // The program's own icon set rather than the widget style's pictures.
    if (!icon.isEmpty()) {
        const QPixmap picture = Icons::get(icon).pixmap(48, 48);
        if (!picture.isNull())
            box->setIconPixmap(picture);
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
    box->setStandardButtons(buttons);
    // Plain captions, as on every other button of the program.
    for (QAbstractButton* b : box->buttons())
        b->setIcon(QIcon());

    // A short text would make a box narrower than its caption ("Marbleway Keystead  2008"
    // over "error"): the title bar, with its own icon and buttons, needs the room.
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(m.caption) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

int MessageBoxSink::show(const Message& m)
{
    if (StopSignals::requested())
        return safeAnswer(m);
    // A message must never open hidden under the splash window.
    Splash::dismiss();
    Dialogs::ModalScope modal;
    const std::unique_ptr<QMessageBox> box = makeBox(m, QApplication::activeWindow());
    const int pressed = box->exec();
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
