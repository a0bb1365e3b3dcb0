#include "platform/linux/wayland/output_list.h"

#include "platform/linux/wayland/corner_output.h"

#include "xdg-output-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <utility>

namespace platform::wayland {
namespace {

// Version 2 brings `done`, which closes each description; 3 brings release.
constexpr std::uint32_t OutputVersion = 3;
// From version 3 on, wl_output's `done` closes xdg-output's descriptions too.
constexpr std::uint32_t XdgOutputVersion = 3;

bool SamePlace(const OutputPlace& a, const OutputPlace& b)
{
    return a.x == b.x && a.y == b.y && a.described == b.described;
}

} // namespace

// Where an output is comes from xdg-output where the compositor offers it:
// wlroots says 0, 0 in every wl_output's geometry.
struct OutputList::Output {
    OutputList* list = nullptr;
    std::uint32_t name = 0;
    Owned<wl_output> proxy;
    Owned<zxdg_output_v1> xdgOutput;
    bool positionKnown = false;
    OutputPlace pending;
    OutputPlace current;

    void Describe()
    {
        if (xdgOutput && !positionKnown)
            return;
        OutputPlace now = pending;
        now.described = true;
        if (SamePlace(now, current))
            return;
        current = now;
        list->changed_();
    }

    void FollowXdgOutput(zxdg_output_manager_v1* manager)
    {
        static constexpr zxdg_output_v1_listener Listener = {
            .logical_position = OnLogicalPosition,
            .logical_size = [](void*, zxdg_output_v1*, std::int32_t, std::int32_t) {},
            .done = [](void* data, zxdg_output_v1*) { static_cast<Output*>(data)->Describe(); },
            .name = [](void*, zxdg_output_v1*, const char*) {},
            .description = [](void*, zxdg_output_v1*, const char*) {},
        };
        xdgOutput.reset(zxdg_output_manager_v1_get_xdg_output(manager, proxy.get()));
        zxdg_output_v1_add_listener(xdgOutput.get(), &Listener, this);
    }

    static void OnLogicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y)
    {
        auto& output = *static_cast<Output*>(data);
        output.pending.x = x;
        output.pending.y = y;
        output.positionKnown = true;
    }

    static void OnGeometry(void* data, wl_output* proxy, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                           std::int32_t, const char*, const char*, std::int32_t)
    {
        auto& output = *static_cast<Output*>(data);
        if (!output.xdgOutput) {
            output.pending.x = x;
            output.pending.y = y;
        }
        // A first-version output sends no `done`: its geometry is all there is.
        if (wl_output_get_version(proxy) < WL_OUTPUT_DONE_SINCE_VERSION)
            output.Describe();
    }

    static constexpr wl_output_listener Listener = {
        .geometry = OnGeometry,
        .mode = [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
        .done = [](void* data, wl_output*) { static_cast<Output*>(data)->Describe(); },
        .scale = [](void*, wl_output*, std::int32_t) {},
        .name = [](void*, wl_output*, const char*) {},
        .description = [](void*, wl_output*, const char*) {},
    };
};

OutputList::OutputList(std::function<void()> changed)
    : changed_(std::move(changed))
{
}

OutputList::~OutputList() = default;

bool OutputList::Offer(wl_registry* registry, std::uint32_t name, std::string_view interface, std::uint32_t version)
{
    if (interface == zxdg_output_manager_v1_interface.name) {
        BindXdgOutputManager(registry, name, version);
        return true;
    }
    if (interface != wl_output_interface.name)
        return false;
    auto output = std::make_unique<Output>();
    output->list = this;
    output->name = name;
    output->proxy.reset(static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, std::min(version, OutputVersion))));
    wl_output_add_listener(output->proxy.get(), &Output::Listener, output.get());
    if (xdgOutputManager_)
        output->FollowXdgOutput(xdgOutputManager_.get());
    outputs_.push_back(std::move(output));
    return true;
}

void OutputList::BindXdgOutputManager(wl_registry* registry, std::uint32_t name, std::uint32_t version)
{
    if (xdgOutputManager_)
        return;
    xdgOutputManager_.reset(static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
        registry, name, &zxdg_output_manager_v1_interface, std::min(version, XdgOutputVersion))));
    for (const std::unique_ptr<Output>& output : outputs_)
        output->FollowXdgOutput(xdgOutputManager_.get());
}

bool OutputList::Remove(std::uint32_t name)
{
    const auto gone = std::find_if(outputs_.begin(), outputs_.end(),
                                   [name](const std::unique_ptr<Output>& output) { return output->name == name; });
    if (gone == outputs_.end())
        return false;
    outputs_.erase(gone);
    changed_();
    return true;
}

OutputList::Chosen OutputList::CornerOutput() const
{
    std::vector<OutputPlace> places;
    places.reserve(outputs_.size());
    for (const std::unique_ptr<Output>& output : outputs_)
        places.push_back(output->current);
    const std::optional<std::size_t> chosen = PickCornerOutput(places);
    if (!chosen)
        return {};
    const Output& output = *outputs_[*chosen];
    return {output.proxy.get(), output.name};
}

} // namespace platform::wayland
