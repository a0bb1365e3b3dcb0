#pragma once
// A short text of at most 255 single-byte characters, its length kept beside
// it. Whatever does not fit is dropped: storing keeps the first 255
// characters, appending stops at 255.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class InString {
public:
    static constexpr std::size_t Capacity = 255;

    InString() = default;
    InString(std::string_view text) { Append(text); }

    InString& operator=(std::string_view text)
    {
        m_length = 0;
        Append(text);
        return *this;
    }

    void Append(std::string_view text)
    {
        const std::size_t room = Capacity - m_length;
        const std::size_t taken = std::min(room, text.size());
        std::copy_n(text.data(), taken, m_chars.begin() + m_length);
        m_length = static_cast<std::uint8_t>(m_length + taken);
    }

    std::string_view View() const { return {m_chars.data(), m_length}; }
    std::string Str() const { return std::string(View()); }
    std::size_t Length() const { return m_length; }
    bool Empty() const { return m_length == 0; }

    friend bool operator==(const InString& a, std::string_view b) { return a.View() == b; }

private:
    std::array<char, Capacity> m_chars{};
    std::uint8_t m_length = 0;
};
