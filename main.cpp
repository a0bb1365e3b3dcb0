// Until the resident shell exists, the program samples the live cursor every
// 50 ms, feeds the recogniser with the default thresholds and prints each
// event number it reports, one per line.

#include "detection/mousedetect.h"
#include "platform/display.h"
#include "settings/global.h"

#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (const std::string reason = platform::DisplayUnavailableReason(); !reason.empty()) {
        std::fprintf(stderr, "Quorzane needs an X11 display: %s\n", reason.c_str());
        return 1;
    }
    // The cursor is read from the X server, so Qt must talk to it directly.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);

    QTimer detectionTimer;
    detectionTimer.setInterval(DesignedDetectionInterval);
    SetDetectionIntervalReader([&detectionTimer] { return detectionTimer.interval(); });
    QObject::connect(&detectionTimer, &QTimer::timeout, [] {
        const TEventNumber event =
            DetectMousePattern(DefaultSensitivityInPixels, DefaultSensitivityInTime, DefaultCornerWaitTime);
        if (event != NoEvent) {
            std::printf("%d\n", event);
            std::fflush(stdout);
        }
    });
    ResetMouseHistory();
    detectionTimer.start();
    return application.exec();
}
