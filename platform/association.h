#pragma once
// Document association: which program opens a document of a given type.

#include <cstdint>
#include <span>
#include <string>

namespace platform {

// Results of FindAssociatedExecutable below 32 are failures:
inline constexpr std::intptr_t AssociationFileNotFound = 2;
inline constexpr std::intptr_t AssociationAccessDenied = 5;
inline constexpr std::intptr_t AssociationOutOfMemory = 8;
inline constexpr std::intptr_t AssociationNotFound = 31;
// and results of this value or more are successes.
inline constexpr std::intptr_t AssociationFound = 32;

// Writes into `result`, zero-terminated, the path of the program that opens
// `document`, a file name taken relative to `directory` (or to the current
// directory when `directory` is empty). Returns AssociationFound or more on
// success; on failure one of the values below 32, with the last error set
// (see process.h). A path that does not fit into `result` is a failure, never
// a cut path.
std::intptr_t FindAssociatedExecutable(const std::string& document, const std::string& directory,
                                       std::span<char> result);

} // namespace platform
