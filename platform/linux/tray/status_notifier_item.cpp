// The program's own StatusNotifierItem, in place of Qt's, so that an
// animation frame costs the tray little. Each picture is prepared once: as a
// PNG file in a folder of the item's own, which hosts find by IconName in
// IconThemePath and keep in their icon caches, so that a frame sends only a
// name; and as one 32-pixel image for hosts that read images. (Qt's item
// sends each frame as a 32- and a 22-pixel image, and lacks IconThemePath,
// which makes a panel log an error at every frame.) A frame that shows the
// picture already shown sends nothing.
//
// The host shows the item's menu itself, from the menu exported beside the
// item; a host that asks the item for a menu instead gets the right click,
// and the program opens its popup menu as on an XEmbed tray.

#include "platform/linux/tray/dbus_menu_export.h"
#include "platform/linux/tray/desktop_notification.h"
#include "platform/linux/tray/icon_qt.h"
#include "platform/linux/tray/tray_icon_view.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <utility>

namespace platform {

// One picture on the wire: (iiay), ARGB pixels in network byte order.
struct SniImage {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using SniImages = QList<SniImage>;

// (sa(iiay)ss): an icon name, images, a title and a text.
struct SniToolTip {
    QString iconName;
    SniImages images;
    QString title;
    QString text;
};

} // namespace platform

Q_DECLARE_METATYPE(platform::SniImage)
Q_DECLARE_METATYPE(platform::SniToolTip)

QDBusArgument& operator<<(QDBusArgument& argument, const platform::SniImage& image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::SniImage& image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const platform::SniToolTip& tip)
{
    argument.beginStructure();
    argument << tip.iconName << tip.images << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::SniToolTip& tip)
{
    argument.beginStructure();
    argument >> tip.iconName >> tip.images >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

namespace platform {
namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString ItemPath = QStringLiteral("/StatusNotifierItem");
const QString MenuPath = QStringLiteral("/MenuBar");
constexpr int PictureSize = 32;

QImage Picture(IconHandle image)
{
    return icons::IconImage(image).pixmap(PictureSize, PictureSize).toImage().convertToFormat(QImage::Format_ARGB32);
}

SniImages WireImages(const QImage& picture)
{
    SniImage wire{picture.width(), picture.height(), {}};
    wire.pixels.resize(qsizetype(picture.width()) * picture.height() * 4);
    auto* out = reinterpret_cast<quint32*>(wire.pixels.data());
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            *out++ = qToBigEndian(row[x]);
    }
    return {wire};
}

QString FramesFolder()
{
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/quorzane-icons-XXXXXX");
}

// A bus name of its own for each item of the process, as the protocol asks.
QString ItemService(const void* item)
{
    return QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(reinterpret_cast<quintptr>(item));
}

} // namespace

class StatusNotifierItem final : public QObject, public TrayIconView {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(QString IconName READ IconName)
    Q_PROPERTY(QString IconThemePath READ IconThemePath)
    Q_PROPERTY(platform::SniImages IconPixmap READ IconPixmap)
    Q_PROPERTY(QString OverlayIconName READ NoName)
    Q_PROPERTY(platform::SniImages OverlayIconPixmap READ NoImages)
    Q_PROPERTY(QString AttentionIconName READ NoName)
    Q_PROPERTY(platform::SniImages AttentionIconPixmap READ NoImages)
    Q_PROPERTY(QString AttentionMovieName READ NoName)
    Q_PROPERTY(platform::SniToolTip ToolTip READ ToolTip)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)

public:
    StatusNotifierItem(IconHandle image, const QString& tip, TrayActivation activated)
        : service_(ItemService(this))
        , bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, service_))
        , tip_(tip)
        , activated_(std::move(activated))
        , frames_(FramesFolder())
        , menu_(bus_, MenuPath)
        , watcher_(WatcherService, bus_, QDBusServiceWatcher::WatchForRegistration)
    {
        qDBusRegisterMetaType<SniImage>();
        qDBusRegisterMetaType<SniImages>();
        qDBusRegisterMetaType<SniToolTip>();
        SetImage(image);
        bus_.registerObject(ItemPath, this,
                            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals |
                                QDBusConnection::ExportAllProperties);
        bus_.registerService(service_);
        // A panel that restarts brings a new watcher, which knows no items.
        connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierItem::Register);
        Register();
    }

    ~StatusNotifierItem() override
    {
        bus_.unregisterService(service_);
        bus_.unregisterObject(ItemPath);
        QDBusConnection::disconnectFromBus(service_);
    }

    void SetImage(IconHandle image) override
    {
        if (image == image_ && prepared_.contains(image))
            return;
        image_ = image;
        auto prepared = prepared_.find(image);
        if (prepared == prepared_.end())
            prepared = prepared_.insert(image, Prepare(image));
        shown_ = *prepared;
        emit NewIcon();
    }

    void SetToolTip(const QString& tip) override
    {
        tip_ = tip;
        emit NewToolTip();
    }

    void SetMenu(QMenu* menu) override { menu_.SetMenu(menu); }

    void ShowBalloon(const TrayBalloon& balloon) override
    {
        SendDesktopNotification(bus_, balloon.title, balloon.text);
    }

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const { return QCoreApplication::applicationName(); }
    QString Title() const { return QGuiApplication::applicationDisplayName(); }
    QString Status() const { return QStringLiteral("Active"); }
    int WindowId() const { return 0; }
    QString NoName() const { return {}; }
    QString IconName() const { return shown_.name; }
    QString IconThemePath() const { return frames_.path(); }
    SniImages IconPixmap() const { return shown_.pixmap; }
    SniImages NoImages() const { return {}; }
    // A tip of several lines: the first is the title, the rest the body.
    SniToolTip ToolTip() const
    {
        return {{}, {}, tip_.section(QLatin1Char('\n'), 0, 0), tip_.section(QLatin1Char('\n'), 1)};
    }
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const { return QDBusObjectPath(menu_.Path()); }

