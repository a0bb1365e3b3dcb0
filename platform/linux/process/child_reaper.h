#pragma once
// Started programs stay this program's children until they end. The reaper
// collects each one as soon as it has ended, so that none lingers as a
// zombie, and never signals one, so that they outlive this program.

#include "platform/linux/process/unique_fd.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <sys/types.h>

#include <vector>

namespace platform {

class ChildReaper {
public:
    static ChildReaper& Instance();

    // Watches `pid` through `pidfd` until it has ended; without a pidfd,
    // through SIGCHLD. Without an application object to watch for it, ended
    // children are collected at the next adoption instead.
    void Adopt(pid_t pid, UniqueFd pidfd);

    // Collects every watched child that has ended, without blocking.
    void ReapEnded();

    std::size_t WatchedCount() const { return m_children.size(); }

private:
    struct Child {
        pid_t pid = 0;
        UniqueFd pidfd;
        QPointer<QSocketNotifier> notifier;
    };

    void Watch(Child& child);
    void WatchChildEndSignal(QCoreApplication& application);
    static bool TryReap(const Child& child);
    static void StopWatching(Child& child);

    std::vector<Child> m_children;
    QPointer<QSocketNotifier> m_childEnds;
};

} // namespace platform
