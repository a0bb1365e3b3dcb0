// The Linux side of the tray: message windows, icons, the notification-area
// shell and popup menus, driven through the tray icon component where that
// is what the program does. The offscreen platform has no tray host, so
// activations are raised on the tray icon object directly.

#include "shell/TrayIcon.h"

#include "platform/icon.h"
#include "platform/messagewindow.h"
#include "platform/notifyicon.h"
#include "platform/popupmenu.h"
#include "platform/popupmenu_qt.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QSet>
#include <QSystemTrayIcon>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> ProgramIcons = {"ICON_1", "ICON_2",  "ICON_3",  "ICON_4",  "ICON_5",
                                               "ICON_6", "ICON_7",  "ICON_8",  "ICON_9",  "ICON_10",
                                               "ICON_11", "ICON_12", "ICON_13", "MAINICON"};

void ProcessEvents() { QCoreApplication::processEvents(); }

std::vector<QSystemTrayIcon*> TrayIcons()
{
    const QList<QSystemTrayIcon*> icons = qApp->findChildren<QSystemTrayIcon*>();
    return {icons.begin(), icons.end()};
}

TEST(LinuxIcons, EveryProgramIconIsA32By32ImageOfAtMost16Colours)
{
    for (const std::string& name : ProgramIcons) {
        const QImage image = QImage(QString::fromStdString(":/icons/" + name + ".xpm")).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(32, 32)) << name;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16) << name;
        EXPECT_GT(colours.size(), 1) << name;
    }
}

TEST(LinuxIcons, LoadIconGivesOneSharedHandlePerPicture)
{
    std::set<platform::IconHandle> handles;
    for (const std::string& name : ProgramIcons) {
        const platform::IconHandle handle = platform::LoadIconA(name);
        EXPECT_NE(handle, 0u) << name;
        EXPECT_EQ(platform::LoadIconA(name), handle) << name;
        handles.insert(handle);
    }
    // Frames 5 and 13 are one picture.
    EXPECT_EQ(platform::LoadIconA("ICON_13"), platform::LoadIconA("ICON_5"));
    EXPECT_EQ(handles.size(), ProgramIcons.size() - 1);
    EXPECT_EQ(platform::LoadIconA("icon_7"), platform::LoadIconA("ICON_7"));
    for (const char* unknown : {"", "ICON_0", "ICON_14", "ICON_1 ", "TTRAYICON"})
        EXPECT_EQ(platform::LoadIconA(unknown), 0u) << unknown;
}

class LinuxMessageWindows : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (platform::WindowHandle window : windows)
            platform::DeallocateHWnd(window);
    }

    platform::WindowHandle Make(platform::MessageHandler handler)
    {
        windows.push_back(platform::AllocateHWnd(std::move(handler)));
        return windows.back();
    }

    std::vector<platform::WindowHandle> windows;
};

TEST_F(LinuxMessageWindows, PostedMessagesArriveFromTheLoopInOrder)
{
    std::vector<std::intptr_t> received;
    const auto window = Make([&](platform::TMessage& m) { received.push_back(m.LParam + 10 * m.Msg); });
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(platform::PostMessageA(window, 1, 0, 1));
    EXPECT_TRUE(platform::PostMessageA(window, 2, 0, 2));
    EXPECT_TRUE(received.empty());
    ProcessEvents();
    EXPECT_EQ(received, (std::vector<std::intptr_t>{11, 22}));
}

TEST_F(LinuxMessageWindows, ADestroyedWindowTakesAndDeliversNothing)
{
    int received = 0;
    const auto window = platform::AllocateHWnd([&](platform::TMessage&) { ++received; });
    EXPECT_TRUE(platform::PostMessageA(window, 1, 0, 0));
    platform::DeallocateHWnd(window);
    ProcessEvents();
    EXPECT_EQ(received, 0);
    EXPECT_FALSE(platform::PostMessageA(window, 1, 0, 0));
    EXPECT_FALSE(platform::PostMessageA(0, 1, 0, 0));
    platform::DeallocateHWnd(window); // a second time is harmless
}

