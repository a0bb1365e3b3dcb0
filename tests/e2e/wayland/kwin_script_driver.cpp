// Loads the pointer script into KWin through KWinScript, as the program
// does, and keeps it loaded until SIGTERM or SIGINT; then unloads it.
//
//   kwin_script_driver SCRIPT
//
// Prints "loaded ID" once KWin runs the script. Exit status: 0 after the
// unload, 1 when KWin refused the script (the reason on standard error), 3
// when KWin is not on the session bus.

#include "platform/linux/process/unique_fd.h"
#include "platform/linux/wayland/kwin_script.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/signalfd.h>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int NoKWin = 3;

// The end signals, taken from their default action into a descriptor that
// the event loop watches.
platform::UniqueFd EndSignals()
{
    sigset_t ends;
    sigemptyset(&ends);
    sigaddset(&ends, SIGTERM);
    sigaddset(&ends, SIGINT);
    sigprocmask(SIG_BLOCK, &ends, nullptr);
    return platform::UniqueFd(signalfd(-1, &ends, SFD_CLOEXEC));
}

} // namespace

int main(int argc, char* argv[])
{
    // Before any thread starts, so that every thread leaves them blocked.
    const platform::UniqueFd endSignals = EndSignals();
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kwin_script_driver SCRIPT\n");
        return 2;
    }
    QString error;
    const std::unique_ptr<platform::KWinScript> script =
        platform::KWinScript::Load(QString::fromLocal8Bit(argv[1]), error);
    if (!script) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "kwin_script_driver: KWin is not on the session bus\n");
            return NoKWin;
        }
        std::fprintf(stderr, "kwin_script_driver: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("loaded %d\n", script->Id());
    std::fflush(stdout);
    QSocketNotifier ended(endSignals.Get(), QSocketNotifier::Read);
    QObject::connect(&ended, &QSocketNotifier::activated, &application, &QCoreApplication::quit);
    return application.exec();
}
