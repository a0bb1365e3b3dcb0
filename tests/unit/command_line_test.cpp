// The program's own options, and everything else reported once and ignored.

#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Outcome Handle(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "quorzane");
    std::ostringstream out;
    std::ostringstream err;
    const auto status = HandleProgramArguments(static_cast<int>(arguments.size()), arguments.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(ProgramArguments, HelpAndVersionPrintAndEnd)
{
    const Outcome version = Handle({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Quorzane 1.0\n");
    EXPECT_EQ(version.err, "");

    const Outcome help = Handle({"-x", "--help", "--version"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quorzane [--help] [--version]\n", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "") << "an option that ends the program reports nothing else";
}

TEST(ProgramArguments, OthersAreReportedOnOneLineAndIgnored)
{
    const Outcome none = Handle({});
    EXPECT_EQ(none.status, std::nullopt);
    EXPECT_EQ(none.out + none.err, "");

    // The class library's own options are ignored like any other.
    const Outcome others = Handle({"-platform", "wayland", "--Help"});
    EXPECT_EQ(others.status, std::nullopt);
    EXPECT_EQ(others.out, "");
    EXPECT_EQ(others.err, "quorzane: ignoring arguments \"-platform\" \"wayland\" \"--Help\" (try --help)\n");
}

} // namespace
