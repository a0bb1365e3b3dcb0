// The application window itself is never shown on this platform. It stands
// for the program's windows on screen (an open options dialog, the About box,
// a message box): restoring it brings back those of them that are minimised,
// raising it puts them on top. With none of them open there is nothing to
// show, just as raising a hidden window shows nothing: the program's only
// presence is then its tray icon.

#include "platform/linux/names/window_requests.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace platform::window_requests {
namespace {

bool IsProgramWindow(const QWindow* window)
{
    if (!window->isVisible())
        return false;
    // Tray embedders and other helper windows bypass the window manager.
    if (window->flags().testFlag(Qt::BypassWindowManagerHint))
        return false;
    const Qt::WindowType type = window->type();
    return type == Qt::Window || type == Qt::Dialog;
}

std::vector<QWindow*> ProgramWindows()
{
    std::vector<QWindow*> windows;
    if (!qGuiApp)
        return windows;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (IsProgramWindow(window))
            windows.push_back(window);
    // A modal window goes last so that it ends up above the window it blocks.
    std::stable_partition(windows.begin(), windows.end(),
                          [](const QWindow* window) { return window->modality() == Qt::NonModal; });
    return windows;
}

bool Minimised(const QWindow* window) { return window->windowStates().testFlag(Qt::WindowMinimized); }

bool AnyMinimised()
{
    const auto windows = ProgramWindows();
    return std::any_of(windows.begin(), windows.end(), Minimised);
}

void RaiseAll()
{
    const auto windows = ProgramWindows();
    for (QWindow* window : windows)
        window->raise();
    if (!windows.empty())
        windows.back()->requestActivate();
}

void RestoreAll()
{
    for (QWindow* window : ProgramWindows())
        if (Minimised(window))
            window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
    RaiseAll();
}

} // namespace

QByteArray Answer(const QByteArray& request)
{
    if (request == Iconic)
        return AnyMinimised() ? Yes : No;
    if (request == Restore) {
        RestoreAll();
        return Done;
    }
    if (request == Raise) {
        RaiseAll();
        return Done;
    }
    return Unknown;
}

} // namespace platform::window_requests
