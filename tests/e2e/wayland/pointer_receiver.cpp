// Stands in for the program on the session bus in the tests of the
// compositor bridges: owns org.quorzane.Quorzane and exports Moved(x, y) at
// /org/quorzane/Quorzane/Pointer, as the program does. Prints "ready" once it
// owns the name, then "moved T X Y SENDER" for each call, T being the
// CLOCK_MONOTONIC time in milliseconds and SENDER the caller's unique name,
// and "window T FULLSCREEN CLASS SENDER" for each ActiveWindow call.
// Runs until it is ended by a signal.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>

#include <cstdio>
#include <ctime>

namespace {

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class Pointer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorzane.Quorzane.Pointer")

public slots:
    void Moved(int x, int y)
    {
        std::printf("moved %.3f %d %d %s\n", Now(), x, y, qPrintable(message().service()));
    }
    void ActiveWindow(bool fullScreen, const QString& windowClass)
    {
        std::printf("window %.3f %d %s %s\n", Now(), fullScreen ? 1 : 0,
                    windowClass.isEmpty() ? "-" : qPrintable(windowClass), qPrintable(message().service()));
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Pointer pointer;
    if (!bus.registerObject(QStringLiteral("/org/quorzane/Quorzane/Pointer"), &pointer,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.quorzane.Quorzane"))) {
        std::fprintf(stderr, "pointer_receiver: cannot own org.quorzane.Quorzane: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    return application.exec();
}

#include "pointer_receiver.moc"
