// The text rules of profile files: what a read finds and delivers, and that a
// write edits exactly one value or adds exactly one line.

#include "platform/linux/profile/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using platform::ini::CanWrite;
using platform::ini::ReadValue;
using platform::ini::WriteValue;

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

TEST(ProfileText, Reads)
{
    const std::string nulValue("[S]\nK=ab\0cd\n", 12);
    const ReadCase cases[] = {
        {"plain", "[S]\nK=v\n", "S", "K", "v"},
        {"section and key ignore case", "[options]\nevent3=x\n", "OPTIONS", "Event3", "x"},
        {"blanks around everything", "  [ S ]  \n\t K \t=  v w \t\n", "S", "K", "v w"},
        {"blanks around the asked names", "[S]\nK=v\n", " S ", "\tK", "v"},
        {"double quotes", "[S]\nK=\" v \"\n", "S", "K", " v "},
        {"single quotes", "[S]\nK=' v '\n", "S", "K", " v "},
        {"one pair only", "[S]\nK=\"\"v\"\"\n", "S", "K", "\"v\""},
        {"quotes that differ stay", "[S]\nK='v\"\n", "S", "K", "'v\""},
        {"leading quoted path stays", "[S]\nK=\"C:\\a b\\x.exe\" arg\n", "S", "K", "\"C:\\a b\\x.exe\" arg"},
        {"a lone quote stays", "[S]\nK=\"\n", "S", "K", "\""},
        {"empty quotes", "[S]\nK=\"\"\n", "S", "K", ""},
        {"empty value", "[S]\nK=\n", "S", "K", ""},
        {"value keeps its equals signs", "[S]\nK==a=b;c[d]\n", "S", "K", "=a=b;c[d]"},
        {"CRLF line ends", "[S]\r\nK=v\r\nL=w\r\n", "S", "K", "v"},
        {"last line without line end", "[S]\nK=v", "S", "K", "v"},
        {"cut at NUL", nulValue, "S", "K", "ab"},
        {"first of two keys", "[S]\nK=1\nk=2\n", "S", "K", "1"},
        {"first of two sections only", "[S]\nA=1\n[s]\nK=2\n", "S", "K", std::nullopt},
        {"not in another section", "[T]\nK=1\n[S]\nL=2\n", "S", "K", std::nullopt},
        {"section missing", "[T]\nK=1\n", "S", "K", std::nullopt},
        {"key missing", "[S]\nL=1\n", "S", "K", std::nullopt},
        {"key without equals sign", "[S]\nK\nK=2\n", "S", "K", std::nullopt},
        {"entries before any section", "K=1\n[S]\n", "S", "K", std::nullopt},
        {"unclosed header is no header", "[S]\n[T\nK=1\n", "S", "K", "1"},
        {"comment line is no entry", "[S]\n; K=1\n", "S", "K", std::nullopt},
        {"empty file", "", "S", "K", std::nullopt},
        // As the Windows profile functions read files:
        {"header ends at its last bracket", "[S]]\nK=1\n[S] ; [x]\nK=2\n", "S]", "K", "1"},
        {"text after the header's bracket", "[S] ; note\nK=1\n", "S", "K", "1"},
        {"CR line ends", "[S]\rA=1\rK=2\r", "S", "K", "2"},
        {"CR ends lines after the last LF", "[S]\nA=1\rB=2\nK=3\rL=4", "S", "L", "4"},
        {"CR before a later LF ends a line", "[S]\nA=1\rK=2\n", "S", "K", "2"},
        {"LF CR is two line ends", "[S]\nA=1\n\rK=2\r\n", "S", "K", "2"},
        {"a lone CR ends a header", "[S]\r[T]\nK=1\n", "S", "K", std::nullopt},
        {"byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "1"},
        {"end-of-file mark is a blank", "[S]\nK=1\x1a\n\x1a", "S", "K", "1"},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(ReadValue(c.text, c.section, c.key), c.expected) << c.name;
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(ProfileText, Writes)
{
    const WriteCase cases[] = {
        {"new file", "", "OPTIONS", "EVENT1", "?", "[OPTIONS]\nEVENT1=?\n"},
        {"value replaced in place", "[S]\nA=1\nK=old\nB=2\n", "S", "K", "new", "[S]\nA=1\nK=new\nB=2\n"},
        {"spacing, spelling and CRLF kept", "[s]\r\n  k  =  old value \t\r\n", "S", "K", "v",
         "[s]\r\n  k  =  v \t\r\n"},
        {"empty old value", "[S]\nK=   \n", "S", "K", "v", "[S]\nK=   v\n"},
        {"empty new value", "[S]\nK=old\n", "S", "K", "", "[S]\nK=\n"},
        {"key without equals sign", "[S]\nK  \n", "S", "K", "v", "[S]\nK=v  \n"},
        {"first of two keys", "[S]\nK=1\nK=2\n", "S", "K", "v", "[S]\nK=v\nK=2\n"},
        {"added after the section's last line", "[S]\nA=1\n\n; note\n\n[T]\nK=x\n", "S", "K", "v",
         "[S]\nA=1\n\n; note\nK=v\n\n[T]\nK=x\n"},
        {"added to a bare header", "[S]\n\n[T]\n", "S", "K", "v", "[S]\nK=v\n\n[T]\n"},
        {"added at the end without line end", "[S]\nA=1", "S", "K", "v", "[S]\nA=1\nK=v\n"},
        {"added to the first of two sections", "[S]\nA=1\n[S]\nB=2\n", "S", "K", "v", "[S]\nA=1\nK=v\n[S]\nB=2\n"},
        {"CRLF for added lines", "[S]\r\nA=1\r\n", "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        {"new section after a blank line", "[T]\nA=1\n", "S", "K", "v", "[T]\nA=1\n\n[S]\nK=v\n"},
        {"new section, blank line present", "[T]\nA=1\n\n", "S", "K", "v", "[T]\nA=1\n\n[S]\nK=v\n"},
        {"new section after text without line end", "junk", "S", "K", "v", "junk\n\n[S]\nK=v\n"},
        {"new section in a CRLF file", "[T]\r\nA=1\r\n", "S", "K", "v", "[T]\r\nA=1\r\n\r\n[S]\r\nK=v\r\n"},
        {"value with quotes and signs", "[S]\nK=1\n", "S", "K", "\"a=b\" ;[c]", "[S]\nK=\"a=b\" ;[c]\n"},
        {"CR for added lines", "[S]\rA=1\r", "S", "K", "v", "[S]\rA=1\rK=v\r"},
        {"new section in a CR file", "[T]\rA=1", "S", "K", "v", "[T]\rA=1\r\r[S]\rK=v\r"},
        {"new section in a CRLF file ending in LF", "[T]\r\nA=1\n", "S", "K", "v",
         "[T]\r\nA=1\n\r\n[S]\r\nK=v\r\n"},
        {"added after a line that ends in a lone CR", "[S]\nA=1\rB=2\n[T]\n", "S", "K", "v",
         "[S]\nA=1\rB=2\nK=v\n[T]\n"},
        {"replaced before a lone CR", "[S]\nK=1\rB=2\n", "S", "K", "v", "[S]\nK=v\rB=2\n"},
        {"CR for added lines, judged by the first line", "[S]\rA=1\n", "S", "K", "v", "[S]\rA=1\nK=v\r"},
        {"byte order mark kept", "\xEF\xBB\xBF[S]\nK=1\n", "S", "K", "2", "\xEF\xBB\xBF[S]\nK=2\n"},
        {"new section after a lone byte order mark", "\xEF\xBB\xBF", "S", "K", "v", "\xEF\xBB\xBF[S]\nK=v\n"},
    };
    for (const WriteCase& c : cases) {
        ASSERT_TRUE(CanWrite(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(WriteValue(c.before, c.section, c.key, c.value), c.after) << c.name;
    }
}

TEST(ProfileText, RefusesWhatCouldNotBeReadBack)
{
    const std::string nul(1, '\0');
    struct Case {
        std::string section, key, value;
        bool writable;
    };
    const Case cases[] = {
        {"S", "K", "any = [text] ; \"'", true},
        {"S", "K", "", true},
        {"S", "K;x", "v", true},
        {"", "K", "v", false},
        {" ", "K", "v", false},
        {"S", "", "v", false},
        {"S", "K", "a\nb", false},
        {"S", "K", "a\rb", false},
        {"S", "K", "a" + nul, false},
        {"S\n", "K", "v", false},
        {"S", "K\n", "v", false},
        {"S]", "K", "v", false},
        {"S", "K=1", "v", false},
        {"S", "[K", "v", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanWrite(c.section, c.key, c.value), c.writable) << c.section << "/" << c.key << "/" << c.value;
}

} // namespace
