// Moves the pointer as a mouse does, through XTest: the server sees device
// motion (raw events included), not a warp. One process makes a whole path,
// since starting a process takes longer than a detection tick.
//
//   pointer_path mousemove X Y | sleep SECONDS | click BUTTON | press BUTTON | release BUTTON ...
//   (pointer_words.h)
//
// A move goes in a few steps a couple of milliseconds apart, from where the
// pointer is to (X, Y), as the several motion events of a real mouse.

#include "pointer_words.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <memory>
#include <span>

namespace {

constexpr int MoveSteps = 4;
constexpr double StepPause = 0.002; // seconds

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

void PointerPosition(Display* display, int& x, int& y)
{
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &buttons);
}

void MoveThrough(Display* display, int x, int y)
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
            pointer_words::Pause(StepPause);
    }
}

void SetButton(Display* display, unsigned int button, bool down)
{
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    XSync(display, False);
}

// The XTest pointer of a display, for the tools' words.
struct XTestPointer {
    Display* display;
    bool MoveTo(int x, int y)
    {
        MoveThrough(display, x, y);
        return true;
    }
    bool Click(int button)
    {
        if (button < 1)
            return false;
        SetButton(display, static_cast<unsigned int>(button), true);
        SetButton(display, static_cast<unsigned int>(button), false);
        return true;
    }
    bool Hold(int button, bool down)
    {
        if (button < 1)
            return false;
        SetButton(display, static_cast<unsigned int>(button), down);
        return true;
    }
};

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
    XTestPointer pointer{display.get()};
    return pointer_words::Run(pointer, std::span<char*>(argv + 1, static_cast<std::size_t>(argc - 1)), "pointer_path");
}
