#include "launch/Execfile.h"

#include "launch/argument_quoting.h"
#include "platform/application.h"
#include "platform/association.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::uint16_t, 6> ShowWindowValues = {
    platform::ShowNormal,      // wsNorm
    platform::ShowMinimized,   // wsMinimize
    platform::ShowMaximized,   // wsMaximize
    platform::ShowHide,        // wsHide
    platform::ShowMinNoActive, // wsMinNoActivate
    platform::ShowNoActivate,  // wsShowNoActivate
};

constexpr std::array<std::uint32_t, 4> PriorityClasses = {
    platform::NormalPriorityClass,   // pcNormal
    platform::IdlePriorityClass,     // pcIdle
    platform::HighPriorityClass,     // pcHigh
    platform::RealtimePriorityClass, // pcRealTime
};

// The association lookup writes a zero-terminated path of at most this many
// characters, the terminator included.
constexpr std::size_t AssociationResultSize = 256;

} // namespace

platform::StartupRecord StartupRecordFor(TWindowStyle windowStyle)
{
    platform::StartupRecord startup;
    startup.size = platform::StartupRecordSize;
    startup.flags = platform::StartupUsesShowWindow;
    startup.showWindow = ShowWindowValues.at(windowStyle);
    return startup;
}

std::uint32_t CreationFlagsFor(TPriorityClass priority)
{
    return PriorityClasses.at(priority) | platform::CreateNewConsole;
}

bool TExecFile::Execute()
{
    m_startupInfo = StartupRecordFor(WindowStyle);
    const std::uint32_t creationFlags = CreationFlagsFor(Priority);

    // The space goes in even before empty parameters; the line stops at 255
    // characters, parameters and all.
    InString commandLine = CommandLine;
    commandLine.Append(" ");
    commandLine.Append(Parameters.View());

    bool created = platform::CreateProcessFromCommandLine(commandLine.Str(), creationFlags, m_startupInfo,
                                                          m_processInfo);
    if (!created && Associate)
        created = StartThroughAssociation(creationFlags);
    if (!created)
        return Fail();

    // A launch from inside a wRegular wait overwrites the records; this
    // launch keeps its own handles to wait on and to close.
    const platform::ProcessRecord started = m_processInfo;
    if (Wait)
        WaitUntilEnded(started.process);
    CloseHandles(started);
    return true;
}

bool TExecFile::StartThroughAssociation(std::uint32_t creationFlags)
{
    std::array<char, AssociationResultSize> found{};
    if (platform::FindAssociatedExecutable(CommandLine.Str(), std::string(), found) < platform::AssociationFound)
        return false;
    m_executablePath.assign(found.begin(), std::find(found.begin(), found.end(), '\0'));

    // The whole command line named the document, so it is one word here; a
    // program path or a document name with a blank would otherwise split
    // into several words and start or open something else.
    const std::string commandLine = QuotedArgument(m_executablePath) + ' ' + QuotedArgument(CommandLine.View()) +
                                    ' ' + Parameters.Str();
    return platform::CreateProcessFromCommandLine(commandLine, creationFlags, m_startupInfo, m_processInfo);
}

// With wSuspend nothing runs until the process has ended. With wRegular the
// program's messages keep flowing while it sleeps until the process ends; the
// loop's state is its own, so that a launch from inside the wait cannot end
// it early.
void TExecFile::WaitUntilEnded(platform::Handle process) const
{
    if (WaitStyle == wSuspend) {
        platform::WaitForSingleObject(process, platform::Infinite);
        return;
    }
    platform::QueuedMessage pendingMessage;
    bool finished = false;
    while (!finished) {
        while (platform::PeekQueuedMessage(pendingMessage)) {
            if (platform::IsQuitMessage(pendingMessage)) {
                // Put back for the program's own loop, so that its orderly
                // shutdown still runs.
                platform::PostQuitMessage(static_cast<int>(pendingMessage.wParam));
                return;
            }
            platform::DispatchQueuedMessage(pendingMessage);
        }
        if (platform::WaitForProcessOrMessage(process) != platform::WaitMessageQueued) {
            finished = true;
            platform::ProcessMessages();
        }
    }
}

void TExecFile::CloseHandles(const platform::ProcessRecord& started)
{
    platform::CloseHandle(started.process);
    platform::CloseHandle(started.thread);
    m_processInfo.process = platform::NullHandle;
    m_processInfo.thread = platform::NullHandle;
}

bool TExecFile::Fail()
{
    m_errorCode = platform::GetLastError();
    if (OnFail)
        OnFail(*this);
    return false;
}
