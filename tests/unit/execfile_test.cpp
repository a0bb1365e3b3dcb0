// The launcher's logic against the platform doubles: the records and the
// command lines it hands to process creation, the association fallback, the
// failure report and both ways of waiting.

#include "launch/Execfile.h"

#include "platform/double/application_double.h"
#include "platform/double/association_double.h"
#include "platform/double/process_double.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

namespace fake = platform::fake;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t FileNotFound = 2;

class ExecFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::ResetProcess();
        fake::ResetAssociation();
        fake::ResetApplication();
    }

    static std::vector<std::string> CreatedCommandLines()
    {
        std::vector<std::string> lines;
        for (const fake::ProcessCreation& creation : fake::ProcessCreations())
            lines.push_back(creation.commandLine);
        return lines;
    }

    TExecFile launcher;
};

TEST(InStringText, KeepsAtMost255Characters)
{
    const std::string long300(300, 'x');
    struct Case {
        std::string stored;
        std::string appended;
        std::size_t length;
    };
    const Case cases[] = {
        {"", "", 0},
        {"abc", "", 3},
        {std::string(255, 'a'), "", 255},
        {long300, "", 255},
        {std::string(250, 'a'), "bcdefgh", 255},
        {std::string(255, 'a'), " ", 255},
        {"abc", long300, 255},
    };
    for (const Case& c : cases) {
        InString text(c.stored);
        text.Append(c.appended);
        EXPECT_EQ(text.Length(), c.length) << c.stored.size() << " + " << c.appended.size();
        EXPECT_EQ(text.View(), (c.stored + c.appended).substr(0, c.length));
    }
    InString reused(long300);
    reused = "short";
    EXPECT_EQ(reused, "short");
}

TEST_F(ExecFile, StartsWithTheDeclaredDefaults)
{
    EXPECT_FALSE(launcher.Associate);
    EXPECT_TRUE(launcher.CommandLine.Empty());
    EXPECT_TRUE(launcher.Parameters.Empty());
    EXPECT_EQ(launcher.Priority, pcNormal);
    EXPECT_FALSE(launcher.Wait);
    EXPECT_EQ(launcher.WaitStyle, wRegular);
    EXPECT_EQ(launcher.WindowStyle, wsNorm);
    EXPECT_FALSE(launcher.OnFail);
    EXPECT_EQ(launcher.ErrorCode(), 0u);
    EXPECT_TRUE(launcher.ExecutablePath().empty());
}

TEST_F(ExecFile, BuildsTheCommandLineWithOneSpaceAndCutsItAt255)
{
    const std::string exactly255(255, 'c');
    const std::string command250 = std::string(246, 'c') + ".EXE";
    struct Case {
        std::string commandLine;
        std::string parameters;
        std::string expected;
    };
    const Case cases[] = {
        {"NOTEPAD.EXE", "", "NOTEPAD.EXE "},
        {"EXPLORER.EXE /n,/e,C:\\", "", "EXPLORER.EXE /n,/e,C:\\ "},
        {"viewer", "-a \"b c\"", "viewer -a \"b c\""},
        {exactly255, "lost", exactly255},
        {command250, "abcdefgh", command250 + " abcd"},
        {"", "", " "},
    };
    for (const Case& c : cases) {
        launcher.CommandLine = c.commandLine;
        launcher.Parameters = c.parameters;
        launcher.Execute();
        EXPECT_EQ(fake::ProcessCreations().back().commandLine, c.expected) << c.commandLine;
    }
}

TEST_F(ExecFile, StartupRecordCarriesTheShowWindowValueOfEachStyle)
{
    const std::pair<TWindowStyle, std::uint16_t> cases[] = {
        {wsNorm, 1}, {wsMinimize, 2}, {wsMaximize, 3}, {wsHide, 0}, {wsMinNoActivate, 7}, {wsShowNoActivate, 8},
    };
    launcher.CommandLine = "prog";
    for (const auto& [style, showWindow] : cases) {
        launcher.WindowStyle = style;
        launcher.Execute();
        const platform::StartupRecord& startup = fake::ProcessCreations().back().startup;
        EXPECT_EQ(startup.showWindow, showWindow) << int(style);
        EXPECT_EQ(startup.size, 68u);
        EXPECT_EQ(startup.flags, 1u);
        platform::StartupRecord rest = startup;
        rest.size = rest.flags = rest.showWindow = 0;
        const platform::StartupRecord zero{};
        EXPECT_EQ(std::memcmp(&rest, &zero, sizeof rest), 0) << "other fields stay zero";
    }
}

