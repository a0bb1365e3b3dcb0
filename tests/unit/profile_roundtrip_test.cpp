// Thousands of random writes into files full of foreign sections: every
// value reads back as written, under any spelling of its section and key,
// and not one foreign byte changes.

#include "platform/linux/profile_text.h"
#include "tests/unit/random_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::ini::ReadValue;
using platform::ini::WriteValue;

// A value that a read gives back unchanged: nothing that it would trim or
// unquote.
std::string ReadableValue(RandomText& random)
{
    std::string value = random.AnyValue();
    if (!value.empty() && platform::ini::IsBlank(value.front()))
        value.insert(0, "v");
    if (!value.empty() && platform::ini::IsBlank(value.back()))
        value += 'v';
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value += 'v';
    return value;
}

std::string Key(RandomText& random)
{
    std::string key = random.Characters(random.Number(1, 24));
    for (char& c : key)
        if (c == '=')
            c = '_';
    if (platform::ini::IsBlank(key.front()))
        key.front() = '_';
    if (platform::ini::IsBlank(key.back()))
        key.back() = '_';
    if (key.front() == '[')
        key.insert(0, "k");
    return key;
}

std::string Folded(std::string name)
{
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

struct Entry {
    std::string section, key, value;
};

// Sections that the writes never aim at, with comments, blank lines and
// unusual spacing; `entries` lists what they hold.
struct ForeignText {
    std::string text;
    std::vector<Entry> entries;
};

ForeignText Foreign(RandomText& random, const std::string& prefix, const std::string& lineEnd)
{
    ForeignText foreign;
    const int sections = random.Number(1, 4);
    for (int s = 0; s < sections; ++s) {
        const std::string section = prefix + std::to_string(s);
        foreign.text += (random.Chance(30) ? "  [ " + section + " ]  " : "[" + section + "]") + lineEnd;
        const int lines = random.Number(0, 8);
        for (int l = 0; l < lines; ++l) {
            if (random.Chance(15)) {
                foreign.text += "; " + random.Characters(random.Number(0, 30)) + lineEnd;
            } else if (random.Chance(15)) {
                foreign.text += (random.Chance(50) ? "" : " \t") + lineEnd;
            } else {
                // The keys of the sections written to appear here as well.
                const std::string key = random.Chance(30) ? "K" + std::to_string(l) : "F" + std::to_string(l);
                const std::string value = ReadableValue(random);
                foreign.text += key + (random.Chance(30) ? " \t=  " : "=") + value + lineEnd;
                foreign.entries.push_back({section, key, value});
            }
        }
    }
    return foreign;
}

void ExpectEntriesKept(const std::string& text, const ForeignText& foreign)
{
    for (const Entry& entry : foreign.entries)
        EXPECT_EQ(ReadValue(text, entry.section, entry.key), entry.value) << entry.section << "/" << entry.key;
}

TEST(ProfileRoundTrip, RandomWritesReadBackAndKeepForeignBytes)
{
    RandomText random;
    constexpr int Files = 12;
    constexpr int WritesPerFile = 250;
    const std::string ourSections[] = {"Ours", "Fresh"};

    for (int file = 0; file < Files; ++file) {
        const std::string lineEnd = random.Chance(50) ? "\r\n" : "\n";
        const ForeignText before = Foreign(random, "Before", lineEnd);
        ForeignText after = Foreign(random, "After", lineEnd);
        // A second section of our name counts for nothing and stays as it is.
        after.text += "[ours]" + lineEnd + "K0=shadowed" + lineEnd;
        std::string text = before.text + "[Ours]" + lineEnd + after.text;

        std::map<std::pair<std::string, std::string>, Entry> model;
        std::vector<std::pair<std::string, std::string>> keys;
        for (int write = 0; write < WritesPerFile; ++write) {
            Entry entry;
            if (!keys.empty() && random.Chance(40)) {
                const auto& known = keys[static_cast<std::size_t>(random.Number(0, static_cast<int>(keys.size()) - 1))];
                entry.section = random.Respelled(model[known].section);
                entry.key = random.Respelled(model[known].key);
            } else {
                entry.section = ourSections[random.Number(0, 1)];
                entry.key = random.Chance(10) ? "K" + std::to_string(random.Number(0, 7)) : Key(random);
            }
            entry.value = ReadableValue(random);
            ASSERT_TRUE(platform::ini::CanWrite(entry.section, entry.key, entry.value)) << entry.key;
            text = WriteValue(text, entry.section, entry.key, entry.value);

            const std::pair<std::string, std::string> id{Folded(entry.section), Folded(entry.key)};
            if (model.find(id) == model.end())
                keys.push_back(id);
            model[id] = entry;
        }

        for (const auto& [id, entry] : model)
            ASSERT_EQ(ReadValue(text, random.Respelled(entry.section), random.Respelled(entry.key)), entry.value)
                << "file " << file << ", key " << entry.key;
        ASSERT_EQ(text.substr(0, before.text.size()), before.text) << "file " << file;
        ASSERT_NE(text.find(after.text, before.text.size()), std::string::npos) << "file " << file;
        ExpectEntriesKept(text, before);
        ExpectEntriesKept(text, after);
    }
}

} // namespace
