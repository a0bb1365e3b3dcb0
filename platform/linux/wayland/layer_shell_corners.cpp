#include "platform/linux/wayland/layer_shell_corners.h"

#include "platform/linux/wayland/corner_surface.h"
#include "platform/linux/wayland/output_list.h"
#include "platform/linux/wayland/seat_pointers.h"
#include "platform/linux/wayland/transparent_pixel.h"
#include "platform/linux/wayland/wayland_connection.h"

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <QCoreApplication>

#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::wayland {
namespace {

// Version 3 brings the layer shell's destructor; nothing newer is used.
constexpr std::uint32_t LayerShellVersion = 3;

constexpr std::array<Corner, 4> AllCorners = {Corner::UpperLeft, Corner::LowerLeft, Corner::UpperRight,
                                              Corner::LowerRight};

} // namespace

class LayerShellCorners::Watch {
public:
    Watch(Callbacks callbacks, std::unique_ptr<WaylandConnection> connection)
        : callbacks_(std::move(callbacks))
        , connection_(std::move(connection))
        , outputs_([this] { PlaceCorners(); })
        , pointers_({.entered = [this](wl_surface* surface) { PointerEntered(surface); },
                     .left = [this] { PointerLeft(); }})
    {
    }

    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    bool Begin(std::string& whyNot)
    {
        wl_display* const display = connection_->Display();
        static constexpr wl_registry_listener RegistryListener = {
            .global = OnGlobal,
            .global_remove = OnGlobalRemove,
        };
        registry_.reset(wl_display_get_registry(display));
        wl_registry_add_listener(registry_.get(), &RegistryListener, this);
        if (wl_display_roundtrip(display) < 0) {
            whyNot = "the Wayland display ended the connection at once";
            return false;
        }
        if (!HasGlobals(whyNot))
            return false;
        pixel_ = MakeTransparentPixel(shm_.get(), whyNot);
        if (!pixel_)
            return false;
        connection_->Serve([this](const std::string& reason) { ConnectionLost(reason); });
        PlaceCorners();
        connection_->Flush();
        return true;
    }

private:
    bool HasGlobals(std::string& whyNot) const
    {
        if (!layerShell_)
            whyNot = "the compositor offers no wlr-layer-shell";
        else if (!compositor_ || !shm_)
            whyNot = "the compositor offers no wl_compositor or no wl_shm";
        return layerShell_ && compositor_ && shm_;
    }

