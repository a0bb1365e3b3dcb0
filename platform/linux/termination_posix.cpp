// SIGTERM, SIGINT and SIGHUP reach the message loop through a pipe that the
// signal handler writes to (the only thing a handler may safely do), and the
// session manager's end of session through Qt's session signals.

#include "platform/termination.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <fcntl.h>
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

void DrainSignalPipe()
{
    char bytes[16];
    while (read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

void WatchTerminationRequests(std::function<void()> onRequest)
{
    auto* application = qGuiApp;
    if (!application || !OpenSignalPipe())
        return;
    // Owned by the application object, which outlives the message loop.
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, application, [onRequest] {
        DrainSignalPipe();
        onRequest();
    });
    QObject::connect(application, &QGuiApplication::commitDataRequest, application,
                     [onRequest = std::move(onRequest)](QSessionManager&) { onRequest(); });
    InstallHandlers();
}

} // namespace platform
