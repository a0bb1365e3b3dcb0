#include "platform/window.h"
#include "platform/double/window_double.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

namespace platform {
namespace {

constexpr WindowHandle OwnHandle = 1;

struct Window {
    WindowHandle handle = NoWindow;
    std::string className;
    std::string title;
    bool iconic = false;
};

struct FakeWindowState {
    std::vector<Window> others;
    std::string ownText;
    std::vector<std::string> ownTexts;
    std::vector<std::pair<std::string, std::string>> searches;
    std::vector<WindowHandle> restored;
    std::vector<WindowHandle> raised;
    std::function<void()> comeForward;
};
FakeWindowState state;

bool SameText(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

Window* Other(WindowHandle handle)
{
    const auto found = std::find_if(state.others.begin(), state.others.end(),
                                    [handle](const Window& window) { return window.handle == handle; });
    return found == state.others.end() ? nullptr : &*found;
}

bool Exists(WindowHandle window) { return window == OwnHandle || Other(window) != nullptr; }

// Requests to the own application window reach the program's handler.
void CalledForward(WindowHandle window)
{
    if (window == OwnHandle && state.comeForward)
        state.comeForward();
}

} // namespace

WindowHandle FindWindow(const std::string& className, const std::string& title)
{
    state.searches.emplace_back(className, title);
    if (SameText(className, ApplicationWindowClass) && SameText(title, state.ownText))
        return OwnHandle;
    for (const Window& window : state.others)
        if (SameText(className, window.className) && SameText(title, window.title))
            return window.handle;
    return NoWindow;
}

bool IsIconic(WindowHandle window)
{
    const Window* other = Other(window);
    return other && other->iconic;
}

bool ShowWindow(WindowHandle window, ShowCommand command)
{
    if (!Exists(window) || command != ShowCommand::Restore)
        return false;
    state.restored.push_back(window);
    if (Window* other = Other(window))
        other->iconic = false;
    CalledForward(window);
    return true;
}

bool BringWindowToTop(WindowHandle window)
{
    if (!Exists(window))
        return false;
    state.raised.push_back(window);
    CalledForward(window);
    return true;
}

std::string GetApplicationWindowText() { return state.ownText; }

void SetApplicationWindowText(const std::string& text)
{
    state.ownText = text;
    state.ownTexts.push_back(text);
}

void WhenApplicationWindowCalledForward(std::function<void()> comeForward)
{
    state.comeForward = std::move(comeForward);
}

namespace fake {
WindowHandle AddWindow(const std::string& className, const std::string& title, bool iconic)
{
    const WindowHandle handle = OwnHandle + 1 + state.others.size();
    state.others.push_back({handle, className, title, iconic});
    return handle;
}
WindowHandle OwnApplicationWindow() { return OwnHandle; }
bool WindowIsIconic(WindowHandle window) { return IsIconic(window); }
std::vector<std::pair<std::string, std::string>> WindowSearches() { return state.searches; }
std::vector<WindowHandle> RestoredWindows() { return state.restored; }
std::vector<WindowHandle> RaisedWindows() { return state.raised; }
std::vector<std::string> ApplicationWindowTexts() { return state.ownTexts; }
void ResetWindows() { state = FakeWindowState{}; }
} // namespace fake

} // namespace platform