    static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t version)
    {
        static_cast<Watch*>(data)->Bind(registry, name, interface, version);
    }

    static void OnGlobalRemove(void* data, wl_registry*, std::uint32_t name)
    {
        auto& watch = *static_cast<Watch*>(data);
        if (!watch.outputs_.Remove(name))
            watch.pointers_.Remove(name);
    }

    template <typename Proxy>
    static void BindOnce(Owned<Proxy>& owner, wl_registry* registry, std::uint32_t name, const wl_interface& interface,
                         std::uint32_t version)
    {
        if (!owner)
            owner.reset(static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, version)));
    }

    void Bind(wl_registry* registry, std::uint32_t name, std::string_view interface, std::uint32_t version)
    {
        if (interface == wl_compositor_interface.name)
            BindOnce(compositor_, registry, name, wl_compositor_interface, 1);
        else if (interface == wl_shm_interface.name)
            BindOnce(shm_, registry, name, wl_shm_interface, 1);
        else if (interface == zwlr_layer_shell_v1_interface.name)
            BindOnce(layerShell_, registry, name, zwlr_layer_shell_v1_interface,
                     std::min(version, LayerShellVersion));
        else if (!outputs_.Offer(registry, name, interface, version))
            pointers_.Offer(registry, name, interface, version);
    }

    // Called whenever the outputs change: the corners move when another
    // output is now the one to hold them. Those on an output that stays
    // follow it wherever it moves, being anchored to it.
    void PlaceCorners()
    {
        if (!pixel_ || connection_->IsLost())
            return;
        const OutputList::Chosen chosen = outputs_.CornerOutput();
        if (chosen.name == cornerOutput_ && !corners_.empty())
            return;
        RemoveCorners();
        if (!chosen.output)
            return;
        cornerOutput_ = chosen.name;
        const CornerParts parts{compositor_.get(), layerShell_.get(), pixel_.get()};
        for (const Corner corner : AllCorners)
            corners_.push_back(std::make_unique<CornerSurface>(
                parts, chosen.output, corner, [this] { CornerShown(); }, [this] { RemoveCorners(); }));
    }

    // Also when the compositor closes a corner: they come back with the
    // next change of the outputs, since a closed corner's output is most
    // likely on its way out.
    void RemoveCorners()
    {
        PointerLeft();
        corners_.clear();
        placedCheck_.reset();
        cornerOutput_ = 0;
    }

    // Once the compositor has the four pixels, a round trip tells when it
    // has taken them: from then on they take the pointer.
    void CornerShown()
    {
        const bool allShown = std::all_of(corners_.begin(), corners_.end(),
                                          [](const std::unique_ptr<CornerSurface>& corner) { return corner->Shown(); });
        if (!allShown || !callbacks_.placed)
            return;
        static constexpr wl_callback_listener Listener = {
            .done = [](void* data, wl_callback*, std::uint32_t) { static_cast<Watch*>(data)->Placed(); },
        };
        placedCheck_.reset(wl_display_sync(connection_->Display()));
        wl_callback_add_listener(placedCheck_.get(), &Listener, this);
    }

    void Placed()
    {
        placedCheck_.reset();
        Post([this] { Call(callbacks_.placed); });
    }

    void PointerEntered(wl_surface* surface)
    {
        const auto corner = std::find_if(corners_.begin(), corners_.end(),
                                         [surface](const std::unique_ptr<CornerSurface>& c) { return c->Is(surface); });
        if (corner == corners_.end())
            return;
        const int number = static_cast<int>((*corner)->Which());
        inside_ = true;
        Post([this, number] { Call(callbacks_.entered, number); });
    }

    void PointerLeft()
    {
        if (std::exchange(inside_, false))
            Post([this] { Call(callbacks_.left); });
    }

    void ConnectionLost(const std::string& reason)
    {
        RemoveCorners();
        Post([this, reason] { Call(callbacks_.lost, reason); });
    }

    // Callbacks run from the event loop, on a copy, so that the owner may
    // destroy the watch from any of them; those still queued then lapse.
    void Post(std::function<void()> call)
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive = std::weak_ptr<const bool>(alive_), call = std::move(call)] {
                if (!alive.expired())
                    call();
            },
            Qt::QueuedConnection);
    }

    template <typename Callback, typename... Arguments>
    static void Call(const Callback& callback, const Arguments&... arguments)
    {
        if (const Callback copy = callback)
            copy(arguments...);
    }

    const std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    const Callbacks callbacks_;
    // Destroyed in reverse order: every object before the connection.
    std::unique_ptr<WaylandConnection> connection_;
    Owned<wl_registry> registry_;
    Owned<wl_compositor> compositor_;
    Owned<wl_shm> shm_;
    Owned<zwlr_layer_shell_v1> layerShell_;
    Owned<wl_buffer> pixel_;
    OutputList outputs_;
    SeatPointers pointers_;
    std::uint32_t cornerOutput_ = 0;
    std::vector<std::unique_ptr<CornerSurface>> corners_;
    Owned<wl_callback> placedCheck_;
    bool inside_ = false;
};

std::unique_ptr<LayerShellCorners> LayerShellCorners::Start(Callbacks callbacks, std::string& whyNot)
{
    if (!QCoreApplication::instance()) {
        whyNot = "no application object serves the events";
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::Open(whyNot);
    if (!connection)
        return nullptr;
    auto watch = std::make_unique<Watch>(std::move(callbacks), std::move(connection));
    if (!watch->Begin(whyNot))
        return nullptr;
    return std::unique_ptr<LayerShellCorners>(new LayerShellCorners(std::move(watch)));
}

LayerShellCorners::LayerShellCorners(std::unique_ptr<Watch> watch)
    : watch_(std::move(watch))
{
}

LayerShellCorners::~LayerShellCorners() = default;

} // namespace platform::wayland
