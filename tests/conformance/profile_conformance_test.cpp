// One corpus of profile reads and writes through the platform layer's real
// implementation: our own profile files on Linux, the system's profile
// functions on Windows (run under Wine). The program is built for both, and
// both must give the results written here. Files are compared by their
// sections, keys and values: the system rewrites the lines that a write did
// not touch in a form of its own, where our files keep them byte for byte.

#include "platform/profile.h"
#include "settings/profile_file.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr char Default[] = "<default>";
constexpr std::size_t SettingsBuffer = 1024;

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\v\f\r\x1a";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

std::string NormalLine(std::string_view line)
{
    line = Trimmed(line);
    if (line.front() == '[' && line.find(']') != std::string_view::npos)
        return "[" + std::string(Trimmed(line.substr(1, line.rfind(']') - 1))) + "]";
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::string(line);
    return std::string(Trimmed(line.substr(0, equals))) + "=" + std::string(Trimmed(line.substr(equals + 1)));
}

// The file's sections and entries in a normal form: "[name]" for each
// section, "key=value" for each entry (the bare key for one without "="),
// each on a line of its own, names and values without the blanks around
// them, blank lines dropped.
std::string NormalForm(const std::string& text)
{
    std::string normal;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = text.size();
        if (const std::string_view line(text.data() + begin, end - begin); !Trimmed(line).empty())
            normal += NormalLine(line) + "\n";
        begin = end + 1;
    }
    return normal;
}

