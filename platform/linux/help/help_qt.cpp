// The help engine on Linux: one help viewer per program, made when help is
// first asked for and reused after that. The viewer is a window of its own,
// so the owner window is not needed here.

#include "platform/help.h"

#include "platform/linux/help/help_viewer.h"

#include <QApplication>
#include <QPointer>

namespace platform {
namespace {

help::THelpViewer* Viewer()
{
    static QPointer<help::THelpViewer> viewer;
    if (!viewer) {
        viewer = new help::THelpViewer;
        // Widgets must go before the application object: the viewer goes
        // when the message loop ends.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { delete viewer.data(); });
    }
    return viewer;
}

} // namespace

bool WinHelp(HelpOwner, const std::string& helpFile, std::uint32_t command, std::uint32_t data)
{
    if (command != HelpContext || !qApp)
        return false;
    return Viewer()->ShowTopic(QString::fromStdString(helpFile), data);
}

} // namespace platform
