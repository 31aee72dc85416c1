#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Tells a record screen when the child window that holds it becomes active and when it stops
// being active, so the screen can set the shared tables the way it needs them.
class ChildActivation : public QObject
{
public:
    using Handler = std::function<void(bool active)>;
    // Lives as long as the screen.
    ChildActivation(QWidget* screen, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach();

    QWidget* m_screen;
    Handler m_handler;
    QObject* m_window = nullptr;
};
