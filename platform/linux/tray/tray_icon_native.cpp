// An XEmbed icon that costs one small request per animation frame. Qt's
// tray icon paints each new image on the client and uploads it; here each
// picture is prepared once on the X server, at the size the tray gives the
// icon, and a frame only clears the window to the tray's background and
// copies the prepared picture through its mask, requests that leave nothing
// behind on the client. Qt still delivers the window's mouse events, tool
// tip and exposures: the window paints on screen, without Qt's backing
// store.
//
// The icon docks by the system tray protocol and docks again when a new tray
// manager announces itself.

#include "platform/linux/tray/icon_qt.h"
#include "platform/linux/tray/popup_placement.h"
#include "platform/linux/tray/tray_icon_view.h"
#include "platform/linux/x11/qt_x11.h"
#include "platform/popupmenu.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr int BalloonDuration = 10000; // milliseconds
constexpr int DefaultSide = 22;        // what trays that never resize expect
constexpr long SystemTrayRequestDock = 0;
constexpr unsigned long XEmbedMapped = 1;

// A picture on the server: its colours and the mask of its opaque pixels.
class ServerPicture {
public:
    ServerPicture(Display* display, ::Window window, const QImage& image, int depth, Visual* visual)
        : display_(display)
        , size_(image.size())
    {
        const QImage colours = image.convertToFormat(QImage::Format_RGB32);
        picture_ = XCreatePixmap(display, window, colours.width(), colours.height(), depth);
        XImage* upload = XCreateImage(display, visual, depth, ZPixmap, 0,
                                      reinterpret_cast<char*>(const_cast<uchar*>(colours.constBits())),
                                      colours.width(), colours.height(), 32, int(colours.bytesPerLine()));
        GC gc = XCreateGC(display, picture_, 0, nullptr);
        XPutImage(display, picture_, gc, upload, 0, 0, 0, 0, colours.width(), colours.height());
        XFreeGC(display, gc);
        upload->data = nullptr; // the QImage's
        XDestroyImage(upload);
        mask_ = MaskOf(display, window, image);
    }
    ~ServerPicture()
    {
        XFreePixmap(display_, picture_);
        XFreePixmap(display_, mask_);
    }
    ServerPicture(const ServerPicture&) = delete;
    ServerPicture& operator=(const ServerPicture&) = delete;

    // Through XCB: it is done every frame (see QtConnection).
    void CopyTo(xcb_connection_t* connection, ::Window window, xcb_gcontext_t gc, QPoint at) const
    {
        const std::uint32_t clip[] = {std::uint32_t(at.x()), std::uint32_t(at.y()), std::uint32_t(mask_)};
        xcb_change_gc(connection, gc, XCB_GC_CLIP_ORIGIN_X | XCB_GC_CLIP_ORIGIN_Y | XCB_GC_CLIP_MASK, clip);
        xcb_copy_area(connection, xcb_drawable_t(picture_), xcb_drawable_t(window), gc, 0, 0, std::int16_t(at.x()),
                      std::int16_t(at.y()), std::uint16_t(size_.width()), std::uint16_t(size_.height()));
    }
    QSize Size() const { return size_; }

private:
    static Pixmap MaskOf(Display* display, ::Window window, const QImage& image)
    {
        const QImage alpha = image.convertToFormat(QImage::Format_ARGB32);
        const int rowBytes = (alpha.width() + 7) / 8;
        std::vector<char> bits(std::size_t(rowBytes) * alpha.height(), 0);
        for (int y = 0; y < alpha.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(alpha.constScanLine(y));
            for (int x = 0; x < alpha.width(); ++x) {
                if (qAlpha(row[x]) >= 128)
                    bits[std::size_t(y) * rowBytes + x / 8] |= char(1 << (x % 8));
            }
        }
        return XCreateBitmapFromData(display, window, bits.data(), alpha.width(), alpha.height());
    }

    Display* display_;
    QSize size_;
    Pixmap picture_ = 0;
    Pixmap mask_ = 0;
};

class Balloon final : public QWidget {
public:
    Balloon(const TrayBalloon& balloon, QPoint near, QWidget* icon)
        : QWidget(icon, Qt::ToolTip)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(QStringLiteral("<b>%1</b><br>%2").arg(balloon.title.toHtmlEscaped(),
                                                                          balloon.text.toHtmlEscaped()));
        text->setWordWrap(true);
        text->setMaximumWidth(360);
        layout->addWidget(text);
        adjustSize();
        move(PopupTopLeft(TpmCenterAlign, near, size()));
        QTimer::singleShot(BalloonDuration, this, &QWidget::close);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { close(); }
};

