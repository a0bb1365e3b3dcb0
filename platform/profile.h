#pragma once
// Profile files: INI files of sections and "key=value" entries, read and
// written one entry per call. A file name without a directory names the file
// of that name in the Windows directory (GetWindowsDirectory).

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in `section` of the profile file `fileName`, or
// `defaultValue` when the file, the section or the key does not exist.
// Section and key names match without regard to case. A value comes back
// without the blanks around it and without one pair of quotation marks
// (single or double) enclosing it whole, and ends before a NUL. At most
// `bufferSize - 1` characters are delivered, as from a C buffer of that size.
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, std::string_view fileName);

// Sets `key` in `section` of the profile file `fileName` to `value`: replaces
// the value of the first matching entry in place, or adds the entry to its
// section, the section to the file and the file (with its folder) to the
// disk, as needed. Every other byte of the file stays as it was. The write is
// complete when the call returns, and a crash never leaves a half-written
// file. Returns false when the file cannot be written (read-only file or
// folder, full disk, unreadable file) or when the entry cannot be stored
// (a line break or NUL anywhere, an empty section or key, "]" in the section,
// "=" in the key or a key beginning with "[").
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName);

} // namespace platform
