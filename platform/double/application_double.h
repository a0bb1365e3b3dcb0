#pragma once
// Test double of the application group: records what was asked of it.

#include <optional>

namespace platform::fake {

int ProcessMessagesCalls();
// The exit code of the latest quit request, if any.
std::optional<int> QuitRequested();
int ForegroundRequests();
void ResetApplication();

} // namespace platform::fake
