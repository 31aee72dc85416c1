#include "shell/ui/Application.h"

#include "data/Database.h"
#include "data/Dataset.h"
#include "shell/Messages.h"

#include <QPointer>
#include <QSet>
#include <exception>

namespace {

// Texts waiting to be shown, so that a grid failing on every cell shows its error once.
QSet<QString>& pending()
{
    static QSet<QString> texts;
    return texts;
}

void showLater(const QString& text)
{
    if (pending().contains(text))
        return;
    pending().insert(text);
    QMetaObject::invokeMethod(
        qApp,
        [text] {
            Messages::error(text);
            pending().remove(text);
        },
        Qt::QueuedConnection);
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    DataErrors::setReporter([](const DbError& e) { showLater(e.message()); });
}

Application::~Application()
{
    DataErrors::setReporter({});
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        Messages::error(e.message());
    } catch (const std::exception& e) {
        Messages::error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
