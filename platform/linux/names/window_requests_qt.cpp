// The application window itself is never shown on this platform. It stands
// for the program's windows on screen (an open options dialog, the About box,
// a message box): restoring it brings back those of them that are minimised,
// raising it puts them on top. Either request first lets the program show what
// it puts forward for itself (its handler), so that a program whose only
// presence is a tray icon, or nothing on a desktop without a tray, is still
// reached by starting it again.

#include "platform/linux/names/window_requests.h"
#include "platform/window.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::function<void()>& ComeForwardHandler()
{
    static std::function<void()> handler;
    return handler;
}

} // namespace

void WhenApplicationWindowCalledForward(std::function<void()> comeForward)
{
    ComeForwardHandler() = std::move(comeForward);
}

namespace window_requests {
namespace {

void ComeForward()
{
    if (const std::function<void()>& handler = ComeForwardHandler())
        handler();
}

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
}

} // namespace

QByteArray Answer(const QByteArray& request)
{
    if (request == Iconic)
        return AnyMinimised() ? Yes : No;
    if (request == Restore)
        RestoreAll();
    else if (request != Raise)
        return Unknown;
    ComeForward();
    RaiseAll();
    return Done;
}

} // namespace window_requests
} // namespace platform
