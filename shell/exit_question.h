#pragma once
// The one exit question, asked from the popup menu and from the options
// dialog. A Yes asks the message loop to end.

class QWidget;

// Asks, modal to `owner` only (nullptr: to no window), and returns whether
// the user said Yes; each Yes posts the quit message.
bool AskToExit(QWidget* owner = nullptr);
