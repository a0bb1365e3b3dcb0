#include "platform/windows/profile_storage_win.h"

#include "platform/windows/win32.h"

#include <algorithm>
#include <array>

namespace platform::storage {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (Valid())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool ReadAll(HANDLE file, std::string& text)
{
    std::array<char, 65536> buffer;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return false;
        if (read == 0)
            return true;
        text.append(buffer.data(), read);
    }
}

bool WriteAll(HANDLE file, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        DWORD chunk = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(text.size() - written, 1u << 30));
        if (!WriteFile(file, text.data() + written, wanted, &chunk, nullptr) || chunk == 0)
            return false;
        written += chunk;
    }
    return true;
}

} // namespace

std::optional<FileText> ReadFileText(const std::string& path)
{
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        if (IsMissing(GetLastError()))
            return FileText{};
        return std::nullopt;
    }
    FileText content{true, {}};
    if (!ReadAll(file.Get(), content.text))
        return std::nullopt;
    return content;
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    const FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), text) && FlushFileBuffers(file.Get());
}

bool FlushToDisk(const std::string& path)
{
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && FlushFileBuffers(file.Get());
}

bool IsReplaceable(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsMissing(GetLastError());
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return ".";
    // The root of a drive keeps its separator.
    if (separator == 0 || (separator == 2 && path[1] == ':'))
        return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

bool EnsureFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string parent = FolderOf(folder);
    if (parent != folder && !EnsureFolder(parent))
        return false;
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

TemporaryFile::TemporaryFile(const std::string& folder)
{
    std::array<char, MAX_PATH> name{};
    if (GetTempFileNameA(folder.c_str(), "qz", 0, name.data()) != 0)
        path_ = name.data();
}

TemporaryFile::~TemporaryFile()
{
    if (Created())
        DeleteFileA(path_.c_str());
}

bool TemporaryFile::Replace(const std::string& target)
{
    const bool replaced = GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES
                              ? MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                              : ReplaceFileA(target.c_str(), path_.c_str(), nullptr, 0, nullptr, nullptr);
    if (replaced)
        path_.clear();
    return replaced;
}

} // namespace platform::storage
