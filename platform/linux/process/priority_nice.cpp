#include "platform/linux/process/priority_nice.h"

#include "platform/process.h"

#include <algorithm>
#include <cerrno>

namespace platform {
namespace {
constexpr int HighestNice = -20;
constexpr int LowestNice = 19;
} // namespace

int NiceValueFor(std::uint32_t creationFlags)
{
    if (creationFlags & IdlePriorityClass)
        return LowestNice;
    if (creationFlags & NormalPriorityClass)
        return 0;
    if (creationFlags & HighPriorityClass)
        return -10;
    if (creationFlags & RealtimePriorityClass)
        return HighestNice;
    return 0;
}

int CappedNiceValue(int wanted, int current, rlim_t niceLimit)
{
    if (wanted >= current)
        return wanted;
    // The limit counts from 1 (nice 19) to 40 (nice -20).
    const int floor = niceLimit == RLIM_INFINITY || niceLimit >= 40 ? HighestNice : 20 - static_cast<int>(niceLimit);
    return std::max(wanted, std::min(current, floor));
}

void ApplyNiceValue(pid_t pid, int wanted)
{
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (errno != 0 || wanted == current)
        return;
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(pid), wanted) == 0)
        return;
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) != 0)
        return;
    // Whatever cannot be set leaves the process at this program's own value.
    if (const int capped = CappedNiceValue(wanted, current, limit.rlim_cur); capped != current)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), capped);
}

} // namespace platform
