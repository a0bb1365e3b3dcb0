// The open windows' classes through the system's window list. Picking a
// window by a click is not offered here: no pick starts.

#include "platform/window_picker.h"

#include "platform/windows/win32.h"

#include <algorithm>
#include <array>

namespace platform {
namespace {

BOOL CALLBACK NoteWindowClass(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!IsWindowVisible(window) || process == GetCurrentProcessId())
        return TRUE;
    std::array<char, 256> name{};
    const int length = GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    if (length > 0)
        reinterpret_cast<std::vector<std::string>*>(found)->emplace_back(name.data(), static_cast<std::size_t>(length));
    return TRUE;
}

} // namespace

std::vector<std::string> OpenWindowClasses()
{
    std::vector<std::string> classes;
    EnumWindows(&NoteWindowClass, reinterpret_cast<LPARAM>(&classes));
    std::sort(classes.begin(), classes.end());
    classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
    return classes;
}

bool PickWindowClass(WindowPicked) { return false; }

void CancelWindowPick() {}

} // namespace platform
