// Profile files on Linux: each call reads the whole file, and each write
// replaces it as a whole through a temporary file, so the file is never seen
// half-written and nothing is cached between calls.

#include "platform/profile.h"

#include "platform/linux/profile/profile_storage.h"
#include "platform/linux/profile/profile_text.h"
#include "platform/system.h"

namespace platform {
namespace {

// A bare file name lives in the Windows directory; a name with a directory
// is used as it stands.
std::string ProfilePath(std::string_view fileName)
{
    if (fileName.find('/') != std::string_view::npos)
        return std::string(fileName);
    std::string folder = GetWindowsDirectory();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder.append(fileName);
}

} // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, std::string_view fileName)
{
    if (bufferSize == 0)
        return {};
    // An unreadable file reads like a missing one: every entry has its default.
    const auto file = storage::ReadFileText(ProfilePath(fileName));
    std::string value = file ? ini::ReadValue(file->text, section, key).value_or(ini::DefaultAsRead(defaultValue))
                             : ini::DefaultAsRead(defaultValue);
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName)
{
    if (!ini::CanWrite(section, key, value))
        return false;
    const std::string path = storage::ReplacementTarget(ProfilePath(fileName));
    // A file that exists but cannot be read must not be replaced by one entry.
    const auto file = storage::ReadFileText(path);
    if (!file)
        return false;
    const std::string updated = ini::WriteValue(file->text, section, key, value);
    // Most entries of a save hold what they held: leaving such a file alone
    // spares a flush to the disk, while a read-only file still fails.
    if (file->exists && updated == file->text)
        return storage::IsReplaceable(path);
    return storage::ReplaceFileText(path, updated);
}

} // namespace platform
