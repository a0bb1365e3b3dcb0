#pragma once
// Icons: the program's icon resources, and the icon object that holds one
// image or none.

#include <cstdint>
#include <string>

namespace platform {

// Identifies a loaded icon image; 0 is none.
using IconHandle = std::uintptr_t;

// The program's icon resource `name` ("ICON_1" to "ICON_13", "MAINICON";
// without regard to case) at the standard icon size, or 0 when the program
// has no icon of that name. Icons are shared: each is loaded once and stays
// valid until the program ends, so callers never free them.
IconHandle LoadIconA(const std::string& name);

// An icon object: one image or none. Copying it copies the image reference;
// the shared images themselves are never freed.
class TIcon {
public:
    IconHandle Handle() const { return handle_; }
    void SetHandle(IconHandle handle) { handle_ = handle; }
    bool Empty() const { return handle_ == 0; }
    // Takes over the image of `source`, or none when it holds none.
    void Assign(const TIcon& source) { handle_ = source.handle_; }

private:
    IconHandle handle_ = 0;
};

} // namespace platform