TEST_F(LinuxMessageWindows, AHandlerMayDestroyItsOwnWindow)
{
    int received = 0;
    platform::WindowHandle window = 0;
    window = platform::AllocateHWnd([&](platform::TMessage&) {
        ++received;
        platform::DeallocateHWnd(window);
    });
    platform::PostMessageA(window, 1, 0, 0);
    platform::PostMessageA(window, 2, 0, 0);
    ProcessEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(received, 1);
    EXPECT_FALSE(platform::PostMessageA(window, 1, 0, 0));
}

class LinuxShell : public LinuxMessageWindows {
protected:
    platform::TNotifyIconData Record(platform::WindowHandle window, std::uint32_t id, const char* tip)
    {
        platform::TNotifyIconData data;
        data.cbSize = platform::NotifyIconDataV1Size;
        data.hWnd = window;
        data.uID = id;
        data.uFlags = platform::NifMessage | platform::NifIcon | platform::NifTip;
        data.uCallbackMessage = platform::WmUser + 1;
        data.hIcon = platform::LoadIconA("ICON_1");
        std::strncpy(data.szTip.data(), tip, data.szTip.size() - 1);
        return data;
    }
};

TEST_F(LinuxShell, RequestsOnIconsThatDoNotExistFail)
{
    const auto window = Make([](platform::TMessage&) {});
    const auto data = Record(window, 0, "tip");
    using platform::NotifyIconMessage;
    EXPECT_FALSE(platform::Shell_NotifyIconA(NotifyIconMessage::Modify, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(NotifyIconMessage::Delete, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(NotifyIconMessage::Add, Record(0, 0, "no window")));

    EXPECT_TRUE(platform::Shell_NotifyIconA(NotifyIconMessage::Add, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(NotifyIconMessage::Add, data)) << "added twice";
    EXPECT_TRUE(platform::Shell_NotifyIconA(NotifyIconMessage::Add, Record(window, 1, "second id")));
    EXPECT_EQ(TrayIcons().size(), 2u);
    EXPECT_TRUE(platform::Shell_NotifyIconA(NotifyIconMessage::Delete, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(NotifyIconMessage::Delete, data));
}

TEST_F(LinuxShell, TheIconShowsTheRecordsToolTipAndImage)
{
    const auto window = Make([](platform::TMessage&) {});
    auto data = Record(window, 0, "first");
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, data));
    ASSERT_EQ(TrayIcons().size(), 1u);
    QSystemTrayIcon* icon = TrayIcons()[0];
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "first");
    const qint64 firstImage = icon->icon().cacheKey();

    std::strncpy(data.szTip.data(), "second", data.szTip.size() - 1);
    data.hIcon = platform::LoadIconA("ICON_2");
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, data));
    EXPECT_EQ(icon->toolTip(), "second");
    EXPECT_NE(icon->icon().cacheKey(), firstImage);

    // Members that the flags leave out stay as they are.
    data.uFlags = platform::NifIcon;
    data.szTip.fill(0);
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, data));
    EXPECT_EQ(icon->toolTip(), "second");
}

TEST_F(LinuxShell, DestroyingTheWindowRemovesItsIcons)
{
    const auto window = platform::AllocateHWnd([](platform::TMessage&) {});
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, Record(window, 0, "tip")));
    platform::DeallocateHWnd(window);
    EXPECT_TRUE(TrayIcons().empty());
}

// The program's use: a TTrayIcon on the real layer, clicked through Qt.
class LinuxTrayActivation : public ::testing::Test {
protected:
    void SetUp() override
    {
        tray = std::make_unique<TTrayIcon>();
        tray->OnClick = [this](TTrayIcon&) { events.emplace_back("click"); };
        tray->OnDblClick = [this](TTrayIcon&) { events.emplace_back("dblclick"); };
        tray->OnRightClick = [this](TTrayIcon&, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
            events.emplace_back("right");
        };
        tray->SetActive(true);
        tray->SetToolTip("Quorzane! v1.0");
        ProcessEvents();
        ASSERT_EQ(TrayIcons().size(), 1u);
        icon = TrayIcons()[0];
    }

