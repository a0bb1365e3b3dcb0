// On an XEmbed tray Qt draws the icon into the window that the tray embeds
// and shows it again when a tray restarts. Such a tray only reports the
// right click: the program opens its menu itself, as on Windows.

#include "platform/linux/tray/icon_qt.h"
#include "platform/linux/tray/tray_icon_view.h"

#include <utility>

namespace platform {
namespace {

constexpr int BalloonDuration = 10000; // milliseconds

class XEmbedIcon final : public TrayIconView {
public:
    XEmbedIcon(QObject* owner, IconHandle image, const QString& tip, TrayActivation activated)
        : icon_(icons::IconImage(image), owner)
    {
        icon_.setToolTip(tip);
        QObject::connect(&icon_, &QSystemTrayIcon::activated, std::move(activated));
        icon_.show();
    }

    void SetImage(IconHandle image) override { icon_.setIcon(icons::IconImage(image)); }
    void SetToolTip(const QString& tip) override { icon_.setToolTip(tip); }
    void SetMenu(QMenu*) override {}
    void ShowBalloon(const TrayBalloon& balloon) override
    {
        icon_.showMessage(balloon.title, balloon.text, QSystemTrayIcon::Information, BalloonDuration);
    }

private:
    // Among the owner's children while the view lives, as Qt's icons are.
    QSystemTrayIcon icon_;
};

} // namespace

std::unique_ptr<TrayIconView> MakeXEmbedIcon(QObject* owner, IconHandle image, const QString& tip,
                                             TrayActivation activated)
{
    return std::make_unique<XEmbedIcon>(owner, image, tip, std::move(activated));
}

} // namespace platform
