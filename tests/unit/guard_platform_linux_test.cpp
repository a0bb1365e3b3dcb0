// The name table and the window search on Linux, tested across real
// processes: this program starts copies of itself in the roles below.

#include "platform/nametable.h"
#include "platform/window.h"

#include "platform/linux/names/local_socket.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int ChildTimeoutMs = 10000;

// ---- The roles of the child copies -----------------------------------------

void Say(const std::string& line)
{
    std::cout << line << std::endl;
}

void WaitForEndOfInput()
{
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

// Holds a name until its input ends; with a sleeper, a started program that
// outlives it.
int HoldName(const std::string& name, bool startSleeper)
{
    const platform::Atom atom = platform::GlobalAddAtom(name);
    pid_t sleeper = 0;
    if (startSleeper) {
        char sleep[] = "sleep";
        char seconds[] = "60";
        char* arguments[] = {sleep, seconds, nullptr};
        if (posix_spawnp(&sleeper, "sleep", nullptr, nullptr, arguments, environ) != 0)
            return 2;
    }
    Say((atom != platform::NoAtom ? "held " : "failed ") + std::to_string(sleeper));
    WaitForEndOfInput();
    return 0;
}

// Looks up and adds the name on "go", then holds it until the input ends.
int RaceForName(const std::string& name)
{
    Say("ready");
    std::string line;
    if (!std::getline(std::cin, line))
        return 2;
    Say(platform::GlobalFindOrAddAtom(name).added ? "added" : "found");
    WaitForEndOfInput();
    return 0;
}

// Publishes an application window titled `title`, renames it on "title X"
// lines, and serves requests until the input ends.
int PublishWindow(const std::string& title)
{
    platform::SetApplicationWindowText(title);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        if (line.rfind("title ", 0) == 0)
            platform::SetApplicationWindowText(line.substr(6));
        Say("ok");
    });
    Say("ready");
    return QCoreApplication::exec();
}

// Does what a second copy does to the running copy's window and reports it.
int AskRunningCopy(const std::string& title)
{
    const platform::WindowHandle window = platform::FindWindow(platform::ApplicationWindowClass, title);
    if (window == platform::NoWindow) {
        Say("none");
        return 0;
    }
    if (platform::IsIconic(window))
        Say(std::string("restore ") + (platform::ShowWindow(window, platform::ShowCommand::Restore) ? "1" : "0"));
    else
        Say(std::string("raise ") + (platform::BringWindowToTop(window) ? "1" : "0"));
    return 0;
}

int Look(const std::string& name, const std::string& title)
{
    Say(std::string("atom ") + (platform::GlobalFindAtom(name) != platform::NoAtom ? "1" : "0") + " window " +
        (platform::FindWindow(platform::ApplicationWindowClass, title) != platform::NoWindow ? "1" : "0"));
    return 0;
}

// ---- The test side ---------------------------------------------------------

std::string UniqueName(const std::string& stem)
{
    static int serial = 0;
    return stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
}

// A copy of this program in one of the roles above; killed and reaped when it
// goes out of scope.
class Copy {
public:
    explicit Copy(const QStringList& arguments, std::function<void()> beforeExec = {})
    {
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments(arguments);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (beforeExec)
            process.setChildProcessModifier(beforeExec);
        process.start();
    }
    ~Copy()
    {
        process.kill();
        process.waitForFinished(ChildTimeoutMs);
    }

    std::string ReadLine()
    {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(ChildTimeoutMs))
                return "(no answer)";
        return process.readLine().trimmed().toStdString();
    }
    void WriteLine(const std::string& line) { process.write(QByteArray::fromStdString(line + "\n")); }
    void CloseInput() { process.closeWriteChannel(); }
    void Kill()
    {
        process.kill();
        process.waitForFinished(ChildTimeoutMs);
    }
    // Runs this program's event loop until the copy ends.
    void WaitWhileServing()
    {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(ChildTimeoutMs, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
    }

    QProcess process;
};

QStringList Arguments(std::initializer_list<std::string> items)
{
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

TEST(LinuxNameTable, AddFindAndDeleteWithoutRegardToCase)
{
    const std::string name = UniqueName("OnlyOneCase");
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);

    const platform::AtomLookUp first = platform::GlobalFindOrAddAtom(name);
    ASSERT_TRUE(first.added);
    ASSERT_NE(first.atom, platform::NoAtom);
    const platform::AtomLookUp again = platform::GlobalFindOrAddAtom(name);
    EXPECT_FALSE(again.added);
    EXPECT_EQ(again.atom, first.atom);

    Copy other(Arguments({"--look", "ONLYONECASE" + name.substr(11), "-"}));
    EXPECT_EQ(other.ReadLine(), "atom 1 window 0");

    platform::GlobalDeleteAtom(first.atom);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
    EXPECT_TRUE(platform::GlobalFindOrAddAtom(name).added);
}

