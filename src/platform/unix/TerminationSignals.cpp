#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace glim {

namespace {

// The self-pipe: the handler writes a byte into it, the event loop reads it. Both ends are
// non-blocking, so that a burst of signals never blocks the handler and the reader drains
// what is there and returns.
int g_pipe[2] = {-1, -1};

// The signals handled, each with the disposition it had before.
struct Handled {
    int signal;
    struct sigaction previous;
};
Handled g_handled[] = {{SIGTERM, {}}, {SIGINT, {}}, {SIGHUP, {}}};

extern "C" void onTerminationSignal(int) {
    // Only async-signal-safe work here: one write, errno kept for the code it interrupted.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, sizeof byte);
    errno = savedErrno;
}

bool openPipe() {
    if (::pipe(g_pipe) != 0)
        return false;
    // Flags of descriptors just made: these calls cannot fail.
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent) {
    if (g_pipe[0] != -1 || !openPipe())
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit terminationRequested();
    });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the handler only queues the request.
    action.sa_flags = SA_RESTART;
    for (Handled& handled : g_handled) {
        // A signal that the program was started ignoring stays ignored: `nohup` asks the
        // program to outlive its terminal.
        ::sigaction(handled.signal, nullptr, &handled.previous);
        if (handled.previous.sa_handler != SIG_IGN)
            ::sigaction(handled.signal, &action, nullptr);
    }
}

void TerminationSignals::setHeld(bool held) {
    if (m_notifier)
        m_notifier->setEnabled(!held);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier)
        return;
    // The handlers go before the pipe they write into.
    for (const Handled& handled : g_handled)
        ::sigaction(handled.signal, &handled.previous, nullptr);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

} // namespace glim
