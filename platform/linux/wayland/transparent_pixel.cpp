#include "platform/linux/wayland/transparent_pixel.h"

#include "platform/linux/process/unique_fd.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::wayland {
namespace {

constexpr int PixelBytes = 4;

struct PoolDestroyer {
    void operator()(wl_shm_pool* pool) const { wl_shm_pool_destroy(pool); }
};

} // namespace

Owned<wl_buffer> MakeTransparentPixel(wl_shm* shm, std::string& whyNot)
{
    // A new file reads as zeros: alpha 0, so nothing to write.
    const UniqueFd memory(memfd_create("quorzane-corner", MFD_CLOEXEC));
    if (!memory || ftruncate(memory.Get(), PixelBytes) != 0) {
        whyNot = std::string("no shared memory for the corner surfaces: ") + std::strerror(errno);
        return nullptr;
    }
    // The buffer keeps the memory; the pool and the file are needed only to
    // make it.
    const std::unique_ptr<wl_shm_pool, PoolDestroyer> pool(wl_shm_create_pool(shm, memory.Get(), PixelBytes));
    return Owned<wl_buffer>(
        wl_shm_pool_create_buffer(pool.get(), 0, 1, 1, PixelBytes, WL_SHM_FORMAT_ARGB8888));
}

} // namespace platform::wayland
