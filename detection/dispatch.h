#pragma once
// What a detection tick does with the event the recogniser reported: the
// dispatch table of switches and commands.

#include "detection/mousedetect.h"
#include "settings/global.h"

#include <string>

// The one command text that opens the chooser instead of starting a program.
inline constexpr const char* ChooserCommand = "?";

struct TTickAction {
    enum Kind { Nothing, ShowChooser, Launch };
    Kind kind = Nothing;
    // The command to launch; only set for Launch, and owned by the settings.
    const std::string* command = nullptr;
};

// Applies the master switch, the event's own switch and its command, as
// they stand in `settings` now. Events other than 1..8 do nothing.
TTickAction DispatchEvent(TEventNumber event, TSettings& settings);
