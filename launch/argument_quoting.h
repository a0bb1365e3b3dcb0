#pragma once
// Quoting one word of a command line by the system's argument rules.

#include <string>
#include <string_view>

// `argument` as one word of a command line: unchanged when it holds no blank
// and no double quote, otherwise in double quotes, with the backslashes and
// quotes inside escaped so that the word splits back into `argument`.
std::string QuotedArgument(std::string_view argument);
