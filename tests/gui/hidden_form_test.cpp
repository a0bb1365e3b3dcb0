// The hidden main form with the platform doubles: the detection tick from a
// cursor movement to a started command, the chooser request and the failure
// message; the tray icon's menu and click; the exit question; the settings
// saved when the form goes; the animation ticks.

#include "shell/srcHiddenForm.h"

#include "platform/double/application_double.h"
#include "platform/double/cursor_double.h"
#include "platform/double/foreground_double.h"
#include "platform/double/icon_double.h"
#include "platform/double/messagewindow_double.h"
#include "platform/double/notifyicon_double.h"
#include "platform/double/pointer_activity_double.h"
#include "platform/double/popupmenu_double.h"
#include "platform/double/process_double.h"
#include "platform/double/profile_double.h"
#include "platform/double/system_double.h"
#include "platform/double/window_double.h"
#include "platform/popupmenu_qt.h"
#include "platform/window.h"
#include "settings/global.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fake = platform::fake;
using platform::NotifyIconMessage;

constexpr char Title[] = "Quorzane! v1.0";
constexpr int Width = 800;
constexpr int Height = 600;

// Runs a timer's handlers once, as its timeout would.
void Fire(QTimer& timer) { QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection); }

// The cursor positions of one pattern, one per detection tick, starting from
// (400, 300); each completes its pattern on its last tick with the form's
// thresholds below (distance 100, corner wait 100 ms = two ticks).
std::vector<std::pair<int, int>> PatternPositions(int event)
{
    switch (event) {
    case 1: return {{280, 300}, {420, 300}, {280, 300}};
    case 2: return {{520, 300}, {380, 300}, {520, 300}};
    case 3: return {{400, 180}, {400, 320}, {400, 180}};
    case 4: return {{400, 420}, {400, 280}, {400, 420}};
    case 5: return {{0, 0}, {0, 0}};
    case 6: return {{0, Height - 1}, {0, Height - 1}};
    case 7: return {{Width - 1, 0}, {Width - 1, 0}};
    case 8: return {{Width - 1, Height - 1}, {Width - 1, Height - 1}};
    default: return {};
    }
}

TSettings TestSettings()
{
    TSettings settings;
    for (int event = 1; event <= EventCount; ++event) {
        EventCommand(settings, event) = "ev" + std::to_string(event);
        EventEnabled(settings, event) = true;
    }
    // Values that differ from each other, so that a mix-up shows.
    settings.SensitivityInPixels = 100;
    settings.SensitivityInTime = 1000;
    settings.CornerWaitTime = 100;
    settings.TaskBarAnimation = true;
    settings.DetectMouseMoveMents = true;
    settings.TimesInProgram = 3;
    return settings;
}

std::vector<QMessageBox*> VisibleMessageBoxes(const QString& caption)
{
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible() && box->windowTitle() == caption)
            boxes.push_back(box);
    }
    return boxes;
}