public slots:
    Q_SCRIPTABLE void Activate(int, int) { activated_(QSystemTrayIcon::Trigger); }
    Q_SCRIPTABLE void SecondaryActivate(int, int) { activated_(QSystemTrayIcon::MiddleClick); }
    Q_SCRIPTABLE void ContextMenu(int, int) { activated_(QSystemTrayIcon::Context); }
    Q_SCRIPTABLE void Scroll(int, const QString&) {}

signals:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString& status);

private:
    struct Frame {
        QString name; // empty when the file could not be written
        SniImages pixmap;
    };

    Frame Prepare(IconHandle image)
    {
        const QImage picture = Picture(image);
        const QString name = QStringLiteral("quorzane-frame-%1").arg(prepared_.size() + 1);
        const bool saved = frames_.isValid() && picture.save(frames_.filePath(name + ".png"), "PNG");
        return {saved ? name : QString(), WireImages(picture)};
    }

    void Register()
    {
        QDBusMessage call = QDBusMessage::createMethodCall(WatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                           WatcherService,
                                                           QStringLiteral("RegisterStatusNotifierItem"));
        call << service_;
        bus_.call(call, QDBus::NoBlock);
    }

    QString service_;
    // A connection of the item's own: its object paths are the protocol's
    // fixed ones, which a second item on one connection could not have.
    QDBusConnection bus_;
    QString tip_;
    TrayActivation activated_;
    QTemporaryDir frames_;
    IconHandle image_ = 0;
    Frame shown_;
    QHash<IconHandle, Frame> prepared_;
    DBusMenuExport menu_;
    QDBusServiceWatcher watcher_;
};

std::unique_ptr<TrayIconView> MakeStatusNotifierItem(IconHandle image, const QString& tip,
                                                     TrayActivation activated)
{
    return std::make_unique<StatusNotifierItem>(image, tip, std::move(activated));
}

} // namespace platform

#include "status_notifier_item.moc"