TEST(LinuxNameTable, AnotherProcesssNameIsFoundAndNotAdded)
{
    const std::string name = UniqueName("OnlyOneHeld");
    Copy holder(Arguments({"--hold", name}));
    ASSERT_EQ(holder.ReadLine(), "held 0");

    const platform::AtomLookUp lookUp = platform::GlobalFindOrAddAtom(name);
    EXPECT_FALSE(lookUp.added);
    EXPECT_NE(lookUp.atom, platform::NoAtom);
    EXPECT_EQ(platform::GlobalAddAtom(name), platform::NoAtom);
    // Deleting what this process does not hold leaves the name in place.
    platform::GlobalDeleteAtom(lookUp.atom);
    EXPECT_NE(platform::GlobalFindAtom(name), platform::NoAtom);

    // An orderly end of the holder gives the name back.
    holder.CloseInput();
    holder.process.waitForFinished(ChildTimeoutMs);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
}

TEST(LinuxNameTable, KilledHoldersNameIsGoneEvenWhileItsStartedProgramRuns)
{
    const std::string name = UniqueName("OnlyOneKilled");
    Copy holder(Arguments({"--hold", name, "--start-sleeper"}));
    const std::string held = holder.ReadLine();
    ASSERT_EQ(held.rfind("held ", 0), 0u) << held;
    const pid_t sleeper = std::stoi(held.substr(5));
    ASSERT_GT(sleeper, 0);
    ASSERT_NE(platform::GlobalFindAtom(name), platform::NoAtom);

    holder.Kill();
    EXPECT_EQ(holder.process.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(::kill(sleeper, 0), 0) << "the started program still runs";
    // On a loaded machine the killed holder's socket may take a moment to
    // go; the sleeper runs for a minute, far beyond this.
    const QDeadlineTimer nameGone(2000);
    while (platform::GlobalFindAtom(name) != platform::NoAtom && !nameGone.hasExpired())
        QThread::msleep(10);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
    const platform::AtomLookUp next = platform::GlobalFindOrAddAtom(name);
    EXPECT_TRUE(next.added);
    platform::GlobalDeleteAtom(next.atom);
    ::kill(sleeper, SIGKILL);
}

TEST(LinuxNameTable, ExactlyOneOfManySimultaneousCopiesAddsTheName)
{
    constexpr int Copies = 8;
    for (int round = 0; round < 3; ++round) {
        const std::string name = UniqueName("OnlyOneRace");
        std::vector<std::unique_ptr<Copy>> copies;
        for (int i = 0; i < Copies; ++i)
            copies.push_back(std::make_unique<Copy>(Arguments({"--race", name})));
        for (auto& copy : copies)
            ASSERT_EQ(copy->ReadLine(), "ready");
        for (auto& copy : copies)
            copy->WriteLine("go");
        int added = 0;
        int found = 0;
        for (auto& copy : copies) {
            const std::string answer = copy->ReadLine();
            added += answer == "added";
            found += answer == "found";
        }
        EXPECT_EQ(added, 1) << "round " << round;
        EXPECT_EQ(found, Copies - 1) << "round " << round;
    }
}

TEST(LinuxNameTable, NamesAndWindowsBelongToTheirUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to start a copy as another user";
    const std::string name = UniqueName("OnlyOneUser");
    const std::string title = UniqueName("Quorzane! user");
    const platform::AtomLookUp mine = platform::GlobalFindOrAddAtom(name);
    ASSERT_TRUE(mine.added);
    platform::SetApplicationWindowText(title);

    Copy stranger(Arguments({"--look", name, title}), [] {
        // nobody:nogroup
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
    });
    EXPECT_EQ(stranger.ReadLine(), "atom 0 window 0");
    platform::GlobalDeleteAtom(mine.atom);
    platform::SetApplicationWindowText("");
}

TEST(LinuxWindowSearch, WindowIsFoundByClassAndWholeTitleWithoutRegardToCaseUntilRenamedOrKilled)
{
    const std::string title = UniqueName("Quorzane! Window");
    const std::string renamed = UniqueName("destroy me");
    Copy running(Arguments({"--window", title}));
    ASSERT_EQ(running.ReadLine(), "ready");

    std::string shouted = title;
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const platform::WindowHandle window = platform::FindWindow("tapplication", shouted);
    EXPECT_NE(window, platform::NoWindow);
    EXPECT_EQ(platform::FindWindow("TForm", title), platform::NoWindow);
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, title.substr(0, 20)), platform::NoWindow);
    EXPECT_FALSE(platform::IsIconic(window));

    running.WriteLine("title " + renamed);
    ASSERT_EQ(running.ReadLine(), "ok");
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, title), platform::NoWindow);
    EXPECT_NE(platform::FindWindow(platform::ApplicationWindowClass, renamed), platform::NoWindow);

    running.Kill();
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, renamed), platform::NoWindow);
    EXPECT_FALSE(platform::BringWindowToTop(window));
    EXPECT_FALSE(platform::ShowWindow(window, platform::ShowCommand::Restore));
}

