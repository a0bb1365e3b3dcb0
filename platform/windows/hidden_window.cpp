#include "platform/windows/hidden_window.h"

#include "platform/window.h"

namespace platform::win32 {
namespace {

bool RegisterClassOnce(const char* className, WNDPROC procedure)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, className, &existing))
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

HWND CreateHiddenWindow(const char* className, WNDPROC procedure, const char* title)
{
    if (!RegisterClassOnce(className, procedure))
        return nullptr;
    return CreateWindowExA(WS_EX_TOOLWINDOW, className, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND ApplicationWindow()
{
    // Made once and kept until the program ends, as the application's own.
    // It answers everything the default way; restoring it shows nothing, as
    // it has no size.
    static const HWND window = CreateHiddenWindow(ApplicationWindowClass, DefWindowProcA);
    return window;
}

} // namespace platform::win32
