#include "platform/linux/wayland/corner_output.h"

namespace platform::wayland {

std::optional<std::size_t> PickCornerOutput(std::span<const OutputPlace> outputs)
{
    std::optional<std::size_t> first;
    for (std::size_t at = 0; at < outputs.size(); ++at) {
        const OutputPlace& output = outputs[at];
        if (!output.described)
            continue;
        if (output.x == 0 && output.y == 0)
            return at;
        if (!first)
            first = at;
    }
    return first;
}

} // namespace platform::wayland
