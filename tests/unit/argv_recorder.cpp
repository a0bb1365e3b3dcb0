// A stand-in program for the launcher's tests. It writes how it was started
// into the file that QZ_RECORD names: facts about the process, one "key=value"
// per line, a line "--", then each argument followed by a zero byte. The file
// appears complete at once (written beside it, then renamed).

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string OpenDescriptorsAbove2()
{
    std::string list;
    DIR* directory = opendir("/proc/self/fd");
    if (!directory)
        return "?";
    while (const dirent* entry = readdir(directory)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd > 2 && fd != dirfd(directory))
            list += std::to_string(fd) + ",";
    }
    closedir(directory);
    return list;
}

std::string StandardInput()
{
    char target[4096] = "";
    const ssize_t length = readlink("/proc/self/fd/0", target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : "";
}

bool NoSignalBlocked()
{
    sigset_t blocked;
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    for (int signal = 1; signal < NSIG; ++signal)
        if (sigismember(&blocked, signal) == 1)
            return false;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const char* record = std::getenv("QZ_RECORD");
    if (!record)
        return 2;
    // Taken before the record's own file is opened.
    const std::string descriptors = OpenDescriptorsAbove2();
    const std::string partial = std::string(record) + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "w");
    if (!out)
        return 3;
    char cwd[4096] = "";
    if (!getcwd(cwd, sizeof cwd))
        cwd[0] = '\0';
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    std::fprintf(out, "session-leader=%d\n", getsid(0) == getpid());
    std::fprintf(out, "nice=%d\n", nice);
    std::fprintf(out, "cwd=%s\n", cwd);
    std::fprintf(out, "fds=%s\n", descriptors.c_str());
    std::fprintf(out, "stdin=%s\n", StandardInput().c_str());
    std::fprintf(out, "signals-unblocked=%d\n", NoSignalBlocked());
    std::fprintf(out, "--\n");
    for (int i = 0; i < argc; ++i)
        std::fprintf(out, "%s%c", argv[i], '\0');
    std::fclose(out);
    return std::rename(partial.c_str(), record) == 0 ? 0 : 4;
}
