#pragma once
// Test double of the window picker: the open windows' classes are what the
// test says, and a pick ends when the test plays the user's click.

#include "platform/window_picker.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::fake {

void SetOpenWindowClasses(std::vector<std::string> classes);
// While false, no pick can start.
void SetWindowPickAvailable(bool available);
bool WindowPickPending();
// Ends the pick in progress as the user's click (a class) or cancel
// (nullopt) would; nothing when none runs.
void FinishWindowPick(std::optional<std::string> picked);
// No windows, picks available, none in progress.
void ResetWindowPicker();

} // namespace platform::fake