    std::vector<std::string> Activate(std::initializer_list<QSystemTrayIcon::ActivationReason> reasons)
    {
        events.clear();
        for (const auto reason : reasons)
            emit icon->activated(reason);
        EXPECT_TRUE(events.empty()) << "callbacks arrive from the loop";
        ProcessEvents();
        return events;
    }

    std::unique_ptr<TTrayIcon> tray;
    QSystemTrayIcon* icon = nullptr;
    std::vector<std::string> events;
};

TEST_F(LinuxTrayActivation, ActivationsBecomeTheComponentsEvents)
{
    using R = QSystemTrayIcon::ActivationReason;
    using Events = std::vector<std::string>;
    EXPECT_EQ(icon->toolTip(), "Quorzane! v1.0");
    EXPECT_EQ(Activate({R::Trigger}), Events{"click"});
    EXPECT_EQ(Activate({R::Trigger, R::DoubleClick}), (Events{"click", "dblclick", "click"}));
    EXPECT_EQ(Activate({R::Context}), Events{"right"});
    EXPECT_EQ(Activate({R::MiddleClick, R::Unknown}), Events{});
}

TEST_F(LinuxTrayActivation, TheIconGoesWithTheComponent)
{
    tray.reset();
    EXPECT_TRUE(TrayIcons().empty());
}

class LinuxPopupMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* text : {"&General Options", "&Sensitivity Options", "&Application Options"})
            menu.addAction(text);
    }

    // Opens the menu, notes where it went and closes it again.
    QRect Track(std::uint32_t flags, std::int32_t x, std::int32_t y)
    {
        QRect shown;
        QTimer::singleShot(0, &menu, [&] {
            shown = menu.geometry();
            menu.close();
        });
        EXPECT_TRUE(platform::TrackPopupMenu(platform::MenuHandleOf(menu), flags, x, y));
        return shown;
    }

    QMenu menu;
};

TEST_F(LinuxPopupMenu, TheAlignmentFlagPlacesTheMenuAtThePoint)
{
    const QRect right = Track(platform::TpmRightAlign | platform::TpmRightButton, 400, 200);
    EXPECT_EQ(right.right() + 1, 400);
    EXPECT_EQ(right.top(), 200);

    const QRect left = Track(platform::TpmLeftAlign | platform::TpmRightButton, 400, 200);
    EXPECT_EQ(left.left(), 400);
    EXPECT_EQ(left.top(), 200);

    const QRect centre = Track(platform::TpmCenterAlign, 400, 200);
    EXPECT_NEAR(centre.center().x(), 400, 1);
}

TEST_F(LinuxPopupMenu, AMenuThatDoesNotFitBelowThePointOpensAboveIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect shown = Track(platform::TpmRightAlign, screen.width() - 20, screen.height() - 10);
    EXPECT_EQ(shown.right() + 1, screen.width() - 20);
    EXPECT_EQ(shown.bottom() + 1, screen.height() - 10);

    // Near the left edge a right-aligned menu is moved onto the screen.
    EXPECT_EQ(Track(platform::TpmRightAlign, 10, 100).left(), screen.left());
}

TEST_F(LinuxPopupMenu, AChosenEntryHasRunWhenTheCallReturns)
{
    bool chosen = false;
    QObject::connect(menu.actions()[1], &QAction::triggered, [&] { chosen = true; });
    QTimer::singleShot(0, &menu, [&] { menu.actions()[1]->trigger(); menu.close(); });
    EXPECT_TRUE(platform::TrackPopupMenu(platform::MenuHandleOf(menu), platform::TpmRightAlign, 300, 300));
    EXPECT_TRUE(chosen);
}

TEST_F(LinuxPopupMenu, AHandleOfNoMenuOpensNothing)
{
    QWidget notAMenu;
    EXPECT_FALSE(platform::TrackPopupMenu(0, 0, 0, 0));
    EXPECT_FALSE(platform::TrackPopupMenu(reinterpret_cast<platform::MenuHandle>(&notAMenu), 0, 0, 0));
    EXPECT_FALSE(platform::TrackPopupMenu(0x1234, 0, 0, 0));
}

} // namespace
