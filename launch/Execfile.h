#pragma once
// TExecFile starts one command line as a new process: with a chosen window
// style and priority class, optionally through the program associated with
// a document, optionally waiting for the process to end. It shows no message
// of its own; failure is a false result, an error code and OnFail.

#include "launch/InString.h"
#include "platform/process.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum TWindowStyle : std::uint8_t { wsNorm, wsMinimize, wsMaximize, wsHide, wsMinNoActivate, wsShowNoActivate };
enum TWaitStyle : std::uint8_t { wRegular, wSuspend };
enum TPriorityClass : std::uint8_t { pcNormal, pcIdle, pcHigh, pcRealTime };

class TExecFile;
using TNotifyEvent = std::function<void(TExecFile& Sender)>;

class TExecFile {
public:
    // The published properties, with their defaults. Each is a plain value:
    // storing one has no other effect.

    // Retry through the program associated with the document named by
    // CommandLine when the direct start fails.
    bool Associate = false;
    // The program (or document) and its arguments.
    InString CommandLine;
    // Further arguments, appended after one space.
    InString Parameters;
    TPriorityClass Priority = pcNormal;
    // Wait for the new process to end before Execute returns.
    bool Wait = false;
    TWaitStyle WaitStyle = wRegular;
    TWindowStyle WindowStyle = wsNorm;
    // Called after every failed launch, with this component as sender.
    TNotifyEvent OnFail;

    // Starts the process. True when one was created (and, with Wait, has
    // ended or the program was asked to quit meanwhile); false when none was
    // started.
    bool Execute();

    // The last error taken at the latest failure.
    std::uint32_t ErrorCode() const { return m_errorCode; }
    // The program path found by the latest association lookup.
    const std::string& ExecutablePath() const { return m_executablePath; }
    // The records of the latest launch; its handles are closed (null) once
    // Execute has returned.
    const platform::StartupRecord& StartupInfo() const { return m_startupInfo; }
    const platform::ProcessRecord& ProcessInfo() const { return m_processInfo; }

private:
    bool StartThroughAssociation(std::uint32_t creationFlags);
    void WaitUntilEnded(platform::Handle process) const;
    void CloseHandles(const platform::ProcessRecord& started);
    bool Fail();

    std::uint32_t m_errorCode = 0;
    std::string m_executablePath;
    platform::StartupRecord m_startupInfo;
    platform::ProcessRecord m_processInfo;
};

// The startup record and the creation flags that Execute hands to process
// creation for a window style and a priority class.
platform::StartupRecord StartupRecordFor(TWindowStyle windowStyle);
std::uint32_t CreationFlagsFor(TPriorityClass priority);

