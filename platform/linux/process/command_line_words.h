#pragma once
// Splitting a command line into the words that become a program's arguments.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The words of `commandLine`. Blanks (spaces and tabs) separate words and are
// ignored at both ends; double quotes group blanks into a word and are
// dropped, and two quotes inside quotes give one quote. Backslashes are
// literal except in front of a quote: 2n of them then give n and the quote
// groups, 2n + 1 give n and a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The blanks that separate words: a space or a tab.
inline bool IsWordBlank(char c) { return c == ' ' || c == '\t'; }
inline constexpr char WordBlanks[] = " \t";

} // namespace platform
