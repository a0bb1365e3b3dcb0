// In a Wayland session: picks the first source of the pointer that the
// desktop offers, says which one is in use, and moves on to the next when
// one fails while the program runs. An X11 session is left as it is.

#include "platform/wayland_notice.h"

#include "platform/linux/tray/tray_presence.h"
#include "platform/linux/wayland/compositor_sources.h"
#include "platform/linux/wayland/pointer_source.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr char Notice[] = "Quorzane sees the mouse pointer only while it is over X11 windows: this is a Wayland "
                          "session. Patterns work wherever the pointer can be read.";
constexpr char CornersOnly[] = "Quorzane sees the mouse pointer only on the four corner pixels of this desktop: "
                               "the corner patterns work, shakes are not available.";

using SourceStart = std::unique_ptr<CompositorPointer> (*)(QString& why);
constexpr std::array<SourceStart, 3> Sources = {StartKWinBridge, StartGnomeBridge, StartCornerSurfaces};

bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

void Say(const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); }

void ShowBalloon(const QString& text)
{
    if (TrayPresence* presence = TrayPresence::Instance())
        presence->RequestBalloon({QStringLiteral("Quorzane on Wayland"), text});
}

// The icon's tool tip says where the pointer comes from, below the title.
void NoteInToolTip(const QString& note)
{
    if (TrayPresence* presence = TrayPresence::Instance())
        presence->SetToolTipNote(note);
}

// Owned by the application object, as is the source in use.
class SourceChoice final : public QObject {
public:
    explicit SourceChoice(QObject* parent) : QObject(parent) {}

    // Tries the sources from `first` on and uses the first that starts.
    void StartFrom(std::size_t first)
    {
        QStringList reasons;
        for (std::size_t index = first; index < Sources.size(); ++index) {
            QString why;
            std::unique_ptr<CompositorPointer> source = Sources[index](why);
            if (!why.isEmpty()) {
                reasons << QStringLiteral("Quorzane: %1.").arg(why);
                Say(reasons.last());
            }
            if (source) {
                Use(std::move(source), index, reasons);
                return;
            }
        }
        UseCompositorPointer(nullptr);
        NoteInToolTip(QStringLiteral("Sees the pointer only over X11 windows"));
        Say(QString::fromLatin1(Notice));
        ShowBalloon((reasons << QString::fromLatin1(Notice)).join(QLatin1Char(' ')));
    }

private:
    void Use(std::unique_ptr<CompositorPointer> source, std::size_t index, QStringList reasons)
    {
        source_ = std::move(source);
        UseCompositorPointer(source_.get());
        connect(source_.get(), &CompositorPointer::Failed, this, [this, index](const QString& reason) {
            Say(QStringLiteral("Quorzane: %1.").arg(reason));
            UseCompositorPointer(nullptr);
            // Not from inside the failing source's own call.
            source_.release()->deleteLater();
            StartFrom(index + 1);
        });
        NoteInToolTip(source_->SeesShakes()
                          ? QStringLiteral("Follows the pointer through %1").arg(source_->Name())
                          : QStringLiteral("Corner patterns only on this desktop"));
        if (source_->SeesShakes()) {
            Say(QStringLiteral("Quorzane follows the mouse pointer through %1.").arg(source_->Name()));
            return;
        }
        Say(QString::fromLatin1(CornersOnly));
        ShowBalloon((reasons << QString::fromLatin1(CornersOnly)).join(QLatin1Char(' ')));
    }

    std::unique_ptr<CompositorPointer> source_;
};

} // namespace

bool InWaylandSession()
{
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (type && std::strcmp(type, "wayland") == 0) || Set("WAYLAND_DISPLAY");
}

void NoteWaylandSession()
{
    if (!InWaylandSession() || !QCoreApplication::instance())
        return;
    (new SourceChoice(QCoreApplication::instance()))->StartFrom(0);
}

} // namespace platform
