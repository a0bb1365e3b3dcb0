// The rules of process creation on this system that need no started
// process: splitting a command line, finding the program, priority classes
// as nice values.

#include "launch/Execfile.h"
#include "launch/argument_quoting.h"
#include "platform/linux/process/command_line_words.h"
#include "platform/linux/process/priority_nice.h"
#include "platform/linux/process/program_search.h"

#include "launch_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Words = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheQuotingRules)
{
    const std::pair<std::string, Words> cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"  prog \t a   ", {"prog", "a"}},
        {"NOTEPAD.EXE ", {"NOTEPAD.EXE"}},
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog \"a b\"c d", {"prog", "a bc", "d"}},
        {"\"/opt/My Apps/viewer\" notes.txt ", {"/opt/My Apps/viewer", "notes.txt"}},
        {"prog \"\" x", {"prog", "", "x"}},
        {"prog \"unclosed arg", {"prog", "unclosed arg"}},
        {"prog \"say \"\"hi\"\"\"", {"prog", "say \"hi\""}},
        // Backslashes are literal unless a quote follows them.
        {"EXPLORER.EXE /n,/e,C:\\ ", {"EXPLORER.EXE", "/n,/e,C:\\"}},
        {"prog a\\\\b", {"prog", "a\\\\b"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
        {"prog a\\\\\\\"b", {"prog", "a\\\"b"}},
        // No shell: its characters are ordinary ones.
        {"touch /tmp/q/a;b $HOME *|>x", {"touch", "/tmp/q/a;b", "$HOME", "*|>x"}},
        {"", {}},
        {" \t ", {}},
    };
    for (const auto& [line, words] : cases)
        EXPECT_EQ(platform::SplitCommandLine(line), words) << line;
}

TEST(SplitCommandLine, TakesQuotedArgumentsBackUnchanged)
{
    const std::string arguments[] = {
        "plain", "with blank", "", "tab\there", "say \"hi\"", "trailing\\", "dir with\\", "a\\\\\"b c", "\\\"",
    };
    for (const std::string& argument : arguments) {
        EXPECT_THAT(platform::SplitCommandLine(QuotedArgument(argument)), ElementsAre(argument)) << argument;
        EXPECT_THAT(platform::SplitCommandLine(QuotedArgument(argument) + " " + QuotedArgument("next")),
                    ElementsAre(argument, "next"))
            << argument;
    }
}

class ProgramSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(first / "sub");
        launchtest::WriteFile(first / "runnable", "#!/bin/sh\n", 0755);
        launchtest::WriteFile(first / "readable", "#!/bin/sh\n", 0644);
        launchtest::WriteFile(second / "runnable", "#!/bin/sh\n", 0755);
        launchtest::WriteFile(second / "readable", "#!/bin/sh\n", 0755);
    }

    std::string Both() const { return first.Path().string() + ":" + second.Path().string(); }

    launchtest::TempDir first;
    launchtest::TempDir second;
};

TEST_F(ProgramSearch, FindsTheFirstExecutableFileInOrder)
{
    EXPECT_EQ(platform::FindProgram("runnable", Both()).path, first / "runnable");
    EXPECT_EQ(platform::FindProgram("runnable", second.Path().string() + ":" + first.Path().string()).path,
              second / "runnable");
    EXPECT_EQ(platform::FindProgram("readable", Both()).path, second / "readable") << "skips one without permission";
}

TEST_F(ProgramSearch, ReportsWhyNothingWasFound)
{
    const std::string onlyFirst = first.Path().string();
    const std::pair<std::string, int> cases[] = {
        {"missing", ENOENT},
        {"readable", EACCES},
        {"sub", ENOENT},
        {"", ENOENT},
    };
    for (const auto& [name, error] : cases) {
        const platform::ProgramLocation found = platform::FindProgram(name, onlyFirst);
        EXPECT_EQ(found.error, error) << name;
        EXPECT_TRUE(found.path.empty()) << name;
    }
}

TEST_F(ProgramSearch, NameWithSlashIsNotSearched)
{
    for (const std::string name : {"./runnable", "sub/prog", "/no/such/prog"}) {
        const platform::ProgramLocation found = platform::FindProgram(name, Both());
        EXPECT_EQ(found.path, name);
        EXPECT_EQ(found.error, 0);
    }
}

TEST_F(ProgramSearch, EmptyEntryMeansTheCurrentDirectory)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(first.Path());
    EXPECT_EQ(platform::FindProgram("runnable", "/nonexistent:").path, "./runnable");
    EXPECT_EQ(platform::FindProgram("runnable", "").path, "./runnable");
    std::filesystem::current_path(before);
}

TEST(PriorityClasses, UnprivilegedValuesAreCappedAtTheNiceLimit)
{
    struct Case {
        int wanted;
        int current;
        rlim_t limit;
        int allowed;
    };
    const Case cases[] = {
        {19, 0, 0, 19},              // raising is always allowed
        {-10, 0, 0, 0},              // no limit: stays where it is
        {-10, 0, 25, -5},            // down to 20 - 25
        {-20, 0, 30, -10},           //
        {-10, 0, 40, -10},           // the full range
        {-20, 0, RLIM_INFINITY, -20}, //
        {0, 5, 0, 5},                // a niced program cannot go back to 0
        {0, 5, 20, 0},               //
        {-10, -15, 0, -10},          // already higher: the wanted value is a raise
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::CappedNiceValue(c.wanted, c.current, c.limit), c.allowed)
            << c.wanted << " from " << c.current << " limit " << c.limit;
}

} // namespace
