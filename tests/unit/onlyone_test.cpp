#include "shell/OnlyOne.h"

#include "platform/double/application_double.h"
#include "platform/double/cursor_double.h"
#include "platform/double/nametable_double.h"
#include "platform/double/window_double.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
namespace fake = platform::fake;

constexpr char Title[] = "Quorzane! v1.0";
constexpr char Name[] = "OnlyOneQuorzane! v1.0";

// The options form as the guard sees it: the title is the application
// window's, as in the program.
class FakeOwnerForm : public TOnlyOneOwner {
public:
    std::string ApplicationTitle() const override { return platform::GetApplicationWindowText(); }
    void SetApplicationTitle(const std::string& title) override { platform::SetApplicationWindowText(title); }
    void SetFormTop(int top) override { formTop = top; }

    std::optional<int> formTop;
};

class OnlyOne : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::ResetNameTable();
        fake::ResetWindows();
        fake::ResetApplication();
        fake::ResetCursorAndScreen();
        fake::SetScreenSize(1024, 768);
        StartCopyTitled(Title);
    }

    static void StartCopyTitled(const std::string& title) { platform::SetApplicationWindowText(title); }

    // What a copy that runs already has left behind it.
    static platform::WindowHandle RunningCopy(const std::string& title, bool iconic = false)
    {
        platform::GlobalAddAtom(OnlyOneAtomName(title));
        return fake::AddWindow(platform::ApplicationWindowClass, title, iconic);
    }

    FakeOwnerForm form;
};

