// The launcher starting real programs on this system: what the started
// program receives, what it inherits, how failures are reported, that ended
// programs are collected, and both ways of waiting.

#include "launch/Execfile.h"
#include "launch/argument_quoting.h"
#include "platform/application.h"
#include "platform/linux/process/child_reaper.h"
#include "platform/linux/process/priority_nice.h"
#include "platform/linux/process/unique_fd.h"

#include "launch_test_support.h"

#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class RealLaunch : public ::testing::Test {
protected:
    void SetUp() override { setenv("QZ_RECORD", recordPath.c_str(), 1); }
    void TearDown() override
    {
        unsetenv("QZ_RECORD");
        EXPECT_TRUE(launchtest::ProcessEventsUntil([] { return platform::ChildReaper::Instance().WatchedCount() == 0; }))
            << "every started program has been collected";
    }

    // Starts the recorder with `arguments`, waits for it and reads what it
    // wrote.
    launchtest::Record Run(const std::string& arguments)
    {
        launcher.CommandLine = QuotedArgument(ARGV_RECORDER) + " " + arguments;
        launcher.Wait = true;
        launcher.WaitStyle = wSuspend;
        EXPECT_TRUE(launcher.Execute()) << "error " << launcher.ErrorCode();
        return launchtest::ReadRecord(recordPath);
    }

    static int ExpectedNice(int wanted)
    {
        if (geteuid() == 0)
            return wanted;
        rlimit limit{};
        getrlimit(RLIMIT_NICE, &limit);
        return platform::CappedNiceValue(wanted, getpriority(PRIO_PROCESS, 0), limit.rlim_cur);
    }

    launchtest::TempDir dir;
    const std::string recordPath = dir / "record";
    TExecFile launcher;
};

TEST_F(RealLaunch, ArgumentsReachTheProgramAsWritten)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"/n,/e,C:\\", {"/n,/e,C:\\"}},
        {"one  two\tthree   ", {"one", "two", "three"}},
        {"\"a b\" \"\" c\\\"d", {"a b", "", "c\"d"}},
        {"a;b $HOME `id` *|>x && $(true)", {"a;b", "$HOME", "`id`", "*|>x", "&&", "$(true)"}},
    };
    for (const auto& [arguments, expected] : cases) {
        std::vector<std::string> argv = {ARGV_RECORDER};
        argv.insert(argv.end(), expected.begin(), expected.end());
        EXPECT_THAT(Run(arguments).argv, ElementsAreArray(argv)) << arguments;
    }
}

// Unquoted, the text up to each blank is tried in turn, shortest first.
TEST_F(RealLaunch, UnquotedProgramPathsMayHoldBlanks)
{
    namespace fs = std::filesystem;
    fs::create_directories(dir / "My Tools");
    fs::create_directories(dir / "My");
    fs::create_directories(dir / "a b");
    fs::create_directories(dir / "bin");
    for (const char* program : {"My Tools/rec", "a b/x", "a b/x y", "bin/my rec"})
        fs::create_symlink(ARGV_RECORDER, dir / program);
    launchtest::WriteFile(dir / "a b/plain", "not a program", 0644);
    const std::string path = getenv("PATH");
    setenv("PATH", (path + ":" + (dir / "bin")).c_str(), 1);

    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {dir / "My Tools/rec --flag \"x y\"", {dir / "My Tools/rec", "--flag", "x y"}},
        {"  " + (dir / "My Tools/rec"), {dir / "My Tools/rec"}},
        {dir / "a b/x y z", {dir / "a b/x", "y", "z"}},
        {dir / "a b/plain  x", {}},
        {"\"" + (dir / "My Tools/rec") + "\" a", {dir / "My Tools/rec", "a"}},
        {"\"" + (dir / "My") + " Tools/rec\" a", {dir / "My Tools/rec", "a"}},
        {"my rec --x", {"my rec", "--x"}},
        {dir / "My Tools/nothing here", {}},
        {dir / "My \"Tools\"/rec", {}},
    };
    for (const auto& [command, argv] : cases) {
        std::filesystem::remove(recordPath);
        launcher.CommandLine = command;
        launcher.Wait = true;
        launcher.WaitStyle = wSuspend;
        EXPECT_EQ(launcher.Execute(), !argv.empty()) << command;
        if (!argv.empty()) {
            EXPECT_THAT(launchtest::ReadRecord(recordPath).argv, ElementsAreArray(argv)) << command;
        }
    }
    setenv("PATH", path.c_str(), 1);
}

TEST_F(RealLaunch, ShellCharactersNameAFileAsTheyStand)
{
    launcher.CommandLine = "touch " + (dir / "a;b");
    launcher.Wait = true;
    ASSERT_TRUE(launcher.Execute());
    EXPECT_TRUE(std::filesystem::exists(dir / "a;b"));
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
}

TEST_F(RealLaunch, StartsInANewSessionWithoutInputInheritingEnvironmentAndDirectory)
{
    // A descriptor without close-on-exec and a blocked signal must not reach
    // the program.
    const platform::UniqueFd leaked(dup(STDOUT_FILENO));
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &usr1, &before);
    const launchtest::Record record = Run("x");
    pthread_sigmask(SIG_SETMASK, &before, nullptr);

    EXPECT_EQ(record.facts.at("session-leader"), "1");
    EXPECT_EQ(record.facts.at("fds"), "");
    EXPECT_EQ(record.facts.at("stdin"), "/dev/null");
    EXPECT_EQ(record.facts.at("signals-unblocked"), "1");
    EXPECT_EQ(record.facts.at("cwd"), std::filesystem::current_path().string());
}

