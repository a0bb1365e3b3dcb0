// A profile file is read line by line: "[name]" starts a section (the name
// ends at the line's last "]"), "key=value" is an entry of the section above
// it, a line with a key and no "=" is an entry without a value, and everything
// else (blank lines, lines before the first section) belongs to no entry. Only
// the first section of a name counts, and within it the first entry of a key,
// so reads and writes always meet the same line. These are the rules of the
// Windows profile functions, line ends and blanks included: a file written
// there reads the same here.

#include "platform/linux/profile/profile_text.h"

#include <cstddef>

namespace platform::ini {
namespace {

// The end-of-file mark of old editors counts as a blank.
constexpr std::string_view Blanks = " \t\v\f\r\x1a";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t npos = std::string_view::npos;

std::string_view Trimmed(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(Blanks);
    if (first == npos)
        return {};
    return s.substr(first, s.find_last_not_of(Blanks) + 1 - first);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// Offsets into the text: [begin, contentEnd) is the line without its line
// end, `end` is where the next line begins.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

bool HasLineEnd(const Line& line) { return line.end > line.contentEnd; }

// The text's lines, after a byte order mark. Every CR and every LF ends a
// line, wherever it stands, as the Windows profile functions read files; a
// CR LF pair counts as one line end, so that nothing is ever put between them.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    std::size_t First() const { return text_.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0; }

    Line At(std::size_t begin) const
    {
        const std::size_t lineEnd = text_.find_first_of("\r\n", begin);
        if (lineEnd == npos)
            return {begin, text_.size(), text_.size()};
        const bool pair = text_.compare(lineEnd, 2, "\r\n") == 0;
        return {begin, lineEnd, lineEnd + (pair ? 2 : 1)};
    }

private:
    std::string_view text_;
};

enum class LineKind { Blank, Header, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name; // the section of a header, the key of an entry
    bool hasEquals = false;
    // The value's offsets in the text; for an entry without "=" both sit
    // right after the key.
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

ParsedLine Parse(std::string_view text, const Line& line)
{
    const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
    const std::size_t first = content.find_first_not_of(Blanks);
    if (first == npos)
        return {};
    const std::size_t last = content.find_last_not_of(Blanks) + 1;
    if (content[first] == '[') {
        if (const std::size_t close = content.rfind(']'); close != npos && close > first)
            return {LineKind::Header, Trimmed(content.substr(first + 1, close - first - 1))};
    }
    const std::size_t equals = content.find('=', first);
    if (equals == npos)
        return {LineKind::Entry, content.substr(first, last - first), false, line.begin + last, line.begin + last};
    std::size_t valueBegin = content.find_first_not_of(Blanks, equals + 1);
    if (valueBegin == npos)
        valueBegin = content.size();
    const std::size_t valueEnd = valueBegin > last ? valueBegin : last;
    return {LineKind::Entry, Trimmed(content.substr(first, equals - first)), true, line.begin + valueBegin,
            line.begin + valueEnd};
}

struct Location {
    bool sectionFound = false;
    // The section's last line that is not blank (its header at least).
    Line lastLine;
    std::optional<ParsedLine> entry;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key)
{
    Location where;
    bool inSection = false;
    const Lines lines(text);
    for (std::size_t pos = lines.First(); pos < text.size();) {
        const Line line = lines.At(pos);
        pos = line.end;
        const ParsedLine parsed = Parse(text, line);
        if (parsed.kind == LineKind::Header) {
            if (inSection)
                break;
            inSection = SameName(parsed.name, section);
            if (inSection) {
                where.sectionFound = true;
                where.lastLine = line;
            }
            continue;
        }
        if (!inSection || parsed.kind == LineKind::Blank)
            continue;
        where.lastLine = line;
        if (SameName(parsed.name, key)) {
            where.entry = parsed;
            break;
        }
    }
    return where;
}

// Added lines follow the text's own line ends, judged by its first line.
std::string_view LineEndOf(std::string_view text)
{
    const std::size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd == npos || text[lineEnd] == '\n')
        return "\n";
    return text.compare(lineEnd, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

bool EndsWithLineEnd(std::string_view text) { return text.ends_with('\n') || text.ends_with('\r'); }

// Whether the last line of `text`, which ends in a line end, is blank.
bool EndsWithBlankLine(std::string_view text)
{
    text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
    const std::size_t previous = text.find_last_of("\r\n");
    return Trimmed(text.substr(previous == npos ? 0 : previous + 1)).empty();
}

void AppendEntry(std::string& out, std::string_view key, std::string_view value, std::string_view lineEnd)
{
    out.append(key).append("=").append(value).append(lineEnd);
}

bool HasLineBreakOrNul(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != npos; }

} // namespace

bool IsBlank(char c) { return Blanks.find(c) != npos; }

std::string DefaultAsRead(std::string_view defaultValue)
{
    const std::size_t last = defaultValue.find_last_not_of(' ');
    return std::string(defaultValue.substr(0, last == npos ? 0 : last + 1));
}

std::optional<std::string> ReadValue(std::string_view text, std::string_view section, std::string_view key)
{
    const Location where = Locate(text, Trimmed(section), Trimmed(key));
    if (!where.entry || !where.entry->hasEquals)
        return std::nullopt;
    std::string_view value = text.substr(where.entry->valueBegin, where.entry->valueEnd - where.entry->valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, value.find('\0')));
}

bool CanWrite(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trimmed(section);
    key = Trimmed(key);
    return !section.empty() && !key.empty() && !HasLineBreakOrNul(section) && !HasLineBreakOrNul(key) &&
           !HasLineBreakOrNul(value) && section.find(']') == npos && key.find('=') == npos && key.front() != '[';
}

std::string WriteValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    section = Trimmed(section);
    key = Trimmed(key);
    const Location where = Locate(text, section, key);
    const std::string_view lineEnd = LineEndOf(text);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    if (where.entry) {
        out.append(text.substr(0, where.entry->valueBegin));
        if (!where.entry->hasEquals)
            out += '=';
        out.append(value).append(text.substr(where.entry->valueEnd));
    } else if (where.sectionFound) {
        const std::size_t at = where.lastLine.end;
        out.append(text.substr(0, at));
        if (!HasLineEnd(where.lastLine))
            out.append(lineEnd);
        AppendEntry(out, key, value, lineEnd);
        out.append(text.substr(at));
    } else {
        out.append(text);
        // A blank line keeps the new section apart from the text above it;
        // a byte order mark alone is no text.
        if (text.size() > Lines(text).First()) {
            if (!EndsWithLineEnd(out))
                out.append(lineEnd);
            if (!EndsWithBlankLine(out))
                out.append(lineEnd);
        }
        out.append("[").append(section).append("]").append(lineEnd);
        AppendEntry(out, key, value, lineEnd);
    }
    return out;
}

} // namespace platform::ini
