// A StatusNotifierWatcher with a host registered, on the session bus, for
// the end-to-end tests of the D-Bus tray. It answers commands read from
// standard input, one per line, with one line each on standard output:
//
//   item                    waits (up to 10 s) for an item; "item SERVICE PATH"
//   get PROPERTY            the item's property: a string, the tool tip's
//                           title, or "N*WxH:HASH" for N images, the largest
//                           W x H pixels
//   balloon                 "SUMMARY|BODY" of the last notification asked for
//   icons MS                "N changes, M images": NewIcon signals in MS ms
//                           and the different images read meanwhile
//   activate | context-menu | secondary   calls that method at (10, 10)
//   menu                    the exported menu's entries, "id:label" joined by |;
//                           a checkable entry's label ends in " [x]" or " [ ]"
//   click ID                sends the menu's "clicked" event for entry ID
//
// An error answers "error ..." instead.

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSet>
#include <QSocketNotifier>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString ItemInterface = QStringLiteral("org.kde.StatusNotifierItem");

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    QStringList items() const { return items_; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QString service;
    QString path;

public slots:
    void RegisterStatusNotifierItem(const QString& name)
    {
        // A name or an object path of the caller.
        service = name.startsWith('/') ? message().service() : name;
        path = name.startsWith('/') ? name : QStringLiteral("/StatusNotifierItem");
        items_ << service + path;
        emit StatusNotifierItemRegistered(service + path);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierItemUnregistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    QStringList items_;
};

// The desktop's notification server, which shows an item's balloons.
class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QString last = QStringLiteral("none");

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        last = summary + '|' + body;
        return 1;
    }
};

class Host : public QObject {
    Q_OBJECT

public:
    Host(Watcher& watcher, Notifications& notifications)
        : watcher_(watcher)
        , notifications_(notifications)
    {
    }

    QString Answer(const QStringList& words)
    {
        const QString command = words.value(0);
        if (command == "item")
            return WaitForItem() ? "item " + watcher_.service + " " + watcher_.path : "error no item registered";
        if (watcher_.service.isEmpty())
            return "error no item yet";
        if (command == "get")
            return Property(words.value(1));
        if (command == "icons")
            return CountIcons(words.value(1).toInt());
        if (command == "activate")
            return Call(ItemInterface, "Activate");
        if (command == "context-menu")
            return Call(ItemInterface, "ContextMenu");
        if (command == "secondary")
            return Call(ItemInterface, "SecondaryActivate");
        if (command == "menu")
            return Menu();
        if (command == "click")
            return Click(words.value(1).toInt());
        if (command == "balloon")
            return notifications_.last;
        return "error unknown command " + command;
    }

public slots:
    void IconChanged() { ++iconChanges_; }

private:
    QDBusConnection Bus() const { return QDBusConnection::sessionBus(); }

    bool WaitForItem()
    {
        QElapsedTimer waited;
        waited.start();
        while (watcher_.service.isEmpty() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        if (watcher_.service.isEmpty())
            return false;
        Bus().connect(watcher_.service, watcher_.path, ItemInterface, "NewIcon", this, SLOT(IconChanged()));
        return true;
    }

    QDBusMessage Get(const QString& name)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(watcher_.service, watcher_.path,
                                                          "org.freedesktop.DBus.Properties", "Get");
        get << ItemInterface << name;
        return Bus().call(get);
    }

    static QString ImageText(const QDBusArgument& argument)
    {
        // a(iiay): the largest image.
        int count = 0, bestWidth = 0, bestHeight = 0;
        QByteArray bestPixels;
        argument.beginArray();
        while (!argument.atEnd()) {
            ++count;
            int width = 0, height = 0;
            QByteArray pixels;
            argument.beginStructure();
            argument >> width >> height >> pixels;
            argument.endStructure();
            if (width > bestWidth) {
                bestWidth = width;
                bestHeight = height;
                bestPixels = pixels;
            }
        }
        argument.endArray();
        const QByteArray hash = QCryptographicHash::hash(bestPixels, QCryptographicHash::Md5).toHex().left(8);
        return QStringLiteral("%1*%2x%3:%4").arg(count).arg(bestWidth).arg(bestHeight).arg(QString::fromLatin1(hash));
    }

