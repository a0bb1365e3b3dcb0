// The profile text rules on any file and any write. The input is a file's
// text, then a NUL, then the section, key and value of one write separated by
// NULs. Whatever the file holds: every value read can be written back; the
// write reads back as a read of that value gives it; and every other entry
// reads as before.

#include "platform/linux/profile/profile_text.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using platform::ini::CanWrite;
using platform::ini::ReadValue;
using platform::ini::WriteValue;

std::vector<std::string_view> Fields(std::string_view data, std::size_t count)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t nul = data.find('\0');
        if (nul == std::string_view::npos)
            break;
        fields.push_back(data.substr(0, nul));
        data.remove_prefix(nul + 1);
    }
    fields.push_back(data);
    fields.resize(count);
    return fields;
}

// Every name that could be a section or a key somewhere in the text, found
// the simple way: each piece between line ends, brackets and equals signs.
std::vector<std::string> Names(std::string_view text)
{
    std::vector<std::string> names = {"S", "K"};
    std::size_t begin = 0;
    while (begin <= text.size() && names.size() < 24) {
        std::size_t end = text.find_first_of("\r\n[]=", begin);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > begin)
            names.emplace_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return names;
}

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const std::vector<std::string_view> fields =
        Fields(std::string_view(reinterpret_cast<const char*>(data), size), 4);
    const std::string text(fields[0]);
    const std::string_view section = fields[1], key = fields[2], value = fields[3];

    const std::vector<std::string> names = Names(text);
    std::vector<std::pair<std::pair<std::string, std::string>, std::optional<std::string>>> before;
    for (const std::string& s : names)
        for (const std::string& k : names) {
            auto read = ReadValue(text, s, k);
            // A value that was read can always be written back.
            if (read)
                Check(CanWrite("S", "K", *read));
            before.push_back({{s, k}, std::move(read)});
        }

    if (!CanWrite(section, key, value))
        return 0;
    const std::string written = WriteValue(text, section, key, value);
    Check(ReadValue(written, section, key) == ReadValue("[S]\n" "K=" + std::string(value) + "\n", "S", "K"));
    const std::string target = WriteValue("", section, key, "");
    for (const auto& [names, read] : before) {
        // The entry written is the one that the same names find in a file
        // that holds only it.
        if (ReadValue(target, names.first, names.second))
            continue;
        Check(ReadValue(written, names.first, names.second) == read);
    }
    return 0;
}
