#include "shell/srcHiddenForm.h"

#include "detection/dispatch.h"
#include "detection/mousedetect.h"
#include "detection/pattern_context.h"
#include "launch/launch_command.h"
#include "platform/application.h"
#include "platform/foreground.h"
#include "platform/icon.h"
#include "platform/pointer_activity.h"
#include "platform/popupmenu_qt.h"
#include "platform/window.h"
#include "settings/global.h"
#include "shell/TrayAnimation.h"
#include "shell/error_report.h"
#include "shell/exit_question.h"
#include "ui_srcHiddenForm.h"

#include <QMessageBox>

#include <cstdlib>
#include <string_view>

int AnimationFrame = FirstAnimationFrame;

namespace {
constexpr int DetectionInterval = 50;   // milliseconds
constexpr int OffScreenLeft = -5000;

bool TickContinuouslyAsked()
{
    const char* value = std::getenv("QUORZANE_TICK_CONTINUOUSLY");
    return value && std::string_view(value) == "1";
}
} // namespace

THiddenForm::THiddenForm(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::THiddenForm>()), TickContinuously(TickContinuouslyAsked())
{
    ui->setupUi(this);
    BuildPopupMenu();
    TrayMenu = {platform::MenuHandleOf(PopupMenu1), TPopupAlignment::paRight};

    // The stored component values, applied in their stored order.
    TrayIcon1.SetActive(true);
    TrayIcon1.Icon().SetHandle(platform::LoadIconA(AnimationIconName(FirstAnimationFrame)));
    TrayIcon1.OnClick = [this](TTrayIcon&) { TrayIcon1Click(); };
    TrayIcon1.PopupMenu = &TrayMenu;

    Timer1.setInterval(AnimationInterval);
    connect(&Timer1, &QTimer::timeout, this, &THiddenForm::Timer1Timer);
    Timer2.setInterval(DetectionInterval);
    connect(&Timer2, &QTimer::timeout, this, &THiddenForm::Timer2Timer);
    SetDetectionIntervalReader([this] { return Timer2.interval(); });
    SetCornerMapReader(
        [this] { return Settings.Guards.EveryMonitorCorners ? &MonitorCorners.Map() : nullptr; });

    ExecFile1.Associate = false;
    ExecFile1.Wait = false;

    FormCreate();
}

THiddenForm::~THiddenForm()
{
    FormDestroy();
    platform::StopWatchingPointer();
    SetDetectionIntervalReader({});
    SetCornerMapReader({});
}

void THiddenForm::BuildPopupMenu()
{
    // The stored caption "-" means a separator, which Qt would otherwise
    // draw with that text beside the line.
    ui->Test21->setText({});
    ui->Test21->setSeparator(true);
    PopupMenu1.addActions({ui->Test11, ui->Sensitivity1, ui->Applications1, ui->Pause1, ui->Test21, ui->Test31});
    ShowDetectionSwitch();
    connect(ui->Test11, &QAction::triggered, this, &THiddenForm::Test11Click);
    connect(ui->Sensitivity1, &QAction::triggered, this, &THiddenForm::Sensitivity1Click);
    connect(ui->Applications1, &QAction::triggered, this, &THiddenForm::Applications1Click);
    // Only the user's choice: the entry also follows the dialog's OK.
    connect(ui->Pause1, &QAction::triggered, this, &THiddenForm::Pause1Click);
    connect(ui->Test31, &QAction::triggered, this, &THiddenForm::Test31Click);
}

// The form is never shown: on X11 even a window far off the screen is a
// mapped window that pagers and task bars may list.
void THiddenForm::FormCreate()
{
    ResetMouseHistory();
    move(OffScreenLeft, y());
    Timer1.start();
    TrayIcon1.SetToolTip(platform::GetApplicationWindowText());
}

void THiddenForm::FormDestroy()
{
    if (EndingWithoutAsking) {
        SaveSettingsWithoutAsking();
        return;
    }
    try {
        SaveSettings();
    } catch (const ESettingsWriteError& error) {
        ShowErrorReport(error);
    }
}

void THiddenForm::EndWithoutAsking()
{
    EndingWithoutAsking = true;
    platform::PostQuitMessage(0);
}

