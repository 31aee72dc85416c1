#include "shell/ui/AccessKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTabBar>

namespace AccessKeys {

QChar of(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        const QChar next = text.at(i + 1);
        if (next == QLatin1Char('&')) {
            ++i; // "&&" is an ampersand shown
            continue;
        }
        return next.toUpper();
    }
    return QChar();
}

namespace {

bool usable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled();
}

// The widgets of the window with this key, and for a tab bar the tab's index.
QList<QPair<QWidget*, int>> holders(QWidget* window, QChar key)
{
    QList<QPair<QWidget*, int>> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!usable(w))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (of(b->text()) == key)
                found.append({b, -1});
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->buddy() && of(l->text()) == key)
                found.append({l, -1});
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (of(g->title()) == key)
                found.append({g, -1});
        } else if (auto* t = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < t->count(); ++i)
                if (t->isTabEnabled(i) && t->isTabVisible(i) && of(t->tabText(i)) == key)
                    found.append({t, i});
        }
    }
    return found;
}

void activate(QWidget* w, int tab)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (b->focusPolicy() != Qt::NoFocus)
            b->setFocus(Qt::ShortcutFocusReason);
        b->click();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->buddy()->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (g->isCheckable())
            g->setChecked(!g->isChecked());
        g->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* t = qobject_cast<QTabBar*>(w)) {
        t->setCurrentIndex(tab);
    }
}

QChar keyOf(const QKeyEvent* e)
{
    if (e->modifiers() != Qt::AltModifier)
        return QChar();
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return QChar(k);
    return QChar();
}

// Answers Alt+key for the widgets of one child window. The key is claimed when its override
// event passes the child window on its way up from the focused widget, before the shortcut
// map (and so the menu bar) sees it; the key press that follows is then swallowed, so the
// focused field does not take the letter as typed text.
class OwnKeysFirst : public QObject
{
public:
    explicit OwnKeysFirst(QWidget* window) : QObject(window), m_window(window) {}
    ~OwnKeysFirst() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (!m_pending.isNull() && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
            const QChar key = keyOf(static_cast<QKeyEvent*>(event));
            if (key == m_pending) {
                if (type == QEvent::KeyRelease)
                    stopSwallowing();
                return true;
            }
            stopSwallowing();
            return false;
        }
        if (watched != m_window || type != QEvent::ShortcutOverride)
            return false;
        const QChar key = keyOf(static_cast<QKeyEvent*>(event));
        if (key.isNull())
            return false;
        const QList<QPair<QWidget*, int>> found = holders(m_window, key);
        if (found.size() != 1)
            return false;
        event->accept();
        m_pending = key;
        qApp->installEventFilter(this);
        // After the key's events, as Qt's own access keys act.
        QPointer<QWidget> target = found.first().first;
        const int tab = found.first().second;
        QMetaObject::invokeMethod(
            this,
            [target, tab] {
                if (target && usable(target))
                    activate(target, tab);
            },
            Qt::QueuedConnection);
        return true;
    }

private:
    void stopSwallowing()
    {
        m_pending = QChar();
        qApp->removeEventFilter(this);
    }

    QWidget* m_window;
    QChar m_pending;
};

} // namespace

QWidget* target(QWidget* window, QChar key)
{
    const QList<QPair<QWidget*, int>> found = holders(window, key.toUpper());
    return found.size() == 1 ? found.first().first : nullptr;
}

void preferOwnKeys(QWidget* childWindow)
{
    childWindow->installEventFilter(new OwnKeysFirst(childWindow));
}

} // namespace AccessKeys