TEST_F(ExecFile, CreationFlagsArePriorityClassAndNewConsole)
{
    const std::pair<TPriorityClass, std::uint32_t> cases[] = {
        {pcNormal, 0x30}, {pcIdle, 0x50}, {pcHigh, 0x90}, {pcRealTime, 0x110},
    };
    launcher.CommandLine = "prog";
    for (const auto& [priority, flags] : cases) {
        launcher.Priority = priority;
        launcher.Execute();
        EXPECT_EQ(fake::ProcessCreations().back().creationFlags, flags) << int(priority);
    }
}

TEST_F(ExecFile, SuccessClosesBothHandlesAndDoesNotWait)
{
    launcher.CommandLine = "prog";
    EXPECT_TRUE(launcher.Execute());
    EXPECT_EQ(fake::ClosedHandles(), fake::OpenedHandles());
    EXPECT_THAT(fake::SingleObjectWaits(), IsEmpty());
    EXPECT_THAT(fake::ProcessOrMessageWaits(), IsEmpty());
    EXPECT_EQ(launcher.ProcessInfo().process, platform::NullHandle);
    EXPECT_EQ(launcher.ProcessInfo().processId, 1000u);
}

TEST_F(ExecFile, FailureSetsTheErrorCodeAndCallsOnFailOnce)
{
    std::vector<TExecFile*> senders;
    launcher.OnFail = [&](TExecFile& sender) {
        EXPECT_EQ(sender.ErrorCode(), FileNotFound) << "set before the handler runs";
        senders.push_back(&sender);
    };
    launcher.CommandLine = "missing";
    fake::QueueProcessCreationFailure(FileNotFound);
    EXPECT_FALSE(launcher.Execute());
    EXPECT_EQ(launcher.ErrorCode(), FileNotFound);
    EXPECT_THAT(senders, ElementsAre(&launcher));
    EXPECT_THAT(fake::AssociationLookups(), IsEmpty()) << "Associate is off";
    EXPECT_THAT(fake::ClosedHandles(), IsEmpty());
}

TEST_F(ExecFile, AssociationStartsTheFoundProgramWithTheDocument)
{
    const std::string long255(255, 'd');
    struct Case {
        std::string path;
        std::string document;
        std::string parameters;
        std::string expected;
    };
    const Case cases[] = {
        {"/usr/bin/viewer", "/home/ann/notes.txt", "", "/usr/bin/viewer /home/ann/notes.txt "},
        {"/usr/bin/viewer", "notes.txt", "-r", "/usr/bin/viewer notes.txt -r"},
        // A blank would split the path or the document into several words.
        {"/opt/My Apps/viewer", "notes.txt", "", "\"/opt/My Apps/viewer\" notes.txt "},
        {"/usr/bin/viewer", "/home/ann/My Notes.txt", "", "/usr/bin/viewer \"/home/ann/My Notes.txt\" "},
        // Unlike the direct one, this line is not cut at 255 characters.
        {"/usr/bin/viewer", long255, long255, "/usr/bin/viewer " + long255 + " " + long255},
    };
    launcher.Associate = true;
    for (const Case& c : cases) {
        fake::ResetProcess();
        fake::ResetAssociation();
        fake::SetAssociation(42, c.path);
        fake::QueueProcessCreationFailure(FileNotFound);
        launcher.CommandLine = c.document;
        launcher.Parameters = c.parameters;
        EXPECT_TRUE(launcher.Execute()) << c.document;
        ASSERT_EQ(fake::AssociationLookups().size(), 1u);
        EXPECT_EQ(fake::AssociationLookups()[0].document, c.document) << "the whole command line is the name";
        EXPECT_EQ(fake::AssociationLookups()[0].resultSize, 256u);
        EXPECT_EQ(launcher.ExecutablePath(), c.path);
        EXPECT_EQ(CreatedCommandLines().size(), 2u);
        EXPECT_EQ(CreatedCommandLines().back(), c.expected);
        EXPECT_EQ(fake::ClosedHandles().size(), 2u);
    }
}

TEST_F(ExecFile, FailedLookupMakesNoSecondAttempt)
{
    constexpr std::uint32_t NoAssociation = 1155;
    for (const std::intptr_t result : {0, 2, 31}) {
        fake::ResetProcess();
        fake::SetAssociation(result, "/usr/bin/viewer", NoAssociation);
        fake::QueueProcessCreationFailure(FileNotFound);
        int failures = 0;
        launcher.OnFail = [&](TExecFile&) { ++failures; };
        launcher.Associate = true;
        launcher.CommandLine = "report.xyz";
        EXPECT_FALSE(launcher.Execute()) << result;
        EXPECT_EQ(fake::ProcessCreations().size(), 1u);
        EXPECT_EQ(launcher.ErrorCode(), NoAssociation) << "the lookup's error, not the creation's";
        EXPECT_EQ(failures, 1);
    }
}

