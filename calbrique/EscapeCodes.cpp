#include "EscapeCodes.h"

#include <algorithm>

namespace
{

using Emitter = std::size_t (*)(std::int32_t& number, std::uint8_t* out);

template <std::uint8_t... B>
std::size_t Fixed(std::int32_t&, std::uint8_t* out)
{
    const std::uint8_t bytes[] = {B...};
    std::copy(bytes, bytes + sizeof bytes, out);
    return sizeof bytes;
}

// GS V m: partial cut below 100 percent, full cut from 100 up (and after '!').
std::size_t Cut(std::int32_t& number, std::uint8_t* out)
{
    out[0] = 0x1D;
    out[1] = 0x56;
    out[2] = static_cast<std::uint32_t>(number) < 100 ? 0x01 : 0x00;
    return 3;
}

std::size_t FeedAndCut(std::int32_t& number, std::uint8_t* out)
{
    for (int i = 0; i < 5; ++i)
    {
        out[2 * i] = 0x0D;
        out[2 * i + 1] = 0x0A;
    }
    return 10 + Cut(number, out + 10);
}

std::size_t Feed(std::int32_t& number, std::uint8_t* out)
{
    if (number == 0)
        number = 1;
    const std::int32_t lines = std::min(number, MaxFeedLines);
    std::size_t n = 0;
    for (std::int32_t i = 0; i < lines; ++i)
    {
        out[n++] = 0x0D;
        out[n++] = 0x0A;
    }
    return n;
}

std::size_t Bold(std::int32_t& number, std::uint8_t* out)
{
    out[0] = 0x1B;
    out[1] = 0x45;
    out[2] = number == 0 ? 0x01 : 0x00;
    return 3;
}

std::size_t Underline(std::int32_t& number, std::uint8_t* out)
{
    out[0] = 0x1B;
    if (number == 0)
    {
        out[1] = 0x21;
        out[2] = 0x80;
    }
    else
    {
        out[1] = 0x2D;
        out[2] = static_cast<std::uint8_t>(number);
    }
    return 3;
}

std::size_t Size(std::int32_t& number, std::uint8_t* out)
{
    static const std::uint8_t modes[] = {0x00, 0x00, 0x10, 0x01, 0x11};
    out[0] = 0x1D;
    out[1] = 0x21;
    out[2] = number >= 0 && number <= 4 ? modes[number] : 0x00;
    return 3;
}

// Scales are figured in unsigned arithmetic: only the low byte is kept.
std::size_t HorizontalScale(std::int32_t& number, std::uint8_t* out)
{
    if (number == 0)
        return 0;
    out[0] = 0x1D;
    out[1] = 0x21;
    out[2] = static_cast<std::uint8_t>((static_cast<std::uint32_t>(number) - 1) * 16);
    return 3;
}

std::size_t VerticalScale(std::int32_t& number, std::uint8_t* out)
{
    if (number == 0)
        return 0;
    out[0] = 0x1D;
    out[1] = 0x21;
    out[2] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(number) - 1);
    return 3;
}

struct EscapeCode
{
    std::uint32_t Code;
    Emitter Emit;
};

const EscapeCode Codes[] = {
    {PackCode("P"), Cut},
    {PackCode("fP"), FeedAndCut},
    {PackCode("sP"), FeedAndCut},
    {PackCode("lF"), Feed},
    {PackCode("bC"), Bold},
    {PackCode("uC"), Underline},
    {PackCode("C"), Size},
    {PackCode("hC"), HorizontalScale},
    {PackCode("vC"), VerticalScale},
    {PackCode("N"), Fixed<0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00>},
    {PackCode("cA"), Fixed<0x1B, 0x61, 0x01>},
    {PackCode("lA"), Fixed<0x1B, 0x61, 0x00>},
    {PackCode("rA"), Fixed<0x1B, 0x61, 0x02>},
};

} // namespace

std::size_t EscapeBytes(EscapeInfo& info, std::uint8_t* out)
{
    for (const EscapeCode& code : Codes)
        if (code.Code == info.Code)
            return code.Emit(info.Number, out);
    return 0;
}
