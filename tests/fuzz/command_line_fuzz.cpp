// Splitting command lines into words on any line: the words, quoted again by
// the launcher's quoting, split into the same words, and splitting is stable
// on its own result.

#include "launch/argument_quoting.h"
#include "platform/linux/process/command_line_words.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + QuotedArgument(word);
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
