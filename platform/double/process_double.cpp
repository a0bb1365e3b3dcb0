#include "platform/process.h"
#include "platform/double/process_double.h"

#include <algorithm>
#include <deque>

namespace platform {
namespace {
struct FakeProcessState {
    std::vector<fake::ProcessCreation> creations;
    std::deque<std::uint32_t> queuedFailures;
    std::vector<Handle> opened;
    std::vector<Handle> closed;
    std::vector<fake::SingleObjectWait> singleObjectWaits;
    std::deque<QueuedMessage> queue;
    std::vector<QueuedMessage> dispatched;
    std::deque<std::function<void()>> happenings;
    std::vector<Handle> processOrMessageWaits;
    std::uint32_t lastError = 0;
    Handle nextHandle = 100;
    std::uint32_t nextProcessId = 1000;
};
FakeProcessState state;

bool IsOpen(Handle handle)
{
    return std::count(state.opened.begin(), state.opened.end(), handle) >
           std::count(state.closed.begin(), state.closed.end(), handle);
}
} // namespace

bool CreateProcessFromCommandLine(const std::string& commandLine, std::uint32_t creationFlags,
                                  const StartupRecord& startup, ProcessRecord& process)
{
    state.creations.push_back({commandLine, creationFlags, startup});
    if (!state.queuedFailures.empty()) {
        state.lastError = state.queuedFailures.front();
        state.queuedFailures.pop_front();
        return false;
    }
    process.process = state.nextHandle++;
    process.thread = state.nextHandle++;
    process.processId = state.nextProcessId;
    process.threadId = state.nextProcessId + 1;
    state.nextProcessId += 2;
    state.opened.push_back(process.process);
    state.opened.push_back(process.thread);
    return true;
}

std::uint32_t WaitForSingleObject(Handle handle, std::uint32_t timeoutMs)
{
    state.singleObjectWaits.push_back({handle, timeoutMs});
    return IsOpen(handle) ? WaitObject0 : WaitFailed;
}

bool CloseHandle(Handle handle)
{
    if (!IsOpen(handle))
        return false;
    state.closed.push_back(handle);
    return true;
}

std::uint32_t GetLastError() { return state.lastError; }

bool PeekQueuedMessage(QueuedMessage& message)
{
    if (state.queue.empty())
        return false;
    message = state.queue.front();
    state.queue.pop_front();
    return true;
}

void DispatchQueuedMessage(const QueuedMessage& message) { state.dispatched.push_back(message); }

std::uint32_t WaitForProcessOrMessage(Handle process)
{
    state.processOrMessageWaits.push_back(process);
    if (!IsOpen(process))
        return WaitFailed;
    if (state.queue.empty() && !state.happenings.empty()) {
        const std::function<void()> happening = std::move(state.happenings.front());
        state.happenings.pop_front();
        happening();
    }
    return state.queue.empty() ? WaitObject0 : WaitMessageQueued;
}

namespace fake {
const std::vector<ProcessCreation>& ProcessCreations() { return state.creations; }
void QueueProcessCreationFailure(std::uint32_t error) { state.queuedFailures.push_back(error); }
const std::vector<Handle>& OpenedHandles() { return state.opened; }
const std::vector<Handle>& ClosedHandles() { return state.closed; }
const std::vector<SingleObjectWait>& SingleObjectWaits() { return state.singleObjectWaits; }
void SetLastError(std::uint32_t error) { state.lastError = error; }
void PostQueuedMessage(const QueuedMessage& message) { state.queue.push_back(message); }
const std::vector<QueuedMessage>& DispatchedMessages() { return state.dispatched; }
void DuringProcessWait(std::function<void()> happening) { state.happenings.push_back(std::move(happening)); }
const std::vector<Handle>& ProcessOrMessageWaits() { return state.processOrMessageWaits; }
void ResetProcess() { state = FakeProcessState{}; }
} // namespace fake

} // namespace platform
