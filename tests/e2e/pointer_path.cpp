// Moves the pointer as a mouse does, through XTest: the server sees device
// motion (raw events included), not a warp. One process makes a whole path,
// since starting a process takes longer than a detection tick.
//
//   pointer_path mousemove X Y | sleep SECONDS | click BUTTON ...
//
// A move goes in a few steps a couple of milliseconds apart, from where the
// pointer is to (X, Y), as the several motion events of a real mouse.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <span>
#include <string_view>

namespace {

constexpr int MoveSteps = 4;
constexpr double StepPause = 0.002; // seconds

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

void Pause(double seconds)
{
    timespec left{static_cast<time_t>(seconds), static_cast<long>(std::fmod(seconds, 1.0) * 1e9)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

bool ParseInt(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool ParseSeconds(std::string_view text, double& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

void PointerPosition(Display* display, int& x, int& y)
{
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &buttons);
}

void MoveTo(Display* display, int x, int y)
{
    int fromX = 0;
    int fromY = 0;
    PointerPosition(display, fromX, fromY);
    for (int step = 1; step <= MoveSteps; ++step) {
        const int stepX = fromX + (x - fromX) * step / MoveSteps;
        const int stepY = fromY + (y - fromY) * step / MoveSteps;
        XTestFakeMotionEvent(display, -1, stepX, stepY, CurrentTime);
        XSync(display, False);
        if (step < MoveSteps)
            Pause(StepPause);
    }
}

void Click(Display* display, unsigned int button)
{
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

int Usage(std::string_view problem)
{
    std::fprintf(stderr, "pointer_path: %.*s\nusage: pointer_path mousemove X Y | sleep SECONDS | click BUTTON ...\n",
                 static_cast<int>(problem.size()), problem.data());
    return 2;
}

// Runs the commands in order, stopping at the first malformed one.
int Run(Display* display, std::span<char*> words)
{
    for (std::size_t at = 0; at < words.size();) {
        const std::string_view command = words[at];
        const std::size_t left = words.size() - at - 1;
        if (command == "mousemove" && left >= 2) {
            int x = 0;
            int y = 0;
            if (!ParseInt(words[at + 1], x) || !ParseInt(words[at + 2], y))
                return Usage("mousemove wants two whole numbers");
            MoveTo(display, x, y);
            at += 3;
        } else if (command == "sleep" && left >= 1) {
            double seconds = 0;
            if (!ParseSeconds(words[at + 1], seconds))
                return Usage("sleep wants seconds");
            Pause(seconds);
            at += 2;
        } else if (command == "click" && left >= 1) {
            int button = 0;
            if (!ParseInt(words[at + 1], button) || button < 1)
                return Usage("click wants a button number");
            Click(display, static_cast<unsigned int>(button));
            at += 2;
        } else {
            return Usage("unknown or incomplete command");
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fputs("pointer_path: cannot open the display\n", stderr);
        return 1;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display.get(), &event, &error, &major, &minor)) {
        std::fputs("pointer_path: the display has no XTest\n", stderr);
        return 1;
    }
    return Run(display.get(), std::span<char*>(argv + 1, static_cast<std::size_t>(argc - 1)));
}
