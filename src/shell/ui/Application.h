#pragma once

#include <QApplication>

// The program's application object, and the one place where an error that escapes an event
// handler is caught: it is shown with its own text, the operation it came from stops, and the
// program goes on. Errors the data layer meets while it follows an event (a grid asking for
// rows, a list following its master) are shown the same way, once the event is over.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;
};
