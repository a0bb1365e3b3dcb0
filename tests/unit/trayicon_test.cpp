#include "shell/TrayIcon.h"

#include "platform/double/application_double.h"
#include "platform/double/cursor_double.h"
#include "platform/double/messagewindow_double.h"
#include "platform/double/notifyicon_double.h"
#include "platform/double/popupmenu_double.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using platform::NotifyIconMessage;
using platform::fake::ShellRequests;

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetShell();
        platform::fake::ResetMessageWindows();
        platform::fake::ResetPopupMenus();
        platform::fake::ResetApplication();
        platform::fake::ResetCursorAndScreen();
        tray = std::make_unique<TTrayIcon>();
        window = platform::fake::LastWindow();
    }

    // The shell callback for a mouse message over the icon.
    void Mouse(std::uint32_t mouseMessage)
    {
        platform::fake::SendToWindow(window, TrayCallbackMessage, 0, mouseMessage);
    }

    std::string LastTip() const { return ShellRequests().back().data.szTip.data(); }

    std::unique_ptr<TTrayIcon> tray;
    platform::WindowHandle window = 0;
};

platform::TIcon IconWithHandle(platform::IconHandle handle)
{
    platform::TIcon icon;
    icon.SetHandle(handle);
    return icon;
}

TEST_F(TrayIcon, AddsTheIconWithTheRecordsFixedValues)
{
    tray->SetToolTip("Quorzane! v1.0");
    tray->Icon().SetHandle(0x101);
    tray->SetActive(true);

    ASSERT_EQ(ShellRequests().size(), 1u);
    const auto& [message, data] = ShellRequests()[0];
    EXPECT_EQ(message, NotifyIconMessage::Add);
    EXPECT_EQ(data.cbSize, 88u);
    EXPECT_EQ(data.hWnd, window);
    EXPECT_NE(window, 0u);
    EXPECT_EQ(data.uID, 0u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 1025u);
    EXPECT_EQ(data.hIcon, 0x101u);
    EXPECT_STREQ(data.szTip.data(), "Quorzane! v1.0");
}

TEST_F(TrayIcon, ToolTipsAreCutToSixtyTwoBytes)
{
    tray->SetActive(true);
    const std::string seventy(70, 'x');
    struct Case {
        std::string given;
        std::string kept;
    } cases[] = {
        {"", ""},
        {std::string(62, 'a'), std::string(62, 'a')},
        {std::string(63, 'b'), std::string(62, 'b')},
        {seventy, seventy.substr(0, 62)},
        // A two-byte character across the cut is left out whole.
        {std::string(61, 'c') + "\xC3\xA9" + "d", std::string(61, 'c')},
        {std::string(60, 'c') + "\xC3\xA9" + "d", std::string(60, 'c') + "\xC3\xA9"},
    };
    for (const Case& c : cases) {
        tray->SetToolTip(c.given);
        EXPECT_EQ(tray->ToolTip(), c.kept) << c.given;
        EXPECT_EQ(LastTip(), c.kept) << c.given;
        EXPECT_EQ(ShellRequests().back().message, NotifyIconMessage::Modify);
    }
}

TEST_F(TrayIcon, AddingWithoutToolTipQueuesExactlyOneRefresh)
{
    tray->SetActive(true);

    const auto& posted = platform::fake::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].window, window);
    EXPECT_EQ(posted[0].msg, 1026u);
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_EQ(posted[0].lParam, 0);

    // The refresh updates the present icon once, with the tip set meanwhile.
    tray->SetToolTip("later");
    const std::size_t before = ShellRequests().size();
    EXPECT_EQ(platform::fake::DeliverPostedMessages(), 1);
    ASSERT_EQ(ShellRequests().size(), before + 1);
    EXPECT_EQ(ShellRequests().back().message, NotifyIconMessage::Modify);
    EXPECT_EQ(LastTip(), "later");
}

TEST_F(TrayIcon, AddingWithToolTipQueuesNoRefresh)
{
    tray->SetToolTip("tip");
    tray->SetActive(true);
    EXPECT_TRUE(platform::fake::PostedMessages().empty());
}

TEST_F(TrayIcon, ActiveAddsAndRemovesOnlyOnChange)
{
    tray->SetActive(false);
    EXPECT_TRUE(ShellRequests().empty());

    tray->SetToolTip("tip");
    tray->SetActive(true);
    tray->SetActive(true);
    tray->SetActive(false);
    tray->SetActive(false);
    tray->SetActive(true);

    std::vector<NotifyIconMessage> messages;
    for (const auto& request : ShellRequests())
        messages.push_back(request.message);
    EXPECT_EQ(messages, (std::vector{NotifyIconMessage::Add, NotifyIconMessage::Delete, NotifyIconMessage::Add}));
    EXPECT_TRUE(tray->Active());
}

