// Qt delivers events inside its own loop and has no queue to take one event
// from without delivering it. So the wait for a process runs a nested event
// loop that delivers everything as it arrives, and ends when the process ends
// or when the program is asked to quit; that request is then kept as the one
// queued message, for the waiting caller to take and hand back.

#include "platform/process.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <optional>

namespace platform {
namespace {
// A quit request that ended a wait, until it is taken.
std::optional<int> queuedQuit;
} // namespace

bool PeekQueuedMessage(QueuedMessage& message)
{
    if (!queuedQuit)
        return false;
    message = QueuedMessage{};
    message.id = QuitMessageId;
    message.wParam = static_cast<std::uintptr_t>(*queuedQuit);
    queuedQuit.reset();
    return true;
}

// Every message but a quit request was delivered as it arrived.
void DispatchQueuedMessage(const QueuedMessage&) {}

std::uint32_t WaitForProcessOrMessage(Handle process)
{
    if (queuedQuit)
        return WaitMessageQueued;
    if (const std::uint32_t now = WaitForSingleObject(process, 0); now != WaitTimeout)
        return now;
    if (!QCoreApplication::instance())
        return WaitForSingleObject(process, Infinite);

    QEventLoop loop;
    QSocketNotifier processEnd(static_cast<qintptr>(process), QSocketNotifier::Read);
    bool ended = false;
    QObject::connect(&processEnd, &QSocketNotifier::activated, &loop, [&] {
        ended = true;
        loop.quit();
    });
    bool entered = false;
    QTimer::singleShot(0, &loop, [&entered] { entered = true; });
    // A quit request ends every running event loop, this one included, with
    // its exit code.
    const int exitCode = loop.exec();
    if (ended)
        return WaitObject0;
    // Once a quit has been requested no event loop runs any more: the loops
    // that were running already know, with the right code, and nothing is
    // left to hand back.
    if (!entered && exitCode == -1) {
        errno = ECANCELED;
        return WaitFailed;
    }
    queuedQuit = exitCode;
    return WaitMessageQueued;
}

} // namespace platform