void CloseMessageBoxes(const QString& caption)
{
    for (QMessageBox* box : VisibleMessageBoxes(caption))
        box->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Answers the next modal message box with `answer` once it is open, and
// notes what it asked.
struct TAnswer {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

void AnswerNextBox(QMessageBox::StandardButton answer, TAnswer& asked)
{
    QTimer::singleShot(0, [answer, &asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        asked = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(answer)->click();
    });
}

// Doubles reset before the form exists: the form talks to them when made.
struct TDoubles {
    TDoubles()
    {
        fake::ResetApplication();
        fake::ResetCursorAndScreen();
        fake::ResetForeground();
        fake::ResetIcons();
        fake::ResetMessageWindows();
        fake::ResetPointerActivity();
        fake::ResetPopupMenus();
        fake::ResetProcess();
        fake::ResetProfiles();
        fake::ResetShell();
        fake::ResetSystem();
        fake::ResetWindows();
        fake::SetScreenSize(Width, Height);
        fake::SetCursor(400, 300);
        platform::SetApplicationWindowText(Title);
        Settings = TestSettings();
        AnimationFrame = 1;
    }
};

class HiddenForm : public ::testing::Test {
protected:
    ~HiddenForm() override { CloseMessageBoxes("Application Error"); }

    // Moves the cursor through `event`'s positions, one detection tick each.
    void MakePattern(int event)
    {
        for (const auto& [x, y] : PatternPositions(event)) {
            fake::SetCursor(x, y);
            Fire(form->Timer2);
        }
        // Back to the middle, where the next pattern starts from rest.
        fake::SetCursor(400, 300);
        for (int tick = 0; tick < 10; ++tick)
            Fire(form->Timer2);
    }

    std::vector<std::string> StartedCommands() const
    {
        std::vector<std::string> commands;
        for (const auto& creation : fake::ProcessCreations())
            commands.push_back(creation.commandLine);
        return commands;
    }

    QAction* MenuEntry(const QString& text) const
    {
        for (QAction* action : form->PopupMenu1.actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    TDoubles doubles;
    std::unique_ptr<THiddenForm> form = std::make_unique<THiddenForm>();
};

TEST_F(HiddenForm, StaysOffScreenWithTheTimersAsDesigned)
{
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->x(), -5000);
    EXPECT_EQ(form->Timer1.interval(), 100);
    EXPECT_TRUE(form->Timer1.isActive());
    EXPECT_EQ(form->Timer2.interval(), 50);
    EXPECT_FALSE(form->Timer2.isActive()) << "start-up enables detection";
    EXPECT_FALSE(form->ExecFile1.Associate);
    EXPECT_FALSE(form->ExecFile1.Wait);
}

TEST_F(HiddenForm, TheIconIsAddedThenShowsFrameOneWithTheTitleAsToolTip)
{
    const auto& requests = fake::ShellRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].message, NotifyIconMessage::Add);
    EXPECT_EQ(requests[0].data.hIcon, 0u) << "the stored image is read in without an update";
    EXPECT_STREQ(requests[0].data.szTip.data(), "");
    EXPECT_EQ(requests[1].message, NotifyIconMessage::Modify);
    EXPECT_EQ(requests[1].data.hIcon, fake::IconHandleOf("ICON_1"));
    EXPECT_STREQ(requests[1].data.szTip.data(), Title);
}

TEST_F(HiddenForm, EachPatternStartsItsOwnCommand)
{
    for (int event = 1; event <= EventCount; ++event) {
        MakePattern(event);
        ASSERT_EQ(fake::ProcessCreations().size(), std::size_t(event)) << "pattern " << event;
        EXPECT_EQ(StartedCommands().back(), "ev" + std::to_string(event) + " ");
    }
}

TEST_F(HiddenForm, SwitchedOffPatternsStartNothingButAreConsumed)
{
    Settings.DetectEvent3 = false;
    MakePattern(3);
    EXPECT_TRUE(StartedCommands().empty());
    MakePattern(1);
    EXPECT_EQ(StartedCommands(), std::vector<std::string>{"ev1 "});

    Settings.DetectMouseMoveMents = false;
    for (int event = 1; event <= EventCount; ++event)
        MakePattern(event);
    // Switching back on does not replay what was made meanwhile.
    Settings.DetectMouseMoveMents = true;
    Fire(form->Timer2);
    EXPECT_EQ(StartedCommands(), std::vector<std::string>{"ev1 "});
}

TEST_F(HiddenForm, OnlyAnExactQuestionMarkRequestsTheChooser)
{
    QSignalSpy chooser(form.get(), &THiddenForm::ChooserRequested);
    Settings.Event1 = "?";
    Settings.Event2 = " ?";
    fake::QueueProcessCreationFailure(2);
    MakePattern(1);
    EXPECT_EQ(chooser.count(), 1);
    EXPECT_TRUE(StartedCommands().empty());

    MakePattern(2);
    EXPECT_EQ(chooser.count(), 1);
    EXPECT_EQ(StartedCommands(), std::vector<std::string>{" ? "});
    const auto boxes = VisibleMessageBoxes("Application Error");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text(), "Unable to find:  ?");
}

TEST_F(HiddenForm, AnEmptyCommandDoesNothingAtAll)
{
    Settings.Event4.clear();
    MakePattern(4);
    EXPECT_TRUE(StartedCommands().empty());
    EXPECT_TRUE(VisibleMessageBoxes("Application Error").empty());
}

