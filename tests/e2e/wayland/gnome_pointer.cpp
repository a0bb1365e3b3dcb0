// Moves the pointer of a GNOME Shell session as a mouse does, through Mutter's
// remote desktop input (the compositor's own injection, not a warp). One
// process makes a whole path, since starting one takes longer than a
// detection tick.
//
//   gnome_pointer [--rate EVENTS_PER_SECOND] MS:X,Y[:down|:up] ...
//
// Each point says where the pointer is MS milliseconds after the start, and
// may press or release the left button there; it
// travels in a straight line from one point to the next at the rate given
// (100 motion events a second unless told), and a point at the place of the
// one before is a rest, with no events. Relative motion is all the input
// there is without a screen-cast stream, so the pointer is first pushed into
// the top-left corner and the path is walked from there. Writes one line per
// motion event, "MS X Y" on the monotonic clock (that of moved_log).

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QString RemoteDesktopService = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString SessionInterface = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
constexpr double PinDistance = 100000; // pixels, beyond any screen
constexpr int CallTimeout = 5000;      // milliseconds
constexpr int LeftButton = 0x110;      // BTN_LEFT of linux/input-event-codes.h

enum class Button { Keep, Press, Release };

struct PathPoint {
    double ms = 0;
    int x = 0;
    int y = 0;
    Button button = Button::Keep;
};

std::optional<PathPoint> ParsePoint(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+):(\\d+),(\\d+)(?::(down|up))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString button = match.captured(4);
    return PathPoint{match.captured(1).toDouble(), match.captured(2).toInt(), match.captured(3).toInt(),
                     button.isEmpty() ? Button::Keep : button == QStringLiteral("down") ? Button::Press : Button::Release};
}

double Milliseconds(const timespec& time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Milliseconds(now);
}

void SleepUntil(double ms)
{
    const timespec until{static_cast<time_t>(ms / 1e3), static_cast<long>(std::fmod(ms, 1e3) * 1e6)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// A remote desktop session of Mutter's, stopped when this goes. Mutter takes
// input for a session only from the connection that created it.
class RemoteDesktopSession {
public:
    explicit RemoteDesktopSession(QDBusConnection bus)
        : bus_(std::move(bus))
    {
        const QDBusMessage created = Call(QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                                          RemoteDesktopService, QStringLiteral("CreateSession"), {});
        if (created.type() != QDBusMessage::ReplyMessage)
            return;
        path_ = created.arguments().constFirst().value<QDBusObjectPath>().path();
        started_ = Call(path_, SessionInterface, QStringLiteral("Start"), {}).type() == QDBusMessage::ReplyMessage;
    }
    ~RemoteDesktopSession()
    {
        if (started_)
            Call(path_, SessionInterface, QStringLiteral("Stop"), {});
    }
    RemoteDesktopSession(const RemoteDesktopSession&) = delete;
    RemoteDesktopSession& operator=(const RemoteDesktopSession&) = delete;

    bool Started() const { return started_; }
    QString LastError() const { return lastError_; }

    bool MoveBy(double dx, double dy)
    {
        return Call(path_, SessionInterface, QStringLiteral("NotifyPointerMotionRelative"), {dx, dy}).type() ==
               QDBusMessage::ReplyMessage;
    }

    bool SetLeftButton(bool pressed)
    {
        return Call(path_, SessionInterface, QStringLiteral("NotifyPointerButton"), {LeftButton, pressed}).type() ==
               QDBusMessage::ReplyMessage;
    }

private:
    // Waits for each answer, so that the motion happens when its line says.
    QDBusMessage Call(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(RemoteDesktopService, path, interface, method);
        call.setArguments(arguments);
        QDBusMessage reply = bus_.call(call, QDBus::Block, CallTimeout);
        if (reply.type() != QDBusMessage::ReplyMessage)
            lastError_ = method + QStringLiteral(": ") + reply.errorMessage();
        return reply;
    }

    QDBusConnection bus_;
    QString path_;
    QString lastError_;
    bool started_ = false;
};

// Walks the path: where the pointer is, as this tool has moved it.
class PathWalker {
public:
    PathWalker(RemoteDesktopSession& session, double rate)
        : session_(session)
        , stepMs_(1e3 / rate)
    {
    }

    bool Walk(const std::vector<PathPoint>& points)
    {
        if (!session_.MoveBy(-PinDistance, -PinDistance))
            return false;
        const double start = Now();
        PathPoint from{0, 0, 0};
        for (const PathPoint& to : points) {
            if (!Leg(start, from, to))
                return false;
            if (to.button != Button::Keep) {
                SleepUntil(start + to.ms);
                if (!session_.SetLeftButton(to.button == Button::Press))
                    return false;
            }
            from = to;
        }
        SleepUntil(start + from.ms);
        return true;
    }

private:
    bool Leg(double start, const PathPoint& from, const PathPoint& to)
    {
        if (to.x == from.x && to.y == from.y)
            return true;
        const double duration = std::max(0.0, to.ms - from.ms);
        const int steps = std::max(1, static_cast<int>(std::lround(duration / stepMs_)));
        for (int step = 1; step <= steps; ++step) {
            const double share = static_cast<double>(step) / steps;
            SleepUntil(start + from.ms + duration * share);
            if (!MoveTo(static_cast<int>(std::lround(from.x + (to.x - from.x) * share)),
                        static_cast<int>(std::lround(from.y + (to.y - from.y) * share))))
                return false;
        }
        return true;
    }

    bool MoveTo(int x, int y)
    {
        const double sent = Now();
        if (!session_.MoveBy(x - x_, y - y_))
            return false;
        x_ = x;
        y_ = y;
        std::printf("%.1f %d %d\n", sent, x, y);
        return true;
    }

    RemoteDesktopSession& session_;
    const double stepMs_;
    int x_ = 0;
    int y_ = 0;
};

int Usage()
{
    std::fprintf(stderr, "usage: gnome_pointer [--rate EVENTS_PER_SECOND] MS:X,Y[:down|:up] ...\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    double rate = 100;
    if (arguments.size() >= 2 && arguments.constFirst() == QStringLiteral("--rate")) {
        rate = arguments.at(1).toDouble();
        arguments = arguments.mid(2);
    }
    std::vector<PathPoint> points;
    for (const QString& argument : arguments) {
        const std::optional<PathPoint> point = ParsePoint(argument);
        if (!point || (!points.empty() && point->ms < points.back().ms))
            return Usage();
        points.push_back(*point);
    }
    if (points.empty() || rate <= 0)
        return Usage();

    RemoteDesktopSession session(QDBusConnection::sessionBus());
    PathWalker walker(session, rate);
    if (!session.Started() || !walker.Walk(points)) {
        std::fprintf(stderr, "gnome_pointer: %s\n", qPrintable(session.LastError()));
        return 1;
    }
    std::fflush(stdout);
    return 0;
}
