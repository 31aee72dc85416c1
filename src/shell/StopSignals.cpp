#include "shell/StopSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <ibase.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_signal = 0;
// The self-pipe: the handler writes a byte, the event loop reads it.
int g_pipe[2] = {-1, -1};

// Only what is safe inside a signal handler: a flag and a write.
void onStopSignal(int signal)
{
    const int savedErrno = errno;
    if (g_signal == 0)
        g_signal = signal;
    if (g_pipe[1] >= 0) {
        const char byte = 1;
        if (::write(g_pipe[1], &byte, 1) < 0) {
            // A full pipe already holds the news.
        }
    }
    errno = savedErrno;
}

// The database client's own handler, in place while a connection is being opened, would end
// every connection of the process from a thread of its own. It asks first: refuse, and take
// the signal as ours (which signal it was the client does not say).
int refuseSignalShutdown(const int reason, const int, void*)
{
    if (reason != fb_shutrsn_signal)
        return 0;
    onStopSignal(g_signal != 0 ? int(g_signal) : SIGTERM);
    return 1;
}

} // namespace

namespace StopSignals {

void install()
{
    static bool once = false;
    if (!once) {
        once = true;
        if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            g_pipe[0] = g_pipe[1] = -1;
        ISC_STATUS_ARRAY status = {};
        fb_shutdown_callback(status, refuseSignalShutdown, fb_shut_confirmation, nullptr);
        // The client installs its handlers on its first attach, whether or not that succeeds:
        // let it do so now, on a name that opens nothing, so that ours go on top for good
        // before any connection exists.
        isc_db_handle none = 0;
        isc_attach_database(status, 0, "", &none, 0, nullptr);
        if (none)
            isc_detach_database(status, &none);
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // The database's own file reads and writes are restarted rather than failed.
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool requested()
{
    return g_signal != 0;
}

int signalNumber()
{
    return int(g_signal);
}

QString name(int signal)
{
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

} // namespace StopSignals

StopSignalNotifier::StopSignalNotifier(QObject* parent) : QObject(parent)
{
    StopSignals::install();
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    m_notifier->setEnabled(g_pipe[0] >= 0);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[64];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
        }
        if (StopSignals::requested())
            emit stopRequested(StopSignals::signalNumber());
    });
}
