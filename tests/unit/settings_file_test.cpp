// Loading and saving the settings record through the profile double, whose
// files follow the same text rules as the real ones.

#include "settings/global.h"

#include "platform/double/profile_double.h"
#include "platform/double/system_double.h"
#include "platform/system.h"
#include "tests/unit/random_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using platform::fake::ProfileFileText;
using namespace std::string_literals;

const std::string SettingsFolder = "/home/ann/.config/quorzane";
// The folder as WindowsDirectory gives it: with the platform's separator.
const std::string W = SettingsFolder + platform::PathSeparator;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetProfiles();
        platform::fake::ResetSystem();
        platform::fake::SetWindowsDirectory(SettingsFolder);
        Settings = TSettings{};
    }

    static void GivenFile(const std::string& text) { platform::fake::SetProfileFileText("QRVN.INI", text); }

    // Loads a file whose [OPTIONS] section holds the one entry `key`=`value`.
    static void LoadEntry(const std::string& key, const std::string& value)
    {
        GivenFile("[OPTIONS]\n" + key + "=" + value + "\n");
        LoadSettings();
    }
};

TEST_F(SettingsFileTest, NoFileGivesDefaultsAndTheFirstSaveWritesTheWholeFileInOrder)
{
    LoadSettings();
    EXPECT_EQ(ProfileFileText("QRVN.INI"), std::nullopt);
    EXPECT_EQ(Settings.Event1, "?");
    EXPECT_EQ(Settings.Event4, W + "CALC.EXE");
    EXPECT_EQ(Settings.SensitivityInPixels, 150);
    EXPECT_TRUE(Settings.DetectEvent8);
    EXPECT_EQ(Settings.TimesInProgram, 0);

    Settings.TimesInProgram = 1;
    SaveSettings();
    EXPECT_EQ(ProfileFileText("QRVN.INI"), "[OPTIONS]\n"
                                           "EVENT1=?\n"
                                           "EVENT2=" + W + "EXPLORER.EXE /n,/e,C:\\\n"
                                           "EVENT3=" + W + "NOTEPAD.EXE\n"
                                           "EVENT4=" + W + "CALC.EXE\n"
                                           "EVENT5=" + W + "DOSPRMPT.PIF\n"
                                           "EVENT6=" + W + "PBRUSH.EXE\n"
                                           "EVENT7=\n"
                                           "EVENT8=\n"
                                           "SensitivityInPixels=150\n"
                                           "SensitivityInTime=200\n"
                                           "CornerWaitTime=1000\n"
                                           "TaskBarAnimation=1\n"
                                           "DetectMouseMoveMents=1\n"
                                           "DetectEvent1=1\n"
                                           "DetectEvent2=1\n"
                                           "DetectEvent3=1\n"
                                           "DetectEvent4=1\n"
                                           "DetectEvent5=1\n"
                                           "DetectEvent6=1\n"
                                           "DetectEvent7=1\n"
                                           "DetectEvent8=1\n"
                                           "TimesInProgram=1\n");
}

TEST_F(SettingsFileTest, EntriesAreReadAndWrittenInTableOrderWithTheirOwnSpelling)
{
    platform::fake::SetPlatformId(platform::PlatformWin32NT);
    LoadSettings();
    SaveSettings();
    EXPECT_EQ(platform::fake::PlatformIdQueries(), 3);
    EXPECT_EQ(Settings.Event4, W + "System32\\CALC.EXE");

    std::vector<std::string> read, written;
    for (const auto& call : platform::fake::ProfileReads()) {
        EXPECT_EQ(call.fileName, "QRVN.INI");
        // The rules' own section is read after these, and not written at its defaults.
        if (call.section == GuardSection)
            continue;
        EXPECT_EQ(call.section, "OPTIONS");
        read.push_back(call.key);
    }
    for (const auto& call : platform::fake::ProfileWrites()) {
        EXPECT_EQ(call.fileName, "QRVN.INI");
        EXPECT_EQ(call.section, "OPTIONS");
        written.push_back(call.key);
    }
    const std::vector<std::string> others = {"SensitivityInPixels", "SensitivityInTime", "CornerWaitTime",
                                             "TaskBarAnimation",    "DetectMouseMoveMents", "DetectEvent1",
                                             "DetectEvent2",        "DetectEvent3",      "DetectEvent4",
                                             "DetectEvent5",        "DetectEvent6",      "DetectEvent7",
                                             "DetectEvent8",        "TimesInProgram"};
    std::vector<std::string> expectedRead, expectedWritten;
    for (int event = 1; event <= EventCount; ++event) {
        expectedRead.push_back("Event" + std::to_string(event));
        expectedWritten.push_back("EVENT" + std::to_string(event));
    }
    expectedRead.insert(expectedRead.end(), others.begin(), others.end());
    expectedWritten.insert(expectedWritten.end(), others.begin(), others.end());
    EXPECT_EQ(read, expectedRead);
    EXPECT_EQ(written, expectedWritten);
}

