// The name table on Windows is the system's global atom table. Two things
// that the table does not give by itself are added here: looking a name up
// and adding it happen as one step among the programs that use this layer
// (under a lock of the session), and a delete only ever gives back an add of
// this program. One thing stays as the system has it: a program that is
// killed leaves its names behind, so a name can outlive its holder.

#include "platform/nametable.h"

#include "platform/windows/win32.h"

#include <map>

namespace platform {
namespace {

constexpr char NameTableLockName[] = "Local\\Quorzane.NameTable";

// Held while a name is looked up and added; without the lock (which cannot
// fail short of resources) the two steps run unguarded.
class NameTableLock {
public:
    NameTableLock() : mutex_(CreateMutexA(nullptr, FALSE, NameTableLockName))
    {
        // An owner that ended without releasing hands the lock over as well.
        if (mutex_)
            ::WaitForSingleObject(mutex_, INFINITE);
    }
    ~NameTableLock()
    {
        if (mutex_) {
            ReleaseMutex(mutex_);
            ::CloseHandle(mutex_);
        }
    }
    NameTableLock(const NameTableLock&) = delete;
    NameTableLock& operator=(const NameTableLock&) = delete;

private:
    HANDLE mutex_;
};

// The adds of this program that are not yet given back, by atom.
std::map<Atom, int>& OwnAdds()
{
    static std::map<Atom, int> adds;
    return adds;
}

Atom CountedAdd(const std::string& name)
{
    const Atom atom = GlobalAddAtomA(name.c_str());
    if (atom != NoAtom)
        ++OwnAdds()[atom];
    return atom;
}

} // namespace

Atom GlobalFindAtom(const std::string& name) { return GlobalFindAtomA(name.c_str()); }

Atom GlobalAddAtom(const std::string& name) { return CountedAdd(name); }

AtomLookUp GlobalFindOrAddAtom(const std::string& name)
{
    const NameTableLock lock;
    if (const Atom found = GlobalFindAtomA(name.c_str()); found != NoAtom)
        return {found, false};
    const Atom added = CountedAdd(name);
    return {added, added != NoAtom};
}

void GlobalDeleteAtom(Atom atom)
{
    auto& adds = OwnAdds();
    const auto own = adds.find(atom);
    if (own == adds.end())
        return;
    ::GlobalDeleteAtom(atom);
    if (--own->second == 0)
        adds.erase(own);
}

} // namespace platform
