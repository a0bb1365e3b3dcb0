#include "settings/guard_settings.h"

#include "settings/profile_integer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

bool GuardsChanged(const TGuardSettings& values)
{
    TGuardSettings defaults;
    defaults.InFile = values.InFile;
    return values != defaults;
}

std::string JoinProgramList(const std::vector<std::string>& classes)
{
    std::string text;
    for (const std::string& windowClass : classes) {
        if (windowClass.empty())
            continue;
        if (!text.empty())
            text += ';';
        text += windowClass;
    }
    return text;
}

std::vector<std::string> SplitProgramList(const std::string& text)
{
    std::vector<std::string> classes;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find(';', begin), text.size());
        std::string part = text.substr(begin, end - begin);
        part.erase(0, part.find_first_not_of(" \t"));
        part.erase(part.find_last_not_of(" \t") + 1);
        if (!part.empty())
            classes.push_back(std::move(part));
        begin = end + 1;
    }
    return classes;
}

namespace {

// What the profile read gives for a missing entry: no value can hold it.
constexpr std::string_view Missing = "\n";

struct SwitchKey {
    const char* key;
    bool TGuardSettings::*field;
};

constexpr std::array<SwitchKey, 4> Switches = {{
    {"NotWhileButtonHeld", &TGuardSettings::NotWhileButtonHeld},
    {"NotInFullScreen", &TGuardSettings::NotInFullScreen},
    {"NotInListedPrograms", &TGuardSettings::NotInListedPrograms},
    {"EveryMonitorCorners", &TGuardSettings::EveryMonitorCorners},
}};

constexpr const char* ListKey = "ListedPrograms";

void SayBadValue(const TProfileFile& file, const char* key, const std::string& value)
{
    std::fprintf(stderr, "Quorzane: %s: [%s] %s=%s is not a number; it is taken as 0 (off).\n",
                 file.FileName().c_str(), GuardSection, key, value.c_str());
}

} // namespace

void LoadGuardSettings(const TProfileFile& file, TGuardSettings& values)
{
    values = {};
    for (const auto& [key, field] : Switches) {
        const std::string text = file.ReadString(GuardSection, key, Missing);
        if (text == Missing)
            continue;
        values.InFile = true;
        const std::optional<std::int32_t> number = ParseProfileInteger(text);
        if (number)
            values.*field = *number != 0;
        else
            SayBadValue(file, key, text);
    }
    const std::string list = file.ReadString(GuardSection, ListKey, Missing);
    if (list != Missing) {
        values.InFile = true;
        values.ListedPrograms = SplitProgramList(list);
    }
}

bool SaveGuardSettings(const TProfileFile& file, TGuardSettings& values)
{
    if (!values.InFile && !GuardsChanged(values))
        return true;
    for (const auto& [key, field] : Switches)
        if (!file.WriteBool(GuardSection, key, values.*field))
            return false;
    if (!file.WriteString(GuardSection, ListKey, JoinProgramList(values.ListedPrograms)))
        return false;
    values.InFile = true;
    return true;
}
