#include "platform/association.h"
#include "platform/double/association_double.h"
#include "platform/double/process_double.h"

#include <algorithm>

namespace platform {
namespace {
struct FakeAssociationState {
    std::intptr_t result = AssociationNotFound;
    std::string path;
    std::uint32_t error = 2;
    std::vector<fake::AssociationLookup> lookups;
};
FakeAssociationState state;
} // namespace

std::intptr_t FindAssociatedExecutable(const std::string& document, const std::string& directory,
                                       std::span<char> result)
{
    state.lookups.push_back({document, directory, result.size()});
    if (state.result < AssociationFound) {
        fake::SetLastError(state.error);
        return state.result;
    }
    if (state.path.size() >= result.size()) {
        fake::SetLastError(state.error);
        return AssociationOutOfMemory;
    }
    *std::copy(state.path.begin(), state.path.end(), result.begin()) = '\0';
    return state.result;
}

namespace fake {
void SetAssociation(std::intptr_t result, const std::string& path, std::uint32_t error)
{
    state.result = result;
    state.path = path;
    state.error = error;
}
const std::vector<AssociationLookup>& AssociationLookups() { return state.lookups; }
void ResetAssociation() { state = FakeAssociationState{}; }
} // namespace fake

} // namespace platform
