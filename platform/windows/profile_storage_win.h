#pragma once
// Whole-file reads and the replacement of a file by another in one step, for
// profile files on Windows.

#include <optional>
#include <string>

namespace platform::storage {

struct FileText {
    bool exists = false;
    std::string text;
};

// The file's content; a missing file is an empty, non-existent one. Nothing
// when the file exists but cannot be read (a folder, no permission, locked).
std::optional<FileText> ReadFileText(const std::string& path);

// Writes `text` as the whole content of the existing file at `path` and
// flushes it to the disk.
bool WriteFileText(const std::string& path, const std::string& text);

// Makes sure that what was written to the file at `path` is on the disk.
bool FlushToDisk(const std::string& path);

// Whether the file at `path`, if it exists, may be replaced: it is not marked
// read-only.
bool IsReplaceable(const std::string& path);

// The folder part of `path`, without its last separator.
std::string FolderOf(const std::string& path);

// Creates `folder` and its missing parents.
bool EnsureFolder(const std::string& folder);

// A new, empty file of a unique name in `folder`, removed when this goes out
// of scope unless it was kept.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Created() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

    // Puts this file in the place of `target` in one step (the target keeps
    // its attributes when it exists); from then on it is the target.
    bool Replace(const std::string& target);

private:
    std::string path_;
};

} // namespace platform::storage
