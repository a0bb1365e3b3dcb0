#include "detection/dispatch.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameClass(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

bool Listed(const std::vector<std::string>& programs, const std::string& windowClass)
{
    return !windowClass.empty() && std::any_of(programs.begin(), programs.end(), [&](const std::string& listed) {
        return SameClass(listed, windowClass);
    });
}

bool AnyGuardOn(const TGuardSettings& guards)
{
    return guards.NotWhileButtonHeld || guards.NotInFullScreen || guards.NotInListedPrograms;
}

} // namespace

bool PatternSuppressed(const TGuardSettings& guards, const TPatternContext& context)
{
    return (guards.NotWhileButtonHeld && context.buttonHeld) || (guards.NotInFullScreen && context.fullScreen) ||
           (guards.NotInListedPrograms && Listed(guards.ListedPrograms, context.windowClass));
}

TTickAction DispatchEvent(TEventNumber event, TSettings& settings, const TPatternContextReader& readContext)
{
    if (event < 1 || event > EventCount)
        return {};
    if (!settings.DetectMouseMoveMents || !EventEnabled(settings, event))
        return {};
    if (readContext && AnyGuardOn(settings.Guards) && PatternSuppressed(settings.Guards, readContext()))
        return {};
    const std::string& command = EventCommand(settings, event);
    // Exactly one question mark: no trimming, nothing else around it.
    if (command == ChooserCommand)
        return {TTickAction::ShowChooser, nullptr};
    if (command.empty())
        return {};
    return {TTickAction::Launch, &command};
}
