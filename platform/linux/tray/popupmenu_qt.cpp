// A menu handle is the address of a form's QMenu (MenuHandleOf); it is used
// only after it has been found among the application's live widgets.

#include "platform/popupmenu.h"

#include "platform/linux/tray/menu_lookup.h"
#include "platform/linux/tray/popup_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <algorithm>

namespace platform {

QMenu* menus::Find(MenuHandle handle)
{
    if (handle == 0 || !qApp)
        return nullptr;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* menu = qobject_cast<QMenu*>(widget);
        if (menu && reinterpret_cast<MenuHandle>(menu) == handle)
            return menu;
    }
    return nullptr;
}

namespace {

int AlignmentOffset(std::uint32_t flags, int menuWidth)
{
    if (flags & TpmRightAlign)
        return menuWidth;
    if (flags & TpmCenterAlign)
        return menuWidth / 2;
    return 0;
}

} // namespace

QPoint GlobalPoint(std::int32_t x, std::int32_t y)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {x, y};
    const qreal ratio = screen->devicePixelRatio();
    return screen->geometry().topLeft() + QPoint(qRound(x / ratio), qRound(y / ratio));
}

QPoint PopupTopLeft(std::uint32_t flags, QPoint at, QSize size)
{
    QPoint topLeft(at.x() - AlignmentOffset(flags, size.width()), at.y());
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return topLeft;
    const QRect area = screen->geometry();
    if (topLeft.y() + size.height() > area.bottom() + 1)
        topLeft.setY(at.y() - size.height());
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    return topLeft;
}

// Qt menus take either mouse button, so TpmRightButton needs nothing.
bool TrackPopupMenu(MenuHandle handle, std::uint32_t flags, std::int32_t x, std::int32_t y)
{
    QMenu* menu = menus::Find(handle);
    if (!menu)
        return false;
    menu->exec(PopupTopLeft(flags, GlobalPoint(x, y), menu->sizeHint()));
    return true;
}

} // namespace platform
