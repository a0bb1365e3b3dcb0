// The start-up sequence: settings first, then the forms in their order, then
// detection, then the message loop; the forms go in the reverse order when
// the loop ends, the hidden main form last, saving the settings.

#include "detection/mousedetect.h"
#include "dialogs/HintPauses.h"
#include "dialogs/srcAboutForm.h"
#include "dialogs/srcOptionsForm.h"
#include "launch/srcApplications.h"
#include "platform/application.h"
#include "platform/display.h"
#include "platform/environment.h"
#include "platform/termination.h"
#include "platform/wayland_notice.h"
#include "platform/window.h"
#include "settings/global.h"
#include "settings/startup.h"
#include "shell/command_line.h"
#include "shell/desktop_identity.h"
#include "shell/options_page.h"
#include "shell/srcHiddenForm.h"
#include "shell/tray_absence_notice.h"

#include <QApplication>
#include <QPointer>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

namespace {

constexpr char ApplicationTitle[] = "Quorzane! v1.0";
constexpr int HintHidePause = 5000; // milliseconds
// A panel that starts with the session shows its tray well within this.
constexpr std::chrono::seconds TrayWait{5};

// The program reads the cursor from the X server, so it needs one.
bool ReachDisplay(const platform::TDisplayHold& display)
{
    if (const std::string& reason = display.UnavailableReason(); !reason.empty()) {
        std::fprintf(stderr, "Quorzane needs an X11 display: %s\n", reason.c_str());
        return false;
    }
    return true;
}

// Qt must talk to the X server directly, whatever the desktop prefers, read
// nothing from the command line and draw without shared memory; the session
// manager is the program's own client's to answer, not Qt's. The environment changes only while the
// application object is made: the programs that Quorzane starts keep the
// user's own values.
std::unique_ptr<QApplication> MakeX11Application(char* programName)
{
    static char fallbackName[] = "quorzane";
    static char* arguments[] = {programName ? programName : fallbackName, nullptr};
    static int argumentCount = 1;
    const platform::TEnvironmentOverride x11Platform("QT_QPA_PLATFORM", "xcb");
    const platform::TEnvironmentOverride noQtSessionClient("SESSION_MANAGER", std::nullopt);
    // With shared memory every drawing of the tray icon waits for the
    // server's completion event: two more wake-ups for each animation frame,
    // to save copying a 32 x 32 picture.
    const platform::TEnvironmentOverride noSharedImages("QT_XCB_NO_MITSHM", "1");
    return std::make_unique<QApplication>(argumentCount, arguments);
}

// A request may still come in while the forms are destroyed (a box at the
// end runs a loop of its own): the handlers hold the forms by guarded
// pointers.
platform::TerminationHandlers TerminationHandlersFor(THiddenForm& hiddenForm, TOptionsForm& optionsForm)
{
    return {
        .endWithoutAsking =
            [form = QPointer(&hiddenForm)] {
                if (form)
                    form->EndWithoutAsking();
            },
        .mayEndSession = [form = QPointer(&optionsForm)] { return !form || form->QueryEndSession(); },
        .saveNow = [] { SaveSettingsWithoutAsking(); },
    };
}

// The application window is never on screen; another copy that brings it
// forward gets the options dialog, the one window through which the user
// reaches the program, with or without a tray icon.
void ShowOptionsWhenCalledForward(TOptionsForm& optionsForm)
{
    platform::WhenApplicationWindowCalledForward([form = QPointer(&optionsForm)] {
        if (form)
            form->ShowOnPage(PageAsLastShown);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = HandleProgramArguments(argc, argv, std::cout, std::cerr))
        return *status;
    platform::HoldTerminationRequests();
    std::unique_ptr<QApplication> application;
    {
        const platform::TDisplayHold display;
        if (!ReachDisplay(display))
            return 1;
        application = MakeX11Application(argc > 0 ? argv[0] : nullptr);
    }
    // A tray program lives on when its last dialog closes.
    QApplication::setQuitOnLastWindowClosed(false);
    SetDesktopIdentity();

    StartSettings(QCoreApplication::applicationFilePath().toStdString());
    platform::WatchDisplayLoss([] { SaveSettingsWithoutAsking(); });
    platform::SetApplicationWindowText(ApplicationTitle);

    THiddenForm HiddenForm;
    TOptionsForm OptionsForm(&HiddenForm);
    QObject::connect(&HiddenForm, &THiddenForm::OptionsRequested, &OptionsForm, &TOptionsForm::ShowOnPage);
    TAboutForm AboutForm;
    QObject::connect(&OptionsForm, &TOptionsForm::AboutRequested, &AboutForm, &TAboutForm::exec);
    QObject::connect(&OptionsForm, &TOptionsForm::SettingsStored, &HiddenForm, &THiddenForm::SettingsChanged);
    QObject::connect(&HiddenForm, &THiddenForm::DetectionSwitched, &OptionsForm, &TOptionsForm::FollowDetectionSwitch);
    TApplications Applications(HiddenForm.ExecFile1);
    QObject::connect(&HiddenForm, &THiddenForm::ChooserRequested, &Applications, &TApplications::ShowModeless);
    SetHintHidePause(HintHidePause);
    ShowOptionsWhenCalledForward(OptionsForm);
    platform::NoteWaylandSession();
    NoteMissingTrayAfter(TrayWait, HiddenForm, std::cerr);

    ResetMouseHistory();
    HiddenForm.Timer2.start();
    platform::WatchTerminationRequests(TerminationHandlersFor(HiddenForm, OptionsForm));
    return QApplication::exec();
}
