#include "launch/argument_quoting.h"

#include <cstddef>

std::string QuotedArgument(std::string_view argument)
{
    const bool plain = !argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos;
    if (plain)
        return std::string(argument);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            // Backslashes count as escapes only in front of a quote.
            if (c == '"')
                quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    // The closing quote must not be escaped by a trailing backslash.
    quoted.append(backslashes, '\\');
    quoted += '"';
    return quoted;
}
