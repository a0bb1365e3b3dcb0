// SIGTERM, SIGINT and SIGHUP reach the message loop through a pipe that the
// signal handler writes to (the only thing a handler may safely do), and the
// session manager's requests through the program's own session client.

#include "platform/termination.h"

#include "platform/linux/session/session_xsmp.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <utility>

namespace platform {
namespace {

int SignalPipe[2] = {-1, -1};

extern "C" void WriteSignalToPipe(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(SignalPipe[1], &byte, 1);
    errno = savedErrno;
}

bool OpenSignalPipe() { return pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) == 0; }

void InstallHandlers()
{
    struct sigaction action = {};
    action.sa_handler = WriteSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}

// Blocks or unblocks the termination signals for the calling thread.
void MaskTerminationSignals(int how)
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, signalNumber);
    pthread_sigmask(how, &set, nullptr);
}

void DrainSignalPipe()
{
    char bytes[16];
    while (read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

void WatchTerminationRequests(TerminationHandlers handlers)
{
    auto* application = qGuiApp;
    if (!application || !OpenSignalPipe()) {
        MaskTerminationSignals(SIG_UNBLOCK);
        return;
    }
    StartSessionClient(handlers, *application);
    // Owned by the application object, which outlives the message loop.
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, application,
                     [endWithoutAsking = std::move(handlers.endWithoutAsking)] {
                         DrainSignalPipe();
                         endWithoutAsking();
                     });
    InstallHandlers();
    // A signal held back since start-up reaches the handler now.
    MaskTerminationSignals(SIG_UNBLOCK);
}

void HoldTerminationRequests() { MaskTerminationSignals(SIG_BLOCK); }

} // namespace platform
