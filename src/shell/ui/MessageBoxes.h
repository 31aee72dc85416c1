#pragma once

#include "shell/Messages.h"

#include <memory>

class QMessageBox;
class QWidget;

// The production message seam: a modal QMessageBox over the active window.
class MessageBoxSink : public MessageSink
{
public:
    int show(const Message& message) override;

    // The box for a message, not shown yet: caption, text, the program's icon for the kind
    // of message, the buttons, and wide enough for the window manager to show the caption
    // whole.
    static std::unique_ptr<QMessageBox> makeBox(const Message& message, QWidget* parent);
};