TEST_F(SettingsFileTest, IntegerEntries)
{
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"100", 100},          {"0x64", 100},        {"0X64", 100},     {"$64", 100},
        {"$1F", 31},           {"0x1F", 31},         {"010", 10},       {"-5", -5},
        {"+7", 7},             {"\" 100\"", 100},    {"\"  -3\"", -3},  {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()}, {"$FFFFFFFF", -1},
        {"0x80000000", std::numeric_limits<std::int32_t>::min()},  {"$00000000064", 100},
        {"", 150},             {"0x", 150},          {"-0x10", 150},    {"100px", 150},
        {"2147483648", 150},   {"-2147483649", 150}, {"$100000000", 150}, {"-", 150},
        {"+", 150},            {"+$10", 150},        {"$", 150},        {"1 2", 150},
        {"\"\t100\"", 150},    {"\"100 \"", 150},    {"1e3", 150},      {"0x1G", 150},
        {"99999999999999999999", 150},
    };
    for (const Case& c : cases) {
        LoadEntry("SensitivityInPixels", c.value);
        EXPECT_EQ(Settings.SensitivityInPixels, c.expected) << c.value;
    }
}

TEST_F(SettingsFileTest, BooleanEntriesReadAsIntegersAndSaveAsOneOrZero)
{
    struct Case {
        const char* value;
        bool expected;
        const char* saved;
    };
    const Case cases[] = {
        {"", true, "1"},  {"0", false, "0"},   {"-1", true, "1"},  {"2", true, "1"},
        {"5", true, "1"}, {"0x0", false, "0"}, {"yes", true, "1"}, {"false", true, "1"},
    };
    for (const Case& c : cases) {
        LoadEntry("DetectEvent3", c.value);
        EXPECT_EQ(Settings.DetectEvent3, c.expected) << c.value;
        SaveSettings();
        EXPECT_NE(ProfileFileText("QRVN.INI")->find(std::string("\nDetectEvent3=") + c.saved + "\n"),
                  std::string::npos)
            << c.value;
    }
}

TEST_F(SettingsFileTest, CommandEntries)
{
    GivenFile("[OPTIONS]\nEVENT7=\n");
    LoadSettings();
    EXPECT_EQ(Settings.Event7, "");
    EXPECT_EQ(Settings.Event1, "?");

    GivenFile("[OPTIONS]\nEvent1=\n");
    LoadSettings();
    EXPECT_EQ(Settings.Event1, "") << "an empty command is no missing one";
    EXPECT_EQ(Settings.Event7, "");

    LoadEntry("EVENT2", std::string(2000, 'c'));
    EXPECT_EQ(Settings.Event2, std::string(1023, 'c'));

    // What other programs wrote reads as any profile read delivers it.
    LoadEntry("EVENT3", "  \"C:\\My Tools\\a.exe\" \"x y.txt\"  ");
    EXPECT_EQ(Settings.Event3, "C:\\My Tools\\a.exe\" \"x y.txt");
}

