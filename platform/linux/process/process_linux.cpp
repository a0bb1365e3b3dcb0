// Process creation without a shell: the command line is split into words the
// way the launcher's callers quote them, the program is found in PATH or by
// a path that may hold blanks, and started with posix_spawn in a new session,
// the stand-in for a new console.
// A process handle is a pidfd of the new process.

#include "platform/process.h"

#include "platform/linux/process/child_reaper.h"
#include "platform/linux/process/priority_nice.h"
#include "platform/linux/process/program_search.h"
#include "platform/linux/process/unique_fd.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace platform {
namespace {

// Handles are never below this, so that neither NullHandle nor a standard
// stream can pass for one.
constexpr int LowestHandle = 3;

bool Failed(int error)
{
    errno = error;
    return false;
}

bool IsHandle(Handle handle) { return handle >= LowestHandle && handle <= INT_MAX; }

// The attributes and file actions of one spawn, released with it.
class SpawnSetup {
public:
    explicit SpawnSetup(std::uint32_t creationFlags)
    {
        posix_spawnattr_init(&m_attributes);
        posix_spawn_file_actions_init(&m_actions);
        // A new session has no terminal to read from: input comes from
        // nowhere, output goes where this program's goes, and nothing else
        // is inherited.
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addclosefrom_np(&m_actions, LowestHandle);
        // Signals blocked or ignored here must not stay so in the program.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        sigset_t all;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (creationFlags & CreateNewConsole)
            flags |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&m_attributes, flags);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawnattr_t* Attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }

private:
    posix_spawnattr_t m_attributes;
    posix_spawn_file_actions_t m_actions;
};

std::vector<char*> ArgumentVector(std::vector<std::string>& words)
{
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

// The library's own declaration lacks C linkage in some versions; the
// descriptor is close-on-exec either way.
int OpenPidfd(pid_t pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }

Handle DuplicateHandle(const UniqueFd& pidfd)
{
    const Handle handle = pidfd ? fcntl(pidfd.Get(), F_DUPFD_CLOEXEC, LowestHandle) : -1;
    return IsHandle(handle) ? handle : NullHandle;
}

// Hands the started process to the reaper and returns its record. Both
// handles are pidfds of the process: a single-threaded program's first thread
// ends with it.
ProcessRecord Track(pid_t pid)
{
    UniqueFd pidfd(OpenPidfd(pid));
    ProcessRecord process;
    process.process = DuplicateHandle(pidfd);
    process.thread = DuplicateHandle(pidfd);
    process.processId = static_cast<std::uint32_t>(pid);
    process.threadId = static_cast<std::uint32_t>(pid);
    ChildReaper::Instance().Adopt(pid, std::move(pidfd));
    return process;
}

// On Linux a nice value belongs to a thread and a child takes its spawning
// thread's: spawned from a thread of its own that has the wanted value, the
// program runs at it from its first moment (set on the child afterwards, it
// would run for a while at this program's value).
int SpawnAtNiceValue(pid_t& pid, const std::string& path, const SpawnSetup& setup, const std::vector<char*>& argv,
                     int nice)
{
    int error = 0;
    std::thread spawner([&] {
        ApplyNiceValue(static_cast<pid_t>(gettid()), nice);
        error = posix_spawn(&pid, path.c_str(), setup.Actions(), setup.Attributes(), argv.data(), environ);
    });
    spawner.join();
    return error;
}

} // namespace

bool CreateProcessFromCommandLine(const std::string& commandLine, std::uint32_t creationFlags, const StartupRecord&,
                                  ProcessRecord& process)
{
    ProgramInvocation program = FindInvocation(commandLine, ProgramSearchPath());
    if (program.error != 0)
        return Failed(program.error);

    const SpawnSetup setup(creationFlags);
    const std::vector<char*> argv = ArgumentVector(program.arguments);
    pid_t pid = 0;
    if (const int error = SpawnAtNiceValue(pid, program.path, setup, argv, NiceValueFor(creationFlags)); error != 0)
        return Failed(error);

    process = Track(pid);
    return true;
}

std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t timeoutMs)
{
    if (!IsHandle(handle)) {
        errno = EBADF;
        return WaitFailed;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd watched{static_cast<int>(handle), POLLIN, 0};
    for (;;) {
        int timeout = -1;
        if (timeoutMs != Infinite) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            timeout = static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
        }
        const int ready = poll(&watched, 1, timeout);
        if (ready > 0) {
            if (watched.revents & POLLNVAL) {
                errno = EBADF;
                return WaitFailed;
            }
            // Collected at once rather than at the event loop's next turn.
            ChildReaper::Instance().ReapEnded();
            return WaitObject0;
        }
        if (ready == 0)
            return WaitTimeout;
        if (errno != EINTR)
            return WaitFailed;
    }
}

bool CloseHandle(Handle handle)
{
    if (!IsHandle(handle))
        return Failed(EBADF);
    return ::close(static_cast<int>(handle)) == 0;
}

std::uint32_t GetLastError() { return static_cast<std::uint32_t>(errno); }

} // namespace platform
