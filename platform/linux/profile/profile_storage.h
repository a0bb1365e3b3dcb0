#pragma once
// Whole-file reads and crash-safe whole-file replacement for profile files.

#include <optional>
#include <string>

namespace platform::storage {

struct FileText {
    bool exists = false;
    std::string text;
};

// The file's content; a missing file is an empty, non-existent one. Nothing
// when the file exists but cannot be read.
std::optional<FileText> ReadFileText(const std::string& path);

// The path that a write must replace: the file itself, or the file at the
// end of the chain of symbolic links that starts at `path`, whether that
// file exists yet or not; the links stay links.
std::string ReplacementTarget(const std::string& path);

// Whether ReplaceFileText could replace the file at `path` now, as far as
// permissions go.
bool IsReplaceable(const std::string& path);

// Replaces the file at `path` by `text`, creating its folder when missing:
// the text goes to a temporary file in the same folder, is flushed to the
// disk and renamed over the file, so that the file holds either its old or
// its new content whatever happens. The file keeps its permissions. Fails,
// leaving the file as it was, when the file or its folder is read-only (no
// write permission for us, or none for anyone) or the disk is full.
bool ReplaceFileText(const std::string& path, const std::string& text);

} // namespace platform::storage
