#include "launch/chooser_list.h"

#include "detection/dispatch.h"

std::vector<std::string> ChooserEntries(TSettings& settings)
{
    std::vector<std::string> entries;
    for (int event = 1; event <= EventCount; ++event) {
        const std::string& command = EventCommand(settings, event);
        if (!command.empty() && command != ChooserCommand)
            entries.push_back(command);
    }
    return entries;
}