std::string Folded(std::string name)
{
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

std::string Unquoted(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// What a read of each entry gives, worked out from the normal form, where
// every CR and every LF has ended a line: the first section of a name and
// its first entry of a key count, and a value loses one pair of enclosing
// quotes.
std::map<std::pair<std::string, std::string>, std::string> ExpectedReads(const std::string& text)
{
    std::map<std::pair<std::string, std::string>, std::string> reads;
    std::vector<std::string> seenSections;
    std::string section;
    bool counts = false;
    std::istringstream lines(NormalForm(text));
    for (std::string line; std::getline(lines, line);) {
        if (line.front() == '[') {
            section = Folded(line.substr(1, line.size() - 2));
            counts = std::find(seenSections.begin(), seenSections.end(), section) == seenSections.end();
            seenSections.push_back(section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!counts || equals == std::string::npos)
            continue;
        reads.try_emplace({section, Folded(line.substr(0, equals))}, Unquoted(line.substr(equals + 1)));
    }
    return reads;
}

// Random files as hand edits leave them: CRLF, LF and lone CR line ends in
// any mix, blank lines, comments, sections met twice.
class MixedFiles {
public:
    std::string Next()
    {
        std::string text;
        const int sections = Number(1, 4);
        for (int s = 0; s < sections; ++s) {
            text += (Number(0, 3) == 0 ? "  [ " : "[") + SectionName() + "]" + LineEnd();
            const int lines = Number(0, 7);
            for (int l = 0; l < lines; ++l) {
                const int kind = Number(0, 9);
                if (kind == 0)
                    text += "; K" + std::to_string(Number(0, 5)) + "=c";
                else if (kind == 1)
                    text += Number(0, 1) ? "" : " \t";
                else
                    text += (Number(0, 1) ? "K" : "k") + std::to_string(Number(0, 5)) + (kind == 2 ? " = " : "=") +
                            Value();
                text += LineEnd();
            }
        }
        if (Number(0, 3) == 0)
            text.resize(text.find_last_not_of("\r\n") + 1);
        return text;
    }

    int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    std::string SectionName() { return Number(0, 2) ? "OPTIONS" : Number(0, 1) ? "options" : "Other"; }
    std::string Value()
    {
        static constexpr std::string_view pieces[] = {"a", "Z", "9", " ", "\\", "/", ";", "=", "[", "]", "\"", "'", ".", "x y"};
        std::string value;
        for (int n = Number(0, 8); n > 0; --n)
            value += pieces[static_cast<std::size_t>(Number(0, std::size(pieces) - 1))];
        return value;
    }

private:
    std::string LineEnd()
    {
        static constexpr std::string_view ends[] = {"\r\n", "\n", "\r"};
        return std::string(ends[static_cast<std::size_t>(Number(0, 2))]);
    }

    std::mt19937 engine_{20261207u};
};

class ProfileConformance : public ::testing::Test {
protected:
    void Given(const std::string& text) const { conformance::StoreBytes(file, text); }
    std::string Text() const { return conformance::FileBytes(file); }
    std::string Normal() const { return NormalForm(Text()); }
    bool Exists() const { return std::filesystem::exists(file); }

    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue = Default,
                     std::size_t bufferSize = SettingsBuffer) const
    {
        return platform::GetPrivateProfileString(section, key, defaultValue, bufferSize, file);
    }
    bool Write(std::string_view section, std::string_view key, std::string_view value) const
    {
        return platform::WritePrivateProfileString(section, key, value, file);
    }

    conformance::TempFolder folder;
    const std::string file = folder / "QRVN.INI";
    const TProfileFile settings{file};
};

struct ReadCase {
    const char* name;
    std::string text;
    const char* key;
    std::string expected;
};

TEST_F(ProfileConformance, ReadsFindSectionsAndKeysWithoutRegardToCaseOrBlanks)
{
    const ReadCase cases[] = {
        {"case", "[options]\nevent1=x\n", "Event1", "x"},
        {"mixed case", "[OpTiOnS]\nEVENT1=x\n", "eVeNt1", "x"},
        {"blanks around names", "  [ OPTIONS ]  \n\t Event1 \t=\t x \n", "Event1", "x"},
        {"blanks inside a value stay", "[OPTIONS]\nEvent1=  a  b  \n", "Event1", "a  b"},
        {"blank lines and comments", "\n\n[OPTIONS]\n\n; note\nEvent1=x\n\n", "Event1", "x"},
        {"text after the header", "[OPTIONS] ; the settings\nEvent1=x\n", "Event1", "x"},
        {"blanks inside a key count", "[OPTIONS]\nEvent 1=x\n", "Event1", Default},
        {"a commented entry is none", "[OPTIONS]\n;Event1=x\n", "Event1", Default},
        {"header up to its last bracket", "[OPTIONS]]\nEvent1=x\n", "Event1", Default},
    };
    for (const ReadCase& c : cases) {
        Given(c.text);
        EXPECT_EQ(Read("OPTIONS", c.key), c.expected) << c.name;
    }
}

TEST_F(ProfileConformance, ReadsRemoveOnePairOfEnclosingQuotes)
{
    const ReadCase cases[] = {
        {"double quotes", "[OPTIONS]\nEvent1=\" a \"\n", "Event1", " a "},
        {"single quotes", "[OPTIONS]\nEvent1=' a '\n", "Event1", " a "},
        {"blanks outside the quotes", "[OPTIONS]\nEvent1=  \"a\"  \n", "Event1", "a"},
        {"only one pair", "[OPTIONS]\nEvent1=\"\"a\"\"\n", "Event1", "\"a\""},
        {"quotes that differ", "[OPTIONS]\nEvent1=\"a'\n", "Event1", "\"a'"},
        {"a lone quote", "[OPTIONS]\nEvent1=\"\n", "Event1", "\""},
        {"empty quotes", "[OPTIONS]\nEvent1=\"\"\n", "Event1", ""},
        {"quoted path and arguments", "[OPTIONS]\nEvent1=\"C:\\My Tools\\a.exe\" /x\n", "Event1",
         "\"C:\\My Tools\\a.exe\" /x"},
        {"quoted path and quoted argument", "[OPTIONS]\nEvent1=\"C:\\a b\\x.exe\" \"y z\"\n", "Event1",
         "C:\\a b\\x.exe\" \"y z"},
    };
    for (const ReadCase& c : cases) {
        Given(c.text);
        EXPECT_EQ(Read("OPTIONS", c.key), c.expected) << c.name;
    }
}

TEST_F(ProfileConformance, ReadsTakeEveryKindOfLineEnd)
{
    const ReadCase cases[] = {
        {"LF", "[OPTIONS]\nEvent1=x\nEvent2=y\n", "Event2", "y"},
        {"CRLF", "[OPTIONS]\r\nEvent1=x\r\nEvent2=y\r\n", "Event1", "x"},
        {"CR", "[OPTIONS]\rEvent1=x\rEvent2=y\r", "Event2", "y"},
        {"no line end at the end", "[OPTIONS]\r\nEvent1=x", "Event1", "x"},
        {"byte order mark", "\xEF\xBB\xBF[OPTIONS]\r\nEvent1=x\r\n", "Event1", "x"},
        {"end-of-file mark", "[OPTIONS]\r\nEvent1=x\x1a", "Event1", "x"},
    };
    for (const ReadCase& c : cases) {
        Given(c.text);
        EXPECT_EQ(Read("OPTIONS", c.key), c.expected) << c.name;
    }
}

// Every file is read entry by entry, then one entry is written: the written
// entry reads back and every other one reads as before.
TEST_F(ProfileConformance, FilesWithMixedLineEndsReadAsEveryLineEndEndsALine)
{
    constexpr int Files = 300;
    MixedFiles files;
    int wrong = 0;
    for (int n = 0; n < Files; ++n) {
        const std::string text = files.Next();
        Given(text);
        auto expected = ExpectedReads(text);
        bool right = true;
        for (const char* section : {"OPTIONS", "Other"})
            for (int k = 0; k <= 5; ++k) {
                const std::string key = "K" + std::to_string(k);
                const auto found = expected.find({Folded(section), Folded(key)});
                right &= Read(section, key) == (found == expected.end() ? Default : found->second);
            }
        const std::string section = files.SectionName();
        const std::string key = "k" + std::to_string(files.Number(0, 6));
        const std::string value(Trimmed(files.Value()));
        right &= Write(section, key, value);
        expected[{Folded(section), Folded(key)}] = Unquoted(value);
        for (const auto& [entry, read] : expected)
            right &= Read(entry.first, entry.second) == read;
        if (!right) {
            ++wrong;
            ADD_FAILURE() << "file " << n << " goes wrong: " << ::testing::PrintToString(text);
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << Files << " files";
}

TEST_F(ProfileConformance, ReadsKeepToTheirSectionAndTellMissingFromEmpty)
{
    const ReadCase cases[] = {
        {"between foreign sections", "[Other]\nEvent1=o\n[OPTIONS]\nEvent1=x\n[More]\nEvent1=m\n", "Event1", "x"},
        {"only in a foreign section", "[Other]\nEvent2=o\n[OPTIONS]\nEvent1=x\n", "Event2", Default},
        {"only in a second section of the name", "[OPTIONS]\nEvent1=x\n[Other]\n[options]\nEvent2=y\n", "Event2",
         Default},
        {"first of two entries", "[OPTIONS]\nEvent1=x\nEVENT1=y\n", "Event1", "x"},
        {"before any section", "Event1=x\n[OPTIONS]\n", "Event1", Default},
        {"no section", "[Other]\nEvent1=x\n", "Event1", Default},
        {"empty file", "", "Event1", Default},
        {"empty value", "[OPTIONS]\nEvent7=\n", "Event7", ""},
        {"blank value", "[OPTIONS]\nEvent7=   \n", "Event7", ""},
        {"key without equals sign", "[OPTIONS]\nEvent7\n", "Event7", Default},
        {"equals signs in the value", "[OPTIONS]\nEvent1==a=b;c[d]\n", "Event1", "=a=b;c[d]"},
        {"non-ASCII text", "[OPTIONS]\nEvent1=C:\\Zubeh\xC3\xB6r\\\xC3\xA4 \xE2\x82\xAC.exe\n", "Event1",
         "C:\\Zubeh\xC3\xB6r\\\xC3\xA4 \xE2\x82\xAC.exe"},
    };
    for (const ReadCase& c : cases) {
        Given(c.text);
        EXPECT_EQ(Read("OPTIONS", c.key), c.expected) << c.name;
    }
    std::filesystem::remove(file);
    EXPECT_EQ(Read("OPTIONS", "Event1"), Default) << "no file";
}

TEST_F(ProfileConformance, DefaultsLoseTheirTrailingSpaces)
{
    EXPECT_EQ(Read("OPTIONS", "Event1", "C:\\WINDOWS\\NOTEPAD.EXE  "), "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(Read("OPTIONS", "Event1", "  ?"), "  ?");
    EXPECT_EQ(Read("OPTIONS", "Event1", ""), "");
}

TEST_F(ProfileConformance, LongValuesAreCutToTheBuffer)
{
    const std::string command(2000, 'c');
    const std::pair<std::size_t, std::size_t> cases[] = {{2000, 1023}, {1024, 1023}, {1023, 1023}, {10, 10}};
    for (const auto& [length, delivered] : cases) {
        Given("[OPTIONS]\nEvent1=" + command.substr(0, length) + "\n");
        EXPECT_EQ(Read("OPTIONS", "Event1"), command.substr(0, delivered)) << length;
    }
    Given("[OPTIONS]\nEvent1=abcdef\n");
    EXPECT_EQ(Read("OPTIONS", "Event1", Default, 4), "abc");
    EXPECT_EQ(Read("OPTIONS", "Event1", Default, 1), "");
    EXPECT_EQ(Read("OPTIONS", "Missing", "defaults too", 5), "defa");
    Given("[OPTIONS]\nEvent1=" + std::string(100000, 'x') + "\n");
    EXPECT_EQ(Read("OPTIONS", "Event1", Default, 70000), std::string(69999, 'x'));
}

TEST_F(ProfileConformance, IntegersInEveryFormOfTheSettingsFile)
{
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"100", 100},         {" 100", 100},        {"100  ", 100},        {"\"100\"", 100},
        {"0x64", 100},        {"0X1f", 31},         {"$1F", 31},           {"$1f", 31},
        {"010", 10},          {"+7", 7},            {"-5", -5},            {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},           {"0xFFFFFFFF", -1},    {"0x7fffffff", 2147483647},
        {"2147483648", 150},  {"-2147483649", 150}, {"0x100000000", 150},  {"100px", 150},
        {"12ms", 150},        {"0x", 150},          {"-0x10", 150},        {"$", 150},
        {"- 5", 150},         {"4 2", 150},         {"", 150},             {"\"\"", 150},
        {"1e3", 150},         {"0x-1", 150},        {"\xC2\xB9", 150},     {"\" 7\"", 7},
    };
    for (const Case& c : cases) {
        Given("[OPTIONS]\nSensitivityInPixels=" + std::string(c.value) + "\n");
        EXPECT_EQ(settings.ReadInteger("OPTIONS", "SensitivityInPixels", 150), c.expected) << c.value;
    }
    std::filesystem::remove(file);
    EXPECT_EQ(settings.ReadInteger("OPTIONS", "SensitivityInPixels", 150), 150) << "no file";
}

TEST_F(ProfileConformance, BooleansAreIntegersThatAreNotZero)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true}, {"0", false}, {"2", true}, {"-1", true}, {"0x0", false}, {"", true}, {"yes", true},
        {"true", true}, {"false", true}, {"00", false},
    };
    for (const auto& [value, expected] : cases) {
        Given("[OPTIONS]\nDetectEvent3=" + std::string(value) + "\n");
        EXPECT_EQ(settings.ReadBool("OPTIONS", "DetectEvent3", true), expected) << value;
    }
}

