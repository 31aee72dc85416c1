#pragma once

#include "shell/Messages.h"

class QWidget;

// The production message seam: a modal QMessageBox over the active window.
class MessageBoxSink : public MessageSink
{
public:
    int show(const Message& message) override;
};
