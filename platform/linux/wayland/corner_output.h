#pragma once
// Which output holds the corner surfaces. Wayland knows no primary output;
// the program's corners are those of the screen whose top-left corner is
// (0, 0), so it is the output at the origin of the compositor's space. When
// none is there (a layout that starts elsewhere), the first one announced.
// Outputs the compositor has not yet described are passed over.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform::wayland {

struct OutputPlace {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool described = false;
};

// `outputs` in the order the compositor announced them; the index of the
// chosen one, none when no output is described.
std::optional<std::size_t> PickCornerOutput(std::span<const OutputPlace> outputs);

} // namespace platform::wayland
