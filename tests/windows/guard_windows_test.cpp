// The Windows platform layer's name table and window search against the
// system itself, and the single-instance guard across two real processes:
// this test program starts a copy of itself as the second copy.

#include "launch/Execfile.h"
#include "launch/argument_quoting.h"
#include "platform/nametable.h"
#include "platform/process.h"
#include "platform/window.h"
#include "platform/windows/hidden_window.h"
#include "shell/OnlyOne.h"

#include "tests/conformance/temp_folder.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The title of the copy that runs first, handed to the second copy.
constexpr char FirstCopyTitleVariable[] = "QUORZANE_TEST_FIRST_COPY";
// A file that the second copy makes once it has given way as it should.
constexpr char GaveWayMarkVariable[] = "QUORZANE_TEST_GAVE_WAY";

std::string Unique(const std::string& name) { return name + " " + std::to_string(GetCurrentProcessId()); }

TEST(WindowsNameTable, NamesAreFoundWithoutRegardToCase)
{
    const std::string name = Unique("QuorzaneTestName");
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
    const platform::Atom atom = platform::GlobalAddAtom(name);
    ASSERT_NE(atom, platform::NoAtom);
    EXPECT_EQ(platform::GlobalFindAtom(Unique("quorzanetestname")), atom);
    EXPECT_EQ(platform::GlobalFindAtom(Unique("QUORZANETESTNAME")), atom);
    platform::GlobalDeleteAtom(atom);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
}

TEST(WindowsNameTable, FindOrAddAddsOnlyWhenTheNameIsMissing)
{
    const std::string name = Unique("QuorzaneFindOrAdd");
    const platform::AtomLookUp first = platform::GlobalFindOrAddAtom(name);
    EXPECT_TRUE(first.added);
    ASSERT_NE(first.atom, platform::NoAtom);
    const platform::AtomLookUp second = platform::GlobalFindOrAddAtom(name);
    EXPECT_FALSE(second.added);
    EXPECT_EQ(second.atom, first.atom);
    platform::GlobalDeleteAtom(first.atom);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom) << "the look-up added nothing";
}

TEST(WindowsNameTable, ADeleteGivesBackOnlyThisProgramsOwnAdds)
{
    const std::string name = Unique("QuorzaneForeignName");
    const ATOM foreign = ::GlobalAddAtomA(name.c_str());
    ASSERT_NE(foreign, 0);
    platform::GlobalDeleteAtom(foreign);
    EXPECT_EQ(platform::GlobalFindAtom(name), foreign) << "added by someone else";

    const platform::Atom own = platform::GlobalAddAtom(name);
    EXPECT_EQ(own, foreign);
    platform::GlobalDeleteAtom(own);
    platform::GlobalDeleteAtom(own);
    EXPECT_EQ(platform::GlobalFindAtom(name), foreign) << "one add given back, not two";
    ::GlobalDeleteAtom(foreign);
    EXPECT_EQ(platform::GlobalFindAtom(name), platform::NoAtom);
    platform::GlobalDeleteAtom(platform::NoAtom);
}

TEST(WindowsWindowSearch, TheApplicationWindowIsFoundByClassAndTitle)
{
    const std::string title = Unique("Quorzane! test");
    platform::SetApplicationWindowText(title);
    EXPECT_EQ(platform::GetApplicationWindowText(), title);
    const platform::WindowHandle window = platform::FindWindow(platform::ApplicationWindowClass, title);
    ASSERT_NE(window, platform::NoWindow);
    EXPECT_EQ(platform::FindWindow("tapplication", Unique("QUORZANE! TEST")), window);
    EXPECT_EQ(platform::FindWindow("OtherClass", title), platform::NoWindow);
    EXPECT_FALSE(platform::IsIconic(window));
    EXPECT_TRUE(platform::BringWindowToTop(window));

    platform::SetApplicationWindowText("renamed");
    EXPECT_EQ(platform::FindWindow(platform::ApplicationWindowClass, title), platform::NoWindow);
}

TEST(WindowsWindowSearch, RequestsToNoWindowFail)
{
    EXPECT_FALSE(platform::IsIconic(platform::NoWindow));
    EXPECT_FALSE(platform::ShowWindow(platform::NoWindow, platform::ShowCommand::Restore));
    EXPECT_FALSE(platform::BringWindowToTop(platform::NoWindow));
}

class GuardOwner final : public TOnlyOneOwner {
public:
    explicit GuardOwner(std::string title) : title_(std::move(title)) { platform::SetApplicationWindowText(title_); }
    std::string ApplicationTitle() const override { return title_; }
    void SetApplicationTitle(const std::string& title) override
    {
        title_ = title;
        platform::SetApplicationWindowText(title);
    }
    void SetFormTop(int top) override { formTop = top; }

