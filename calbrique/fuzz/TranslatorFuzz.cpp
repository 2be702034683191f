// libFuzzer target: TransactionBuffer::Append against a byte-at-a-time
// model of the translation, plus the buffer's bounds.
#include "EscapeCodes.h"
#include "TransactionBuffer.h"
#include "tests/HeldBytes.h"

#include <cstdlib>
#include <string>

namespace
{

const std::string LineEnd("\x1bJ\x18\x1bJ\0\x1b!\0\x1b-\0", 12);

std::string Model(const std::uint8_t* text, std::int32_t length)
{
    std::string out;
    for (std::int32_t i = 0; i < length; ++i)
    {
        if (text[i] == 0x1B && i < length - 1 && text[i + 1] == 0x7C)
        {
            EscapeInfo info;
            for (i += 2; i < length; ++i)
            {
                const std::uint8_t c = text[i];
                if (c >= '0' && c <= '9')
                    info.AddDigit(c - '0');
                else if (c == '!')
                    info.SetNegative();
                else if (c >= 'a' && c <= 'z')
                    info.AddLower(static_cast<char>(c));
                else if (c >= 'A' && c <= 'Z')
                {
                    info.Close(static_cast<char>(c));
                    if (info.Code == PackCode("E") || info.Code == PackCode("R"))
                    {
                        if (info.Number >= 0 && static_cast<std::int64_t>(i) + info.Number <= length - 1)
                        {
                            if (info.Code == PackCode("E"))
                                out.append(reinterpret_cast<const char*>(text) + i + 1, info.Number);
                            i += info.Number;
                        }
                    }
                    else
                    {
                        std::uint8_t bytes[MaxEscapeBytes];
                        out.append(reinterpret_cast<const char*>(bytes), EscapeBytes(info, bytes));
                    }
                    break;
                }
            }
        }
        else if (text[i] == 0x0A)
            out += LineEnd;
        else
            out += static_cast<char>(text[i]);
    }
    return out;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

// The first byte splits the rest into two Append calls.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t* text = data + 1;
    const auto length = static_cast<std::int32_t>(size - 1);
    const std::int32_t first = length == 0 ? 0 : data[0] % (length + 1);

    TransactionBuffer buffer;
    buffer.Append(first, reinterpret_cast<const char*>(text));
    buffer.Append(length - first, reinterpret_cast<const char*>(text + first));
    const std::string held = Held(buffer);
    Check(held == Model(text, first) + Model(text + first, length - first));
    Check(buffer.Capacity() <= 2 * held.size());
    // No sequence yields more than an lF of MaxFeedLines lines from its
    // few bytes of input.
    Check(held.size() <= MaxEscapeBytes * static_cast<std::size_t>(length));

    buffer.Clear();
    buffer.PushByte(0x1B).PushByte(0x7C);
    buffer.Append(length, reinterpret_cast<const char*>(text));
    Check(Held(buffer) == "\x1b|" + Model(text, length));
    return 0;
}
