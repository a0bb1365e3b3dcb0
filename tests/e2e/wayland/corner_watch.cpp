// Runs the corner surfaces of wlroots desktops in an event loop of their own
// and prints what they report, one line each, for the tests:
//
//   placed | enter N | leave | lost: REASON
//
// It runs on after a loss (a test measures that it then sleeps), until
// SIGTERM or SIGINT, and ends with status 0. When there is nothing to watch
// it prints "unavailable: REASON" and ends with status 3.

#include "platform/linux/process/unique_fd.h"
#include "platform/linux/wayland/layer_shell_corners.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/signalfd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

constexpr int Unavailable = 3;

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// The signals that end the watch, as something the event loop can read.
// Blocked before Qt starts any thread, so that every thread leaves them here.
platform::UniqueFd EndSignals()
{
    sigset_t endOn;
    sigemptyset(&endOn);
    sigaddset(&endOn, SIGTERM);
    sigaddset(&endOn, SIGINT);
    pthread_sigmask(SIG_BLOCK, &endOn, nullptr);
    return platform::UniqueFd(signalfd(-1, &endOn, SFD_CLOEXEC));
}

} // namespace

int main(int argc, char* argv[])
{
    const platform::UniqueFd endSignals = EndSignals();
    QCoreApplication application(argc, argv);
    QSocketNotifier endRequest(endSignals.Get(), QSocketNotifier::Read);
    QObject::connect(&endRequest, &QSocketNotifier::activated, &application, &QCoreApplication::quit);

    platform::wayland::LayerShellCorners::Callbacks callbacks;
    callbacks.entered = [](int corner) { Say("enter " + std::to_string(corner)); };
    callbacks.left = [] { Say("leave"); };
    callbacks.placed = [] { Say("placed"); };
    callbacks.lost = [](const std::string& reason) { Say("lost: " + reason); };
    std::string whyNot;
    const auto corners = platform::wayland::LayerShellCorners::Start(std::move(callbacks), whyNot);
    if (!corners) {
        Say("unavailable: " + whyNot);
        return Unavailable;
    }
    return application.exec();
}
