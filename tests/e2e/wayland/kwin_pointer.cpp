// Moves KWin's pointer as a device does, through KWin's fake-input protocol
// (KWin must run with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1). One process makes
// a whole path, since starting one takes longer than a report interval.
//
//   kwin_pointer WORD...
//     move X Y       one motion event to (X, Y)
//     glide X Y MS   a straight line from where the last move or glide
//                    ended to (X, Y) in MS milliseconds, one motion event
//                    every 10 ms (100 per second), the last one at (X, Y)
//     wait MS        no motion for MS milliseconds
//     mark NAME      a "mark T NAME" line
//
// Prints "motion T X Y" for each motion event as it is sent, T being the
// CLOCK_MONOTONIC time in milliseconds, so that a test can set its log beside
// what the pointer's observers saw. Positions are KWin's global logical
// coordinates; KWin keeps the pointer on the screens.
//
// KWin 5.27 and later offer absolute motion. With an older fake-input
// version the pointer is first pinned to the top-left corner by a long move
// up and left, and then moved relatively: `move` pins it again, so a glide
// beyond the screen's edge is followed by a move.

#include "fake-input-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace {

constexpr long MotionPeriod = 10;    // milliseconds: 100 motion events per second
constexpr uint32_t AbsoluteSince = 3; // the fake-input version that added absolute motion
constexpr int PinDistance = 100000;   // pixels: farther than any screen

struct DisplayCloser {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryCloser {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
struct FakeInputCloser {
    void operator()(org_kde_kwin_fake_input* input) const { org_kde_kwin_fake_input_destroy(input); }
};

struct FakeInputGlobal {
    std::unique_ptr<org_kde_kwin_fake_input, FakeInputCloser> input;
    uint32_t version = 0;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) != 0)
        return;
    auto* global = static_cast<FakeInputGlobal*>(data);
    global->version = std::min<uint32_t>(version, org_kde_kwin_fake_input_interface.version);
    global->input.reset(static_cast<org_kde_kwin_fake_input*>(
        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, global->version)));
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener RegistryListener = {OnGlobal, OnGlobalRemove};

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Sleeps until `deadline` (CLOCK_MONOTONIC milliseconds), so that a path
// keeps its pace whatever each step costs.
void SleepUntil(double deadline)
{
    const auto whole = static_cast<long long>(deadline);
    timespec until{static_cast<time_t>(whole / 1000),
                   static_cast<long>((whole % 1000) * 1000000 + (deadline - static_cast<double>(whole)) * 1e6)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

class Pointer {
public:
    Pointer(wl_display* display, org_kde_kwin_fake_input* input, bool absolute)
        : display_(display), input_(input), absolute_(absolute)
    {
    }

    void MoveTo(int x, int y)
    {
        if (!absolute_)
            Pin();
        Send(x, y);
    }

    // False when the start is unknown: no move came first.
    bool Glide(int x, int y, long milliseconds)
    {
        if (!placed_)
            return false;
        const int fromX = x_;
        const int fromY = y_;
        const long steps = std::max(1L, milliseconds / MotionPeriod);
        const double start = Now();
        for (long step = 1; step <= steps; ++step) {
            SleepUntil(start + static_cast<double>(step * MotionPeriod));
            Send(static_cast<int>(fromX + (x - fromX) * step / steps), static_cast<int>(fromY + (y - fromY) * step / steps));
        }
        return true;
    }

private:
    void Pin()
    {
        org_kde_kwin_fake_input_pointer_motion(input_, wl_fixed_from_int(-PinDistance), wl_fixed_from_int(-PinDistance));
        x_ = 0;
        y_ = 0;
    }

    // The time is taken before the event goes, so that no observer can see
    // the motion before its time.
    void Send(int x, int y)
    {
        std::printf("motion %.3f %d %d\n", Now(), x, y);
        if (absolute_)
            org_kde_kwin_fake_input_pointer_motion_absolute(input_, wl_fixed_from_int(x), wl_fixed_from_int(y));
        else
            org_kde_kwin_fake_input_pointer_motion(input_, wl_fixed_from_int(x - x_), wl_fixed_from_int(y - y_));
        wl_display_flush(display_);
        x_ = x;
        y_ = y;
        placed_ = true;
    }

    wl_display* display_;
    org_kde_kwin_fake_input* input_;
    bool absolute_;
    int x_ = 0;
    int y_ = 0;
    bool placed_ = false;
};

bool ParseInt(std::string_view text, long& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

int Usage(std::string_view problem)
{
    std::fprintf(stderr,
                 "kwin_pointer: %.*s\nusage: kwin_pointer move X Y | glide X Y MS | wait MS | mark NAME ...\n",
                 static_cast<int>(problem.size()), problem.data());
    return 2;
}

// The words' numbers, or false when a word lacks them.
bool Numbers(std::span<char*> words, std::size_t at, std::span<long> values)
{
    if (words.size() - at - 1 < values.size())
        return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!ParseInt(words[at + 1 + i], values[i]))
            return false;
    }
    return true;
}

// Runs the words in order, stopping at the first malformed one.
int Run(Pointer& pointer, std::span<char*> words)
{
    long values[3] = {};
    for (std::size_t at = 0; at < words.size();) {
        const std::string_view word = words[at];
        if (word == "move" && Numbers(words, at, std::span(values, 2))) {
            pointer.MoveTo(static_cast<int>(values[0]), static_cast<int>(values[1]));
            at += 3;
        } else if (word == "glide" && Numbers(words, at, std::span(values, 3)) && values[2] >= 0) {
            if (!pointer.Glide(static_cast<int>(values[0]), static_cast<int>(values[1]), values[2]))
                return Usage("a glide starts where a move or glide ended");
            at += 4;
        } else if (word == "wait" && Numbers(words, at, std::span(values, 1)) && values[0] >= 0) {
            SleepUntil(Now() + static_cast<double>(values[0]));
            at += 2;
        } else if (word == "mark" && at + 1 < words.size()) {
            std::printf("mark %.3f %s\n", Now(), words[at + 1]);
            at += 2;
        } else {
            return Usage("cannot read the words from \"" + std::string(word) + "\" on");
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
    if (!display) {
        std::fprintf(stderr, "kwin_pointer: no Wayland display (WAYLAND_DISPLAY, XDG_RUNTIME_DIR)\n");
        return 1;
    }
    FakeInputGlobal fakeInput;
    const std::unique_ptr<wl_registry, RegistryCloser> registry(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &RegistryListener, &fakeInput);
    wl_display_roundtrip(display.get());
    if (!fakeInput.input) {
        std::fprintf(stderr, "kwin_pointer: the compositor offers no org_kde_kwin_fake_input "
                             "(KWin needs KWIN_WAYLAND_NO_PERMISSION_CHECKS=1)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput.input.get(), "kwin_pointer", "moves the pointer for tests");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Pointer pointer(display.get(), fakeInput.input.get(), fakeInput.version >= AbsoluteSince);
    const int status = Run(pointer, std::span(argv + 1, static_cast<std::size_t>(argc - 1)));
    // Everything sent is handled before the connection closes.
    if (wl_display_roundtrip(display.get()) < 0) {
        std::fprintf(stderr, "kwin_pointer: the compositor closed the connection\n");
        return 1;
    }
    return status;
}
