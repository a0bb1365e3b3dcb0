// The Windows platform layer's process creation, waits and message queue,
// and the association lookup, against the system itself; and the launcher
// on top of them.

#include "launch/Execfile.h"
#include "launch/argument_quoting.h"
#include "platform/association.h"
#include "platform/messagewindow.h"
#include "platform/process.h"

#include "tests/conformance/temp_folder.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string>

namespace {

// The event that a lingering copy of this program waits for, by name.
constexpr char LingerEventVariable[] = "QUORZANE_TEST_LINGER_EVENT";

// A program that runs until the test lets it end: a copy of this test
// program that waits for an event. (A program ended from outside can leave
// its console's host behind, which would hold the test's output open.)
class LingeringCopy {
public:
    LingeringCopy()
        : eventName_("Local\\QuorzaneLinger." + std::to_string(GetCurrentProcessId()) + "." +
                     std::to_string(++copies_))
        , event_(CreateEventA(nullptr, TRUE, FALSE, eventName_.c_str()))
    {
        SetEnvironmentVariableA(LingerEventVariable, eventName_.c_str());
    }
    ~LingeringCopy()
    {
        Release();
        SetEnvironmentVariableA(LingerEventVariable, nullptr);
        ::CloseHandle(event_);
    }
    LingeringCopy(const LingeringCopy&) = delete;
    LingeringCopy& operator=(const LingeringCopy&) = delete;

    std::string CommandLine() const
    {
        std::array<char, MAX_PATH> path{};
        GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        return QuotedArgument(path.data()) + " --gtest_filter=WindowsLingeringCopy.WaitsUntilReleased";
    }
    void Release() const { SetEvent(event_); }

private:
    static inline int copies_ = 0;
    std::string eventName_;
    HANDLE event_;
};

bool EndsWithWithoutCase(std::string text, std::string tail)
{
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    text = lower(text);
    tail = lower(tail);
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs only as a lingering copy.
TEST(WindowsLingeringCopy, WaitsUntilReleased)
{
    const char* eventName = std::getenv(LingerEventVariable);
    if (!eventName)
        GTEST_SKIP() << "started by the process tests";
    const HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, eventName);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(::WaitForSingleObject(event, 60000), WAIT_OBJECT_0);
    ::CloseHandle(event);
}

// Lets a program of the notepad kind end, as its user would.
void CloseWindowsOf(std::uint32_t processId)
{
    EnumWindows(
        [](HWND window, LPARAM id) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(id))
                PostMessageA(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        static_cast<LPARAM>(processId));
}

class WindowsProcess : public ::testing::Test {
protected:
    void TearDown() override
    {
        lingering.Release();
        if (started.process != platform::NullHandle) {
            platform::WaitForSingleObject(started.process, 10000);
            platform::CloseHandle(started.process);
            platform::CloseHandle(started.thread);
        }
    }

    bool Start(const std::string& commandLine)
    {
        return platform::CreateProcessFromCommandLine(commandLine, CreationFlagsFor(pcNormal), StartupRecordFor(wsNorm),
                                                      started);
    }

