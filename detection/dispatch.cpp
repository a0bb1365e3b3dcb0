#include "detection/dispatch.h"

TTickAction DispatchEvent(TEventNumber event, TSettings& settings)
{
    if (event < 1 || event > EventCount)
        return {};
    if (!settings.DetectMouseMoveMents || !EventEnabled(settings, event))
        return {};
    const std::string& command = EventCommand(settings, event);
    // Exactly one question mark: no trimming, nothing else around it.
    if (command == ChooserCommand)
        return {TTickAction::ShowChooser, nullptr};
    if (command.empty())
        return {};
    return {TTickAction::Launch, &command};
}
