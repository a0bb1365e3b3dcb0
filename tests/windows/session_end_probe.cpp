// Stands in for the program at the end of a Wine session: it counts its start
// in the settings, watches for the end of the session as the program does,
// and leaves the saving to the session's handlers alone, so that the file
// shows whether they saved before the process was ended.

#include "platform/termination.h"
#include "settings/global.h"

#include "platform/windows/win32.h"

#include <fstream>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    LoadSettings();
    ++Settings.TimesInProgram;
    platform::WatchTerminationRequests({.endWithoutAsking = [] { PostQuitMessage(0); },
                                        .saveNow = [] { SaveSettingsWithoutAsking(); }});
    std::ofstream(argv[1]) << "ready\n";
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
