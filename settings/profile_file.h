#pragma once
// A profile file known by its name: typed reads and writes of its entries,
// one profile call per entry. Creating the object does not touch the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TProfileFile {
public:
    // Texts read come from a buffer of this size: at most 1023 characters.
    static constexpr std::size_t ReadBufferSize = 1024;

    explicit TProfileFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // The entry as the profile read delivers it; `defaultValue` only when the
    // entry is missing (an empty entry reads as the empty text).
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // The entry by the settings file's integer rules; `defaultValue` when it
    // is missing, empty or not a number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // True exactly when the entry, read as an integer with the default 1 for
    // true and 0 for false, is nonzero.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each write returns false when the profile write fails.
    // The text reads back as written: a text that the profile read would
    // trim or unquote is stored inside one more pair of double quotes.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    // In decimal, with "-" when negative.
    bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const;
    // As "1" or "0".
    bool WriteBool(std::string_view section, std::string_view key, bool value) const;

private:
    std::string fileName_;
};