    static QString ToolTipText(const QDBusArgument& argument)
    {
        // (sa(iiay)ss): icon name, images, title, text.
        QString iconName, title, text;
        argument.beginStructure();
        argument >> iconName;
        ImageText(argument);
        argument >> title >> text;
        argument.endStructure();
        return title;
    }

    QString Property(const QString& name)
    {
        const QDBusMessage reply = Get(name);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return "error " + reply.errorMessage();
        const QVariant value = reply.arguments().value(0).value<QDBusVariant>().variant();
        if (value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>())
            return value.value<QDBusObjectPath>().path();
        if (value.userType() == qMetaTypeId<QDBusArgument>()) {
            const QDBusArgument argument = value.value<QDBusArgument>();
            return name == "ToolTip" ? ToolTipText(argument) : ImageText(argument);
        }
        return value.toString();
    }

    QString CountIcons(int milliseconds)
    {
        iconChanges_ = 0;
        QSet<QString> images;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < milliseconds) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            images << Property("IconPixmap");
        }
        return QStringLiteral("%1 changes, %2 images").arg(iconChanges_).arg(images.size());
    }

    QString Call(const QString& interface, const QString& method)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(watcher_.service, watcher_.path, interface, method);
        call << 10 << 10;
        const QDBusMessage reply = Bus().call(call);
        return reply.type() == QDBusMessage::ReplyMessage ? "ok" : "error " + reply.errorMessage();
    }

    QString MenuPath() { return Property("Menu"); }

    // (ia{sv}av): the entry's id and properties, then its children.
    static void ReadEntries(const QDBusArgument& argument, QStringList& entries, bool top)
    {
        int id = 0;
        QVariantMap properties;
        argument.beginStructure();
        argument >> id >> properties;
        if (!top) {
            QString label = properties.value("type").toString() == "separator"
                                ? QStringLiteral("-")
                                : properties.value("label").toString();
            if (properties.contains("toggle-type"))
                label += properties.value("toggle-state").toInt() == 1 ? " [x]" : " [ ]";
            entries << QStringLiteral("%1:%2").arg(id).arg(label);
        }
        argument.beginArray();
        while (!argument.atEnd()) {
            QDBusVariant child;
            argument >> child;
            ReadEntries(child.variant().value<QDBusArgument>(), entries, false);
        }
        argument.endArray();
        argument.endStructure();
    }

    QString Menu()
    {
        const QString path = MenuPath();
        if (!path.startsWith('/') || path == "/NO_DBUSMENU")
            return "error no menu: " + path;
        QDBusMessage about = QDBusMessage::createMethodCall(watcher_.service, path, "com.canonical.dbusmenu", "AboutToShow");
        about << 0;
        Bus().call(about);
        QDBusMessage call = QDBusMessage::createMethodCall(watcher_.service, path, "com.canonical.dbusmenu", "GetLayout");
        call << 0 << -1 << QStringList{};
        const QDBusMessage reply = Bus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
            return "error " + reply.errorMessage();
        QStringList entries;
        ReadEntries(reply.arguments().at(1).value<QDBusArgument>(), entries, true);
        return entries.join('|');
    }

    QString Click(int id)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(watcher_.service, MenuPath(), "com.canonical.dbusmenu", "Event");
        call << id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        const QDBusMessage reply = Bus().call(call);
        return reply.type() == QDBusMessage::ReplyMessage ? "ok" : "error " + reply.errorMessage();
    }

    Watcher& watcher_;
    Notifications& notifications_;
    int iconChanges_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    Notifications notifications;
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                                QDBusConnection::ExportAllSignals) ||
        !bus.registerObject("/org/freedesktop/Notifications", &notifications, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(WatcherService) || !bus.registerService("org.freedesktop.Notifications") ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierHost-%1").arg(QCoreApplication::applicationPid()))) {
        std::fprintf(stderr, "sni_host: cannot take the watcher's name: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    Host host(watcher, notifications);
    std::cout << "ready" << std::endl;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            QCoreApplication::quit();
            return;
        }
        input.setEnabled(false);
        const QStringList words = QString::fromStdString(line).split(' ', Qt::SkipEmptyParts);
        std::cout << host.Answer(words).toStdString() << std::endl;
        input.setEnabled(true);
    });
    return QCoreApplication::exec();
}

#include "sni_host.moc"
