// SIGTERM, SIGINT and SIGHUP reach the message loop through a pipe that the
// signal handler writes to (the only thing a handler may safely do), and the
// session manager's end of session through Qt's session signals, after the
// program's windows have agreed to it.

#include "platform/termination.h"

#include <QGuiApplication>
#include <QSessionManager>
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

// The program may only ask the user while the session manager lets it;
// otherwise the session ends without a question.
void AnswerSessionEnd(QSessionManager& manager, const std::function<void()>& onRequest,
                      const std::function<bool()>& mayEndSession)
{
    if (manager.allowsInteraction()) {
        const bool mayEnd = mayEndSession();
        manager.release();
        if (!mayEnd) {
            manager.cancel();
            return;
        }
    }
    onRequest();
}

} // namespace

void WatchTerminationRequests(std::function<void()> onRequest, std::function<bool()> mayEndSession)
{
    auto* application = qGuiApp;
    if (!application || !OpenSignalPipe()) {
        MaskTerminationSignals(SIG_UNBLOCK);
        return;
    }
    // Owned by the application object, which outlives the message loop.
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, application, [onRequest] {
        DrainSignalPipe();
        onRequest();
    });
    QObject::connect(application, &QGuiApplication::commitDataRequest, application,
                     [onRequest = std::move(onRequest), mayEndSession = std::move(mayEndSession)](
                         QSessionManager& manager) { AnswerSessionEnd(manager, onRequest, mayEndSession); });
    InstallHandlers();
    // A signal held back since start-up reaches the handler now.
    MaskTerminationSignals(SIG_UNBLOCK);
}

void HoldTerminationRequests() { MaskTerminationSignals(SIG_BLOCK); }

} // namespace platform
