// The Windows platform layer's message windows, notification-area icons,
// icons and popup menus against the system itself, with the tray icon
// component and its popup menu on top. A stand-in window of the task bar's
// class takes the shell's requests.

#include "platform/application.h"
#include "platform/icon.h"
#include "platform/messagewindow.h"
#include "platform/notifyicon.h"
#include "platform/process.h"
#include "platform/termination.h"
#include "shell/PopupMenu.h"
#include "shell/TrayIcon.h"
#include "platform/windows/hidden_window.h"

#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using wintest::FakeTaskBar;

TEST(WindowsMessageWindows, PostedMessagesReachTheHandlerInOrder)
{
    std::vector<platform::TMessage> received;
    const platform::WindowHandle window = platform::AllocateHWnd([&received](platform::TMessage& message) {
        if (message.Msg >= WM_APP)
            received.push_back(message);
    });
    ASSERT_NE(window, 0u);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_TRUE(platform::PostMessageA(window, WM_APP + i, i + 10, -static_cast<std::intptr_t>(i)));
    EXPECT_TRUE(received.empty()) << "posted, not sent";
    platform::ProcessMessages();
    ASSERT_EQ(received.size(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(received[i].Msg, WM_APP + i);
        EXPECT_EQ(received[i].WParam, i + 10);
        EXPECT_EQ(received[i].LParam, -static_cast<std::intptr_t>(i));
    }
    platform::DeallocateHWnd(window);
}

TEST(WindowsMessageWindows, TheHandlersResultIsTheMessagesResult)
{
    const platform::WindowHandle window = platform::AllocateHWnd([window = platform::WindowHandle{}](
                                                                     platform::TMessage& message) mutable {
        message.Result = message.Msg == WM_APP ? 42 : platform::DefWindowProcA(window, message.Msg, message.WParam,
                                                                               message.LParam);
    });
    EXPECT_EQ(SendMessageA(platform::win32::ToHwnd(window), WM_APP, 0, 0), 42);
    platform::DeallocateHWnd(window);
}

TEST(WindowsMessageWindows, ADestroyedWindowGetsNothingMore)
{
    int calls = 0;
    const platform::WindowHandle window = platform::AllocateHWnd([&calls](platform::TMessage& message) {
        if (message.Msg == WM_APP)
            ++calls;
    });
    EXPECT_TRUE(platform::PostMessageA(window, WM_APP, 0, 0));
    platform::DeallocateHWnd(window);
    platform::ProcessMessages();
    EXPECT_EQ(calls, 0) << "the queued message was dropped";
    EXPECT_FALSE(platform::PostMessageA(window, WM_APP, 0, 0));
    platform::DeallocateHWnd(window);
    platform::DeallocateHWnd(0);
}

TEST(WindowsMessageWindows, AHandlerMayDestroyItsOwnWindow)
{
    auto window = std::make_shared<platform::WindowHandle>();
    int calls = 0;
    *window = platform::AllocateHWnd([window, &calls](platform::TMessage& message) {
        if (message.Msg != WM_APP)
            return;
        ++calls;
        platform::DeallocateHWnd(*window);
    });
    platform::PostMessageA(*window, WM_APP, 0, 0);
    platform::PostMessageA(*window, WM_APP, 0, 0);
    platform::ProcessMessages();
    EXPECT_EQ(calls, 1);
}

TEST(WindowsMessageWindows, NoWindowTakesNoMessage)
{
    EXPECT_FALSE(platform::PostMessageA(0, WM_APP, 0, 0));
    platform::QueuedMessage message;
    EXPECT_FALSE(platform::PeekQueuedMessage(message)) << "nothing went to the thread's queue instead";
}

TEST(WindowsApplication, HandlingMessagesLeavesAQuitRequestToTheProgramsLoop)
{
    int calls = 0;
    const platform::WindowHandle window = platform::AllocateHWnd([&calls](platform::TMessage& message) {
        if (message.Msg == WM_APP)
            ++calls;
    });
    platform::PostMessageA(window, WM_APP, 0, 0);
    platform::PostQuitMessage(3);
    platform::ProcessMessages();
    EXPECT_EQ(calls, 1);
    platform::QueuedMessage message;
    ASSERT_TRUE(platform::PeekQueuedMessage(message));
    EXPECT_TRUE(platform::IsQuitMessage(message));
    EXPECT_EQ(message.wParam, 3u);
    platform::DeallocateHWnd(window);
    platform::SetForegroundWindow();
}

platform::TNotifyIconData IconRecord(platform::WindowHandle window)
{
    platform::TNotifyIconData data;
    data.cbSize = platform::NotifyIconDataV1Size;
    data.hWnd = window;
    data.uID = 7;
    data.uFlags = platform::NifMessage | platform::NifTip;
    data.uCallbackMessage = WM_APP;
    data.szTip = {'t', 'i', 'p'};
    return data;
}

class WindowsNotifyIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (FakeTaskBar::OtherTaskBarRuns())
            GTEST_SKIP() << "a real task bar runs here";
        window = platform::AllocateHWnd([](platform::TMessage&) {});
    }
    void TearDown() override { platform::DeallocateHWnd(window); }

    platform::WindowHandle window = 0;
};

TEST_F(WindowsNotifyIcon, RequestsAreCheckedAgainstTheIconsShown)
{
    // No task bar runs: the icon waits for one.
    EXPECT_FALSE(platform::NotificationAreaPresent());
    const platform::TNotifyIconData data = IconRecord(window);
    EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, data)) << "shown already";
    EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, data));
    EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Delete, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Delete, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, data));
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, IconRecord(0))) << "no window";
}

