#pragma once

#include <cstdint>
#include <limits>

// The escape sequence being read: its decimal number and its packed code
// letters. Lives only while one text is translated.
struct EscapeInfo
{
    std::int32_t Number = 0;
    std::uint32_t Code = 0;

    // Digits past the 32-bit range saturate at INT32_MAX (or INT32_MIN after
    // '!'), so an oversized count always reads as "too large".
    void AddDigit(unsigned digit)
    {
        const std::int64_t next = static_cast<std::int64_t>(Number) * 10 + digit;
        Number = next > std::numeric_limits<std::int32_t>::max()   ? std::numeric_limits<std::int32_t>::max()
                 : next < std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::min()
                                                                   : static_cast<std::int32_t>(next);
    }

    void SetNegative() { Number = -1; }

    // The first two lower-case letters get a byte each; any further ones
    // are OR-ed into the third.
    void AddLower(char letter)
    {
        const std::uint32_t bits = static_cast<unsigned char>(letter);
        if ((Code & 0x000000FFu) == 0)
            Code |= bits;
        else if ((Code & 0x0000FF00u) == 0)
            Code |= bits << 8;
        else
            Code |= bits << 16;
    }

    void Close(char upper) { Code |= static_cast<std::uint32_t>(static_cast<unsigned char>(upper)) << 24; }
};

// The code of letters such as "fP": lower-case letters first, the closing
// upper-case letter last.
constexpr std::uint32_t PackCode(const char* letters)
{
    std::uint32_t code = 0;
    int lower = 0;
    for (; letters[1] != '\0'; ++letters, ++lower)
    {
        const std::uint32_t bits = static_cast<unsigned char>(*letters);
        code |= lower < 2 ? bits << (8 * lower) : bits << 16;
    }
    return code | static_cast<std::uint32_t>(static_cast<unsigned char>(*letters)) << 24;
}
