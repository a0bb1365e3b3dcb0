#include "shell/command_line.h"

#include <string_view>
#include <vector>

namespace {

constexpr std::string_view Usage =
    "Usage: quorzane [--help] [--version]\n"
    "Watches the mouse pointer from the notification area and starts the program\n"
    "assigned to a mouse pattern: a quick shake, or a rest on a corner of the screen.\n"
    "A click on its tray icon opens the options.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

} // namespace

std::optional<int> HandleProgramArguments(int argc, const char* const argv[], std::ostream& out, std::ostream& err)
{
    std::vector<std::string_view> ignored;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            out << Usage;
            return 0;
        }
        if (argument == "--version") {
            out << "Quorzane " QUORZANE_VERSION "\n";
            return 0;
        }
        ignored.push_back(argument);
    }
    if (!ignored.empty()) {
        err << "quorzane: ignoring " << (ignored.size() == 1 ? "argument" : "arguments");
        for (const std::string_view argument : ignored)
            err << " \"" << argument << '"';
        err << " (try --help)\n";
    }
    return std::nullopt;
}