    int formTop = 0;

private:
    std::string title_;
};

std::string ThisProgram()
{
    std::array<char, MAX_PATH> path{};
    GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return path.data();
}

// Starts this program as the second copy and waits for it, handling this
// copy's messages meanwhile: the second copy's requests to the first copy's
// window are answered here.
bool RunSecondCopy(const std::string& firstTitle, const std::string& mark)
{
    SetEnvironmentVariableA(FirstCopyTitleVariable, firstTitle.c_str());
    SetEnvironmentVariableA(GaveWayMarkVariable, mark.c_str());
    platform::ProcessRecord copy;
    const bool started = platform::CreateProcessFromCommandLine(
        QuotedArgument(ThisProgram()) + " --gtest_filter=WindowsOnlyOneSecondCopy.GivesWayToTheFirst",
        CreationFlagsFor(pcNormal), StartupRecordFor(wsNorm), copy);
    SetEnvironmentVariableA(FirstCopyTitleVariable, nullptr);
    SetEnvironmentVariableA(GaveWayMarkVariable, nullptr);
    if (!started)
        return false;
    const HANDLE process = platform::win32::ToHandle(copy.process);
    const bool ended = wintest::PumpUntil([process] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; },
                                          20000, process);
    platform::CloseHandle(copy.process);
    platform::CloseHandle(copy.thread);
    return ended;
}

TEST(WindowsOnlyOne, ASecondCopyGivesWayToTheFirst)
{
    const std::string title = Unique("Quorzane! first copy");
    GuardOwner owner(title);
    int calledForward = 0;
    platform::WhenApplicationWindowCalledForward([&calledForward] { ++calledForward; });
    {
        TOnlyOne guard(owner);
        guard.Loaded();
        ASSERT_TRUE(guard.IsFirstCopy());
        EXPECT_NE(platform::GlobalFindAtom(OnlyOneAtomName(title)), platform::NoAtom);

        conformance::TempFolder folder;
        const std::string mark = folder / "gave-way";
        ASSERT_TRUE(RunSecondCopy(title, mark));
        EXPECT_TRUE(std::filesystem::exists(mark)) << "the second copy found this one and gave way";
        EXPECT_TRUE(guard.IsFirstCopy());
        EXPECT_TRUE(wintest::PumpUntil([&calledForward] { return calledForward > 0; }, 5000))
            << "the second copy brought this one forward";
        EXPECT_FALSE(IsWindowVisible(platform::win32::ApplicationWindow())) << "the application window stays hidden";
    }
    platform::WhenApplicationWindowCalledForward({});
    EXPECT_EQ(platform::GlobalFindAtom(OnlyOneAtomName(title)), platform::NoAtom) << "the name goes with the guard";
}

// Runs only as the second copy that the test above starts.
TEST(WindowsOnlyOneSecondCopy, GivesWayToTheFirst)
{
    const char* firstTitle = std::getenv(FirstCopyTitleVariable);
    const char* mark = std::getenv(GaveWayMarkVariable);
    if (!firstTitle || !mark)
        GTEST_SKIP() << "started by WindowsOnlyOne.ASecondCopyGivesWayToTheFirst";

    GuardOwner owner(firstTitle);
    TOnlyOne guard(owner);
    guard.Loaded();
    ASSERT_FALSE(guard.IsFirstCopy());
    EXPECT_GT(owner.formTop, 0) << "its form moved off the screen";
    platform::QueuedMessage message;
    ASSERT_TRUE(platform::PeekQueuedMessage(message));
    ASSERT_TRUE(platform::IsQuitMessage(message)) << "it ends itself";
    if (!::testing::Test::HasFailure())
        conformance::StoreBytes(mark, "");
}

TEST(WindowsOnlyOne, ANameWithoutItsWindowIsTakenOver)
{
    const std::string title = Unique("Quorzane! left behind");
    // What a killed first copy leaves: its name, but no window.
    const ATOM left = ::GlobalAddAtomA(OnlyOneAtomName(title).c_str());
    GuardOwner owner(title);
    {
        TOnlyOne guard(owner);
        guard.Loaded();
        EXPECT_TRUE(guard.IsFirstCopy());
        EXPECT_EQ(owner.ApplicationTitle(), title);
    }
    ::GlobalDeleteAtom(left);
    EXPECT_EQ(platform::GlobalFindAtom(OnlyOneAtomName(title)), platform::NoAtom);
}

} // namespace
