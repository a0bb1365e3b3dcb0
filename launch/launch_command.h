#pragma once
// Starting a user's command the way both callers do it: with the busy
// cursor shown while the launcher works.

#include <string>

class TExecFile;

// Hands the command (its first 255 characters) to `launcher` and starts it;
// true when a process was created.
bool LaunchCommand(TExecFile& launcher, const std::string& command);

// "Unable to find: " followed by the whole command.
std::string LaunchFailureText(const std::string& command);
