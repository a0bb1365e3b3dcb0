// The launcher under load: many launches in a row, as fast as they come, with
// the event loop turning between them as in the program. Reports the time per
// launch, and what is left at the end against what was there after a warm-up:
// zombies, open descriptors and anonymous memory. Fails when anything is left
// or has grown.
//   launcher_soak [launches]   (2000 by default; QZ_DENY_PIDFD=1 refuses pidfds)

#include "launch/Execfile.h"
#include "platform/linux/process/child_reaper.h"
#include "tests/unit/launch_test_support.h"
#include "tests/unit/pidfd_denial.h"

#include <QCoreApplication>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Resources {
    int zombies = 0;
    int descriptors = 0;
    long anonymousKiB = 0;
};

// This program's children that have ended and were not collected.
int Zombies()
{
    int zombies = 0;
    const std::string parent = std::to_string(getpid());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string state, ppid;
        fields >> state >> ppid;
        zombies += state == "Z" && ppid == parent;
    }
    return zombies;
}

long AnonymousKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("RssAnon:", 0) == 0)
            return std::strtol(line.c_str() + 8, nullptr, 10);
    return -1;
}

Resources Measure()
{
    const auto fds = std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    return {Zombies(), static_cast<int>(fds), AnonymousKiB()};
}

void Turn()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Launches `count` programs in a row, with a turn of the event loop after
// each as in the program (which also deletes what the reaper let go of),
// then waits until all are collected; false when one could not be started.
bool Launch(TExecFile& launcher, int count, std::size_t& mostWatched)
{
    const platform::ChildReaper& reaper = platform::ChildReaper::Instance();
    for (int i = 0; i < count; ++i) {
        if (!launcher.Execute())
            return false;
        mostWatched = std::max(mostWatched, reaper.WatchedCount());
        Turn();
    }
    const bool collected = launchtest::ProcessEventsUntil([&reaper] { return reaper.WatchedCount() == 0; }, 30000);
    Turn();
    return collected;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!launchtest::DenyPidfdsWhenAsked()) {
        std::perror("cannot deny pidfds");
        return 1;
    }
    QCoreApplication application(argc, argv);
    const int launches = argc > 1 ? std::atoi(argv[1]) : 2000;
    TExecFile launcher;
    launcher.CommandLine = "true";

    // The first launches set up what stays: the reaper, the signal pipe, the
    // allocator's pools.
    std::size_t mostWatched = 0;
    if (!Launch(launcher, 50, mostWatched)) {
        std::fprintf(stderr, "warm-up failed\n");
        return 1;
    }
    const Resources before = Measure();
    const auto start = std::chrono::steady_clock::now();
    const bool launched = Launch(launcher, launches, mostWatched);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Resources after = Measure();

    std::printf("launches %d in %.2f s (%.0f us each), at most %zu running at once\n", launches, seconds,
                seconds * 1e6 / launches, mostWatched);
    std::printf("zombies %d -> %d, descriptors %d -> %d, anonymous memory %ld -> %ld KiB\n", before.zombies,
                after.zombies, before.descriptors, after.descriptors, before.anonymousKiB, after.anonymousKiB);
    // The allocator may keep a page or two more of its own.
    constexpr long MemorySlackKiB = 64;
    const bool clean = launched && after.zombies == 0 && after.descriptors <= before.descriptors &&
                       after.anonymousKiB <= before.anonymousKiB + MemorySlackKiB;
    if (!clean)
        std::fprintf(stderr, "the launcher left something behind\n");
    return clean ? 0 : 1;
}
