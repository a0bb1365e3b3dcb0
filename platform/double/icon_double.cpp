#include "platform/double/icon_double.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {
struct FakeIconState {
    int loads = 0;
};
FakeIconState state;

std::string Upper(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}
} // namespace

IconHandle LoadIconA(const std::string& name)
{
    ++state.loads;
    return fake::IconHandleOf(Upper(name));
}

namespace fake {

IconHandle IconHandleOf(const std::string& name)
{
    if (name == "MAINICON")
        return 0x200;
    for (int frame = 1; frame <= 13; ++frame) {
        if (name == "ICON_" + std::to_string(frame))
            return 0x100 + frame;
    }
    return 0;
}

int IconLoads() { return state.loads; }
void ResetIcons() { state = FakeIconState{}; }

} // namespace fake
} // namespace platform
