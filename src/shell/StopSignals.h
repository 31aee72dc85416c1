#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

// SIGTERM and SIGINT (a system shutdown, kill, Ctrl+C) turned into a request to stop at the
// next safe point, so that the program ends the way its own Close does instead of being cut
// off in the middle of a change, or not ending at all.
namespace StopSignals {

// Installs the handlers for both signals. The database client installs its own on its first
// attach (they end every connection and leave the program running): the first call lets it do
// so at once, then puts ours on top; call it again after connecting all the same, so ours is
// the one in place whatever the client does. Should the client's handler still see a signal,
// its shutdown is refused and the signal taken as ours.
void install();

// True once either signal arrived. Safe to ask from any thread, at any time.
bool requested();
// The first signal that arrived, 0 before.
int signalNumber();
// "SIGTERM", "SIGINT".
QString name(int signal);

} // namespace StopSignals

// Emits stopRequested() from the event loop of its thread once a signal arrived, also one that
// arrived before it was made.
class StopSignalNotifier : public QObject
{
    Q_OBJECT
public:
    explicit StopSignalNotifier(QObject* parent = nullptr);

signals:
    void stopRequested(int signal);

private:
    QSocketNotifier* m_notifier;
};
