#pragma once
// Test double of the profile group: profile files held in memory under the
// file name as given, read and edited by the same text rules as the real
// files, with every call recorded and writes that can be made to fail.

#include <optional>
#include <string>
#include <vector>

namespace platform::fake {

// The text of the profile file `fileName`; nothing when it does not exist.
std::optional<std::string> ProfileFileText(const std::string& fileName);
void SetProfileFileText(const std::string& fileName, const std::string& text);
void RemoveProfileFile(const std::string& fileName);

// Lets the next `count` writes succeed and every write after them fail, as
// a file turned read-only would. A negative count lets every write succeed.
void FailProfileWritesAfter(int count);

struct ProfileCall {
    std::string fileName;
    std::string section;
    std::string key;
    std::string value; // the value written; the default of a read
    bool succeeded = true;
};

const std::vector<ProfileCall>& ProfileReads();
const std::vector<ProfileCall>& ProfileWrites();

// No files, writes succeeding, no calls recorded.
void ResetProfiles();

} // namespace platform::fake
