#include "platform/nametable.h"
#include "platform/double/nametable_double.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform {
namespace {

struct Entry {
    Atom atom = NoAtom;
    int count = 0;
};

struct FakeNameTableState {
    std::map<std::string, Entry> names;
    Atom nextAtom = 0xC000;
    bool addFails = false;
    int calls = 0;
};
FakeNameTableState state;

std::string Folded(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

Entry* Find(const std::string& name)
{
    const auto found = state.names.find(Folded(name));
    return found == state.names.end() ? nullptr : &found->second;
}

Atom Add(const std::string& name)
{
    if (state.addFails)
        return NoAtom;
    if (Entry* entry = Find(name)) {
        ++entry->count;
        return entry->atom;
    }
    const Atom atom = state.nextAtom++;
    state.names[Folded(name)] = {atom, 1};
    return atom;
}

} // namespace

Atom GlobalFindAtom(const std::string& name)
{
    ++state.calls;
    const Entry* entry = Find(name);
    return entry ? entry->atom : NoAtom;
}

Atom GlobalAddAtom(const std::string& name)
{
    ++state.calls;
    return Add(name);
}

AtomLookUp GlobalFindOrAddAtom(const std::string& name)
{
    ++state.calls;
    if (const Entry* entry = Find(name))
        return {entry->atom, false};
    const Atom atom = Add(name);
    return {atom, atom != NoAtom};
}

void GlobalDeleteAtom(Atom atom)
{
    const auto entry = std::find_if(state.names.begin(), state.names.end(),
                                    [atom](const auto& name) { return name.second.atom == atom; });
    if (atom == NoAtom || entry == state.names.end())
        return;
    if (--entry->second.count == 0)
        state.names.erase(entry);
}

namespace fake {
bool HasName(const std::string& name) { return Find(name) != nullptr; }
int NameCount(const std::string& name)
{
    const Entry* entry = Find(name);
    return entry ? entry->count : 0;
}
void SetAddFails(bool fails) { state.addFails = fails; }
int NameTableCalls() { return state.calls; }
void ResetNameTable() { state = FakeNameTableState{}; }
} // namespace fake

} // namespace platform
