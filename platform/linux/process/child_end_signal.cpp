#include "platform/linux/process/child_end_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

// A signal handler reaches only what is static; these live as long as the
// process, as the handler does.
struct SignalPipe {
    int readEnd = -1;
    int writeEnd = -1;
    struct sigaction previous {};
};

SignalPipe& Pipe()
{
    static SignalPipe pipe;
    return pipe;
}

void OnChildEnded(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    const SignalPipe& pipe = Pipe();
    // A full pipe already says that something ended.
    [[maybe_unused]] const ssize_t ignored = ::write(pipe.writeEnd, "", 1);
    if (pipe.previous.sa_flags & SA_SIGINFO) {
        if (pipe.previous.sa_sigaction)
            pipe.previous.sa_sigaction(signal, info, context);
    } else if (pipe.previous.sa_handler != SIG_DFL && pipe.previous.sa_handler != SIG_IGN) {
        pipe.previous.sa_handler(signal);
    }
    errno = savedErrno;
}

bool Install(SignalPipe& pipe)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    pipe.readEnd = ends[0];
    pipe.writeEnd = ends[1];
    struct sigaction action {};
    action.sa_sigaction = OnChildEnded;
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    if (::sigaction(SIGCHLD, &action, &pipe.previous) == 0)
        return true;
    ::close(ends[0]);
    ::close(ends[1]);
    pipe.readEnd = pipe.writeEnd = -1;
    return false;
}

} // namespace

int ChildEndDescriptor()
{
    static const bool installed = Install(Pipe());
    return installed ? Pipe().readEnd : -1;
}

void DrainChildEnds()
{
    char bytes[64];
    while (::read(Pipe().readEnd, bytes, sizeof bytes) > 0) {
    }
}

} // namespace platform
