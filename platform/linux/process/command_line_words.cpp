#include "platform/linux/process/command_line_words.h"

namespace platform {
namespace {

class WordReader {
public:
    explicit WordReader(std::string_view line) : m_line(line) {}

    bool SkipBlanks()
    {
        while (m_at < m_line.size() && IsWordBlank(m_line[m_at]))
            ++m_at;
        return m_at < m_line.size();
    }

    // Reads one word; the reader stands on its first character.
    std::string ReadWord()
    {
        std::string word;
        bool quoted = false;
        while (m_at < m_line.size()) {
            const char c = m_line[m_at];
            if (c == '\\')
                ReadBackslashes(word);
            else if (c == '"')
                ReadQuote(word, quoted);
            else if (IsWordBlank(c) && !quoted)
                break;
            else
                word += m_line[m_at++];
        }
        return word;
    }

private:
    void ReadBackslashes(std::string& word)
    {
        std::size_t count = 0;
        while (m_at < m_line.size() && m_line[m_at] == '\\') {
            ++count;
            ++m_at;
        }
        const bool beforeQuote = m_at < m_line.size() && m_line[m_at] == '"';
        if (!beforeQuote) {
            word.append(count, '\\');
            return;
        }
        word.append(count / 2, '\\');
        if (count % 2 == 1) {
            word += '"';
            ++m_at;
        }
    }

    void ReadQuote(std::string& word, bool& quoted)
    {
        const bool doubled = quoted && m_at + 1 < m_line.size() && m_line[m_at + 1] == '"';
        if (doubled) {
            word += '"';
            m_at += 2;
            return;
        }
        quoted = !quoted;
        ++m_at;
    }

    std::string_view m_line;
    std::size_t m_at = 0;
};

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine)
{
    std::vector<std::string> words;
    WordReader reader(commandLine);
    while (reader.SkipBlanks())
        words.push_back(reader.ReadWord());
    return words;
}

} // namespace platform