TEST(LinuxWindowSearch, RunningCopyIsCalledForwardAndRestoresItsMinimisedWindowsOrRaisesThem)
{
    const std::string title = UniqueName("Quorzane! Running");
    platform::SetApplicationWindowText(title);
    QWindow dialog;
    dialog.resize(200, 100);
    int calledForward = 0;
    platform::WhenApplicationWindowCalledForward([&calledForward] { ++calledForward; });

    for (const bool minimised : {false, true}) {
        dialog.setWindowStates(minimised ? Qt::WindowMinimized : Qt::WindowNoState);
        dialog.setVisible(true);
        calledForward = 0;
        Copy second(Arguments({"--ask", title}));
        second.WaitWhileServing();
        EXPECT_EQ(second.ReadLine(), minimised ? "restore 1" : "raise 1");
        EXPECT_FALSE(dialog.windowStates().testFlag(Qt::WindowMinimized));
        EXPECT_EQ(calledForward, 1) << (minimised ? "restored" : "raised") << ", not asked whether minimised";
    }
    // With no window on screen the request still reaches the program.
    dialog.setVisible(false);
    calledForward = 0;
    Copy third(Arguments({"--ask", title}));
    third.WaitWhileServing();
    EXPECT_EQ(third.ReadLine(), "raise 1");
    EXPECT_EQ(calledForward, 1);
    platform::WhenApplicationWindowCalledForward({});
    platform::SetApplicationWindowText("");
}

TEST(LinuxWindowSearch, OwnWindowIsFoundAndAnswersWithoutAWait)
{
    const std::string title = UniqueName("Quorzane! Own");
    platform::SetApplicationWindowText(title);
    const platform::WindowHandle own = platform::FindWindow(platform::ApplicationWindowClass, title);
    ASSERT_NE(own, platform::NoWindow);
    EXPECT_FALSE(platform::IsIconic(own));
    EXPECT_TRUE(platform::BringWindowToTop(own));

    platform::SetApplicationWindowText("destroy me " + title);
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, title), platform::NoWindow);
    platform::SetApplicationWindowText("");
}

TEST(LinuxWindowSearch, TitleHeldByAnotherCopyIsTakenUpOnceThatCopyHasEnded)
{
    const std::string title = UniqueName("Quorzane! Late");
    Copy earlier(Arguments({"--window", title}));
    ASSERT_EQ(earlier.ReadLine(), "ready");
    platform::SetApplicationWindowText(title);
    earlier.Kill();
    ASSERT_EQ(platform::FindWindow(platform::ApplicationWindowClass, title), platform::NoWindow);

    const QDeadlineTimer deadline(ChildTimeoutMs);
    platform::WindowHandle own = platform::NoWindow;
    while (own == platform::NoWindow && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        own = platform::FindWindow(platform::ApplicationWindowClass, title);
    }
    EXPECT_NE(own, platform::NoWindow);
    EXPECT_TRUE(platform::BringWindowToTop(own));
    platform::SetApplicationWindowText("");
}

TEST(LinuxWindowSearch, UnreadableRequestsAreDroppedAndTheWindowKeepsServing)
{
    const std::string title = UniqueName("Quorzane! Serving");
    Copy running(Arguments({"--window", title}));
    ASSERT_EQ(running.ReadLine(), "ready");
    const QString socketName =
        platform::linux_socket::WindowSocketName(QStringLiteral("TApplication"), QString::fromStdString(title));

    const auto flood = platform::linux_socket::Connect(socketName, ChildTimeoutMs);
    ASSERT_TRUE(flood);
    flood->write(QByteArray(4096, 'x'));
    flood->waitForBytesWritten(ChildTimeoutMs);
    EXPECT_FALSE(flood->waitForReadyRead(ChildTimeoutMs) && flood->canReadLine());

    const auto nonsense = platform::linux_socket::Connect(socketName, ChildTimeoutMs);
    ASSERT_TRUE(nonsense);
    nonsense->write("format c:\n");
    ASSERT_TRUE(nonsense->waitForReadyRead(ChildTimeoutMs));
    EXPECT_EQ(nonsense->readLine().trimmed(), "?");

    const platform::WindowHandle window = platform::FindWindow(platform::ApplicationWindowClass, title);
    EXPECT_TRUE(platform::BringWindowToTop(window));
}

TEST(LinuxWindowSearch, LongTitlesStayDistinct)
{
    const std::string stem = UniqueName(std::string(120, 'Q'));
    platform::SetApplicationWindowText(stem + "a");
    EXPECT_NE(platform::FindWindow(platform::ApplicationWindowClass, stem + "A"), platform::NoWindow);
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, stem + "b"), platform::NoWindow);
    platform::SetApplicationWindowText("");
}

int RunRole(const std::vector<std::string>& arguments)
{
    const std::string& role = arguments[1];
    if (role == "--hold")
        return HoldName(arguments.at(2), arguments.size() > 3);
    if (role == "--race")
        return RaceForName(arguments.at(2));
    if (role == "--window")
        return PublishWindow(arguments.at(2));
    if (role == "--ask")
        return AskRunningCopy(arguments.at(2));
    if (role == "--look")
        return Look(arguments.at(2), arguments.at(3));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::vector<std::string> arguments(argv, argv + argc);
    if (arguments.size() > 1 && arguments[1].rfind("--", 0) == 0 && arguments[1].rfind("--gtest", 0) != 0)
        return RunRole(arguments);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
