#pragma once
// The text rules of profile files, apart from any storage: where an entry is,
// what a read delivers, and how a write edits the text while keeping every
// other byte. Plain C++, shared by the Linux profile files and their test
// double.

#include <optional>
#include <string>
#include <string_view>

namespace platform::ini {

// The characters that reads remove around section names, keys and values.
bool IsBlank(char c);

// The default value as a read delivers it: without trailing spaces.
std::string DefaultAsRead(std::string_view defaultValue);

// The value of `key` in the first section named `section`, as a profile read
// delivers it (blanks and one pair of enclosing quotes removed, cut at a
// NUL). Nothing when the section or the key is missing, or when the key's
// line has no "=".
std::optional<std::string> ReadValue(std::string_view text, std::string_view section, std::string_view key);

// Whether the entry can be stored so that it reads back (see
// platform::WritePrivateProfileString).
bool CanWrite(std::string_view section, std::string_view key, std::string_view value);

// `text` with the value of `key` in the first section named `section` set to
// `value`: the first matching entry is edited in place, or the entry is added
// after the section's last line, or the section is added at the end. Every
// byte outside the edited value stays as it was; added lines take the line
// ends that the text already uses. Requires CanWrite(section, key, value).
std::string WriteValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

} // namespace platform::ini
