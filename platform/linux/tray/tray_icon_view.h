#pragma once
// One icon as a tray shows it, for the notification-area shell: on an XEmbed
// tray an icon drawn from pictures on the X server (or Qt's, where that
// cannot be), on a D-Bus tray a StatusNotifierItem of the program's own.

#include "platform/icon.h"
#include "platform/linux/tray/tray_presence.h"

#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class QMenu;
class QObject;

namespace platform {

using TrayActivation = std::function<void(QSystemTrayIcon::ActivationReason)>;

class TrayIconView {
public:
    virtual ~TrayIconView() = default;
    virtual void SetImage(IconHandle image) = 0;
    virtual void SetToolTip(const QString& tip) = 0;
    // The menu for trays that show it themselves; others ignore it.
    virtual void SetMenu(QMenu* menu) = 0;
    virtual void ShowBalloon(const TrayBalloon& balloon) = 0;
};

// Shown at once; `activated` hears the clicks for as long as the view lives.
// The XEmbed icon's QSystemTrayIcon is a child of `owner` meanwhile, so the
// view must go before the owner's children do.
std::unique_ptr<TrayIconView> MakeXEmbedIcon(QObject* owner, IconHandle image, const QString& tip,
                                             TrayActivation activated);
// An XEmbed icon drawn from pictures prepared on the X server; nullptr where
// Qt has no X11 display or the screen's pixels are not 24-bit true colour.
std::unique_ptr<TrayIconView> MakeNativeXEmbedIcon(IconHandle image, const QString& tip, TrayActivation activated);
std::unique_ptr<TrayIconView> MakeStatusNotifierItem(IconHandle image, const QString& tip,
                                                     TrayActivation activated);

} // namespace platform
