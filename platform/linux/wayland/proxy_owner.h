#pragma once
// Owners of Wayland client objects. Each kind goes the way its interface and
// bound version ask: a destructor request where there is one, otherwise a
// local destruction; the display connection is closed.

#include <memory>

struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_pointer;
struct wl_region;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace platform::wayland {

void Destroy(wl_buffer* buffer);
void Destroy(wl_callback* callback);
void Destroy(wl_compositor* compositor);
void Destroy(wl_display* display);
void Destroy(wl_output* output);
void Destroy(wl_pointer* pointer);
void Destroy(wl_region* region);
void Destroy(wl_registry* registry);
void Destroy(wl_seat* seat);
void Destroy(wl_shm* shm);
void Destroy(wl_surface* surface);
void Destroy(zwlr_layer_shell_v1* layerShell);
void Destroy(zwlr_layer_surface_v1* layerSurface);
void Destroy(zxdg_output_manager_v1* outputManager);
void Destroy(zxdg_output_v1* output);

struct ProxyDestroyer {
    template <typename Proxy>
    void operator()(Proxy* proxy) const
    {
        Destroy(proxy);
    }
};

template <typename Proxy>
using Owned = std::unique_ptr<Proxy, ProxyDestroyer>;

} // namespace platform::wayland
