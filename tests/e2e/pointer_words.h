#pragma once
// The words of the tests' pointer tools, whatever moves the pointer:
//
//   mousemove X Y | sleep SECONDS | click BUTTON | press BUTTON | release BUTTON ...
//
// press and release only where the device can hold a button. One process
// makes a whole path, since starting a process takes longer than a detection
// tick.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <span>
#include <string_view>

namespace pointer_words {

inline void Pause(double seconds)
{
    timespec left{static_cast<time_t>(seconds), static_cast<long>(std::fmod(seconds, 1.0) * 1e9)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

inline bool ParseInt(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

inline bool ParseSeconds(std::string_view text, double& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

// Says what is wrong and how the tool `name` is used; the exit status.
inline int Usage(std::string_view name, std::string_view problem, std::string_view before = {})
{
    std::fprintf(stderr,
                 "%.*s: %.*s\nusage: %.*s %.*smousemove X Y | sleep SECONDS | click BUTTON | press BUTTON"
                 " | release BUTTON ...\n",
                 static_cast<int>(name.size()), name.data(), static_cast<int>(problem.size()), problem.data(),
                 static_cast<int>(name.size()), name.data(), static_cast<int>(before.size()), before.data());
    return 2;
}

// Runs the words in order against `device`, stopping at the first malformed
// one. The device's MoveTo(x, y), Click(button) and, where it has it,
// Hold(button, down) return false for a place or a button it does not have.
template <typename Device>
int Run(Device& device, std::span<char*> words, std::string_view name, std::string_view before = {})
{
    for (std::size_t at = 0; at < words.size();) {
        const std::string_view command = words[at];
        const std::size_t left = words.size() - at - 1;
        int x = 0;
        int y = 0;
        double seconds = 0;
        if (command == "mousemove" && left >= 2) {
            if (!ParseInt(words[at + 1], x) || !ParseInt(words[at + 2], y) || !device.MoveTo(x, y))
                return Usage(name, "mousemove wants a pixel of the screen", before);
            at += 3;
        } else if (command == "sleep" && left >= 1) {
            if (!ParseSeconds(words[at + 1], seconds))
                return Usage(name, "sleep wants seconds", before);
            Pause(seconds);
            at += 2;
        } else if (command == "click" && left >= 1) {
            if (!ParseInt(words[at + 1], x) || !device.Click(x))
                return Usage(name, "click wants a button number", before);
            at += 2;
        } else if ((command == "press" || command == "release") && left >= 1) {
            if constexpr (requires { device.Hold(x, true); }) {
                if (!ParseInt(words[at + 1], x) || !device.Hold(x, command == "press"))
                    return Usage(name, "press and release want a button number", before);
            } else {
                return Usage(name, "this device cannot hold a button", before);
            }
            at += 2;
        } else {
            return Usage(name, "unknown or incomplete command", before);
        }
    }
    return 0;
}

} // namespace pointer_words
