// Process creation on Windows: the command line goes to the system unchanged;
// the system finds the program and the started program splits its own
// arguments.

#include "platform/process.h"

#include "platform/windows/win32.h"

#include <vector>

namespace platform {
namespace {

// The startup record in the system's own layout. Its reference fields are
// pointers there; the launcher leaves them empty.
STARTUPINFOA SystemStartupInfo(const StartupRecord& startup)
{
    STARTUPINFOA info{};
    info.cb = sizeof info;
    info.dwX = startup.x;
    info.dwY = startup.y;
    info.dwXSize = startup.xSize;
    info.dwYSize = startup.ySize;
    info.dwXCountChars = startup.xCountChars;
    info.dwYCountChars = startup.yCountChars;
    info.dwFillAttribute = startup.fillAttribute;
    info.dwFlags = startup.flags;
    info.wShowWindow = startup.showWindow;
    return info;
}

} // namespace

bool CreateProcessFromCommandLine(const std::string& commandLine, std::uint32_t creationFlags,
                                  const StartupRecord& startup, ProcessRecord& process)
{
    // The system may write into the line while it works on it.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startupInfo = SystemStartupInfo(startup);
    PROCESS_INFORMATION created{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &startupInfo,
                        &created))
        return false;
    process.process = win32::FromHandle(created.hProcess);
    process.thread = win32::FromHandle(created.hThread);
    process.processId = created.dwProcessId;
    process.threadId = created.dwThreadId;
    return true;
}

std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t timeoutMs)
{
    return ::WaitForSingleObject(win32::ToHandle(handle), timeoutMs);
}

bool CloseHandle(Handle handle) { return ::CloseHandle(win32::ToHandle(handle)) != 0; }

std::uint32_t GetLastError() { return ::GetLastError(); }

} // namespace platform
