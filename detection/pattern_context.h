#pragma once
// The context that the rules against unmeant patterns look at, read from the
// platform as it stands now.

#include "detection/dispatch.h"

// Reads only what the rules that are on in `guards` look at: the active
// window is followed from the first time a rule needs it.
TPatternContext ReadPatternContext(const TGuardSettings& guards);
