// Profile files on Windows: the system's own profile functions read and edit
// the text. A write edits a copy beside the file and puts the copy in the
// file's place in one step, so that a crash never leaves the file
// half-written; the entries that cannot be stored so that they read back are
// refused here as on every platform.

#include "platform/profile.h"

#include "platform/linux/profile/profile_text.h"
#include "platform/system.h"
#include "platform/windows/profile_storage_win.h"
#include "platform/windows/win32.h"

#include <algorithm>
#include <limits>

namespace platform {
namespace {

// A name without a directory names the file in the Windows directory, as the
// system has it; any other name is completed against the current directory.
// Reads and writes both use the path made here, so that they meet the same
// file.
std::string ProfilePath(std::string_view fileName)
{
    const std::string name(fileName);
    if (name.find_first_of("\\/:") == std::string::npos)
        return GetWindowsDirectory() + '\\' + name;
    const DWORD size = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return name;
    std::string path(size, '\0');
    const DWORD length = GetFullPathNameA(name.c_str(), size, path.data(), nullptr);
    path.resize(length < size ? length : 0);
    return path.empty() ? name : path;
}

// The value as a buffer of `size` bytes receives it.
std::string ReadIntoBuffer(const std::string& section, const std::string& key, const std::string& defaultValue,
                           DWORD size, const std::string& path)
{
    std::string buffer(size, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                                  size, path.c_str());
    buffer.resize(std::min(length, size - 1));
    return buffer;
}

} // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, std::string_view fileName)
{
    if (bufferSize == 0)
        return {};
    const std::string path = ProfilePath(fileName);
    const std::string sectionName(section), keyName(key), fallback(defaultValue);
    // The buffer grows only for values that fill it, up to the caller's size.
    const DWORD limit = static_cast<DWORD>(std::min<std::size_t>(bufferSize, std::numeric_limits<DWORD>::max()));
    DWORD size = std::min<DWORD>(limit, 4096);
    for (;;) {
        std::string value = ReadIntoBuffer(sectionName, keyName, fallback, size, path);
        if (value.size() < size - 1 || size == limit)
            return value;
        size = limit / 2 < size ? limit : size * 2;
    }
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName)
{
    if (!ini::CanWrite(section, key, value)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::string path = ProfilePath(fileName);
    // A file that exists but cannot be read must not be replaced by one entry.
    const auto file = storage::ReadFileText(path);
    if (!file || !storage::IsReplaceable(path) || !storage::EnsureFolder(storage::FolderOf(path)))
        return false;

    storage::TemporaryFile copy(storage::FolderOf(path));
    if (!copy.Created() || (file->exists && !storage::WriteFileText(copy.Path(), file->text)))
        return false;
    const std::string sectionName(section), keyName(key), text(value);
    if (!WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(), copy.Path().c_str()))
        return false;
    // Lets the system write out and forget what it may keep of the copy.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.Path().c_str());

    const auto updated = storage::ReadFileText(copy.Path());
    if (!updated)
        return false;
    // An entry that holds its value already leaves the file alone.
    if (file->exists && updated->text == file->text)
        return true;
    return storage::FlushToDisk(copy.Path()) && copy.Replace(path);
}

} // namespace platform