void THiddenForm::Timer1Timer()
{
    platform::TIcon frame;
    frame.SetHandle(platform::LoadIconA(AnimationIconName(AnimationFrame)));
    TrayIcon1.SetIcon(frame);
    AnimationFrame = NextAnimationFrame(AnimationFrame, Settings.TaskBarAnimation);
    // Without the advance every further tick would show this frame again,
    // which the icon keeps showing by itself.
    if (!Settings.TaskBarAnimation && !TickContinuously)
        Timer1.stop();
}

void THiddenForm::SettingsChanged()
{
    ShowDetectionSwitch();
    if (Settings.TaskBarAnimation && !Timer1.isActive())
        Timer1.start();
}

void THiddenForm::Timer2Timer()
{
    TEventNumber event =
        DetectMousePattern(Settings.SensitivityInPixels, Settings.SensitivityInTime, Settings.CornerWaitTime);
    if (ButtonReleasedSinceLastTick()) {
        // What the cursor did with the button down is no pattern, also when
        // it completes at the release; a corner's rest starts afresh here.
        ResetMouseHistory();
        event = NoEvent;
    }
    CarryOut(DispatchEvent(event, Settings, [] { return ReadPatternContext(Settings.Guards); }));
    // A release without motion would go unseen by a paused tick.
    if (!TickContinuously && !ButtonHeldAtLastTick)
        PauseDetectionWhileInert();
}

// Asks for the buttons only while the rule against held buttons is on.
bool THiddenForm::ButtonReleasedSinceLastTick()
{
    const bool wasHeld = ButtonHeldAtLastTick;
    ButtonHeldAtLastTick = Settings.Guards.NotWhileButtonHeld && platform::AnyPointerButtonHeld();
    return wasHeld && !ButtonHeldAtLastTick;
}

// Where no tick can change the recogniser's state until the cursor moves,
// the ticks stop, and the next motion starts them again: the same samples
// matter, and the program stays asleep while the cursor rests.
void THiddenForm::PauseDetectionWhileInert()
{
    platform::Point cursor;
    if (!MouseDetectSettled() || !platform::GetCursorPos(cursor) || !MouseDetectInertAt(cursor))
        return;
    if (platform::WatchPointerRest(cursor, [this] { Timer2.start(); }))
        Timer2.stop();
}

void THiddenForm::CarryOut(const TTickAction& action)
{
    switch (action.kind) {
    case TTickAction::Nothing:
        return;
    case TTickAction::ShowChooser:
        emit ChooserRequested();
        return;
    case TTickAction::Launch:
        if (!LaunchCommand(ExecFile1, *action.command))
            ShowLaunchFailure(*action.command);
        return;
    }
}

void THiddenForm::TrayIcon1Click() { emit OptionsRequested(PageAsLastShown); }
void THiddenForm::Test11Click() { emit OptionsRequested(PageGeneral); }
void THiddenForm::Sensitivity1Click() { emit OptionsRequested(PageSensitivity); }
void THiddenForm::Applications1Click() { emit OptionsRequested(PageApplications); }

void THiddenForm::Test31Click() { AskToExit(); }

// Saved as the options dialog's OK saves, so that the pause outlasts a
// crash; a failure is reported as OK reports it, and the switch stays
// flipped in the record, which governs detection from the next tick.
void THiddenForm::Pause1Click()
{
    Settings.DetectMouseMoveMents = !ui->Pause1->isChecked();
    ShowDetectionSwitch();
    emit DetectionSwitched();
    try {
        SaveSettings();
    } catch (const ESettingsWriteError& error) {
        ShowErrorReport(error);
    }
}

void THiddenForm::ShowDetectionSwitch() { ui->Pause1->setChecked(!Settings.DetectMouseMoveMents); }

void ShowLaunchFailure(const std::string& command)
{
    auto* failure = new QMessageBox(QMessageBox::Warning, QStringLiteral("Application Error"),
                                    QString::fromStdString(LaunchFailureText(command)), QMessageBox::Ok);
    // Owned by Qt from here: the box deletes itself when it is closed.
    failure->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to no window: the tray icon stays alive while it is open.
    failure->setWindowModality(Qt::WindowModal);
    failure->show();
}