TEST(OnlyOneAtomName, OnlyOneAndTheFirstTwentyCharactersOfTheTitle)
{
    const struct {
        const char* title;
        const char* name;
    } cases[] = {
        {"", "OnlyOne"},
        {"Quorzane! v1.0", "OnlyOneQuorzane! v1.0"},
        {"12345678901234567890", "OnlyOne12345678901234567890"},
        {"12345678901234567890X", "OnlyOne12345678901234567890"},
        {"Quorzane! v1.0 (test build 7)", "OnlyOneQuorzane! v1.0 (test"},
        // Characters, not bytes: "ü" takes two bytes and is kept whole.
        {"Quorzane für alle v1.0!", "OnlyOneQuorzane für alle v1"},
        {"ääääääääääääääääääää€", "OnlyOneääääääääääääääääääää"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OnlyOneAtomName(c.title), c.name) << c.title;
}

TEST_F(OnlyOne, FirstCopyAddsTheNameRunsOnAndRemovesItAtTheEnd)
{
    {
        TOnlyOne guard(form);
        EXPECT_TRUE(guard.EnforceOnlyOne);
        guard.Loaded();

        EXPECT_TRUE(guard.IsFirstCopy());
        EXPECT_EQ(fake::NameCount(Name), 1);
        EXPECT_THAT(fake::WindowSearches(), IsEmpty());
        EXPECT_EQ(platform::GetApplicationWindowText(), Title);
        EXPECT_FALSE(fake::QuitRequested());
        EXPECT_FALSE(form.formTop);
    }
    EXPECT_FALSE(fake::HasName(Name));

    // The next start is a first copy again.
    TOnlyOne next(form);
    next.Loaded();
    EXPECT_TRUE(next.IsFirstCopy());
    EXPECT_FALSE(fake::QuitRequested());
}

TEST_F(OnlyOne, SecondCopyEndsItselfAndLeavesTheNameToTheRunningCopy)
{
    const platform::WindowHandle running = RunningCopy(Title);
    {
        TOnlyOne guard(form);
        guard.Loaded();

        EXPECT_FALSE(guard.IsFirstCopy());
        EXPECT_EQ(platform::GetApplicationWindowText(), "destroy me");
        EXPECT_THAT(fake::WindowSearches(), ElementsAre(Pair("TApplication", Title)));
        EXPECT_EQ(fake::QuitRequested(), 0);
        EXPECT_EQ(form.formTop, 768 + 1);
        EXPECT_THAT(fake::RaisedWindows(), ElementsAre(running));
        EXPECT_THAT(fake::RestoredWindows(), IsEmpty());
    }
    EXPECT_EQ(fake::NameCount(Name), 1);
}

TEST_F(OnlyOne, MinimisedRunningWindowIsRestoredOtherwiseRaised)
{
    for (const bool iconic : {true, false}) {
        SetUp();
        const platform::WindowHandle running = RunningCopy(Title, iconic);
        TOnlyOne guard(form);
        guard.Loaded();

        const std::vector<platform::WindowHandle> none;
        const std::vector<platform::WindowHandle> onlyRunning{running};
        EXPECT_EQ(fake::RestoredWindows(), iconic ? onlyRunning : none) << iconic;
        EXPECT_EQ(fake::RaisedWindows(), iconic ? none : onlyRunning) << iconic;
        EXPECT_FALSE(fake::WindowIsIconic(running));
    }
}

TEST_F(OnlyOne, LongTitleNamesTwentyCharactersButSearchesTheWholeTitle)
{
    const std::string title = "Quorzane! v1.0 - a rather long title";
    StartCopyTitled(title);
    RunningCopy(title);

    TOnlyOne guard(form);
    guard.Loaded();

    EXPECT_TRUE(fake::HasName("OnlyOneQuorzane! v1.0 - a r"));
    EXPECT_THAT(fake::WindowSearches(), ElementsAre(Pair("TApplication", title)));
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(OnlyOne, NamesCompareWithoutRegardToCase)
{
    platform::GlobalAddAtom("ONLYONEQUORZANE! V1.0");
    fake::AddWindow("TApplication", "QUORZANE! V1.0");

    TOnlyOne guard(form);
    guard.Loaded();

    EXPECT_FALSE(guard.IsFirstCopy());
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(OnlyOne, CopiesUnderAnotherTitleDoNotSeeEachOther)
{
    RunningCopy("Quorzane! v2.0");

    TOnlyOne guard(form);
    guard.Loaded();

    EXPECT_TRUE(guard.IsFirstCopy());
    EXPECT_EQ(fake::NameCount(Name), 1);
    EXPECT_FALSE(fake::QuitRequested());
}

// The holder of the name may not have published its window yet: a copy
// whose claim failed still ends, and the name stays the holder's.
TEST_F(OnlyOne, NameWithNoWindowStillEndsTheCopyAndLeavesTheName)
{
    platform::GlobalAddAtom(Name);
    {
        TOnlyOne guard(form);
        guard.Loaded();

        EXPECT_FALSE(guard.IsFirstCopy());
        EXPECT_TRUE(fake::QuitRequested());
        EXPECT_EQ(form.formTop, 768 + 1);
        EXPECT_THAT(fake::RaisedWindows(), IsEmpty());
        EXPECT_EQ(fake::NameCount(Name), 1);
    }
    EXPECT_EQ(fake::NameCount(Name), 1);
}

TEST_F(OnlyOne, FailedAddRunsAsFirstCopyAndRemovesNothing)
{
    fake::SetAddFails(true);
    {
        TOnlyOne guard(form);
        guard.Loaded();
        EXPECT_TRUE(guard.IsFirstCopy());
        EXPECT_FALSE(fake::QuitRequested());
        fake::SetAddFails(false);
        platform::GlobalAddAtom(Name); // a copy that started meanwhile
    }
    EXPECT_EQ(fake::NameCount(Name), 1);
}

TEST_F(OnlyOne, NotEnforcedLooksUpAddsSearchesAndRemovesNothing)
{
    RunningCopy(Title);
    const int callsBefore = fake::NameTableCalls();
    {
        TOnlyOne guard(form);
        guard.EnforceOnlyOne = false;
        guard.Loaded();

        EXPECT_EQ(fake::NameTableCalls(), callsBefore);
        EXPECT_THAT(fake::WindowSearches(), IsEmpty());
        EXPECT_EQ(platform::GetApplicationWindowText(), Title);
        EXPECT_FALSE(fake::QuitRequested());
        EXPECT_FALSE(form.formTop);
    }
    EXPECT_EQ(fake::NameCount(Name), 1);
}

TEST_F(OnlyOne, SecondCopyNeverRemovesTheRunningCopysName)
{
    RunningCopy(Title);
    {
        TOnlyOne guard(form);
        guard.Loaded();
        // Switched off after it found the name: still not this copy's to remove.
        guard.EnforceOnlyOne = false;
    }
    EXPECT_EQ(fake::NameCount(Name), 1);
}

} // namespace
