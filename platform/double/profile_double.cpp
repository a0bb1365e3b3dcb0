#include "platform/double/profile_double.h"
#include "platform/profile.h"

#include "platform/linux/profile/profile_text.h"

#include <map>

namespace platform {
namespace {
struct FakeProfileState {
    std::map<std::string, std::string, std::less<>> files;
    int writesBeforeFailure = -1;
    std::vector<fake::ProfileCall> reads;
    std::vector<fake::ProfileCall> writes;
};
FakeProfileState state;

bool NextWriteSucceeds()
{
    if (state.writesBeforeFailure < 0)
        return true;
    if (state.writesBeforeFailure == 0)
        return false;
    --state.writesBeforeFailure;
    return true;
}
} // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, std::string_view fileName)
{
    state.reads.push_back({std::string(fileName), std::string(section), std::string(key), std::string(defaultValue)});
    if (bufferSize == 0)
        return {};
    const auto file = state.files.find(fileName);
    std::string value = file == state.files.end()
                            ? ini::DefaultAsRead(defaultValue)
                            : ini::ReadValue(file->second, section, key).value_or(ini::DefaultAsRead(defaultValue));
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view fileName)
{
    const bool succeeds = ini::CanWrite(section, key, value) && NextWriteSucceeds();
    state.writes.push_back(
        {std::string(fileName), std::string(section), std::string(key), std::string(value), succeeds});
    if (succeeds) {
        std::string& text = state.files[std::string(fileName)];
        text = ini::WriteValue(text, section, key, value);
    }
    return succeeds;
}

namespace fake {
std::optional<std::string> ProfileFileText(const std::string& fileName)
{
    const auto file = state.files.find(fileName);
    return file == state.files.end() ? std::nullopt : std::optional<std::string>(file->second);
}
void SetProfileFileText(const std::string& fileName, const std::string& text) { state.files[fileName] = text; }
void RemoveProfileFile(const std::string& fileName) { state.files.erase(fileName); }
void FailProfileWritesAfter(int count) { state.writesBeforeFailure = count; }
const std::vector<ProfileCall>& ProfileReads() { return state.reads; }
const std::vector<ProfileCall>& ProfileWrites() { return state.writes; }
void ResetProfiles() { state = FakeProfileState{}; }
} // namespace fake

} // namespace platform
