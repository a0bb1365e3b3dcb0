#pragma once
// Test double of the process-creation group: records every creation, wait and
// closed handle; creations succeed unless a failure is queued; a wait for a
// process or a message runs the next scripted happening and then reports a
// queued message or the process's end.

#include "platform/process.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::fake {

struct ProcessCreation {
    std::string commandLine;
    std::uint32_t creationFlags = 0;
    StartupRecord startup;
};
const std::vector<ProcessCreation>& ProcessCreations();

// The next creation without a queued failure left succeeds; each queued
// failure makes one creation fail with `error` as the last error.
void QueueProcessCreationFailure(std::uint32_t error);

// Handles handed out so far, in order: process, thread, process, thread, ...
const std::vector<Handle>& OpenedHandles();
const std::vector<Handle>& ClosedHandles();

struct SingleObjectWait {
    Handle handle = NullHandle;
    std::uint32_t timeoutMs = 0;
};
const std::vector<SingleObjectWait>& SingleObjectWaits();

void SetLastError(std::uint32_t error);

// Queues a message for PeekQueuedMessage.
void PostQueuedMessage(const QueuedMessage& message);
const std::vector<QueuedMessage>& DispatchedMessages();

// What happens while the next wait for a process or a message sleeps; with
// nothing scripted (or nothing queued by the happening) the process ends.
void DuringProcessWait(std::function<void()> happening);
// The process handle of every wait for a process or a message so far.
const std::vector<Handle>& ProcessOrMessageWaits();

// No creations, handles, waits, messages or queued failures; last error 0.
void ResetProcess();

} // namespace platform::fake
