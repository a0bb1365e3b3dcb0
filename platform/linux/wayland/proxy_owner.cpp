#include "platform/linux/wayland/proxy_owner.h"

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <wayland-client.h>

namespace platform::wayland {
namespace {

// Interfaces that gained a destructor request in a later version than the
// one the compositor may have offered.
template <typename Proxy>
bool HasVersion(Proxy* proxy, int version)
{
    return wl_proxy_get_version(reinterpret_cast<wl_proxy*>(proxy)) >= static_cast<unsigned>(version);
}

} // namespace

void Destroy(wl_buffer* buffer) { wl_buffer_destroy(buffer); }
void Destroy(wl_callback* callback) { wl_callback_destroy(callback); }
void Destroy(wl_compositor* compositor) { wl_compositor_destroy(compositor); }
void Destroy(wl_display* display) { wl_display_disconnect(display); }
void Destroy(wl_region* region) { wl_region_destroy(region); }
void Destroy(wl_registry* registry) { wl_registry_destroy(registry); }
void Destroy(wl_shm* shm) { wl_shm_destroy(shm); }
void Destroy(wl_surface* surface) { wl_surface_destroy(surface); }
void Destroy(zwlr_layer_surface_v1* layerSurface) { zwlr_layer_surface_v1_destroy(layerSurface); }
void Destroy(zxdg_output_manager_v1* outputManager) { zxdg_output_manager_v1_destroy(outputManager); }
void Destroy(zxdg_output_v1* output) { zxdg_output_v1_destroy(output); }

void Destroy(wl_output* output)
{
    if (HasVersion(output, WL_OUTPUT_RELEASE_SINCE_VERSION))
        wl_output_release(output);
    else
        wl_output_destroy(output);
}

void Destroy(wl_pointer* pointer)
{
    if (HasVersion(pointer, WL_POINTER_RELEASE_SINCE_VERSION))
        wl_pointer_release(pointer);
    else
        wl_pointer_destroy(pointer);
}

void Destroy(wl_seat* seat)
{
    if (HasVersion(seat, WL_SEAT_RELEASE_SINCE_VERSION))
        wl_seat_release(seat);
    else
        wl_seat_destroy(seat);
}

void Destroy(zwlr_layer_shell_v1* layerShell)
{
    if (HasVersion(layerShell, ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION))
        zwlr_layer_shell_v1_destroy(layerShell);
    else
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell));
}

} // namespace platform::wayland
