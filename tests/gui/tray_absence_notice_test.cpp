// The notice of a missing tray on the platform doubles: said once, on both
// channels, only where no tray shows the icon when the wait is over, and
// never after its owner has gone.

#include "shell/tray_absence_notice.h"

#include "platform/double/notification_double.h"
#include "platform/double/notifyicon_double.h"

#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>

namespace {

namespace fake = platform::fake;
using namespace std::chrono_literals;

constexpr auto Wait = 20ms;
// Well past the wait, for a loaded machine.
constexpr int Settle = 200; // milliseconds

struct Case {
    const char* what;
    bool trayWhenAsked;
    bool trayWhenDue;
    bool ownerStays;
    int notices;
};

TEST(TrayAbsenceNotice, SaysOnceWhereNoTrayShowsTheIconWhenTheWaitIsOver)
{
    const Case cases[] = {
        {"no tray at all", false, false, true, 1},
        {"a tray from the start", true, true, true, 0},
        {"a tray that comes within the wait", false, true, true, 0},
        {"a tray that goes within the wait", true, false, true, 1},
        {"the owner gone before the wait is over", false, false, false, 0},
    };
    for (const Case& row : cases) {
        fake::ResetDesktopNotifications();
        fake::SetNotificationAreaPresent(row.trayWhenAsked);
        auto owner = std::make_unique<QObject>();
        std::ostringstream errors;
        NoteMissingTrayAfter(Wait, *owner, errors);
        fake::SetNotificationAreaPresent(row.trayWhenDue);
        if (!row.ownerStays)
            owner.reset();
        QTest::qWait(Settle);

        const auto& notices = fake::DesktopNotifications();
        ASSERT_EQ(static_cast<int>(notices.size()), row.notices) << row.what;
        if (row.notices == 0) {
            EXPECT_EQ(errors.str(), "") << row.what;
            continue;
        }
        EXPECT_EQ(notices.front().title, "Quorzane");
        EXPECT_EQ(notices.front().text, "Quorzane is running, but this desktop shows no tray icon. Start Quorzane "
                                        "again to open its options.");
        EXPECT_EQ(errors.str(), notices.front().text + "\n") << "the same words, one line, on standard error";
    }
    fake::SetNotificationAreaPresent(true);
}

} // namespace
