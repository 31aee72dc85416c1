#include "records/ui/ChildActivation.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QWidget>

ChildActivation::ChildActivation(QWidget* screen, Handler handler)
    : QObject(screen), m_screen(screen), m_handler(std::move(handler))
{
    screen->installEventFilter(this);
    attach();
}

bool ChildActivation::eventFilter(QObject* watched, QEvent* event)
{
    // The main window puts the screen into its child window after making it.
    if (watched == m_screen && event->type() == QEvent::ParentChange)
        attach();
    return QObject::eventFilter(watched, event);
}

void ChildActivation::attach()
{
    auto* window = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget());
    if (!window || window == m_window)
        return;
    m_window = window;
    connect(window, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                const bool was = before.testFlag(Qt::WindowActive);
                const bool is = now.testFlag(Qt::WindowActive);
                if (was != is)
                    m_handler(is);
            });
}
