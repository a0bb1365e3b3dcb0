#include "platform/linux/profile/profile_storage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

namespace platform::storage {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a late write error shows; true when all went well.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::optional<struct stat> StatusOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status;
}

// Write permission in the permission bits counts for everybody: a file or
// folder marked read-only for all stays read-only even for the superuser.
bool IsWritable(const std::string& path, const struct stat& status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool IsWritableFolder(const std::string& folder)
{
    const auto status = StatusOf(folder);
    return status && S_ISDIR(status->st_mode) && IsWritable(folder, *status);
}

// A missing file may be created; one that exists must be a writable regular
// file.
bool MayWriteFile(const std::string& path, const std::optional<struct stat>& status)
{
    return !status || (S_ISREG(status->st_mode) && IsWritable(path, *status));
}

// Creates the folder and its missing parents, private to the user as the
// base-directory rules ask for settings folders.
bool EnsureFolder(const std::string& folder)
{
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode);
    if (errno != ENOENT)
        return false;
    const std::string parent = FolderOf(folder);
    if (parent != folder && !EnsureFolder(parent))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

struct CreatedFile {
    std::string path;
    FileDescriptor fd;
};

// A new, exclusively created file beside the target; the process id keeps
// two programs apart, the attempt number stale leftovers of a crash.
std::optional<CreatedFile> CreateTemporary(const std::string& folder, const std::string& name)
{
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        std::string path =
            folder + "/." + name + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
        FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid())
            return CreatedFile{std::move(path), std::move(fd)};
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// Makes the rename itself durable; file systems without it lose nothing more.
void SyncFolder(const std::string& folder)
{
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

} // namespace

std::optional<FileText> ReadFileText(const std::string& path)
{
    // Not blocking on a pipe: only a regular file is read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT)
            return FileText{};
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    FileText file{true, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return file;
        file.text.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ReplacementTarget(const std::string& path)
{
    // Followed one link at a time rather than resolved as a whole, so that a
    // link to a file that does not exist yet still names where it goes.
    constexpr int MaxLinks = 40; // the kernel's own limit on a chain of links
    std::string target = path;
    for (int link = 0; link < MaxLinks; ++link) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return target;
        std::string destination(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : PATH_MAX) + 1, '\0');
        const ssize_t length = ::readlink(target.c_str(), destination.data(), destination.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= destination.size())
            return target;
        destination.resize(static_cast<std::size_t>(length));
        target = destination.front() == '/' ? destination : FolderOf(target) + "/" + destination;
    }
    // A loop of links: the write fails on the link itself, which is no
    // regular file.
    return path;
}

bool IsReplaceable(const std::string& path)
{
    return IsWritableFolder(FolderOf(path)) && MayWriteFile(path, StatusOf(path));
}

bool ReplaceFileText(const std::string& path, const std::string& text)
{
    const std::string folder = FolderOf(path);
    if (!EnsureFolder(folder) || !IsWritableFolder(folder))
        return false;
    const auto fileStatus = StatusOf(path);
    if (!MayWriteFile(path, fileStatus))
        return false;

    auto created = CreateTemporary(folder, NameOf(path));
    if (!created)
        return false;
    TemporaryFile temporary(created->path);
    FileDescriptor& fd = created->fd;
    if (fileStatus && ::fchmod(fd.get(), fileStatus->st_mode & 07777) != 0)
        return false;
    if (!WriteAll(fd.get(), text) || ::fsync(fd.get()) != 0 || !fd.Close())
        return false;
    if (::rename(temporary.path().c_str(), path.c_str()) != 0)
        return false;
    temporary.Keep();
    SyncFolder(folder);
    return true;
}

} // namespace platform::storage