class NativeIcon final : public QWidget, public TrayIconView, public QAbstractNativeEventFilter {
public:
    NativeIcon(Display* display, IconHandle image, const QString& tip, TrayActivation activated)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint)
        , display_(display)
        , connection_(x11::QtConnection())
        , image_(image)
        , activated_(std::move(activated))
        , manager_(XInternAtom(display, "MANAGER", False))
        , selection_(XInternAtom(display, x11::TraySelectionName(display).c_str(), False))
    {
        setAttribute(Qt::WA_PaintOnScreen);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_AlwaysShowToolTips);
        setAttribute(Qt::WA_QuitOnClose, false);
        // Tool tips come from the motions over the window.
        setMouseTracking(true);
        setToolTip(tip);
        // Trays size their icons from the size hints (see below).
        setMinimumSize(DefaultSide, DefaultSide);
        resize(DefaultSide, DefaultSide);
        window_ = ::Window(winId());
        XSetWindowBackgroundPixmap(display_, window_, ParentRelative);
        // Qt writes the size hints only when it maps the window, and a tray
        // reads them when the dock request comes.
        XSizeHints hints{};
        hints.flags = PMinSize | PBaseSize;
        hints.min_width = hints.base_width = DefaultSide;
        hints.min_height = hints.base_height = DefaultSide;
        XSetWMNormalHints(display_, window_, &hints);
        const unsigned long info[2] = {0, XEmbedMapped};
        const Atom embedInfo = XInternAtom(display_, "_XEMBED_INFO", False);
        XChangeProperty(display_, window_, embedInfo, embedInfo, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(info), 2);
        // Without exposure events, a copy sends nothing back.
        gc_ = xcb_generate_id(connection_);
        const std::uint32_t noExposures = 0;
        xcb_create_gc(connection_, gc_, xcb_drawable_t(window_), XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        QCoreApplication::instance()->installNativeEventFilter(this);
        // Mapped only once the tray has taken it (see Embedded).
        Dock();
    }

    ~NativeIcon() override
    {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        pictures_.clear();
        xcb_free_gc(connection_, gc_);
        xcb_flush(connection_);
    }

    void SetImage(IconHandle image) override
    {
        image_ = image;
        Draw();
    }
    void SetToolTip(const QString& tip) override { setToolTip(tip); }
    void SetMenu(QMenu*) override {}
    void ShowBalloon(const TrayBalloon& balloon) override
    {
        // A child of the icon, deleted when it closes after a while or on a click.
        (new Balloon(balloon, ScreenPosition() + QPoint(width() / 2, height()), this))->show();
    }

    QPaintEngine* paintEngine() const override { return nullptr; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_CLIENT_MESSAGE: {
            const auto* client = static_cast<const xcb_client_message_event_t*>(message);
            if (client->type == manager_ && client->data.data32[1] == selection_)
                Dock();
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto* reparent = static_cast<const xcb_reparent_notify_event_t*>(message);
            if (reparent->window == window_)
                Embedded(reparent->parent != DefaultRootWindow(display_));
            break;
        }
        }
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override { Draw(); }
    void resizeEvent(QResizeEvent*) override { pictures_.clear(); }

    // As Qt's tray icon reports them: at the press, a double click apart.
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            activated_(QSystemTrayIcon::Trigger);
        else if (event->button() == Qt::RightButton)
            activated_(QSystemTrayIcon::Context);
        else if (event->button() == Qt::MiddleButton)
            activated_(QSystemTrayIcon::MiddleClick);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            activated_(QSystemTrayIcon::DoubleClick);
    }

private:
    // Where the tray has put the window: Qt does not follow a window that
    // another client has reparented.
    QPoint ScreenPosition() const
    {
        int x = 0, y = 0;
        ::Window child = None;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        return GlobalPoint(x, y);
    }

    void Dock()
    {
        const ::Window tray = XGetSelectionOwner(display_, selection_);
        if (tray == None)
            return;
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = tray;
        request.xclient.message_type = XInternAtom(display_, "_NET_SYSTEM_TRAY_OPCODE", False);
        request.xclient.format = 32;
        request.xclient.data.l[0] = CurrentTime;
        request.xclient.data.l[1] = SystemTrayRequestDock;
        request.xclient.data.l[2] = long(window_);
        XSendEvent(display_, tray, False, NoEventMask, &request);
        XFlush(display_);
    }

    // A tray that embeds a window already on screen unmaps it on the way and
    // then keeps it one pixel wide; whether the window's own map comes before
    // or after the tray takes it is a race, which a busy start (the first
    // one, with its help window) loses. So the window is mapped only inside
    // the tray, and taken off the screen when a tray that goes leaves it on
    // the root window.
    void Embedded(bool inTray)
    {
        if (inTray)
            show();
        else
            hide();
    }

    // The picture at the largest square that fits the window, once per size.
    const ServerPicture& Picture()
    {
        auto found = pictures_.find(image_);
        if (found == pictures_.end()) {
            const int side = std::max(1, std::min(width(), height()));
            XWindowAttributes attributes{};
            XGetWindowAttributes(display_, window_, &attributes);
            const QImage image = icons::IconImage(image_).pixmap(side, side).toImage();
            found = pictures_.emplace(image_, std::make_unique<ServerPicture>(display_, window_, image, attributes.depth,
                                                                              attributes.visual)).first;
        }
        return *found->second;
    }

    void Draw()
    {
        const ServerPicture& picture = Picture();
        const QSize size = picture.Size();
        xcb_clear_area(connection_, 0, xcb_window_t(window_), 0, 0, 0, 0);
        picture.CopyTo(connection_, window_, gc_, QPoint((width() - size.width()) / 2, (height() - size.height()) / 2));
        xcb_flush(connection_);
    }

    Display* display_;
    xcb_connection_t* connection_;
    ::Window window_ = 0;
    xcb_gcontext_t gc_ = 0;
    IconHandle image_;
    TrayActivation activated_;
    Atom manager_;
    Atom selection_;
    std::unordered_map<IconHandle, std::unique_ptr<ServerPicture>> pictures_;
};

} // namespace

std::unique_ptr<TrayIconView> MakeNativeXEmbedIcon(IconHandle image, const QString& tip, TrayActivation activated)
{
    Display* display = x11::QtDisplay();
    if (!display)
        return nullptr;
    // The pictures go up as 32-bit 0xRRGGBB pixels.
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (DefaultDepth(display, DefaultScreen(display)) != 24 || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0xff00 || visual->blue_mask != 0xff)
        return nullptr;
    return std::make_unique<NativeIcon>(display, image, tip, std::move(activated));
}

} // namespace platform
