#pragma once
// A broken property of a fuzz target is a crash, so that libFuzzer keeps the
// input that broke it.

#include <cstdlib>

namespace fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzz
