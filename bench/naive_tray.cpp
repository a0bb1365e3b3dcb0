// The naive resident tray program that resident_cost.sh compares with: a
// plain Qt tray icon that reads the cursor every 50 ms and sets one of 13
// prepared icons every 100 ms, whatever happens.
//
//   naive_tray 1   (the icons in turn)    naive_tray 0   (always the first)
// It runs until it is killed.

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include <array>
#include <cstring>

namespace {

constexpr int Frames = 13;
constexpr int IconSize = 32;

std::array<QIcon, Frames> PrepareIcons()
{
    std::array<QIcon, Frames> icons;
    for (int frame = 0; frame < Frames; ++frame) {
        QPixmap picture(IconSize, IconSize);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setBrush(QColor::fromHsv(frame * 360 / Frames, 200, 230));
        painter.drawEllipse(2 + frame, 8, 12, 16);
        icons[static_cast<std::size_t>(frame)] = QIcon(picture);
    }
    return icons;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const bool animate = argc < 2 || std::strcmp(argv[1], "0") != 0;
    const std::array<QIcon, Frames> icons = PrepareIcons();
    QSystemTrayIcon tray(icons[0]);
    tray.show();

    QPoint cursor;
    QTimer sampling;
    QObject::connect(&sampling, &QTimer::timeout, [&cursor] { cursor = QCursor::pos(); });
    sampling.start(50);

    std::size_t frame = 0;
    QTimer animation;
    QObject::connect(&animation, &QTimer::timeout, [&] {
        tray.setIcon(icons[frame]);
        if (animate)
            frame = (frame + 1) % Frames;
    });
    animation.start(100);
    return QApplication::exec();
}