struct WriteStep {
    const char* section;
    const char* key;
    std::string value;
};

struct WriteCase {
    const char* name;
    std::optional<std::string> text; // nothing: no file
    std::vector<WriteStep> steps;
    std::string normal;
};

TEST_F(ProfileConformance, WritesChangeOneEntryOrAddIt)
{
    const WriteCase cases[] = {
        {"new file", std::nullopt, {{"OPTIONS", "EVENT1", "?"}, {"OPTIONS", "EVENT2", "b"}},
         "[OPTIONS]\nEVENT1=?\nEVENT2=b\n"},
        {"empty file", "", {{"OPTIONS", "EVENT7", ""}}, "[OPTIONS]\nEVENT7=\n"},
        {"in place, keeping the key's spelling", "[options]\r\nevent3=old\r\nEvent4=x\r\n",
         {{"OPTIONS", "EVENT3", "new"}}, "[options]\nevent3=new\nEvent4=x\n"},
        {"blanks around the old value", "[OPTIONS]\n  Event1 =  old  \n", {{"OPTIONS", "EVENT1", "new"}},
         "[OPTIONS]\nEvent1=new\n"},
        {"added to its section, before a foreign one",
         "; settings\n[Other]\na=1\n\n[OPTIONS]\nEvent1=x\n\n[More]\nb=2\n", {{"OPTIONS", "CornerWaitTime", "5"}},
         "; settings\n[Other]\na=1\n[OPTIONS]\nEvent1=x\nCornerWaitTime=5\n[More]\nb=2\n"},
        {"new section at the end", "[Other]\na=1\n", {{"OPTIONS", "EVENT1", "x"}},
         "[Other]\na=1\n[OPTIONS]\nEVENT1=x\n"},
        {"file without a last line end", "[OPTIONS]\nEvent1=x", {{"OPTIONS", "EVENT2", "y"}},
         "[OPTIONS]\nEvent1=x\nEVENT2=y\n"},
        {"CR line ends", "[OPTIONS]\rEvent1=x\r", {{"OPTIONS", "EVENT2", "y"}}, "[OPTIONS]\nEvent1=x\nEVENT2=y\n"},
        {"byte order mark", "\xEF\xBB\xBF[OPTIONS]\r\nEvent1=x\r\n", {{"OPTIONS", "EVENT1", "y"}},
         "\xEF\xBB\xBF[OPTIONS]\nEvent1=y\n"},
        {"the first of two sections", "[OPTIONS]\nEvent1=x\n[OPTIONS]\nEvent2=y\n", {{"OPTIONS", "EVENT2", "z"}},
         "[OPTIONS]\nEvent1=x\nEVENT2=z\n[OPTIONS]\nEvent2=y\n"},
        {"the first of two entries", "[OPTIONS]\nEvent1=x\nEvent1=y\n", {{"OPTIONS", "EVENT1", "z"}},
         "[OPTIONS]\nEvent1=z\nEvent1=y\n"},
        {"a key without equals sign gets one", "[OPTIONS]\nEvent1\n", {{"OPTIONS", "EVENT1", "x"}},
         "[OPTIONS]\nEvent1=x\n"},
        {"a comment stays", "[OPTIONS]\n;Event1=c\nEvent1=x\n", {{"OPTIONS", "EVENT1", "y"}},
         "[OPTIONS]\n;Event1=c\nEvent1=y\n"},
        {"entries before any section stay", "top=1\n[OPTIONS]\nEvent1=x\n", {{"OPTIONS", "EVENT1", "y"}},
         "top=1\n[OPTIONS]\nEvent1=y\n"},
        {"long and non-ASCII values", std::nullopt,
         {{"OPTIONS", "EVENT1", std::string(2000, 'v')}, {"OPTIONS", "EVENT2", "C:\\Zubeh\xC3\xB6r\\\xE2\x82\xAC.exe"}},
         "[OPTIONS]\nEVENT1=" + std::string(2000, 'v') + "\nEVENT2=C:\\Zubeh\xC3\xB6r\\\xE2\x82\xAC.exe\n"},
    };
    for (const WriteCase& c : cases) {
        std::filesystem::remove(file);
        if (c.text)
            Given(*c.text);
        for (const WriteStep& step : c.steps)
            EXPECT_TRUE(Write(step.section, step.key, step.value)) << c.name << ": " << step.key;
        EXPECT_EQ(Normal(), c.normal) << c.name;
        for (const WriteStep& step : c.steps)
            EXPECT_EQ(Read(step.section, step.key), step.value.substr(0, SettingsBuffer - 1)) << c.name;
    }
}