TEST_F(TrayIcon, RemovingUsesTheRecordAsLastBuilt)
{
    tray->SetToolTip("tip");
    tray->SetActive(true);
    tray->Icon().SetHandle(0x105); // not an update: the record keeps 0
    tray->SetActive(false);
    ASSERT_EQ(ShellRequests().back().message, NotifyIconMessage::Delete);
    EXPECT_EQ(ShellRequests().back().data.hIcon, 0u);
    EXPECT_EQ(ShellRequests().back().data.hWnd, window);
}

TEST_F(TrayIcon, IconAssignmentCopiesTheImageAndUpdates)
{
    tray->SetActive(true);
    platform::TIcon frame = IconWithHandle(0x107);
    tray->SetIcon(frame);
    frame.SetHandle(0x108); // the component holds its own copy

    ASSERT_EQ(ShellRequests().size(), 2u);
    EXPECT_EQ(ShellRequests()[1].message, NotifyIconMessage::Modify);
    EXPECT_EQ(ShellRequests()[1].data.hIcon, 0x107u);
    EXPECT_EQ(tray->Icon().Handle(), 0x107u);

    // An icon without an image shows none.
    tray->SetIcon(platform::TIcon{});
    EXPECT_EQ(ShellRequests().back().data.hIcon, 0u);
}

TEST_F(TrayIcon, AssigningItsOwnIconMakesNoRequest)
{
    tray->SetActive(true);
    const std::size_t before = ShellRequests().size();
    tray->SetIcon(tray->Icon());
    EXPECT_EQ(ShellRequests().size(), before);
}

TEST_F(TrayIcon, UpdatesOfAnAbsentIconMakeNoRequest)
{
    tray->SetIcon(IconWithHandle(0x101));
    tray->SetToolTip("tip");
    platform::fake::SendToWindow(window, TrayToolTipRefresh, 0, 0);
    EXPECT_TRUE(ShellRequests().empty());
    // The values wait for the next add.
    tray->SetActive(true);
    EXPECT_EQ(ShellRequests().back().data.hIcon, 0x101u);
    EXPECT_EQ(LastTip(), "tip");
}

TEST_F(TrayIcon, AFailedAddIsNotRetriedAndLaterUpdatesAreModifyRequests)
{
    platform::fake::SetShellSucceeds(false);
    tray->SetToolTip("tip");
    tray->SetActive(true);
    EXPECT_TRUE(tray->Active());
    tray->SetIcon(IconWithHandle(0x102));
    ASSERT_EQ(ShellRequests().size(), 2u);
    EXPECT_EQ(ShellRequests()[1].message, NotifyIconMessage::Modify);
}

TEST_F(TrayIcon, DestructionRemovesAPresentIconAndItsWindow)
{
    tray->SetActive(true); // queues a refresh
    tray.reset();
    ASSERT_EQ(ShellRequests().size(), 2u);
    EXPECT_EQ(ShellRequests()[1].message, NotifyIconMessage::Delete);
    EXPECT_EQ(platform::fake::LiveWindows(), 0);
    // The queued refresh goes with the window.
    EXPECT_EQ(platform::fake::DeliverPostedMessages(), 0);
}

TEST_F(TrayIcon, DestructionOfAnAbsentIconMakesNoRequest)
{
    tray.reset();
    EXPECT_TRUE(ShellRequests().empty());
    EXPECT_EQ(platform::fake::LiveWindows(), 0);
}

class TrayIconMouse : public TrayIcon {
protected:
    void SetUp() override
    {
        TrayIcon::SetUp();
        tray->OnClick = [this](TTrayIcon& sender) { Note(sender, "click"); };
        tray->OnDblClick = [this](TTrayIcon& sender) { Note(sender, "dblclick"); };
        tray->OnRightClick = [this](TTrayIcon& sender, TMouseButton button, TShiftState shift, std::int32_t x,
                                    std::int32_t y) {
            Note(sender, "right");
            rightClicks.push_back({button, shift, x, y});
        };
    }

    void Note(TTrayIcon& sender, const char* what)
    {
        EXPECT_EQ(&sender, tray.get());
        events.emplace_back(what);
    }

    struct RightClick {
        TMouseButton button;
        TShiftState shift;
        std::int32_t x;
        std::int32_t y;
    };
    std::vector<std::string> events;
    std::vector<RightClick> rightClicks;
};

