#pragma once
// Process creation: starting a command line as a new process, waiting for it,
// releasing its handles, the last error of a failed operation, and the
// thread's message queue as far as a wait that keeps the program responsive
// needs it.

#include <cstdint>
#include <string>

namespace platform {

// A process or thread handle; NullHandle is never a valid one.
using Handle = std::intptr_t;
inline constexpr Handle NullHandle = 0;

// How the new process shows its first window (the startup record's
// showWindow field).
inline constexpr std::uint16_t ShowHide = 0;
inline constexpr std::uint16_t ShowNormal = 1;
inline constexpr std::uint16_t ShowMinimized = 2;
inline constexpr std::uint16_t ShowMaximized = 3;
inline constexpr std::uint16_t ShowMinNoActive = 7;
inline constexpr std::uint16_t ShowNoActivate = 8;

// The startup record's flags: showWindow is to be used.
inline constexpr std::uint32_t StartupUsesShowWindow = 0x1;

// Creation flags: a priority class, combined with a new console.
inline constexpr std::uint32_t CreateNewConsole = 0x10;
inline constexpr std::uint32_t NormalPriorityClass = 0x20;
inline constexpr std::uint32_t IdlePriorityClass = 0x40;
inline constexpr std::uint32_t HighPriorityClass = 0x80;
inline constexpr std::uint32_t RealtimePriorityClass = 0x100;

// The startup record handed to process creation. Every reference field is
// kept 32 bits wide, so that the record has the 68 bytes of the classic
// layout that its size field states; the launcher leaves them zero.
struct StartupRecord {
    std::uint32_t size = 0;
    std::uint32_t reserved = 0;
    std::uint32_t desktop = 0;
    std::uint32_t title = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t xSize = 0;
    std::uint32_t ySize = 0;
    std::uint32_t xCountChars = 0;
    std::uint32_t yCountChars = 0;
    std::uint32_t fillAttribute = 0;
    std::uint32_t flags = 0;
    std::uint16_t showWindow = 0;
    std::uint16_t reserved2Size = 0;
    std::uint32_t reserved2 = 0;
    std::uint32_t stdInput = 0;
    std::uint32_t stdOutput = 0;
    std::uint32_t stdError = 0;
};
inline constexpr std::uint32_t StartupRecordSize = 68;
static_assert(sizeof(StartupRecord) == StartupRecordSize);

// What process creation reports about a new process.
struct ProcessRecord {
    Handle process = NullHandle;
    Handle thread = NullHandle;
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
};

// Starts `commandLine` as a new process: the program is the first word of the
// line, found the platform's usual way, and the line's words are its
// arguments. No shell is involved. The process inherits this program's
// environment, current directory and output streams, and none of its other
// open handles.
// `creationFlags` holds a priority class and CreateNewConsole. On success
// fills `process` and returns true; on failure returns false, sets the last
// error and leaves `process` untouched.
bool CreateProcessFromCommandLine(const std::string& commandLine, std::uint32_t creationFlags,
                                  const StartupRecord& startup, ProcessRecord& process);

inline constexpr std::uint32_t Infinite = 0xFFFFFFFF;
inline constexpr std::uint32_t WaitObject0 = 0x0;
inline constexpr std::uint32_t WaitTimeout = 0x102;
inline constexpr std::uint32_t WaitFailed = 0xFFFFFFFF;

// Waits up to `timeoutMs` (or without limit, Infinite) for the process or
// thread of `handle` to end: WaitObject0 once it has ended, WaitTimeout when
// the time ran out first, WaitFailed for a handle that is not valid.
std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t timeoutMs);

// Releases `handle`; the process it refers to runs on untouched.
bool CloseHandle(Handle handle);

// The calling thread's last error, as set by the latest failed operation.
std::uint32_t GetLastError();

// One message taken from this thread's queue.
struct QueuedMessage {
    std::uintptr_t window = 0;
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A request to end the message loop; its wParam is the exit code.
inline constexpr std::uint32_t QuitMessageId = 0x12;

inline bool IsQuitMessage(const QueuedMessage& message) { return message.id == QuitMessageId; }

// Takes the next message of this thread's queue into `message` without
// blocking; false when the queue is empty.
bool PeekQueuedMessage(QueuedMessage& message);

// Translates keystrokes of `message` and delivers it to its window.
void DispatchQueuedMessage(const QueuedMessage& message);

inline constexpr std::uint32_t WaitMessageQueued = WaitObject0 + 1;

// Sleeps until the process of `process` has ended (WaitObject0) or a message
// is queued for this thread (WaitMessageQueued); WaitFailed for a handle that
// is not valid. Wherever the platform delivers events inside its own loop, it
// delivers them here as they arrive and reports only a quit request as a
// queued message.
std::uint32_t WaitForProcessOrMessage(Handle process);

} // namespace platform
