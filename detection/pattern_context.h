#pragma once
// The context that the rules against unmeant patterns look at, read from the
// platform as it stands now.

#include "detection/dispatch.h"

TPatternContext ReadPatternContext();
