// The program that opens a document, as the shell's file associations say.

#include "platform/association.h"

#include "platform/windows/win32.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace platform {
namespace {

// The shell's failures leave the last error as it was; the layer promises it.
DWORD LastErrorOf(std::intptr_t result)
{
    switch (result) {
    case SE_ERR_FNF:
        return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
        return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
        return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_BAD_FORMAT:
        return ERROR_BAD_FORMAT;
    default:
        return ERROR_NO_ASSOCIATION;
    }
}

std::intptr_t Failed(std::intptr_t result)
{
    SetLastError(LastErrorOf(result));
    return result;
}

} // namespace

std::intptr_t FindAssociatedExecutable(const std::string& document, const std::string& directory,
                                       std::span<char> result)
{
    // The shell writes up to MAX_PATH characters whatever the caller's
    // buffer holds; the path is handed on only when it fits.
    std::array<char, MAX_PATH> found{};
    const std::intptr_t answer = reinterpret_cast<std::intptr_t>(
        FindExecutableA(document.c_str(), directory.empty() ? nullptr : directory.c_str(), found.data()));
    if (answer < AssociationFound)
        return Failed(answer);
    const std::size_t length = strnlen(found.data(), found.size());
    if (length >= result.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return AssociationOutOfMemory;
    }
    std::copy_n(found.data(), length, result.begin());
    result[length] = '\0';
    return answer;
}

} // namespace platform
