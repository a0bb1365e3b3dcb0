// Thousands of random writes into files full of foreign sections, with line
// ends of one kind or of every kind mixed: after each write the written value
// reads back as written, under any spelling of its section and key, every
// other entry reads as before, and not one foreign byte changes.

#include "platform/linux/profile/profile_text.h"
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

// The line ends of one file: all of one kind, or any kind at each line.
class LineEnds {
public:
    explicit LineEnds(RandomText& random) : random_(random), kind_(random.Number(0, 3)) {}
    std::string Next() { return Kinds[kind_ < 3 ? kind_ : random_.Number(0, 2)]; }

private:
    static constexpr const char* Kinds[] = {"\r\n", "\n", "\r"};
    RandomText& random_;
    int kind_;
};

ForeignText Foreign(RandomText& random, const std::string& prefix, LineEnds& lineEnds)
{
    ForeignText foreign;
    const int sections = random.Number(1, 4);
    for (int s = 0; s < sections; ++s) {
        const std::string section = prefix + std::to_string(s);
        foreign.text += (random.Chance(30) ? "  [ " + section + " ]  " : "[" + section + "]") + lineEnds.Next();
        const int lines = random.Number(0, 8);
        for (int l = 0; l < lines; ++l) {
            if (random.Chance(15)) {
                foreign.text += "; " + random.Characters(random.Number(0, 30)) + lineEnds.Next();
            } else if (random.Chance(15)) {
                foreign.text += (random.Chance(50) ? "" : " \t") + lineEnds.Next();
            } else {
                // The keys of the sections written to appear here as well.
                const std::string key = random.Chance(30) ? "K" + std::to_string(l) : "F" + std::to_string(l);
                const std::string value = ReadableValue(random);
                foreign.text += key + (random.Chance(30) ? " \t=  " : "=") + value + lineEnds.Next();
                foreign.entries.push_back({section, key, value});
            }
        }
    }
    return foreign;
}

bool EntriesRead(const std::string& text, const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries)
        if (ReadValue(text, entry.section, entry.key) != entry.value) {
            ADD_FAILURE() << entry.section << "/" << entry.key << " reads " << ReadValue(text, entry.section, entry.key).value_or("(nothing)");
            return false;
        }
    return true;
}

TEST(ProfileRoundTrip, RandomWritesReadBackAndKeepForeignBytes)
{
    RandomText random;
    constexpr int Files = 12;
    constexpr int WritesPerFile = 250;
    const std::string ourSections[] = {"Ours", "Fresh"};

    for (int file = 0; file < Files; ++file) {
        LineEnds lineEnds(random);
        const ForeignText before = Foreign(random, "Before", lineEnds);
        ForeignText after = Foreign(random, "After", lineEnds);
        // A second section of our name counts for nothing and stays as it is.
        after.text += "[ours]" + lineEnds.Next() + "K0=shadowed" + lineEnds.Next();
        std::string text = before.text + "[Ours]" + lineEnds.Next() + after.text;
        std::vector<Entry> foreign = before.entries;
        foreign.insert(foreign.end(), after.entries.begin(), after.entries.end());
        ASSERT_TRUE(EntriesRead(text, foreign)) << "file " << file;

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
            ASSERT_EQ(ReadValue(text, entry.section, entry.key), entry.value) << "file " << file << ", write " << write;
            // Every other entry still reads as before: the foreign ones after
            // each write, ours after every tenth.
            ASSERT_TRUE(EntriesRead(text, foreign)) << "file " << file << ", write " << write;
            if (write % 10 == 0) {
                for (const auto& [known, ours] : model)
                    ASSERT_EQ(ReadValue(text, ours.section, ours.key), ours.value) << "file " << file << ", write " << write;
            }
        }

        for (const auto& [id, entry] : model)
            ASSERT_EQ(ReadValue(text, random.Respelled(entry.section), random.Respelled(entry.key)), entry.value)
                << "file " << file << ", key " << entry.key;
        ASSERT_EQ(text.substr(0, before.text.size()), before.text) << "file " << file;
        ASSERT_NE(text.find(after.text, before.text.size()), std::string::npos) << "file " << file;
    }
}

} // namespace
