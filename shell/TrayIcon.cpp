#include "shell/TrayIcon.h"

#include "platform/application.h"
#include "platform/cursor.h"

#include <algorithm>

namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first TrayToolTipLength bytes of `text`. A character of several bytes
// that would be split at the cut is left out whole, so that the tip stays
// valid text.
std::string CutToolTip(const std::string& text)
{
    if (text.size() <= TrayToolTipLength)
        return text;
    std::size_t length = TrayToolTipLength;
    while (length > 0 && IsUtf8Continuation(text[length]))
        --length;
    return text.substr(0, length);
}

} // namespace

TTrayIcon::TTrayIcon()
    : MessageWindow(platform::AllocateHWnd([this](platform::TMessage& message) { HandleTrayMessage(message); }))
{
}

TTrayIcon::~TTrayIcon()
{
    if (FActive)
        RemoveFromTray();
    platform::DeallocateHWnd(MessageWindow);
}

void TTrayIcon::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (value)
        AddToTray();
    else
        RemoveFromTray();
}

// There is no form designer at run time.
void TTrayIcon::SetShowDesigning(bool /*value*/) {}

void TTrayIcon::SetIcon(const platform::TIcon& value)
{
    if (&value == &FIcon)
        return;
    FIcon.Assign(value);
    UpdateInTray();
}

void TTrayIcon::SetToolTip(const std::string& value)
{
    FToolTip = CutToolTip(value);
    UpdateInTray();
}

void TTrayIcon::BuildNotifyData()
{
    NotifyData = {};
    NotifyData.cbSize = platform::NotifyIconDataV1Size;
    NotifyData.hWnd = MessageWindow;
    NotifyData.uID = 0;
    NotifyData.uFlags = platform::NifMessage | platform::NifIcon | platform::NifTip;
    NotifyData.uCallbackMessage = TrayCallbackMessage;
    NotifyData.hIcon = FIcon.Handle();
    std::copy_n(FToolTip.begin(), std::min(FToolTip.size(), NotifyData.szTip.size() - 1), NotifyData.szTip.begin());
}

bool TTrayIcon::AddToTray()
{
    BuildNotifyData();
    const bool added = platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, NotifyData);
    // Until the tool tip is set, a refresh is queued that shows it later.
    if (FToolTip.empty())
        platform::PostMessageA(MessageWindow, TrayToolTipRefresh, 0, 0);
    return added;
}

bool TTrayIcon::UpdateInTray()
{
    BuildNotifyData();
    if (!FActive)
        return true;
    // Trays that show the menu themselves need it before any right click.
    platform::OfferNotifyIconMenu(NotifyData, PopupMenu ? PopupMenu->Handle : 0);
    return platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, NotifyData);
}

bool TTrayIcon::RemoveFromTray()
{
    return platform::Shell_NotifyIconA(platform::NotifyIconMessage::Delete, NotifyData);
}

void TTrayIcon::HandleRightClick()
{
    platform::Point cursor;
    platform::GetCursorPos(cursor);
    if (PopupMenu) {
        // The menu must take the input even though the program has no window
        // in front; waiting events are handled before it opens.
        platform::SetForegroundWindow();
        platform::ProcessMessages();
        PopupMenu->Popup(cursor.x, cursor.y);
    }
    if (OnRightClick)
        OnRightClick(*this, TMouseButton::mbRight, TShiftState{}, cursor.x, cursor.y);
}

void TTrayIcon::HandleMouseMessage(std::intptr_t mouseMessage)
{
    switch (mouseMessage) {
    case platform::WmLButtonUp:
        if (OnClick)
            OnClick(*this);
        break;
    case platform::WmLButtonDblClk:
        if (OnDblClick)
            OnDblClick(*this);
        break;
    case platform::WmRButtonUp:
        HandleRightClick();
        break;
    default:
        // Moves, presses and the middle button mean nothing here.
        break;
    }
}

void TTrayIcon::HandleTrayMessage(platform::TMessage& message)
{
    switch (message.Msg) {
    case TrayToolTipRefresh:
        SetToolTip(FToolTip);
        break;
    case TrayCallbackMessage:
        HandleMouseMessage(message.LParam);
        break;
    default:
        message.Result = platform::DefWindowProcA(MessageWindow, message.Msg, message.WParam, message.LParam);
        break;
    }
}
