// Stands in for the program on the session bus: owns its name, takes the
// compositor bridge's Moved(x, y) calls and writes one line for each,
//
//   MS X Y SENDER REPLY
//
// MS on the monotonic clock in milliseconds (the clock of gnome_pointer's
// lines), SENDER the caller's unique name, REPLY "reply" when the caller asked
// for an answer and "noreply" when not. ActiveWindow(fullScreen, class) and
// ButtonsHeld(held) calls go to standard error, apart from the positions:
//
//   window FULLSCREEN CLASS SENDER
//   buttons HELD SENDER Says "ready" on standard error once
// the name is its own; runs until killed.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>

#include <cstdio>
#include <ctime>

namespace {

double MonotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class PointerLog final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorzane.Quorzane.Pointer")

public slots:
    Q_NOREPLY void Moved(int x, int y)
    {
        const QDBusMessage& call = message();
        std::printf("%.1f %d %d %s %s\n", MonotonicMilliseconds(), x, y, qPrintable(call.service()),
                    call.isReplyRequired() ? "reply" : "noreply");
        std::fflush(stdout);
    }
    Q_NOREPLY void ActiveWindow(bool fullScreen, const QString& windowClass)
    {
        std::fprintf(stderr, "window %d %s %s\n", fullScreen ? 1 : 0,
                     windowClass.isEmpty() ? "-" : qPrintable(windowClass), qPrintable(message().service()));
    }
    Q_NOREPLY void ButtonsHeld(bool held)
    {
        std::fprintf(stderr, "buttons %d %s\n", held ? 1 : 0, qPrintable(message().service()));
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    PointerLog log;
    if (!bus.registerObject(QStringLiteral("/org/quorzane/Quorzane/Pointer"), &log, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.quorzane.Quorzane"))) {
        std::fprintf(stderr, "moved_log: cannot own org.quorzane.Quorzane: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::fprintf(stderr, "ready\n");
    return QCoreApplication::exec();
}

#include "moved_log.moc"
