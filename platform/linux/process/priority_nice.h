#pragma once
// Priority classes as nice values.

#include <sys/resource.h>
#include <sys/types.h>

#include <cstdint>

namespace platform {

// The nice value for the priority class among `creationFlags`: normal 0,
// idle 19, high -10, real-time -20. Of several classes the lowest counts.
int NiceValueFor(std::uint32_t creationFlags);

// The value nearest to `wanted` that an unprivileged process at `current`
// may set under the nice limit `niceLimit` (RLIMIT_NICE): raising the value is
// always allowed, lowering it only down to 20 - niceLimit.
int CappedNiceValue(int wanted, int current, rlim_t niceLimit);

// Gives the process or thread `pid`, which runs at this program's own nice
// value, the nice value `wanted`, or the nearest one this user may set.
void ApplyNiceValue(pid_t pid, int wanted);

} // namespace platform