TEST_F(ProfileConformance, AnEntryThatHoldsItsValueLeavesTheFileAlone)
{
    const std::string text = "\n[OPTIONS]\n  EVENT1 =  x  \nEvent2=\"y\"\n";
    Given(text);
    EXPECT_TRUE(Write("OPTIONS", "EVENT1", "x"));
    EXPECT_TRUE(Write("options", "event2", "\"y\""));
    EXPECT_EQ(Text(), text);
}

TEST_F(ProfileConformance, TextsReadBackAsTheSettingsWroteThem)
{
    const std::string commands[] = {
        " leading blank",
        "trailing blank ",
        "\"C:\\My Tools\\a.exe\" \"x y.txt\"",
        "'quoted'",
        "\"",
        "a=b;c[d]",
        "\t",
        "",
    };
    for (const std::string& command : commands) {
        EXPECT_TRUE(settings.WriteString("OPTIONS", "EVENT1", command)) << command;
        EXPECT_EQ(settings.ReadString("OPTIONS", "Event1", Default), command) << command;
    }
    for (const std::int32_t number : {0, -5, 2147483647, -2147483647 - 1}) {
        EXPECT_TRUE(settings.WriteInteger("OPTIONS", "CornerWaitTime", number));
        EXPECT_EQ(Read("OPTIONS", "CornerWaitTime"), std::to_string(number));
        EXPECT_EQ(settings.ReadInteger("OPTIONS", "CornerWaitTime", 1000), number);
    }
}

