#include "settings/profile_file.h"

#include "platform/profile.h"
#include "settings/profile_integer.h"

#include <utility>

namespace {

// The characters that the profile read removes around a value; the last is
// the end-of-file mark of old editors.
bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Whether the profile read would give back something else than `value`: it
// removes blanks at either end and one pair of enclosing quotes.
bool ChangedByProfileRead(std::string_view value)
{
    if (value.empty())
        return false;
    if (IsProfileBlank(value.front()) || IsProfileBlank(value.back()))
        return true;
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

} // namespace

TProfileFile::TProfileFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TProfileFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const
{
    return platform::GetPrivateProfileString(section, key, defaultValue, ReadBufferSize, fileName_);
}

std::int32_t TProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t defaultValue) const
{
    return ParseProfileInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TProfileFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ParseProfileBool(ReadString(section, key, ""), defaultValue);
}

bool TProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    // A command such as "C:\My Tools\a.exe" "x y.txt" would otherwise lose
    // its outer quotes at the next start.
    if (ChangedByProfileRead(value))
        return platform::WritePrivateProfileString(section, key, "\"" + std::string(value) + "\"", fileName_);
    return platform::WritePrivateProfileString(section, key, value, fileName_);
}

bool TProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const
{
    return WriteString(section, key, std::to_string(value));
}

bool TProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) const
{
    return WriteString(section, key, value ? "1" : "0");
}
