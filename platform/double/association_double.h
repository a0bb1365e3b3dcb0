#pragma once
// Test double of the association group: one association that the tests set
// by hand, and a record of every lookup.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::fake {

// Every lookup answers `result`; a success writes `path`, a failure sets the
// last error to `error`.
void SetAssociation(std::intptr_t result, const std::string& path, std::uint32_t error = 0);

struct AssociationLookup {
    std::string document;
    std::string directory;
    std::size_t resultSize = 0;
};
const std::vector<AssociationLookup>& AssociationLookups();

// No association (every lookup fails as not found), no lookups.
void ResetAssociation();

} // namespace platform::fake
