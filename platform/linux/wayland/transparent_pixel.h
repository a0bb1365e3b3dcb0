#pragma once
// One fully transparent ARGB8888 pixel in shared memory, as a buffer that
// any number of one-pixel surfaces may show: the corners draw nothing, but a
// surface with no buffer is not mapped and gets no pointer.

#include "platform/linux/wayland/proxy_owner.h"

#include <string>

namespace platform::wayland {

// Null, with the reason in `whyNot`, when the memory cannot be had.
Owned<wl_buffer> MakeTransparentPixel(wl_shm* shm, std::string& whyNot);

} // namespace platform::wayland
