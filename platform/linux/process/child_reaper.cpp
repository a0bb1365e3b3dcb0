#include "platform/linux/process/child_reaper.h"

#include "platform/linux/process/child_end_signal.h"

#include <QCoreApplication>

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>

namespace platform {

ChildReaper& ChildReaper::Instance()
{
    static ChildReaper reaper;
    return reaper;
}

void ChildReaper::Adopt(pid_t pid, UniqueFd pidfd)
{
    ReapEnded();
    Child& child = m_children.emplace_back();
    child.pid = pid;
    child.pidfd = std::move(pidfd);
    const bool bySignal = !child.pidfd;
    Watch(child);
    // It may have ended before the signal was watched for.
    if (bySignal)
        ReapEnded();
}

void ChildReaper::Watch(Child& child)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    if (!child.pidfd) {
        WatchChildEndSignal(*application);
        return;
    }
    // A pidfd turns readable when its process ends; the notifier dies with
    // the application object at the latest.
    child.notifier = new QSocketNotifier(child.pidfd.Get(), QSocketNotifier::Read, application);
    QObject::connect(child.notifier, &QSocketNotifier::activated, application, [this] { ReapEnded(); });
}

void ChildReaper::WatchChildEndSignal(QCoreApplication& application)
{
    if (m_childEnds)
        return;
    const int descriptor = ChildEndDescriptor();
    if (descriptor < 0)
        return;
    m_childEnds = new QSocketNotifier(descriptor, QSocketNotifier::Read, &application);
    QObject::connect(m_childEnds, &QSocketNotifier::activated, &application, [this] {
        DrainChildEnds();
        ReapEnded();
    });
}

void ChildReaper::ReapEnded()
{
    const auto ended = std::partition(m_children.begin(), m_children.end(),
                                      [](const Child& child) { return !TryReap(child); });
    std::for_each(ended, m_children.end(), StopWatching);
    m_children.erase(ended, m_children.end());
}

bool ChildReaper::TryReap(const Child& child)
{
    int status = 0;
    pid_t reaped = 0;
    do
        reaped = waitpid(child.pid, &status, WNOHANG);
    while (reaped < 0 && errno == EINTR);
    // ECHILD: someone else collected it; nothing is left to watch.
    return reaped == child.pid || (reaped < 0 && errno == ECHILD);
}

void ChildReaper::StopWatching(Child& child)
{
    // The notifier lets go of the descriptor before it is closed; it may be
    // the one whose signal runs right now, so it goes later.
    if (child.notifier) {
        child.notifier->setEnabled(false);
        child.notifier->deleteLater();
    }
    child.pidfd.Reset();
}

} // namespace platform