TEST_F(TrayIconMouse, EachMouseMessageGivesItsEvent)
{
    struct Case {
        std::uint32_t mouseMessage;
        std::vector<std::string> expected;
    } cases[] = {
        {platform::WmLButtonUp, {"click"}},
        {platform::WmLButtonDblClk, {"dblclick"}},
        {platform::WmRButtonUp, {"right"}},
        {platform::WmMouseMove, {}},
        {platform::WmLButtonDown, {}},
        {platform::WmRButtonDown, {}},
        {platform::WmMButtonUp, {}},
        {0x206, {}}, // right double click
    };
    for (const Case& c : cases) {
        events.clear();
        Mouse(c.mouseMessage);
        EXPECT_EQ(events, c.expected) << c.mouseMessage;
    }
}

TEST_F(TrayIconMouse, ADoubleClickGivesClickDoubleClickClick)
{
    for (std::uint32_t m : {platform::WmLButtonDown, platform::WmLButtonUp, platform::WmLButtonDblClk,
                            platform::WmLButtonUp})
        Mouse(m);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick", "click"}));
}

TEST_F(TrayIconMouse, UnsetEventsAreSkipped)
{
    tray->OnClick = nullptr;
    tray->OnDblClick = nullptr;
    tray->OnRightClick = nullptr;
    for (std::uint32_t m : {platform::WmLButtonUp, platform::WmLButtonDblClk, platform::WmRButtonUp})
        Mouse(m);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayIconMouse, RightReleaseWithoutMenuOnlyCallsOnRightClick)
{
    platform::fake::SetCursor(640, 470);
    Mouse(platform::WmRButtonUp);

    EXPECT_TRUE(platform::fake::PopupRequests().empty());
    EXPECT_EQ(platform::fake::ForegroundRequests(), 0);
    EXPECT_EQ(platform::fake::ProcessMessagesCalls(), 0);
    ASSERT_EQ(rightClicks.size(), 1u);
    EXPECT_EQ(rightClicks[0].button, TMouseButton::mbRight);
    EXPECT_EQ(rightClicks[0].shift, TShiftState{});
    EXPECT_EQ(rightClicks[0].x, 640);
    EXPECT_EQ(rightClicks[0].y, 470);
}

TEST_F(TrayIconMouse, RightReleaseOpensTheMenuRightAlignedAtTheCursorFirst)
{
    const TPopupMenu menu{0xBEEF, TPopupAlignment::paRight};
    tray->PopupMenu = &menu;
    platform::fake::SetCursor(700, 590);
    platform::fake::SetWhilePopupOpen([this] {
        // The program came to the front and caught up before the menu opened;
        // OnRightClick waits until the menu has closed.
        EXPECT_EQ(platform::fake::ForegroundRequests(), 1);
        EXPECT_EQ(platform::fake::ProcessMessagesCalls(), 1);
        EXPECT_TRUE(events.empty());
    });

    Mouse(platform::WmRButtonUp);

    ASSERT_EQ(platform::fake::PopupRequests().size(), 1u);
    const auto& popup = platform::fake::PopupRequests()[0];
    EXPECT_EQ(popup.menu, 0xBEEFu);
    EXPECT_EQ(popup.flags, platform::TpmRightAlign | platform::TpmRightButton);
    EXPECT_EQ(popup.x, 700);
    EXPECT_EQ(popup.y, 590);
    EXPECT_EQ(events, std::vector<std::string>{"right"});
}

TEST_F(TrayIcon, OtherMessagesGoToTheDefaultProcedure)
{
    platform::fake::SetDefWindowProcResult(42);
    EXPECT_EQ(platform::fake::SendToWindow(window, 0x0010, 0, 0), 42);
    EXPECT_EQ(platform::fake::SendToWindow(window, platform::WmUser + 3, 0, 0), 42);
    EXPECT_EQ(platform::fake::DefWindowProcCalls(), 2);
    // Its own messages are not passed on.
    platform::fake::SendToWindow(window, TrayToolTipRefresh, 0, 0);
    platform::fake::SendToWindow(window, TrayCallbackMessage, 0, platform::WmMouseMove);
    EXPECT_EQ(platform::fake::DefWindowProcCalls(), 2);
}

TEST(PopupMenu, AlignmentSelectsTheFlag)
{
    struct Case {
        TPopupAlignment alignment;
        std::uint32_t flags;
    } cases[] = {
        {TPopupAlignment::paLeft, 0x2},
        {TPopupAlignment::paRight, 0xA},
        {TPopupAlignment::paCenter, 0x6},
    };
    platform::fake::ResetPopupMenus();
    for (const Case& c : cases)
        TPopupMenu{7, c.alignment}.Popup(10, 20);
    ASSERT_EQ(platform::fake::PopupRequests().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(platform::fake::PopupRequests()[i].flags, cases[i].flags) << i;
}

} // namespace