    LingeringCopy lingering;
    platform::ProcessRecord started;
};

TEST_F(WindowsProcess, AProgramThatIsNotThereFailsWithItsError)
{
    EXPECT_FALSE(Start("quorzane-no-such-program.exe "));
    EXPECT_EQ(platform::GetLastError(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(started.process, platform::NullHandle) << "the record stays untouched";
}

TEST_F(WindowsProcess, AWaitTimesOutWhileTheProgramRunsAndEndsWithIt)
{
    ASSERT_TRUE(Start(lingering.CommandLine()));
    EXPECT_NE(started.processId, 0u);
    EXPECT_EQ(platform::WaitForSingleObject(started.process, 50), platform::WaitTimeout);
    lingering.Release();
    EXPECT_EQ(platform::WaitForSingleObject(started.process, platform::Infinite), platform::WaitObject0);
    EXPECT_TRUE(platform::CloseHandle(started.process));
    EXPECT_TRUE(platform::CloseHandle(started.thread));
    EXPECT_FALSE(platform::CloseHandle(started.process)) << "a handle is released once";
    started = {};
    EXPECT_EQ(platform::WaitForSingleObject(platform::NullHandle, 0), platform::WaitFailed);
}

TEST_F(WindowsProcess, AWaitForAProcessOrAMessageEndsWithTheFirstOfThem)
{
    ASSERT_TRUE(Start(lingering.CommandLine()));
    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 3, 7, 8);
    EXPECT_EQ(platform::WaitForProcessOrMessage(started.process), platform::WaitMessageQueued);
    platform::QueuedMessage message;
    ASSERT_TRUE(platform::PeekQueuedMessage(message));
    EXPECT_EQ(message.id, static_cast<std::uint32_t>(WM_APP + 3));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.lParam, 8);
    EXPECT_FALSE(platform::PeekQueuedMessage(message));

    lingering.Release();
    EXPECT_EQ(platform::WaitForProcessOrMessage(started.process), platform::WaitObject0);
    EXPECT_EQ(platform::WaitForProcessOrMessage(platform::NullHandle), platform::WaitFailed);
}

TEST(WindowsLauncher, MessagesFlowWhileItWaitsForTheProgram)
{
    std::vector<std::uintptr_t> handled;
    const platform::WindowHandle window =
        platform::AllocateHWnd([&handled](platform::TMessage& message) {
            if (message.Msg == WM_APP)
                handled.push_back(message.WParam);
        });
    ASSERT_NE(window, 0u);
    platform::PostMessageA(window, WM_APP, 1, 0);
    platform::PostMessageA(window, WM_APP, 2, 0);

    TExecFile launcher;
    launcher.CommandLine = "cmd.exe /c exit 4";
    launcher.Wait = true;
    launcher.WaitStyle = wRegular;
    EXPECT_TRUE(launcher.Execute());
    EXPECT_EQ(handled, (std::vector<std::uintptr_t>{1, 2}));
    platform::DeallocateHWnd(window);
}

TEST(WindowsLauncher, AQuitRequestDuringTheWaitIsHandedBackToTheProgram)
{
    const LingeringCopy lingering;
    platform::PostQuitMessage(5);
    TExecFile launcher;
    launcher.CommandLine = lingering.CommandLine();
    launcher.Wait = true;
    launcher.WaitStyle = wRegular;
    EXPECT_TRUE(launcher.Execute()) << "returns without waiting for the end";

    platform::QueuedMessage message;
    ASSERT_TRUE(platform::PeekQueuedMessage(message));
    EXPECT_TRUE(platform::IsQuitMessage(message));
    EXPECT_EQ(message.wParam, 5u);
}

class WindowsAssociation : public ::testing::Test {
protected:
    void SetUp() override
    {
        conformance::StoreBytes(document, "notes\r\n");
        conformance::StoreBytes(unknown, "?");
    }

    conformance::TempFolder folder;
    const std::string document = folder / "notes.txt";
    const std::string unknown = folder / "data.quorzane-unknown";
};

TEST_F(WindowsAssociation, FindsTheProgramOfADocumentType)
{
    std::array<char, 256> result{};
    EXPECT_GE(platform::FindAssociatedExecutable(document, "", result), platform::AssociationFound);
    EXPECT_TRUE(EndsWithWithoutCase(result.data(), "notepad.exe")) << result.data();

    result.fill('\0');
    EXPECT_GE(platform::FindAssociatedExecutable("notes.txt", folder.Path().string(), result),
              platform::AssociationFound);
    EXPECT_TRUE(EndsWithWithoutCase(result.data(), "notepad.exe")) << "relative to the given folder";
}

TEST_F(WindowsAssociation, FailuresReportTheirErrors)
{
    struct Case {
        std::string document;
        std::size_t resultSize;
        std::intptr_t result;
        DWORD error;
    };
    const Case cases[] = {
        {folder / "missing.txt", 256, platform::AssociationFileNotFound, ERROR_FILE_NOT_FOUND},
        {unknown, 256, platform::AssociationNotFound, ERROR_NO_ASSOCIATION},
        // The path does not fit: no cut path comes back.
        {document, 8, platform::AssociationOutOfMemory, ERROR_INSUFFICIENT_BUFFER},
    };
    for (const Case& c : cases) {
        std::array<char, 256> result;
        result.fill('#');
        SetLastError(0);
        EXPECT_EQ(platform::FindAssociatedExecutable(c.document, "", std::span(result.data(), c.resultSize)),
                  c.result)
            << c.document;
        EXPECT_EQ(platform::GetLastError(), c.error) << c.document;
        EXPECT_EQ(result[0], '#') << c.document;
    }
}

TEST_F(WindowsAssociation, TheLauncherFallsBackToTheDocumentsProgram)
{
    TExecFile launcher;
    launcher.Associate = true;
    launcher.CommandLine = document;
    EXPECT_TRUE(launcher.Execute()) << launcher.ErrorCode();
    EXPECT_TRUE(EndsWithWithoutCase(launcher.ExecutablePath(), "notepad.exe")) << launcher.ExecutablePath();
    const std::uint32_t notepad = launcher.ProcessInfo().processId;
    EXPECT_TRUE(wintest::PumpUntil([notepad] {
        CloseWindowsOf(notepad);
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, notepad);
        const bool ended = !process || ::WaitForSingleObject(process, 100) == WAIT_OBJECT_0;
        if (process)
            ::CloseHandle(process);
        return ended;
    })) << "the notepad ends";

    launcher.CommandLine = unknown;
    EXPECT_FALSE(launcher.Execute());
    EXPECT_EQ(launcher.ErrorCode(), static_cast<std::uint32_t>(ERROR_NO_ASSOCIATION));
}

} // namespace