TEST_F(SettingsFileTest, HandWrittenSpellingIsFoundAndUpdatedInPlace)
{
    GivenFile("[options]\nevent3=three\nEvEnT5=five\n");
    LoadSettings();
    EXPECT_EQ(Settings.Event3, "three");
    EXPECT_EQ(Settings.Event5, "five");

    Settings.Event3 = "new three";
    SaveSettings();
    const std::string text = *ProfileFileText("QRVN.INI");
    EXPECT_EQ(text.rfind("[options]\nevent3=new three\nEvEnT5=five\nEVENT1=?\n", 0), 0u);
    EXPECT_EQ(text.find("EVENT3"), std::string::npos);
    EXPECT_EQ(text.find("EVENT5"), std::string::npos);
    EXPECT_EQ(text.find("[OPTIONS]"), std::string::npos);
}

TEST_F(SettingsFileTest, CommandsReadBackExactlyAsSaved)
{
    struct Case {
        std::string command;
        std::string line; // as it stands in the file
    };
    const Case cases[] = {
        {" lead", "EVENT1=\" lead\""},
        {"trail\t", "EVENT1=\"trail\t\""},
        {"\"x\"", "EVENT1=\"\"x\"\""},
        {"'x'", "EVENT1=\"'x'\""},
        {"\"C:\\My Tools\\a.exe\" \"x y.txt\"", "EVENT1=\"\"C:\\My Tools\\a.exe\" \"x y.txt\"\""},
        {"\"C:\\My Tools\\a.exe\" arg", "EVENT1=\"C:\\My Tools\\a.exe\" arg"},
        {"'x\"", "EVENT1='x\""},
        {"\"", "EVENT1=\""},
        {"", "EVENT1="},
        {"a=b ; [c]", "EVENT1=a=b ; [c]"},
    };
    for (const Case& c : cases) {
        platform::fake::ResetProfiles();
        LoadSettings();
        Settings.Event1 = c.command;
        SaveSettings();
        EXPECT_NE(ProfileFileText("QRVN.INI")->find("\n" + c.line + "\n"), std::string::npos) << c.command;
        Settings.Event1 = "lost";
        LoadSettings();
        EXPECT_EQ(Settings.Event1, c.command);
    }
}

TEST_F(SettingsFileTest, AFailedWriteRaisesAndStopsAtThatEntry)
{
    struct Case {
        int successfulWrites;
        const char* lastWrittenKey;
    };
    const Case cases[] = {{0, nullptr}, {9, "SensitivityInPixels"}, {21, "DetectEvent8"}};
    for (const Case& c : cases) {
        platform::fake::ResetProfiles();
        LoadSettings();
        Settings.SensitivityInTime = 222;
        const TSettings before = Settings;
        platform::fake::FailProfileWritesAfter(c.successfulWrites);
        try {
            SaveSettings();
            ADD_FAILURE() << "no error after " << c.successfulWrites << " writes";
        } catch (const ESettingsWriteError& error) {
            EXPECT_STREQ(error.what(), "Unable to write to QRVN.INI");
        }
        const auto& writes = platform::fake::ProfileWrites();
        ASSERT_EQ(writes.size(), static_cast<std::size_t>(c.successfulWrites + 1));
        EXPECT_FALSE(writes.back().succeeded);
        EXPECT_TRUE(Settings == before);
        const auto text = ProfileFileText("QRVN.INI");
        if (!c.lastWrittenKey) {
            EXPECT_EQ(text, std::nullopt);
            continue;
        }
        EXPECT_EQ(text->substr(text->rfind('\n', text->size() - 2) + 1).rfind(c.lastWrittenKey, 0), 0u);
    }
}

