// Notification-area icons are views of the kind of tray that the desktop
// offers (see tray_icon_view.h), made by an entry of the message window that
// they report to, so that they go when it goes. An entry waits with its icon
// until a tray is there at all (see tray_presence.h).
//
// A mouse event becomes the callback message that the Windows shell would
// send. Qt reports a click where Windows reports the button's release, and a
// double click as one event where Windows reports it between two releases:
// the releases are made up accordingly.
//
// A D-Bus tray host shows the item's menu itself and may not ask the item to
// show one: there the entry hands its menu to the view, which exports it. An
// XEmbed tray only reports the right click, and the program opens the menu,
// as on Windows. Either way one menu opens.

#include "platform/notifyicon.h"

#include "platform/linux/messages/messagewindow_qt.h"
#include "platform/linux/tray/menu_lookup.h"
#include "platform/linux/tray/tray_icon_view.h"
#include "platform/linux/tray/tray_presence.h"

#include <QTimer>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace platform {
namespace {

// An XEmbed icon has a place to show a balloon from only once the tray has
// embedded it.
constexpr int BalloonDelay = 1000; // milliseconds

class TrayEntry final : public QObject {
public:
    TrayEntry(QObject* window, WindowHandle handle, std::uint32_t id)
        : QObject(window)
        , window_(handle)
        , id_(id)
    {
        TrayPresence* presence = TrayPresence::Instance();
        connect(presence, &TrayPresence::BalloonRequested, this, &TrayEntry::ShowBalloon);
        connect(presence, &TrayPresence::ToolTipNoteChanged, this, &TrayEntry::ShowToolTip);
        if (presence->Kind() == TrayKind::Unseen)
            connect(presence, &TrayPresence::Found, this, &TrayEntry::MakeIcon);
        else
            MakeIcon();
    }

    std::uint32_t Id() const { return id_; }

    // Takes the members that the record's flags name. Unchanged values are
    // not passed on: the animation re-sends the same image while it is off.
    void Apply(const TNotifyIconData& data)
    {
        if (data.uFlags & NifMessage)
            callback_ = data.uCallbackMessage;
        if ((data.uFlags & NifIcon) && data.hIcon != image_) {
            image_ = data.hIcon;
            if (view_)
                view_->SetImage(image_);
        }
        if (data.uFlags & NifTip) {
            const std::string tip(data.szTip.data(), strnlen(data.szTip.data(), data.szTip.size()));
            if (tip != tip_) {
                tip_ = tip;
                ShowToolTip();
            }
        }
    }

    void SetMenu(MenuHandle menu)
    {
        if (menu == menu_)
            return;
        menu_ = menu;
        ExportMenu();
    }

private:
    void MakeIcon()
    {
        if (view_)
            return;
        const QString tip = ToolTip();
        auto report = [this](QSystemTrayIcon::ActivationReason reason) { Report(reason); };
        if (TrayPresence::Instance()->Kind() == TrayKind::StatusNotifier)
            view_ = MakeStatusNotifierItem(image_, tip, report);
        else if (!(view_ = MakeNativeXEmbedIcon(image_, tip, report)))
            view_ = MakeXEmbedIcon(this, image_, tip, report);
        ExportMenu();
        QTimer::singleShot(BalloonDelay, this, &TrayEntry::ShowBalloon);
    }

    // The record's tip, and below it the note that the tray layer adds.
    QString ToolTip() const
    {
        const QString& note = TrayPresence::Instance()->ToolTipNote();
        const QString tip = QString::fromUtf8(tip_);
        return note.isEmpty() ? tip : tip + QLatin1Char('\n') + note;
    }

    void ShowToolTip()
    {
        if (view_)
            view_->SetToolTip(ToolTip());
    }

    void ExportMenu()
    {
        if (view_)
            view_->SetMenu(menus::Find(menu_));
    }

    void ShowBalloon()
    {
        if (!view_)
            return;
        if (const std::optional<TrayBalloon> balloon = TrayPresence::Instance()->TakeBalloon())
            view_->ShowBalloon(*balloon);
    }

    void Report(QSystemTrayIcon::ActivationReason reason) const
    {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            Post(WmLButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            Post(WmLButtonDblClk);
            Post(WmLButtonUp);
            break;
        case QSystemTrayIcon::Context:
            Post(WmRButtonUp);
            break;
        case QSystemTrayIcon::MiddleClick:
            Post(WmMButtonUp);
            break;
        case QSystemTrayIcon::Unknown:
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
    IconHandle image_ = 0;
    std::string tip_;
    MenuHandle menu_ = 0;
    // Made once a tray is there.
    std::unique_ptr<TrayIconView> view_;
};

TrayEntry* FindEntry(WindowHandle handle, std::uint32_t id)
{
    QObject* window = message_windows::Find(handle);
    if (!window)
        return nullptr;
    for (QObject* child : window->children()) {
        auto* entry = dynamic_cast<TrayEntry*>(child);
        if (entry && entry->Id() == id)
            return entry;
    }
    return nullptr;
}

bool Add(const TNotifyIconData& data)
{
    QObject* window = message_windows::Find(data.hWnd);
    if (!window || FindEntry(data.hWnd, data.uID) || !TrayPresence::Instance())
        return false;
    // Owned by the message window.
    auto* entry = new TrayEntry(window, data.hWnd, data.uID);
    entry->Apply(data);
    return true;
}

} // namespace

bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data)
{
    if (message == NotifyIconMessage::Add)
        return Add(data);
    TrayEntry* entry = FindEntry(data.hWnd, data.uID);
    if (!entry)
        return false;
    if (message == NotifyIconMessage::Modify)
        entry->Apply(data);
    else
        delete entry;
    return true;
}

bool OfferNotifyIconMenu(const TNotifyIconData& data, MenuHandle menu)
{
    TrayEntry* entry = FindEntry(data.hWnd, data.uID);
    if (entry)
        entry->SetMenu(menu);
    return entry != nullptr;
}

bool NotificationAreaPresent()
{
    const TrayPresence* presence = TrayPresence::Instance();
    return presence && presence->Kind() != TrayKind::Unseen;
}

} // namespace platform
