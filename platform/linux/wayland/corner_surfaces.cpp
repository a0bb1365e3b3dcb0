// wlroots desktops, and others that offer wlr-layer-shell: the pointer is
// seen only on the four corner pixels, through surfaces there. Elsewhere
// the position reads as the middle of the screen, which no pattern uses.

#include "platform/linux/wayland/compositor_sources.h"

#include "platform/linux/wayland/layer_shell_corners.h"

#include <QTimer>

#include <optional>
#include <string>
#include <utility>

namespace platform {
namespace {

bool SamePoint(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

// The pixel of corner 5 (upper left), 6 (lower left), 7 (upper right) or 8
// (lower right) of the primary screen.
Point CornerPixel(int corner)
{
    const std::int32_t right = GetSystemMetrics(SystemMetric::ScreenWidth) - 1;
    const std::int32_t bottom = GetSystemMetrics(SystemMetric::ScreenHeight) - 1;
    const bool onRight = corner == 7 || corner == 8;
    const bool onBottom = corner == 6 || corner == 8;
    return {onRight ? right : 0, onBottom ? bottom : 0};
}

Point Elsewhere()
{
    return {GetSystemMetrics(SystemMetric::ScreenWidth) / 2, GetSystemMetrics(SystemMetric::ScreenHeight) / 2};
}

class CornerPointer final : public CompositorPointer {
public:
    bool Start(std::string& whyNot)
    {
        wayland::LayerShellCorners::Callbacks callbacks;
        callbacks.entered = [this](int corner) { Seen(corner); };
        callbacks.left = [this] { Seen(std::nullopt); };
        callbacks.lost = [this](const std::string& reason) {
            emit Failed(QStringLiteral("the corner surfaces are gone: %1").arg(QString::fromStdString(reason)));
        };
        corners_ = wayland::LayerShellCorners::Start(std::move(callbacks), whyNot);
        return corners_ != nullptr;
    }

    bool Position(Point& position) const override
    {
        position = corner_ ? CornerPixel(*corner_) : Elsewhere();
        return true;
    }

    void WatchRest(const Point& restingAt, std::function<void()> moved) override
    {
        moved_ = std::move(moved);
        Point now;
        Position(now);
        if (!SamePoint(now, restingAt))
            QTimer::singleShot(0, this, [this] { Fire(); });
    }

    void StopWatching() override { moved_ = nullptr; }
    QString Name() const override { return QStringLiteral("the corner surfaces"); }
    bool SeesShakes() const override { return false; }

private:
    void Seen(std::optional<int> corner)
    {
        corner_ = corner;
        Fire();
    }

    void Fire()
    {
        if (auto moved = std::exchange(moved_, nullptr))
            moved();
    }

    std::unique_ptr<wayland::LayerShellCorners> corners_;
    std::optional<int> corner_;
    std::function<void()> moved_;
};

} // namespace

// A desktop without the layer shell does not offer this source: nothing to
// report then.
std::unique_ptr<CompositorPointer> StartCornerSurfaces(QString&)
{
    auto source = std::make_unique<CornerPointer>();
    std::string whyNot;
    if (!source->Start(whyNot))
        return nullptr;
    return source;
}

} // namespace platform