TEST_F(WindowsNotifyIcon, IconsShowAgainWhenTheTaskBarStarts)
{
    const platform::TNotifyIconData data = IconRecord(window);
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, data));
    {
        const FakeTaskBar taskBar;
        EXPECT_TRUE(platform::NotificationAreaPresent());
        FakeTaskBar::AnnounceStart();
        EXPECT_EQ(FakeTaskBar::Requests(), std::vector<DWORD>{NIM_ADD});
        EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Modify, data));
        EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Delete, data));
        EXPECT_EQ(FakeTaskBar::Requests(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE}));

        FakeTaskBar::AnnounceStart();
        EXPECT_EQ(FakeTaskBar::Requests().size(), 3u) << "a deleted icon stays away";
    }
}

TEST_F(WindowsNotifyIcon, AnIconGoesWithItsWindow)
{
    const platform::WindowHandle other = platform::AllocateHWnd([](platform::TMessage&) {});
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NotifyIconMessage::Add, IconRecord(other)));
    platform::DeallocateHWnd(other);
    const FakeTaskBar taskBar;
    FakeTaskBar::AnnounceStart();
    EXPECT_TRUE(FakeTaskBar::Requests().empty());
}

TEST_F(WindowsNotifyIcon, TheTrayIconComponentTakesClicksFromTheShell)
{
    const FakeTaskBar taskBar;
    int clicks = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> rightClicks;
    {
        TTrayIcon icon;
        icon.OnClick = [&clicks](TTrayIcon&) { ++clicks; };
        icon.OnRightClick = [&rightClicks](TTrayIcon&, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
            rightClicks.emplace_back(x, y);
        };
        icon.SetToolTip("Quorzane! v1.0");
        icon.SetActive(true);
        EXPECT_EQ(FakeTaskBar::Requests(), std::vector<DWORD>{NIM_ADD});

        // The shell reports the mouse to the component's own window.
        const HWND iconWindow = FindWindowA("QuorzaneMessageWindow", nullptr);
        ASSERT_NE(iconWindow, nullptr);
        SetCursorPos(30, 40);
        PostMessageA(iconWindow, TrayCallbackMessage, 0, WM_LBUTTONUP);
        PostMessageA(iconWindow, TrayCallbackMessage, 0, WM_MOUSEMOVE);
        PostMessageA(iconWindow, TrayCallbackMessage, 0, WM_RBUTTONUP);
        platform::ProcessMessages();
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(rightClicks, (std::vector<std::pair<std::int32_t, std::int32_t>>{{30, 40}}));
    }
    EXPECT_EQ(FakeTaskBar::Requests().back(), static_cast<DWORD>(NIM_DELETE)) << "removed with the component";
}

TEST(WindowsIcons, TheProgramsIconsAreResourcesOfItsFile)
{
    for (const char* name : {"ICON_1", "ICON_7", "ICON_13", "MAINICON"}) {
        const platform::IconHandle icon = platform::LoadIconA(name);
        EXPECT_NE(icon, 0u) << name;
        EXPECT_EQ(platform::LoadIconA(name), icon) << name << " is loaded once and shared";
    }
    EXPECT_EQ(platform::LoadIconA("icon_1"), platform::LoadIconA("ICON_1"));
    EXPECT_EQ(platform::LoadIconA("ICON_14"), 0u);
    EXPECT_EQ(platform::LoadIconA(""), 0u);
}

TEST(WindowsPopupMenu, TheChosenEntryGoesToTheWindowThatMadeTheMenu)
{
    std::vector<std::uintptr_t> commands;
    const platform::WindowHandle form = platform::AllocateHWnd([&commands](platform::TMessage& message) {
        if (message.Msg == WM_COMMAND)
            commands.push_back(message.WParam);
    });
    const HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 101, "Options");
    AppendMenuA(menu, MF_STRING, 102, "Exit");
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = form;
    SetMenuInfo(menu, &info);

    // The user's keys: down to the second entry, and Enter.
    const HWND owner = platform::win32::ApplicationWindow();
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageA(owner, WM_KEYDOWN, key, 0);
    TPopupMenu popup;
    popup.Handle = reinterpret_cast<platform::MenuHandle>(menu);
    popup.Alignment = TPopupAlignment::paRight;
    popup.Popup(200, 100);
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{102});

    DestroyMenu(menu);
    platform::DeallocateHWnd(form);
    platform::ProcessMessages();
}

TEST(WindowsTermination, TheEndOfTheSessionIsAskedAndThenRequested)
{
    int requests = 0;
    int saves = 0;
    bool mayEnd = false;
    platform::WatchTerminationRequests({.endWithoutAsking = [&requests] { ++requests; },
                                        .mayEndSession = [&mayEnd] { return mayEnd; },
                                        .saveNow = [&saves, &requests] { saves += requests == 0; }});
    const HWND watcher = FindWindowA("QuorzaneTerminationWatcher", nullptr);
    ASSERT_NE(watcher, nullptr);

    EXPECT_EQ(SendMessageA(watcher, WM_QUERYENDSESSION, 0, 0), FALSE) << "refused";
    SendMessageA(watcher, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(requests, 0) << "the session goes on";
    mayEnd = true;
    EXPECT_EQ(SendMessageA(watcher, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(watcher, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(saves, 1) << "saved before the handler returned, ahead of the end";
}

TEST(WindowsPopupMenu, NoMenuIsNoMenu)
{
    EXPECT_FALSE(platform::TrackPopupMenu(0, platform::TpmLeftAlign, 0, 0));
    EXPECT_FALSE(platform::TrackPopupMenu(0x1234, platform::TpmLeftAlign, 0, 0));
}

} // namespace
