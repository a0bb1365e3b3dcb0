// The start-up sequence: settings first, then the forms in their order, then
// detection, then the message loop; the forms go in the reverse order when
// the loop ends, the hidden main form last, saving the settings.

#include "detection/mousedetect.h"
#include "dialogs/srcAboutForm.h"
#include "launch/srcApplications.h"
#include "platform/application.h"
#include "platform/display.h"
#include "platform/termination.h"
#include "platform/window.h"
#include "settings/startup.h"
#include "shell/srcHiddenForm.h"

#include <QApplication>

#include <cstdio>

namespace {

constexpr char ApplicationTitle[] = "Quorzane! v1.0";

// The program reads the cursor from the X server, so it needs one, and Qt
// must talk to it directly.
bool ReachDisplay()
{
    if (const std::string reason = platform::DisplayUnavailableReason(); !reason.empty()) {
        std::fprintf(stderr, "Quorzane needs an X11 display: %s\n", reason.c_str());
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!ReachDisplay())
        return 1;
    QApplication application(argc, argv);
    // A tray program lives on when its last dialog closes.
    QApplication::setQuitOnLastWindowClosed(false);

    StartSettings(QCoreApplication::applicationFilePath().toStdString());
    platform::SetApplicationWindowText(ApplicationTitle);

    THiddenForm HiddenForm;
    TAboutForm AboutForm;
    TApplications Applications(HiddenForm.ExecFile1);
    QObject::connect(&HiddenForm, &THiddenForm::ChooserRequested, &Applications, &TApplications::ShowModeless);

    ResetMouseHistory();
    HiddenForm.Timer2.start();
    platform::WatchTerminationRequests([] { platform::PostQuitMessage(0); });
    return QApplication::exec();
}