TEST_F(SettingsFileTest, AnyFileLoadsAndASaveChangesOnlyTheSettingsEntries)
{
    std::string binary;
    for (int i = 0; i < 65536; ++i)
        binary += static_cast<char>(i * 31 % 251 == '[' ? 0 : i * 31 % 251);
    const std::string longLine(1 << 20, 'x');
    struct Case {
        const char* name;
        std::string text;
        std::string event2; // as loaded
        std::int32_t cornerWaitTime;
    };
    const std::string defaultEvent2 = W + "EXPLORER.EXE /n,/e,C:\\";
    const Case cases[] = {
        {"binary", binary, defaultEvent2, 1000},
        {"NULs", "[OPTIONS]\nEVENT2=a\0b\nCornerWaitTime=7\0 8\n"s, "a", 7},
        {"1 MB line", "[OPTIONS]\nEVENT2=" + longLine + "\nCornerWaitTime=7\n", longLine.substr(0, 1023), 7},
        {"no section", "EVENT2=x\nCornerWaitTime=7\n", defaultEvent2, 1000},
        {"unclosed header", "[OPTIONS\nEVENT2=x\nCornerWaitTime=7\n", defaultEvent2, 1000},
        {"duplicates", "[OPTIONS]\nEVENT2=first\nEVENT2=second\n[Options]\nCornerWaitTime=7\n", "first", 1000},
    };
    for (const Case& c : cases) {
        GivenFile(c.text);
        LoadSettings();
        EXPECT_EQ(Settings.Event2, c.event2) << c.name;
        EXPECT_EQ(Settings.CornerWaitTime, c.cornerWaitTime) << c.name;
        const TSettings loaded = Settings;

        SaveSettings();
        const std::string saved = *ProfileFileText("QRVN.INI");
        if (c.text.find("[OPTIONS]") == std::string::npos) {
            EXPECT_EQ(saved.substr(0, c.text.size()), c.text) << c.name;
        }
        Settings = TSettings{};
        LoadSettings();
        EXPECT_TRUE(Settings == loaded) << c.name;
    }
    EXPECT_EQ(*ProfileFileText("QRVN.INI"),
              "[OPTIONS]\nEVENT2=first\nEVENT2=second\nEVENT1=?\nEVENT3=" + W + "NOTEPAD.EXE\n"
              "EVENT4=" + W + "CALC.EXE\nEVENT5=" + W + "DOSPRMPT.PIF\n"
              "EVENT6=" + W + "PBRUSH.EXE\nEVENT7=\nEVENT8=\nSensitivityInPixels=150\n"
              "SensitivityInTime=200\nCornerWaitTime=1000\nTaskBarAnimation=1\nDetectMouseMoveMents=1\n"
              "DetectEvent1=1\nDetectEvent2=1\nDetectEvent3=1\nDetectEvent4=1\nDetectEvent5=1\nDetectEvent6=1\n"
              "DetectEvent7=1\nDetectEvent8=1\nTimesInProgram=0\n[Options]\nCornerWaitTime=7\n");
}

TSettings RandomRecord(RandomText& random)
{
    TSettings record;
    for (int event = 1; event <= EventCount; ++event) {
        EventCommand(record, event) = random.AnyValue();
        EventEnabled(record, event) = random.Chance(50);
    }
    record.SensitivityInPixels = random.Number(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    record.SensitivityInTime = random.Number(-1000, 1000);
    record.CornerWaitTime = random.Number(0, 2000);
    record.TaskBarAnimation = random.Chance(50);
    record.DetectMouseMoveMents = random.Chance(50);
    record.TimesInProgram = random.Number(0, std::numeric_limits<int>::max());
    return record;
}

TEST_F(SettingsFileTest, RandomRecordsRoundTripThroughAFileWithForeignSections)
{
    RandomText random;
    const std::string before = "; kept\r\n[Tools]\r\nEVENT1 = other program's\r\n\r\n";
    const std::string after = "[Last]\r\nSensitivityInPixels=9\r\n";
    GivenFile(before + "[OPTIONS]\r\n\r\n" + after);
    for (int round = 0; round < 300; ++round) {
        const TSettings record = RandomRecord(random);
        Settings = record;
        SaveSettings();
        Settings = TSettings{};
        LoadSettings();

        TSettings expected = record;
        for (int event = 1; event <= EventCount; ++event) {
            std::string& command = EventCommand(expected, event);
            command = command.substr(0, 1023);
        }
        ASSERT_TRUE(Settings == expected) << "round " << round;
        const std::string text = *ProfileFileText("QRVN.INI");
        ASSERT_EQ(text.substr(0, before.size()), before);
        ASSERT_EQ(text.substr(text.size() - after.size()), after);
    }
}

} // namespace
