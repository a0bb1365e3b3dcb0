// Notification-area icons are QSystemTrayIcon objects, children of the
// message window that they report to, so that they go when it goes. Qt puts
// them into whichever tray the desktop offers and shows them again when a
// tray appears later or restarts.
//
// A mouse event becomes the callback message that the Windows shell would
// send. Qt reports a click where Windows reports the button's release, and a
// double click as one event where Windows reports it between two releases:
// the releases are made up accordingly.

#include "platform/notifyicon.h"

#include "platform/linux/icon_qt.h"
#include "platform/linux/messagewindow_qt.h"

#include <QSystemTrayIcon>

#include <cstring>
#include <optional>
#include <string>

namespace platform {
namespace {

class TrayEntry final : public QSystemTrayIcon {
public:
    TrayEntry(QObject* window, WindowHandle handle, std::uint32_t id)
        : QSystemTrayIcon(window)
        , window_(handle)
        , id_(id)
    {
        // Never without an image, which Qt would warn about.
        setIcon(icons::IconImage(0));
        connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) { Report(reason); });
    }

    std::uint32_t Id() const { return id_; }

    // Takes the members that the record's flags name. Unchanged values are
    // not passed on: the animation re-sends the same image while it is off.
    void Apply(const TNotifyIconData& data)
    {
        if (data.uFlags & NifMessage)
            callback_ = data.uCallbackMessage;
        if ((data.uFlags & NifIcon) && data.hIcon != icon_) {
            icon_ = data.hIcon;
            setIcon(icons::IconImage(icon_));
        }
        if (data.uFlags & NifTip) {
            const std::string tip(data.szTip.data(), strnlen(data.szTip.data(), data.szTip.size()));
            if (tip != tip_) {
                tip_ = tip;
                setToolTip(QString::fromUtf8(tip_));
            }
        }
    }

private:
    void Report(ActivationReason reason) const
    {
        switch (reason) {
        case Trigger:
            Post(WmLButtonUp);
            break;
        case DoubleClick:
            Post(WmLButtonDblClk);
            Post(WmLButtonUp);
            break;
        case Context:
            Post(WmRButtonUp);
            break;
        case MiddleClick:
            Post(WmMButtonUp);
            break;
        case Unknown:
            break;
        }
    }

    void Post(std::uint32_t mouseMessage) const
    {
        if (callback_)
            PostMessageA(window_, *callback_, id_, mouseMessage);
    }

    WindowHandle window_;
    std::uint32_t id_;
    std::optional<std::uint32_t> callback_;
    IconHandle icon_ = 0;
    std::string tip_;
};

TrayEntry* FindEntry(const TNotifyIconData& data)
{
    QObject* window = message_windows::Find(data.hWnd);
    if (!window)
        return nullptr;
    for (QObject* child : window->children()) {
        auto* entry = dynamic_cast<TrayEntry*>(child);
        if (entry && entry->Id() == data.uID)
            return entry;
    }
    return nullptr;
}

bool Add(const TNotifyIconData& data)
{
    QObject* window = message_windows::Find(data.hWnd);
    if (!window || FindEntry(data))
        return false;
    // Owned by the message window.
    auto* entry = new TrayEntry(window, data.hWnd, data.uID);
    entry->Apply(data);
    entry->show();
    return true;
}

} // namespace

bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data)
{
    if (message == NotifyIconMessage::Add)
        return Add(data);
    TrayEntry* entry = FindEntry(data);
    if (!entry)
        return false;
    if (message == NotifyIconMessage::Modify)
        entry->Apply(data);
    else
        delete entry;
    return true;
}

} // namespace platform
