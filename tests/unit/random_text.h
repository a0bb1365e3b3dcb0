#pragma once
// Repeatable random texts for round-trip tests: values full of the characters
// that profile files give a meaning of their own.

#include <random>
#include <string>
#include <vector>

class RandomText {
public:
    // A fixed seed keeps every run the same.
    RandomText() : engine_(20240611u) {}

    int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool Chance(int percent) { return Number(1, 100) <= percent; }

    // Any character that may stand in a value: blanks, quotes, "=", ";",
    // brackets and non-ASCII text among ordinary ones.
    std::string Piece()
    {
        static const std::vector<std::string> pieces = {
            "a", "Z", "0", "9", " ", "\t", "\"", "'", "=", ";", "[", "]", "\\", "/", ":", ",", "$", "%",
            "ä", "€", "日本", "\xff", "\x01", "x", "Y", "_", "-", ".", "#", "!", "(", ")", "~"};
        return pieces[static_cast<std::size_t>(Number(0, static_cast<int>(pieces.size()) - 1))];
    }

    std::string Characters(int count)
    {
        std::string s;
        while (static_cast<int>(s.size()) < count)
            s += Piece();
        return s;
    }

    // Mostly short, sometimes long, now and then 2000 characters.
    std::string AnyValue() { return Characters(Chance(5) ? 2000 : Chance(25) ? Number(40, 300) : Number(0, 40)); }

    // The same name with its ASCII letters in random case.
    std::string Respelled(std::string name)
    {
        for (char& c : name)
            if (Chance(50) && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                c = static_cast<char>(c ^ 0x20);
        return name;
    }

private:
    std::mt19937 engine_;
};

