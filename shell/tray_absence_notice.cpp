#include "shell/tray_absence_notice.h"

#include "platform/notification.h"
#include "platform/notifyicon.h"

#include <QTimer>

#include <ostream>

namespace {

constexpr char NoticeTitle[] = "Quorzane";
constexpr char NoticeText[] =
    "Quorzane is running, but this desktop shows no tray icon. Start Quorzane again to open its options.";

} // namespace

void NoteMissingTrayAfter(std::chrono::milliseconds wait, QObject& owner, std::ostream& errors)
{
    QTimer::singleShot(wait, &owner, [&errors] {
        if (platform::NotificationAreaPresent())
            return;
        errors << NoticeText << std::endl;
        platform::ShowDesktopNotification(NoticeTitle, NoticeText);
    });
}
