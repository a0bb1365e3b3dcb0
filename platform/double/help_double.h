#pragma once
// Test double of the help group: records every help request.

#include "platform/help.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::fake {

struct HelpRequest {
    HelpOwner owner = NoHelpOwner;
    std::string helpFile;
    std::uint32_t command = 0;
    std::uint32_t data = 0;

    bool operator==(const HelpRequest&) const = default;
};

const std::vector<HelpRequest>& HelpRequests();
// Requests succeed unless set otherwise.
void SetHelpResult(bool result);
void ResetHelp();

} // namespace platform::fake
