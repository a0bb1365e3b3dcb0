// The program's icons are the XPM files of its Qt resources
// (":/icons/<name>.xpm"). All of them are loaded at the first request and
// kept until the application object goes: the animation asks for one every
// 100 ms. A handle is the address of a cached image; names with the same
// picture share one.

#include "platform/linux/tray/icon_qt.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <cstddef>

// The resources are a static library; naming their bundle here links it in.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

namespace platform::icons {
namespace {

constexpr std::array<const char*, 14> IconNames = {
    "ICON_1", "ICON_2",  "ICON_3",  "ICON_4",  "ICON_5",  "ICON_6",  "ICON_7",
    "ICON_8", "ICON_9",  "ICON_10", "ICON_11", "ICON_12", "ICON_13", "MAINICON",
};
constexpr int StandardIconSize = 32;

class IconCache final : public QObject {
public:
    explicit IconCache(QObject* parent)
        : QObject(parent)
    {
        InitIconResources();
        std::array<QImage, IconNames.size()> pictures;
        for (std::size_t i = 0; i < IconNames.size(); ++i) {
            pictures[i] = QImage(QStringLiteral(":/icons/%1.xpm").arg(QLatin1StringView(IconNames[i])));
            shown_[i] = i;
            // Frames with the same picture share a handle, so that showing
            // one after the other asks the tray for nothing.
            for (std::size_t earlier = 0; earlier < i; ++earlier) {
                if (pictures[earlier] == pictures[i])
                    shown_[i] = shown_[earlier];
            }
            if (!pictures[i].isNull() && shown_[i] == i)
                icons_[i] = QIcon(QPixmap::fromImage(pictures[i]));
        }
        QPixmap transparent(StandardIconSize, StandardIconSize);
        transparent.fill(Qt::transparent);
        blank_ = QIcon(transparent);
    }

    IconHandle Find(const std::string& name) const
    {
        for (std::size_t i = 0; i < IconNames.size(); ++i) {
            if (QLatin1StringView(IconNames[i]).compare(QLatin1StringView(name.data(), qsizetype(name.size())),
                                                        Qt::CaseInsensitive) == 0)
                return icons_[shown_[i]].isNull() ? 0 : reinterpret_cast<IconHandle>(&icons_[shown_[i]]);
        }
        return 0;
    }

    const QIcon& Image(IconHandle handle) const
    {
        for (const QIcon& icon : icons_) {
            if (handle != 0 && reinterpret_cast<IconHandle>(&icon) == handle)
                return icon;
        }
        return blank_;
    }

private:
    std::array<QIcon, IconNames.size()> icons_;
    // The icon whose picture each name shows.
    std::array<std::size_t, IconNames.size()> shown_{};
    QIcon blank_;
};

// Made on first use, owned by the application object.
const IconCache* Cache()
{
    static QPointer<IconCache> cache;
    if (!cache && qGuiApp)
        cache = new IconCache(qGuiApp);
    return cache.data();
}

} // namespace

QIcon IconImage(IconHandle icon)
{
    const IconCache* cache = Cache();
    return cache ? cache->Image(icon) : QIcon();
}

} // namespace platform::icons

namespace platform {

IconHandle LoadIconA(const std::string& name)
{
    const icons::IconCache* cache = icons::Cache();
    return cache ? cache->Find(name) : 0;
}

} // namespace platform
