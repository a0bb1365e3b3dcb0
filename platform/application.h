#pragma once
// The application as a whole: its message loop and its place among the
// user's windows.

namespace platform {

// Handles every event already waiting, then returns.
void ProcessMessages();

// Asks the message loop to end with `exitCode`; the request is queued, so the
// caller goes on to its end first.
void PostQuitMessage(int exitCode);

// Makes this program the foreground application, so that a menu it opens
// next takes the input.
void SetForegroundWindow();

} // namespace platform
