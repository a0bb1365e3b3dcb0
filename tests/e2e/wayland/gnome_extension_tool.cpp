// The program's view of its GNOME Shell extension, for the tests:
//
//   gnome_extension_tool state    prints running, off, off-locked, unknown,
//                                 not-gnome or "failed: TEXT"
//   gnome_extension_tool enable   asks the shell to turn it on; fails if refused

#include "platform/linux/wayland/gnome_extension.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

QString Describe(const platform::GnomeExtensionStatus& status)
{
    using platform::GnomeExtensionState;
    switch (status.state) {
    case GnomeExtensionState::NotGnome:
        return QStringLiteral("not-gnome");
    case GnomeExtensionState::Running:
        return QStringLiteral("running");
    case GnomeExtensionState::Off:
        return status.canEnable ? QStringLiteral("off") : QStringLiteral("off-locked");
    case GnomeExtensionState::UnknownToShell:
        return QStringLiteral("unknown");
    case GnomeExtensionState::Failed:
        return QStringLiteral("failed: ") + status.error;
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const platform::GnomeExtension extension;
    if (argc == 2 && std::strcmp(argv[1], "state") == 0) {
        std::printf("%s\n", qPrintable(Describe(extension.Query())));
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "enable") == 0)
        return extension.Enable() ? 0 : 1;
    std::fprintf(stderr, "usage: gnome_extension_tool state|enable\n");
    return 2;
}
