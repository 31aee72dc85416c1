#pragma once

#include <QString>

// Every message box of the program goes through here, so tests can record and answer them.
// The window system's implementation is installed by the program at start; tests install a
// recorder.
namespace Titles {
inline const QString Caption = QStringLiteral("Marbleway");
// Plain message boxes carry the program title, with two blanks before the year.
inline const QString Program = QStringLiteral("Marbleway Keystead  2008");
inline const QString MainWindow = QStringLiteral("Marbleway Keystead 2008");
} // namespace Titles

struct Message
{
    enum Icon { NoIcon, Information, Warning, Question, Critical };
    enum Button { Ok = 1, Cancel = 2, Yes = 4, No = 8 };

    QString caption;
    Icon icon = NoIcon;
    int buttons = Ok;
    QString text;
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // Shows the message and returns the button pressed (one of Message::Button).
    virtual int show(const Message& message) = 0;
};

namespace Messages {

void install(MessageSink* sink);
MessageSink* installed();

int show(const Message& message);

// "Marbleway" with an information icon, OK: refused rights and notices.
void information(const QString& text);
// "Marbleway" with an exclamation icon, OK: validation and data warnings.
void warning(const QString& text);
// The program title, no icon, OK.
void plain(const QString& text);
// A database error that no screen handles: its own text, plain.
void error(const QString& text);
// "Marbleway", question icon; true for OK or Yes.
bool askOkCancel(const QString& text, Message::Icon icon = Message::Question);
bool askYesNo(const QString& text, Message::Icon icon = Message::Question);

} // namespace Messages