TEST_F(ExecFile, FailedSecondStartReportsItsOwnError)
{
    constexpr std::uint32_t BadFormat = 193;
    fake::SetAssociation(33, "/usr/bin/viewer");
    fake::QueueProcessCreationFailure(FileNotFound);
    fake::QueueProcessCreationFailure(BadFormat);
    launcher.Associate = true;
    launcher.CommandLine = "notes.txt";
    EXPECT_FALSE(launcher.Execute());
    EXPECT_EQ(fake::ProcessCreations().size(), 2u);
    EXPECT_EQ(launcher.ErrorCode(), BadFormat);
}

TEST_F(ExecFile, SuspendingWaitBlocksOnTheProcessThenCloses)
{
    launcher.CommandLine = "prog";
    launcher.Wait = true;
    launcher.WaitStyle = wSuspend;
    EXPECT_TRUE(launcher.Execute());
    const platform::Handle process = fake::OpenedHandles()[0];
    ASSERT_EQ(fake::SingleObjectWaits().size(), 1u);
    EXPECT_EQ(fake::SingleObjectWaits()[0].handle, process);
    EXPECT_EQ(fake::SingleObjectWaits()[0].timeoutMs, platform::Infinite);
    EXPECT_THAT(fake::ProcessOrMessageWaits(), IsEmpty());
    EXPECT_EQ(fake::ClosedHandles().size(), 2u);
}

platform::QueuedMessage Message(std::uint32_t id, std::uintptr_t wParam = 0)
{
    platform::QueuedMessage message;
    message.id = id;
    message.wParam = wParam;
    return message;
}

std::vector<std::uint32_t> DispatchedIds()
{
    std::vector<std::uint32_t> ids;
    for (const platform::QueuedMessage& message : fake::DispatchedMessages())
        ids.push_back(message.id);
    return ids;
}

TEST_F(ExecFile, RegularWaitHandlesMessagesUntilTheProcessEnds)
{
    constexpr std::uint32_t Timer = 0x113;
    constexpr std::uint32_t Paint = 0x0F;
    fake::PostQueuedMessage(Message(Paint));
    fake::DuringProcessWait([] { fake::PostQueuedMessage(Message(Timer)); });
    fake::DuringProcessWait([] {
        fake::PostQueuedMessage(Message(Timer, 1));
        fake::PostQueuedMessage(Message(Paint, 2));
    });
    launcher.CommandLine = "prog";
    launcher.Wait = true;
    EXPECT_TRUE(launcher.Execute());

    EXPECT_THAT(DispatchedIds(), ElementsAre(Paint, Timer, Timer, Paint));
    // It sleeps once per batch of messages and once more until the end: no
    // polling in between.
    const platform::Handle process = fake::OpenedHandles()[0];
    EXPECT_THAT(fake::ProcessOrMessageWaits(), ElementsAre(process, process, process));
    EXPECT_EQ(fake::ProcessMessagesCalls(), 1) << "what is left queued at the end";
    EXPECT_EQ(fake::ClosedHandles().size(), 2u);
    EXPECT_FALSE(fake::QuitRequested());
}

TEST_F(ExecFile, QuitDuringRegularWaitIsPutBackAndExecuteReturns)
{
    constexpr std::uint32_t Timer = 0x113;
    fake::DuringProcessWait([] {
        fake::PostQueuedMessage(Message(Timer));
        fake::PostQueuedMessage(Message(platform::QuitMessageId, 3));
        fake::PostQueuedMessage(Message(Timer));
    });
    fake::DuringProcessWait([] { ADD_FAILURE() << "waited on after the quit"; });
    launcher.CommandLine = "prog";
    launcher.Wait = true;
    EXPECT_TRUE(launcher.Execute());

    EXPECT_EQ(fake::QuitRequested(), 3);
    EXPECT_THAT(DispatchedIds(), ElementsAre(Timer)) << "nothing after the quit is taken";
    EXPECT_EQ(fake::ProcessOrMessageWaits().size(), 1u);
    EXPECT_EQ(fake::ClosedHandles().size(), 2u);
}

TEST_F(ExecFile, LaunchFromInsideARegularWaitLeavesTheOuterWaitIntact)
{
    launcher.CommandLine = "outer";
    launcher.Wait = true;
    fake::DuringProcessWait([this] {
        launcher.CommandLine = "inner";
        launcher.Wait = false;
        EXPECT_TRUE(launcher.Execute());
        fake::PostQueuedMessage(Message(0x113));
    });
    EXPECT_TRUE(launcher.Execute());

    const std::vector<platform::Handle>& opened = fake::OpenedHandles();
    ASSERT_EQ(opened.size(), 4u);
    // The outer wait went on sleeping on its own process after the inner
    // launch, and each launch closed its own two handles once.
    EXPECT_THAT(fake::ProcessOrMessageWaits(), ElementsAre(opened[0], opened[0]));
    EXPECT_THAT(fake::ClosedHandles(), ElementsAre(opened[2], opened[3], opened[0], opened[1]));
}

} // namespace
