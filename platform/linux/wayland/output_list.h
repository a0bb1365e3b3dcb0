#pragma once
// The compositor's outputs, bound as they are announced, each with where its
// top-left corner is in the compositor's space once the compositor has
// described it (by xdg-output where it offers that). `changed` is called
// when an output has been described, when it moved and when one goes.

#include "platform/linux/wayland/proxy_owner.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace platform::wayland {

class OutputList {
public:
    explicit OutputList(std::function<void()> changed);
    ~OutputList();
    OutputList(const OutputList&) = delete;
    OutputList& operator=(const OutputList&) = delete;

    // Binds global `name` when it is an output or xdg-output's manager;
    // false when it is neither.
    bool Offer(wl_registry* registry, std::uint32_t name, std::string_view interface, std::uint32_t version);

    // Forgets the output that was global `name`; false when none was.
    bool Remove(std::uint32_t name);

    // The output that holds the corners (corner_output.h), with its global
    // name, which unlike its address is never used again for another.
    struct Chosen {
        wl_output* output = nullptr;
        std::uint32_t name = 0;
    };
    Chosen CornerOutput() const;

private:
    struct Output;

    void BindXdgOutputManager(wl_registry* registry, std::uint32_t name, std::uint32_t version);

    Owned<zxdg_output_manager_v1> xdgOutputManager_;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::function<void()> changed_;
};

} // namespace platform::wayland
