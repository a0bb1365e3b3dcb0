// Splitting command lines into words on any line: the words, quoted again by
// the rules that the system's own argument parsing expects, split into the
// same words, and splitting is stable on its own result.

#include "platform/linux/command_line_words.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Quotes a word so that the argument rules give it back: inside quotes, each
// run of backslashes before a quote (or before the closing quote) doubles,
// and the quote gets one more backslash.
std::string Quoted(const std::string& word)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string Joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + Quoted(word);
    return line;
}

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> words = platform::SplitCommandLine(line);
    std::size_t total = 0;
    for (const std::string& word : words)
        total += word.size();
    Check(total <= size);
    Check(platform::SplitCommandLine(Joined(words)) == words);
    return 0;
}
