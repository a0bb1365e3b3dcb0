// The floor of the resident cost: a bare Xlib program that does nothing but
// query the pointer every 50 ms, as the detection tick must. It runs until it
// is sent SIGTERM or SIGINT.

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) { stopRequested = 1; }

} // namespace

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("pointer_floor: cannot open the display\n", stderr);
        return 1;
    }
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);

    const timespec interval = {0, 50 * 1000 * 1000};
    while (!stopRequested) {
        Window root = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned int buttons = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                      &buttons);
        nanosleep(&interval, nullptr);
    }
    XCloseDisplay(display);
    return 0;
}
