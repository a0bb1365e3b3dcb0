#pragma once
// TTrayIcon: the program's icon in the notification area. It adds, changes
// and removes the icon through the shell, receives the shell's mouse
// notifications in a hidden window of its own, and turns them into click,
// double-click and right-click events and the opening of a popup menu.

#include "platform/icon.h"
#include "platform/messagewindow.h"
#include "platform/notifyicon.h"
#include "shell/PopupMenu.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys and buttons held during a mouse event, as a set of bits; the
// tray icon reports the empty set.
using TShiftState = std::uint8_t;

class TTrayIcon;
using TTrayNotifyEvent = std::function<void(TTrayIcon& Sender)>;
using TTrayMouseEvent =
    std::function<void(TTrayIcon& Sender, TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)>;

// The shell's callback, with the mouse message in lParam.
inline constexpr std::uint32_t TrayCallbackMessage = platform::WmUser + 1;
// The tool-tip refresh that the component posts to itself.
inline constexpr std::uint32_t TrayToolTipRefresh = platform::WmUser + 2;
// One less than the record's tool tip could hold, by design.
inline constexpr std::size_t TrayToolTipLength = 62;

// Properties with a setter (Active, ShowDesigning, Icon, ToolTip) are read
// through the getter of the same name and kept in F-prefixed fields; the
// events and PopupMenu are plain fields.
class TTrayIcon {
public:
    // Makes the hidden message window; the icon starts empty and absent.
    TTrayIcon();
    // Removes the icon when it is present, then destroys the message window.
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // Whether the icon is in the notification area. Setting a new value adds
    // or removes it; setting the current one does nothing.
    bool Active() const { return FActive; }
    void SetActive(bool value);

    // Only a form designer shows the icon at design time; at run time the
    // assignment is ignored and the value stays false.
    bool ShowDesigning() const { return FShowDesigning; }
    void SetShowDesigning(bool value);

    // The component's own icon object. Changing it directly makes no request;
    // SetIcon copies another icon's image in and updates the shown icon.
    platform::TIcon& Icon() { return FIcon; }
    const platform::TIcon& Icon() const { return FIcon; }
    void SetIcon(const platform::TIcon& value);

    // At most TrayToolTipLength bytes; longer text is cut.
    const std::string& ToolTip() const { return FToolTip; }
    void SetToolTip(const std::string& value);

    // Left button released on the icon.
    TTrayNotifyEvent OnClick;
    // Left button double-clicked on the icon (between two clicks).
    TTrayNotifyEvent OnDblClick;
    // Right button released on the icon, after the popup menu has closed.
    TTrayMouseEvent OnRightClick;
    // Opened by a right-button release at the cursor; not owned.
    const TPopupMenu* PopupMenu = nullptr;

private:
    void BuildNotifyData();
    bool AddToTray();
    bool UpdateInTray();
    bool RemoveFromTray();
    void HandleRightClick();
    void HandleMouseMessage(std::intptr_t mouseMessage);
    void HandleTrayMessage(platform::TMessage& message);

    platform::TNotifyIconData NotifyData;
    platform::TIcon FIcon;
    std::string FToolTip;
    platform::WindowHandle MessageWindow = 0;
    bool FActive = false;
    bool FShowDesigning = false;
};
