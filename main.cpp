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
#include "platform/termination.h"
#include "platform/wayland_notice.h"
#include "platform/window.h"
#include "settings/startup.h"
#include "shell/command_line.h"
#include "shell/desktop_identity.h"
#include "shell/srcHiddenForm.h"

#include <QApplication>

#include <cstdio>
#include <iostream>
#include <vector>

namespace {

constexpr char ApplicationTitle[] = "Quorzane! v1.0";
constexpr int HintHidePause = 5000; // milliseconds

// The program reads the cursor from the X server, so it needs one.
bool ReachDisplay()
{
    if (const std::string reason = platform::DisplayUnavailableReason(); !reason.empty()) {
        std::fprintf(stderr, "Quorzane needs an X11 display: %s\n", reason.c_str());
        return false;
    }
    return true;
}

// Qt must talk to the X server directly, whatever the desktop prefers. An
// argument rather than the environment keeps that choice from the programs
// that Quorzane starts.
std::vector<char*> ArgumentsForX11(int argc, char* argv[])
{
    static char platformOption[] = "-platform";
    static char platformName[] = "xcb";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), {platformOption, platformName});
    arguments.push_back(nullptr);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = HandleProgramArguments(argc, argv, std::cout, std::cerr))
        return *status;
    platform::HoldTerminationRequests();
    if (!ReachDisplay())
        return 1;
    std::vector<char*> arguments = ArgumentsForX11(argc, argv);
    int argumentCount = static_cast<int>(arguments.size()) - 1;
    QApplication application(argumentCount, arguments.data());
    // A tray program lives on when its last dialog closes.
    QApplication::setQuitOnLastWindowClosed(false);
    SetDesktopIdentity();

    StartSettings(QCoreApplication::applicationFilePath().toStdString());
    platform::SetApplicationWindowText(ApplicationTitle);

    THiddenForm HiddenForm;
    TOptionsForm OptionsForm(&HiddenForm);
    QObject::connect(&HiddenForm, &THiddenForm::OptionsRequested, &OptionsForm, &TOptionsForm::ShowOnPage);
    TAboutForm AboutForm;
    QObject::connect(&OptionsForm, &TOptionsForm::AboutRequested, &AboutForm, &TAboutForm::exec);
    TApplications Applications(HiddenForm.ExecFile1);
    QObject::connect(&HiddenForm, &THiddenForm::ChooserRequested, &Applications, &TApplications::ShowModeless);
    SetHintHidePause(HintHidePause);
    platform::NoteWaylandSession();

    ResetMouseHistory();
    HiddenForm.Timer2.start();
    platform::WatchTerminationRequests([] { platform::PostQuitMessage(0); },
                                       [&OptionsForm] { return OptionsForm.QueryEndSession(); });
    return QApplication::exec();
}
