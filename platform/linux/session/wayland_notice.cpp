#include "platform/wayland_notice.h"

#include "platform/linux/tray/tray_presence.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr char Notice[] = "Quorzane sees the mouse pointer only while it is over X11 windows: this is a Wayland "
                          "session. Patterns work wherever the pointer can be read.";

bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool InWaylandSession()
{
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (type && std::strcmp(type, "wayland") == 0) || Set("WAYLAND_DISPLAY");
}

} // namespace

void NoteWaylandSession()
{
    if (!InWaylandSession())
        return;
    std::fprintf(stderr, "%s\n", Notice);
    if (TrayPresence* presence = TrayPresence::Instance())
        presence->RequestBalloon({QStringLiteral("Quorzane on Wayland"), QString::fromUtf8(Notice)});
}

} // namespace platform
