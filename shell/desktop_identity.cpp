#include "shell/desktop_identity.h"

#include <QApplication>
#include <QIcon>

// The resources are a static library; naming their bundle links it in.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

void SetDesktopIdentity()
{
    InitIconResources();
    QGuiApplication::setApplicationName(QStringLiteral("Quorzane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorzane.Quorzane"));
    // The main icon at the theme's sizes, pixel for pixel as installed.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/hicolor/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}