TEST_F(RealLaunch, PriorityClassesSetTheNiceValue)
{
    const std::pair<TPriorityClass, int> cases[] = {
        {pcNormal, 0}, {pcIdle, 19}, {pcHigh, -10}, {pcRealTime, -20},
    };
    for (const auto& [priority, nice] : cases) {
        launcher.Priority = priority;
        EXPECT_EQ(Run("x").facts.at("nice"), std::to_string(ExpectedNice(nice))) << int(priority);
    }
}

TEST_F(RealLaunch, FailuresReturnFalseWithTheReason)
{
    launchtest::WriteFile(dir / "not-executable", "#!/bin/sh\n", 0644);
    launchtest::WriteFile(dir / "not-a-program", "just text\n", 0755);
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"qz-no-such-program-anywhere", ENOENT},
        {dir / "missing", ENOENT},
        {dir / "not-executable", EACCES},
        {dir / "not-a-program", ENOEXEC},
        {dir.Path().string(), EACCES},
        {"", ENOENT},
    };
    int failures = 0;
    launcher.OnFail = [&](TExecFile&) { ++failures; };
    for (const auto& [command, error] : cases) {
        launcher.CommandLine = command;
        EXPECT_FALSE(launcher.Execute()) << command;
        EXPECT_EQ(launcher.ErrorCode(), error) << command;
    }
    EXPECT_EQ(failures, static_cast<int>(std::size(cases)));
}

TEST_F(RealLaunch, EndedProgramIsCollectedWithoutWaiting)
{
    launcher.CommandLine = "true";
    ASSERT_TRUE(launcher.Execute());
    const std::uint32_t pid = launcher.ProcessInfo().processId;
    EXPECT_TRUE(launchtest::ProcessEventsUntil([pid] { return launchtest::ProcessState(pid) == '\0'; }))
        << "state " << launchtest::ProcessState(pid);
}

TEST_F(RealLaunch, WithoutWaitReturnsWhileTheProgramRuns)
{
    launcher.CommandLine = "sleep 5";
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(launcher.Execute());
    EXPECT_LT(MillisecondsSince(start), 1000);
    const std::uint32_t pid = launcher.ProcessInfo().processId;
    EXPECT_THAT(launchtest::ProcessState(pid), ::testing::AnyOf('R', 'S'));
    kill(static_cast<pid_t>(pid), SIGKILL);
    EXPECT_TRUE(launchtest::ProcessEventsUntil([pid] { return launchtest::ProcessState(pid) == '\0'; }));
}

TEST_F(RealLaunch, SuspendingWaitReturnsWhenTheProgramHasEnded)
{
    launcher.CommandLine = "sleep 0.3";
    launcher.Wait = true;
    launcher.WaitStyle = wSuspend;
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(launcher.Execute());
    EXPECT_GE(MillisecondsSince(start), 300);
    EXPECT_EQ(launchtest::ProcessState(launcher.ProcessInfo().processId), '\0') << "ended and collected";
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(RealLaunch, RegularWaitKeepsEventsFlowingWithoutSpinning)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    launcher.CommandLine = "sleep 0.4";
    launcher.Wait = true;
    const Clock::time_point start = Clock::now();
    const double cpuBefore = CpuSeconds();
    ASSERT_TRUE(launcher.Execute());
    EXPECT_GE(MillisecondsSince(start), 400);
    EXPECT_GE(ticks, 5) << "the timer ran during the wait";
    EXPECT_LT(CpuSeconds() - cpuBefore, 0.1) << "the wait slept";
}

TEST_F(RealLaunch, QuitDuringRegularWaitReturnsAndStaysRequested)
{
    QTimer::singleShot(50, [] { platform::PostQuitMessage(7); });
    launcher.CommandLine = "sleep 5";
    launcher.Wait = true;
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(launcher.Execute());
    EXPECT_LT(MillisecondsSince(start), 2000);
    const std::uint32_t pid = launcher.ProcessInfo().processId;
    EXPECT_THAT(launchtest::ProcessState(pid), ::testing::AnyOf('R', 'S')) << "the program is left running";

    // The program's own loop still receives the request, with its code.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-2); });
    giveUp.start(2000);
    EXPECT_EQ(QCoreApplication::exec(), 7);
    kill(static_cast<pid_t>(pid), SIGKILL);
    EXPECT_TRUE(launchtest::ProcessEventsUntil([pid] { return launchtest::ProcessState(pid) == '\0'; }));
}

TEST_F(RealLaunch, RegularWaitAfterAQuitRequestReturnsAndLeavesItAlone)
{
    QCoreApplication::exit(5); // with no loop running: only remembered
    launcher.CommandLine = "sleep 5";
    launcher.Wait = true;
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(launcher.Execute());
    EXPECT_LT(MillisecondsSince(start), 2000);

    // No second request with another code was queued behind the first.
    QTimer::singleShot(50, [] { QCoreApplication::exit(9); });
    EXPECT_EQ(QCoreApplication::exec(), 9);
    kill(static_cast<pid_t>(launcher.ProcessInfo().processId), SIGKILL);
}

} // namespace