TEST_F(ProfileConformance, EntriesThatWouldNotReadBackAreRefused)
{
    const std::string text = "[OPTIONS]\nEvent1=x\n";
    const WriteStep refused[] = {
        {"OPTIONS", "EVENT1", "line\nbreak"},
        {"OPTIONS", "EVENT1", "carriage\rreturn"},
        {"OPTIONS", "EVENT1", "nul\0byte"s},
        {"OPTIONS", "", "x"},
        {"OPTIONS", "  ", "x"},
        {"OPTIONS", "a=b", "x"},
        {"OPTIONS", "[x", "x"},
        {"OPT]IONS", "EVENT1", "x"},
        {"", "EVENT1", "x"},
        {"OPTIONS\n", "EVENT1", "x"},
    };
    for (const WriteStep& step : refused) {
        Given(text);
        EXPECT_FALSE(Write(step.section, step.key, step.value)) << step.section << "/" << step.key;
        EXPECT_EQ(Text(), text) << step.section << "/" << step.key;
    }
    std::filesystem::remove(file);
    EXPECT_FALSE(Write("OPTIONS", "EVENT1", "a\nb"));
    EXPECT_FALSE(Exists());
}

TEST_F(ProfileConformance, AReadOnlyFileIsNotWritten)
{
    const std::string text = "[OPTIONS]\nEvent1=x\n";
    Given(text);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    EXPECT_FALSE(Write("OPTIONS", "EVENT1", "y"));
    EXPECT_FALSE(Write("OPTIONS", "EVENT2", "y"));
    EXPECT_FALSE(Write("OPTIONS", "EVENT1", "x")) << "even when nothing would change";
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(Read("OPTIONS", "Event1"), "x");
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST_F(ProfileConformance, AWriteCreatesTheMissingFolders)
{
    const std::string nested = folder / "settings/quorzane/QRVN.INI";
    EXPECT_TRUE(platform::WritePrivateProfileString("OPTIONS", "EVENT1", "x", nested));
    EXPECT_EQ(NormalForm(conformance::FileBytes(nested)), "[OPTIONS]\nEVENT1=x\n");
    EXPECT_EQ(platform::GetPrivateProfileString("OPTIONS", "Event1", Default, SettingsBuffer, nested), "x");
}

TEST_F(ProfileConformance, EveryWriteIsSeenByTheNextRead)
{
    for (int round = 0; round < 20; ++round) {
        const std::string value = std::to_string(round);
        ASSERT_TRUE(Write("OPTIONS", "TimesInProgram", value));
        ASSERT_EQ(Read("OPTIONS", "TimesInProgram"), value);
        ASSERT_TRUE(Write("OPTIONS", "EVENT" + value, value));
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"QRVN.INI"}) << "no copy is left behind";
}

} // namespace
