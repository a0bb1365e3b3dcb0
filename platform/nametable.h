#pragma once
// The name table: short names that a program leaves behind for other
// programs of the same user to find. Names compare without regard to case,
// and a name lives until its holder deletes it or ends, however it ends.

#include <cstdint>
#include <string>

namespace platform {

using Atom = std::uint16_t;
inline constexpr Atom NoAtom = 0;

// The atom of `name`, or NoAtom when the name is not in the table.
Atom GlobalFindAtom(const std::string& name);

// Adds `name` for this program and returns its atom; NoAtom when it cannot
// be added.
Atom GlobalAddAtom(const std::string& name);

struct AtomLookUp {
    Atom atom = NoAtom;
    // True when this call added the name; false when it was there already
    // (or could not be added, in which case `atom` is NoAtom).
    bool added = false;
};

// Looks `name` up and adds it when it is not there, as one step: of any
// number of programs asking at the same moment, exactly one adds the name.
AtomLookUp GlobalFindOrAddAtom(const std::string& name);

// Removes the name that this program added under `atom`. Other atoms,
// NoAtom among them, are left alone.
void GlobalDeleteAtom(Atom atom);

} // namespace platform
