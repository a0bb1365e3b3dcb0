// The integer and Boolean rules of the settings file on any text, against a
// plain reading of the rules with the standard library's number parsing; and
// every number, written in decimal as the settings are written, reads back.

#include "settings/profile_integer.h"
#include "fuzz_check.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

bool AllOf(std::string_view text, const char* allowed)
{
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

std::optional<std::int32_t> ByTheRules(std::string text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    std::string_view rest = text;
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
    if (rest.starts_with('$')) {
        rest.remove_prefix(1);
        std::uint64_t value = 0;
        if (!AllOf(rest, "0123456789abcdefABCDEF") ||
            std::from_chars(rest.data(), rest.data() + rest.size(), value, 16).ec != std::errc() ||
            value > 0xFFFFFFFFu)
            return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    const bool negative = rest.starts_with('-');
    if (rest.starts_with('-') || rest.starts_with('+'))
        rest.remove_prefix(1);
    std::int64_t magnitude = 0;
    if (!AllOf(rest, "0123456789") ||
        std::from_chars(rest.data(), rest.data() + rest.size(), magnitude).ec != std::errc())
        return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> parsed = ParseProfileInteger(text);
    Check(parsed == ByTheRules(text));
    // A Boolean is true exactly when its integer is not 0; without one it is
    // its default.
    const std::optional<std::int32_t> reference = ByTheRules(text);
    for (const bool defaultValue : {false, true})
        Check(ParseProfileBool(text, defaultValue) == (reference ? *reference != 0 : defaultValue));
    if (size >= 4) {
        std::int32_t number = 0;
        std::memcpy(&number, data, sizeof number);
        Check(ParseProfileInteger(std::to_string(number)) == number);
    }
    return 0;
}
