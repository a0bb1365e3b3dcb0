// The notification area on Windows belongs to the shell. The layer keeps the
// icons that it was asked to show, so that it can show them again when the
// task bar appears or restarts (its "TaskbarCreated" broadcast); until then
// they wait, and requests for them succeed.

#include "platform/notifyicon.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <utility>

namespace platform {
namespace {

constexpr char WatcherClass[] = "QuorzaneTaskBarWatcher";

using IconKey = std::pair<WindowHandle, std::uint32_t>;

std::map<IconKey, TNotifyIconData>& ShownIcons()
{
    static std::map<IconKey, TNotifyIconData> icons;
    return icons;
}

NOTIFYICONDATAA SystemRecord(const TNotifyIconData& data)
{
    NOTIFYICONDATAA record{};
    // The first version of the record, which the size marks.
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = win32::ToHwnd(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.hIcon);
    static_assert(sizeof record.szTip >= NotifyIconTipSize);
    std::copy_n(data.szTip.begin(), NotifyIconTipSize - 1, record.szTip);
    return record;
}

bool Request(DWORD message, const TNotifyIconData& data)
{
    NOTIFYICONDATAA record = SystemRecord(data);
    return Shell_NotifyIconA(message, &record) != 0;
}

// Icons whose window is gone went with it.
void ShowAllAgain()
{
    auto& icons = ShownIcons();
    std::erase_if(icons, [](const auto& icon) { return !IsWindow(win32::ToHwnd(icon.first.first)); });
    for (const auto& icon : icons)
        Request(NIM_ADD, icon.second);
}

UINT TaskBarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

LRESULT CALLBACK WatcherProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (const UINT taskBarCreated = TaskBarCreatedMessage(); taskBarCreated != 0 && msg == taskBarCreated) {
        ShowAllAgain();
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

// Makes the top-level window that hears the task bar's broadcast, at the
// first icon; it stays until the program ends.
void WatchTaskBar()
{
    [[maybe_unused]] static const HWND watcher = win32::CreateHiddenWindow(WatcherClass, WatcherProcedure);
}

bool Add(const TNotifyIconData& data)
{
    const IconKey key{data.hWnd, data.uID};
    if (!IsWindow(win32::ToHwnd(data.hWnd)) || ShownIcons().contains(key))
        return false;
    WatchTaskBar();
    ShownIcons().emplace(key, data);
    // Without a task bar the icon waits for one.
    Request(NIM_ADD, data);
    return true;
}

void Update(TNotifyIconData& shown, const TNotifyIconData& data)
{
    if (data.uFlags & NifMessage)
        shown.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & NifIcon)
        shown.hIcon = data.hIcon;
    if (data.uFlags & NifTip)
        shown.szTip = data.szTip;
    shown.uFlags |= data.uFlags;
}

bool Modify(const TNotifyIconData& data)
{
    const auto shown = ShownIcons().find({data.hWnd, data.uID});
    if (shown == ShownIcons().end())
        return false;
    Update(shown->second, data);
    Request(NIM_MODIFY, data);
    return true;
}

bool Delete(const TNotifyIconData& data)
{
    const auto shown = ShownIcons().find({data.hWnd, data.uID});
    if (shown == ShownIcons().end())
        return false;
    ShownIcons().erase(shown);
    Request(NIM_DELETE, data);
    return true;
}

} // namespace

bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data)
{
    switch (message) {
    case NotifyIconMessage::Add:
        return Add(data);
    case NotifyIconMessage::Modify:
        return Modify(data);
    case NotifyIconMessage::Delete:
        return Delete(data);
    }
    return false;
}

// The shell only reports the right click; the icon's owner opens the menu.
bool OfferNotifyIconMenu(const TNotifyIconData& data, MenuHandle /*menu*/)
{
    return ShownIcons().count({data.hWnd, data.uID}) != 0;
}

// The notification area is part of the shell's task bar.
bool NotificationAreaPresent() { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }

} // namespace platform