// The box must not wait for the user: a nested loop inside the tick would
// stop the detection timer from ticking again until it closed.
TEST_F(HiddenForm, AFailedStartIsReportedWithoutStoppingDetection)
{
    const std::string longCommand = "no-such-program " + std::string(284, 'x');
    Settings.Event1 = longCommand;
    fake::QueueProcessCreationFailure(2);
    fake::QueueProcessCreationFailure(2);
    // A box that waited for the user would hang the tick; this closes it.
    QTimer::singleShot(2000, form.get(), [] { CloseMessageBoxes("Application Error"); });
    MakePattern(1);

    auto boxes = VisibleMessageBoxes("Application Error");
    ASSERT_EQ(boxes.size(), 1u) << "the tick returned with the box open";
    EXPECT_EQ(boxes[0]->text().toStdString(), "Unable to find: " + longCommand) << "the whole command";
    EXPECT_EQ(boxes[0]->icon(), QMessageBox::Warning);
    EXPECT_EQ(boxes[0]->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(boxes[0]->isModal());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy cursor is gone while the box is open";
    EXPECT_EQ(StartedCommands().front(), longCommand.substr(0, 255)) << "the launcher gets the first 255";

    // While it is open, patterns go on: one starts, one fails over it.
    MakePattern(2);
    MakePattern(1);
    EXPECT_EQ(StartedCommands().size(), 3u);
    EXPECT_EQ(StartedCommands()[1], "ev2 ");
    EXPECT_EQ(VisibleMessageBoxes("Application Error").size(), 2u);

    CloseMessageBoxes("Application Error");
    EXPECT_TRUE(VisibleMessageBoxes("Application Error").empty());
}

TEST_F(HiddenForm, TheMenuHasItsSixEntriesInOrder)
{
    QStringList entries;
    for (const QAction* action : form->PopupMenu1.actions()) {
        if (action->isSeparator()) {
            EXPECT_EQ(action->text(), "") << "a separator is drawn with its text";
        }
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(entries, QStringList({"&General Options", "&Sensitivity Options", "&Application Options",
                                    "&Pause Detection", "-", "&Exit Quorzane!"}));
    for (const QAction* action : form->PopupMenu1.actions())
        EXPECT_EQ(action->isCheckable(), action->text() == "&Pause Detection") << action->text().toStdString();
}

// The pause entry is the master switch: ticked while detection is off,
// flipped and saved by the user's choice, following the dialog's OK.
TEST_F(HiddenForm, ThePauseEntryFlipsTheMasterSwitchAndSavesIt)
{
    QSignalSpy switched(form.get(), &THiddenForm::DetectionSwitched);
    QAction* pause = MenuEntry("&Pause Detection");
    EXPECT_FALSE(pause->isChecked()) << "detection on at the start";
    for (const bool on : {false, true, false}) {
        fake::ResetProfiles();
        pause->trigger();
        EXPECT_EQ(Settings.DetectMouseMoveMents, on);
        EXPECT_EQ(pause->isChecked(), !on);
        const std::string file = fake::ProfileFileText(SettingsFileName).value_or("");
        EXPECT_NE(file.find(on ? "DetectMouseMoveMents=1" : "DetectMouseMoveMents=0"), std::string::npos) << file;
        EXPECT_NE(file.find("EVENT8=ev8"), std::string::npos) << "the whole record, as OK saves it";
    }
    EXPECT_EQ(switched.count(), 3);

    // A paused pattern starts nothing.
    MakePattern(1);
    EXPECT_TRUE(StartedCommands().empty());

    // The dialog's OK switched it back on: the entry follows, and only the
    // user's choice flips and saves.
    fake::ResetProfiles();
    Settings.DetectMouseMoveMents = true;
    form->SettingsChanged();
    EXPECT_FALSE(pause->isChecked());
    EXPECT_EQ(switched.count(), 3);
    EXPECT_TRUE(fake::ProfileWrites().empty());

    // Made while detection is off, the entry starts ticked.
    Settings.DetectMouseMoveMents = false;
    form = std::make_unique<THiddenForm>();
    EXPECT_TRUE(MenuEntry("&Pause Detection")->isChecked());
}

TEST_F(HiddenForm, ThePauseEntryReportsASaveErrorAsOkDoes)
{
    fake::FailProfileWritesAfter(0);
    TAnswer asked;
    AnswerNextBox(QMessageBox::Ok, asked);
    MenuEntry("&Pause Detection")->trigger();
    EXPECT_EQ(asked.caption, Title);
    EXPECT_EQ(asked.text, "Unable to write to QRVN.INI.");
    EXPECT_EQ(asked.icon, QMessageBox::Critical);
    EXPECT_FALSE(Settings.DetectMouseMoveMents) << "the record keeps the switch";
    EXPECT_TRUE(MenuEntry("&Pause Detection")->isChecked());
    fake::FailProfileWritesAfter(-1);
}

TEST_F(HiddenForm, OptionEntriesAndTheIconClickAskForTheirPage)
{
    QSignalSpy options(form.get(), &THiddenForm::OptionsRequested);
    MenuEntry("&General Options")->trigger();
    MenuEntry("&Sensitivity Options")->trigger();
    MenuEntry("&Application Options")->trigger();
    const platform::WindowHandle trayWindow = fake::ShellRequests().front().data.hWnd;
    fake::SendToWindow(trayWindow, TrayCallbackMessage, 0, platform::WmLButtonUp);

    ASSERT_EQ(options.count(), 4);
    EXPECT_EQ(options[0][0].toInt(), PageGeneral);
    EXPECT_EQ(options[1][0].toInt(), PageSensitivity);
    EXPECT_EQ(options[2][0].toInt(), PageApplications);
    EXPECT_EQ(options[3][0].toInt(), PageAsLastShown);
}

TEST_F(HiddenForm, ARightClickOpensThisMenuRightAlignedAtTheCursor)
{
    QSignalSpy options(form.get(), &THiddenForm::OptionsRequested);
    fake::SetWhilePopupOpen([this] { MenuEntry("&Sensitivity Options")->trigger(); });
    fake::SetCursor(790, 590);
    fake::SendToWindow(fake::ShellRequests().front().data.hWnd, TrayCallbackMessage, 0, platform::WmRButtonUp);

    ASSERT_EQ(fake::PopupRequests().size(), 1u);
    const fake::PopupRequest& popup = fake::PopupRequests().front();
    EXPECT_EQ(popup.menu, platform::MenuHandleOf(form->PopupMenu1));
    EXPECT_EQ(popup.flags, platform::TpmRightAlign | platform::TpmRightButton);
    EXPECT_EQ(std::make_pair(popup.x, popup.y), std::make_pair(790, 590));
    ASSERT_EQ(options.count(), 1);
    EXPECT_EQ(options[0][0].toInt(), PageSensitivity);
}

TEST_F(HiddenForm, ExitAsksFirstAndOnlyYesEndsTheProgram)
{
    TAnswer asked;
    AnswerNextBox(QMessageBox::No, asked);
    MenuEntry("&Exit Quorzane!")->trigger();
    EXPECT_EQ(asked.caption, "Exit");
    EXPECT_EQ(asked.text, "Are you sure you want to exit Quorzane?");
    EXPECT_EQ(asked.icon, QMessageBox::Question);
    EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_FALSE(fake::QuitRequested().has_value());
    EXPECT_TRUE(form->Timer1.isActive());

    AnswerNextBox(QMessageBox::Yes, asked);
    MenuEntry("&Exit Quorzane!")->trigger();
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(HiddenForm, GoingAwaySavesTheSettingsThenRemovesTheIcon)
{
    Settings.SensitivityInPixels = 123;
    form.reset();

    const auto text = fake::ProfileFileText(SettingsFileName);
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find("SensitivityInPixels=123"), std::string::npos);
    EXPECT_NE(text->find("TimesInProgram=3"), std::string::npos);
    EXPECT_EQ(fake::ShellRequests().back().message, NotifyIconMessage::Delete);
}

TEST_F(HiddenForm, ASaveErrorIsReportedAndShutdownGoesOn)
{
    fake::FailProfileWritesAfter(0);
    TAnswer asked;
    AnswerNextBox(QMessageBox::Ok, asked);
    form.reset();

    EXPECT_EQ(asked.caption, Title);
    EXPECT_EQ(asked.text, "Unable to write to QRVN.INI.");
    EXPECT_EQ(asked.icon, QMessageBox::Critical);
    EXPECT_EQ(asked.buttons, QMessageBox::Ok);
    EXPECT_EQ(fake::ProfileWrites().size(), 1u) << "nothing more is written after the failure";
    EXPECT_EQ(fake::ShellRequests().back().message, NotifyIconMessage::Delete);
}

TEST_F(HiddenForm, EachAnimationTickShowsTheFrameThenAdvances)
{
    std::vector<platform::IconHandle> shown;
    for (int tick = 0; tick < 15; ++tick) {
        Fire(form->Timer1);
        shown.push_back(fake::ShellRequests().back().data.hIcon);
    }
    for (int tick = 0; tick < 15; ++tick)
        EXPECT_EQ(shown[tick], fake::IconHandleOf("ICON_" + std::to_string(tick % 13 + 1))) << "tick " << tick;

    // Switched off after the tick that showed frame 2: frame 3 from then on.
    Settings.TaskBarAnimation = false;
    for (int tick = 0; tick < 3; ++tick) {
        Fire(form->Timer1);
        EXPECT_EQ(fake::ShellRequests().back().data.hIcon, fake::IconHandleOf("ICON_3"));
    }
    EXPECT_EQ(fake::ShellRequests().back().message, NotifyIconMessage::Modify);
}

} // namespace

namespace {

TEST_F(HiddenForm, DetectionSleepsWhereNothingCanChangeAndWakesOnMotion)
{
    form->Timer2.start();
    Fire(form->Timer2);
    EXPECT_FALSE(form->Timer2.isActive()) << "ten equal samples off the corners";
    ASSERT_TRUE(fake::WatchingPointer());
    EXPECT_EQ(fake::WatchedRest().x, 400);

    fake::SetCursor(0, 0);
    fake::ReportPointerMotion();
    EXPECT_TRUE(form->Timer2.isActive());
    Fire(form->Timer2);
    EXPECT_TRUE(form->Timer2.isActive()) << "the corner's dwell time grows";
    Fire(form->Timer2);
    EXPECT_EQ(StartedCommands(), std::vector<std::string>{"ev5 "});
    EXPECT_FALSE(form->Timer2.isActive()) << "latched in the corner";
    EXPECT_EQ(fake::WatchedRest().x, 0);

    fake::ReportPointerMotion();
    fake::SetPointerActivityAvailable(false);
    Fire(form->Timer2);
    EXPECT_TRUE(form->Timer2.isActive()) << "no way to notice the next motion";
    fake::SetPointerActivityAvailable(true);
    fake::SetCursorReadFails(true);
    Fire(form->Timer2);
    EXPECT_TRUE(form->Timer2.isActive()) << "a cursor that cannot be read";
}

TEST_F(HiddenForm, AStoppedAnimationSleepsAndGoesOnFromItsFrame)
{
    Fire(form->Timer1);
    Settings.TaskBarAnimation = false;
    Fire(form->Timer1);
    EXPECT_EQ(fake::ShellRequests().back().data.hIcon, fake::IconHandleOf("ICON_2"));
    EXPECT_FALSE(form->Timer1.isActive());
    form->SettingsChanged();
    EXPECT_FALSE(form->Timer1.isActive()) << "still off";

    Settings.TaskBarAnimation = true;
    form->SettingsChanged();
    EXPECT_TRUE(form->Timer1.isActive());
    Fire(form->Timer1);
    EXPECT_EQ(fake::ShellRequests().back().data.hIcon, fake::IconHandleOf("ICON_2"));
    Fire(form->Timer1);
    EXPECT_EQ(fake::ShellRequests().back().data.hIcon, fake::IconHandleOf("ICON_3"));
}

TEST_F(HiddenForm, TicksGoOnEverywhereWhenAskedToTickContinuously)
{
    form.reset();
    qputenv("QUORZANE_TICK_CONTINUOUSLY", "1");
    form = std::make_unique<THiddenForm>();
    qunsetenv("QUORZANE_TICK_CONTINUOUSLY");
    Settings.TaskBarAnimation = false;
    form->Timer2.start();
    Fire(form->Timer2);
    Fire(form->Timer1);
    EXPECT_TRUE(form->Timer2.isActive());
    EXPECT_TRUE(form->Timer1.isActive());
    EXPECT_FALSE(fake::WatchingPointer());
}

} // namespace

namespace {

// The rules against unmeant patterns, each with the context it looks at.
struct TGuardCase {
    const char* name;
    void (*turnOn)(TGuardSettings&);
    TPatternContext context;
};

void SetContext(const TPatternContext& context)
{
    fake::SetPointerButtonHeld(context.buttonHeld);
    fake::SetForegroundWindow({context.fullScreen, context.windowClass});
}

// Every context at once: the held button, a full-screen window, a class on
// the list.
constexpr TPatternContext EveryContext{true, true, "gAME"};

void ListPrograms(TGuardSettings& guards) { guards.ListedPrograms = {"Editor", "Game"}; }

TEST_F(HiddenForm, WithTheRulesOffPatternsStartAnywhereAndNothingMoreIsAsked)
{
    ListPrograms(Settings.Guards);
    SetContext(EveryContext);
    for (int event = 1; event <= EventCount; ++event)
        MakePattern(event);
    EXPECT_EQ(StartedCommands().size(), std::size_t(EventCount));
    EXPECT_EQ(fake::ButtonReads(), 0);
    EXPECT_EQ(fake::WindowReads(), 0);
    form->Timer2.start();
    Fire(form->Timer2);
    EXPECT_FALSE(form->Timer2.isActive()) << "a held button does not keep the ticks going";
}

TEST_F(HiddenForm, EachRuleHoldsPatternsBackInItsOwnContextOnly)
{
    const TGuardCase cases[] = {
        {"held button", [](TGuardSettings& guards) { guards.NotWhileButtonHeld = true; }, {true, false, ""}},
        {"full screen", [](TGuardSettings& guards) { guards.NotInFullScreen = true; }, {false, true, ""}},
        {"listed program", [](TGuardSettings& guards) { guards.NotInListedPrograms = true; }, {false, false, "gAME"}},
    };
    for (const TGuardCase& rule : cases) {
        fake::ResetProcess();
        fake::ResetForeground();
        Settings.Guards = {};
        ListPrograms(Settings.Guards);
        rule.turnOn(Settings.Guards);
        SetContext(rule.context);
        for (int event = 1; event <= EventCount; ++event)
            MakePattern(event);
        EXPECT_TRUE(StartedCommands().empty()) << rule.name;
        // The active window is followed only for the rules that look at it.
        EXPECT_EQ(fake::WindowReads() > 0, !rule.context.buttonHeld) << rule.name;

        // Every other context, but not this rule's own.
        TPatternContext others = EveryContext;
        others.buttonHeld = others.buttonHeld && !rule.context.buttonHeld;
        others.fullScreen = others.fullScreen && !rule.context.fullScreen;
        if (!rule.context.windowClass.empty())
            others.windowClass = "Editor2";
        SetContext(others);
        // A release is seen by a tick at rest, as the ticks go on meanwhile.
        Fire(form->Timer2);
        MakePattern(1);
        MakePattern(5);
        EXPECT_EQ(StartedCommands(), (std::vector<std::string>{"ev1 ", "ev5 "})) << rule.name;
    }
}

TEST_F(HiddenForm, WithAButtonHeldTheTicksGoOnAndACornerRestStartsAtTheRelease)
{
    Settings.Guards.NotWhileButtonHeld = true;
    form->Timer2.start();
    fake::SetPointerButtonHeld(true);
    for (int tick = 0; tick < 3; ++tick)
        Fire(form->Timer2);
    EXPECT_TRUE(form->Timer2.isActive()) << "at rest with the button down";
    EXPECT_FALSE(fake::WatchingPointer());

    // One tick of the corner's rest made with the button down, one at the
    // release, where the rest would otherwise be complete.
    fake::SetCursor(0, 0);
    Fire(form->Timer2);
    fake::SetPointerButtonHeld(false);
    Fire(form->Timer2);
    Fire(form->Timer2);
    EXPECT_TRUE(StartedCommands().empty()) << "the rest counts from the release";
    Fire(form->Timer2);
    EXPECT_EQ(StartedCommands(), std::vector<std::string>{"ev5 "});

    // A rest completed with the button down latches the corner; the release
    // there, without any motion, starts a new rest.
    fake::SetCursor(400, 300);
    fake::ReportPointerMotion();
    Fire(form->Timer2);
    fake::SetPointerButtonHeld(true);
    fake::SetCursor(Width - 1, Height - 1);
    for (int tick = 0; tick < 5; ++tick)
        Fire(form->Timer2);
    EXPECT_TRUE(form->Timer2.isActive());
    fake::SetPointerButtonHeld(false);
    for (int tick = 0; tick < 3; ++tick)
        Fire(form->Timer2);
    EXPECT_EQ(StartedCommands(), (std::vector<std::string>{"ev5 ", "ev8 "}));
    EXPECT_FALSE(form->Timer2.isActive()) << "latched again, the ticks pause";
}

} // namespace
