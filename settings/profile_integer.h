#pragma once
// The integer rules of the settings file: decimal with an optional sign, or
// hexadecimal after "$" or "0x", within 32 bits; and Booleans as integers.

#include <cstdint>
#include <optional>
#include <string_view>

// The number that `text` denotes, or nothing when it denotes none: leading
// spaces (code 32) are skipped; then either an optional "-" or "+" and
// decimal digits within the signed 32-bit range, or "$" (which a leading
// "0x" or "0X" stands for when more follows) and hexadecimal digits of at
// most 32 bits, taken as a signed number. Nothing may follow the digits.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

// The Boolean that `text` denotes: true exactly when its integer is not 0;
// `defaultValue` when it denotes no integer.
bool ParseProfileBool(std::string_view text, bool defaultValue);
