#include "shell/Messages.h"

#include <QtGlobal>

namespace {

// Without a window system (the command-line tool) messages go to the log and the first
// offered button is taken.
class LogSink : public MessageSink
{
public:
    int show(const Message& m) override
    {
        qWarning("%s: %s", qPrintable(m.caption), qPrintable(m.text));
        for (int b : {Message::Ok, Message::Yes, Message::Cancel, Message::No})
            if (m.buttons & b)
                return b;
        return Message::Ok;
    }
};

LogSink g_log;
MessageSink* g_sink = &g_log;

} // namespace

namespace Messages {

void install(MessageSink* sink)
{
    g_sink = sink ? sink : &g_log;
}

MessageSink* installed()
{
    return g_sink;
}

int show(const Message& message)
{
    return g_sink->show(message);
}

void information(const QString& text)
{
    show({Titles::Caption, Message::Information, Message::Ok, text});
}

void warning(const QString& text)
{
    show({Titles::Caption, Message::Warning, Message::Ok, text});
}

void plain(const QString& text)
{
    show({Titles::Program, Message::NoIcon, Message::Ok, text});
}

void error(const QString& text)
{
    show({Titles::Program, Message::NoIcon, Message::Ok, text});
}

bool askOkCancel(const QString& text, Message::Icon icon)
{
    const int b = show({Titles::Caption, icon, Message::Ok | Message::Cancel, text});
    return b == Message::Ok;
}

bool askYesNo(const QString& text, Message::Icon icon)
{
    const int b = show({Titles::Caption, icon, Message::Yes | Message::No, text});
    return b == Message::Yes;
}

} // namespace Messages
