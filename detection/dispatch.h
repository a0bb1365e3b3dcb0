#pragma once
// What a detection tick does with the event the recogniser reported: the
// dispatch table of switches and commands.

#include "detection/mousedetect.h"
#include "settings/global.h"

#include <functional>
#include <string>

// The one command text that opens the chooser instead of starting a program.
inline constexpr const char* ChooserCommand = "?";

struct TTickAction {
    enum Kind { Nothing, ShowChooser, Launch };
    Kind kind = Nothing;
    // The command to launch; only set for Launch, and owned by the settings.
    const std::string* command = nullptr;
};

// What the rules against unmeant patterns look at, as it stands when an
// event is dispatched.
struct TPatternContext {
    bool buttonHeld = false;
    bool fullScreen = false;
    // The active window's class; empty where nobody tells.
    std::string windowClass;
};

// Whether the rules that are on in `guards` hold an event back in `context`.
bool PatternSuppressed(const TGuardSettings& guards, const TPatternContext& context);

// Reads the context; asked only for an event that would otherwise act.
using TPatternContextReader = std::function<TPatternContext()>;

// Applies the master switch, the event's own switch, the rules against
// unmeant patterns and its command, as they stand in `settings` now; a held
// back event is consumed like a switched-off one. Events other than 1..8 do
// nothing.
TTickAction DispatchEvent(TEventNumber event, TSettings& settings, const TPatternContextReader& readContext = {});
