// The name table on Windows is the system's global atom table. Two things
// that the table does not give by itself are added here: looking a name up
// and adding it happen as one step among the programs that use this layer
// (under a lock of the session), and a delete only ever gives back an add of
// this program. A killed program leaves its atoms behind in the system's
// table, so each add of this layer also holds a named marker object, which
// the system closes with its holder however that ends: a claim takes over a
// name without its marker.

#include "platform/nametable.h"

#include "platform/windows/win32.h"

#include <algorithm>
#include <cctype>
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

struct OwnAdd {
    int count = 0;
    HANDLE holder = nullptr;
};

// The adds of this program that are not yet given back, by atom.
std::map<Atom, OwnAdd>& OwnAdds()
{
    static std::map<Atom, OwnAdd> adds;
    return adds;
}

// Object names are case-sensitive and may not hold a backslash; atom names
// compare without regard to case.
std::string MarkerName(const std::string& name)
{
    std::string marker = name;
    std::transform(marker.begin(), marker.end(), marker.begin(), [](unsigned char c) {
        return c == '\\' ? '/' : static_cast<char>(c < 0x80 ? std::toupper(c) : c);
    });
    return "Local\\Quorzane.NameHolder." + marker;
}

bool HasLiveHolder(const std::string& name)
{
    const HANDLE marker = OpenMutexA(SYNCHRONIZE, FALSE, MarkerName(name).c_str());
    if (!marker)
        return false;
    ::CloseHandle(marker);
    return true;
}

Atom CountedAdd(const std::string& name)
{
    const Atom atom = GlobalAddAtomA(name.c_str());
    if (atom == NoAtom)
        return NoAtom;
    OwnAdd& add = OwnAdds()[atom];
    if (add.count++ == 0)
        add.holder = CreateMutexA(nullptr, FALSE, MarkerName(name).c_str());
    return atom;
}

} // namespace

Atom GlobalFindAtom(const std::string& name) { return GlobalFindAtomA(name.c_str()); }

Atom GlobalAddAtom(const std::string& name) { return CountedAdd(name); }

AtomLookUp GlobalFindOrAddAtom(const std::string& name)
{
    const NameTableLock lock;
    if (const Atom found = GlobalFindAtomA(name.c_str()); found != NoAtom && HasLiveHolder(name))
        return {found, false};
    // Not there, or left behind by a holder that has ended: taken over.
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
    if (--own->second.count == 0) {
        if (own->second.holder)
            ::CloseHandle(own->second.holder);
        adds.erase(own);
    }
}

} // namespace platform
