#include "launch/launch_command.h"

#include "launch/Execfile.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// The busy cursor for the lifetime of the guard, restored whatever happens.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

bool LaunchCommand(TExecFile& launcher, const std::string& command)
{
    const BusyCursor busy;
    launcher.CommandLine = command;
    return launcher.Execute();
}

std::string LaunchFailureText(const std::string& command) { return "Unable to find: " + command; }
