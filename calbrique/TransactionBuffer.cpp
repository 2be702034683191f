#include "TransactionBuffer.h"

#include "EscapeCodes.h"

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{

constexpr std::uint8_t Esc = 0x1B;
constexpr std::uint8_t Bar = 0x7C;
constexpr std::uint8_t LineFeed = 0x0A;

// ESC J 24, ESC J 0, ESC ! 0, ESC - 0: print and feed, reset mode and underline.
constexpr std::uint8_t LineEnd[] = {0x1B, 0x4A, 0x18, 0x1B, 0x4A, 0x00, 0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00};

bool IsBreak(std::uint8_t c)
{
    return c == LineFeed || c == Esc;
}

// CopyChunk copies ChunkBytes bytes from p to out and returns how many of
// them come before the first line feed or ESC (ChunkBytes when none does).
#if defined(__SSE2__)
constexpr std::size_t ChunkBytes = 16;

std::size_t CopyChunk(const std::uint8_t* p, std::uint8_t* out)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), chunk);
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(LineFeed)),
                                        _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Esc)));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(breaks));
    return bits == 0 ? ChunkBytes : static_cast<std::size_t>(__builtin_ctz(bits));
}
#else
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "CopyChunk reads words little-endian");
constexpr std::size_t ChunkBytes = 8;

// A byte equal to the pattern is zero after the XOR; the zero test may also
// flag bytes above a true zero, but the lowest flag is always a true one.
std::size_t CopyChunk(const std::uint8_t* p, std::uint8_t* out)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    std::memcpy(out, &word, sizeof word);
    const std::uint64_t lf = word ^ (ones * LineFeed);
    const std::uint64_t esc = word ^ (ones * Esc);
    const std::uint64_t bits = (((lf - ones) & ~lf) | ((esc - ones) & ~esc)) & highs;
    return bits == 0 ? ChunkBytes : static_cast<std::size_t>(__builtin_ctzll(bits)) / 8;
}
#endif

} // namespace

// Reallocates the storage to size bytes, keeping what is held; false when
// no memory is left.
bool TransactionBuffer::Resize(std::size_t size)
{
    void* block = std::realloc(Bytes.get(), size);
    if (block == nullptr)
        return false;
    (void)Bytes.release(); // realloc has taken the old block over
    Bytes.reset(static_cast<std::uint8_t*>(block));
    Allocated = static_cast<std::uint32_t>(size);
    return true;
}

// Makes room for count more bytes, at least doubling the storage when it
// grows, so it stays within twice the bytes held once they are written.
bool TransactionBuffer::Reserve(std::size_t count)
{
    if (count <= Allocated - ByteCount)
        return true;
    return count <= MaxBytes - ByteCount &&
           Resize(std::min<std::size_t>(std::max<std::size_t>(2u * Allocated, ByteCount + count), MaxBytes));
}

// Gives back storage beyond twice the bytes held.
void TransactionBuffer::Trim()
{
    if (ByteCount == 0)
    {
        Bytes.reset();
        Allocated = 0;
    }
    else if (Allocated > 2u * ByteCount)
        (void)Resize(2u * ByteCount); // a shrink that fails keeps the larger block
}

bool TransactionBuffer::Put(const std::uint8_t* data, std::size_t count)
{
    if (Full || (count > Allocated - ByteCount && !Reserve(count)))
    {
        Full = true;
        return false;
    }
    if (count != 0)
        std::memcpy(Bytes.get() + ByteCount, data, count);
    ByteCount += static_cast<std::uint32_t>(count);
    return true;
}

// Copies ordinary text and expands line feeds up to the next ESC; returns
// where it stopped, or null when the buffer is full. While there is room, a
// chunk is stored whole before it is tested and only its bytes up to a break
// count.
const std::uint8_t* TransactionBuffer::CopyText(const std::uint8_t* p, const std::uint8_t* end)
{
    for (;;)
    {
        std::uint8_t* const start = Bytes.get() + ByteCount;
        std::uint8_t* out = start;
        std::size_t room = Allocated - ByteCount;
        while (p != end && room >= ChunkBytes + sizeof LineEnd)
        {
            const std::size_t left = static_cast<std::size_t>(end - p);
            std::size_t ordinary;
            if (left >= ChunkBytes)
                ordinary = CopyChunk(p, out);
            else
            {
                std::uint8_t tail[ChunkBytes] = {};
                std::memcpy(tail, p, left);
                ordinary = std::min(CopyChunk(tail, out), left);
            }
            p += ordinary;
            out += ordinary;
            room -= ordinary;
            if (p == end || ordinary == ChunkBytes)
                continue;
            if (*p == Esc)
            {
                ByteCount += static_cast<std::uint32_t>(out - start);
                return p;
            }
            std::memcpy(out, LineEnd, sizeof LineEnd);
            out += sizeof LineEnd;
            room -= sizeof LineEnd;
            ++p;
        }
        ByteCount += static_cast<std::uint32_t>(out - start);
        if (p == end)
            return end;

        // Storage nearly full: up to the next break, growing it.
        const std::uint8_t* const stop = std::find_if(p, end, IsBreak);
        if (!Put(p, static_cast<std::size_t>(stop - p)))
            return nullptr;
        if (stop == end || *stop == Esc)
            return stop;
        if (!Put(LineEnd, sizeof LineEnd))
            return nullptr;
        p = stop + 1;
    }
}

void TransactionBuffer::Append(std::int32_t length, const char* text)
{
    if (length <= 0 || Full)
        return;
    // Translated text is rarely shorter than its input: room for the input
    // up front saves most growth steps, and Trim gives back what went unused.
    (void)Reserve(std::min<std::size_t>(static_cast<std::size_t>(length), MaxBytes - ByteCount)); // else it grows as it goes
    const std::uint8_t* p = reinterpret_cast<const std::uint8_t*>(text);
    const std::uint8_t* const end = p + length;
    while (p != nullptr && p != end)
    {
        p = CopyText(p, end);
        if (p == nullptr || p == end)
            break;
        if (end - p > 1 && p[1] == Bar)
            p = ReadSequence(p + 2, end);
        else
            p = Put(p, 1) ? p + 1 : nullptr;
    }
    Trim();
}

// Reads one sequence from just past ESC |. Returns where ordinary text goes
// on (end when the text ends inside the sequence, which drops it), or null
// when the buffer is full.
const std::uint8_t* TransactionBuffer::ReadSequence(const std::uint8_t* p, const std::uint8_t* end)
{
    EscapeInfo info;
    for (; p != end; ++p)
    {
        const std::uint8_t c = *p;
        if (c >= '0' && c <= '9')
            info.AddDigit(c - '0');
        else if (c == '!')
            info.SetNegative();
        else if (c >= 'a' && c <= 'z')
            info.AddLower(static_cast<char>(c));
        else if (c >= 'A' && c <= 'Z')
        {
            info.Close(static_cast<char>(c));
            const std::uint8_t* const next = p + 1;
            const bool embed = info.Code == PackCode("E");
            if (embed || info.Code == PackCode("R"))
            {
                // A count that is negative or runs past the text leaves its
                // bytes to be read as ordinary text.
                if (info.Number < 0 || info.Number > end - next)
                    return next;
                if (embed && !Put(next, static_cast<std::size_t>(info.Number)))
                    return nullptr;
                return next + info.Number;
            }
            return EmitEscape(info) ? next : nullptr;
        }
    }
    return end;
}

bool TransactionBuffer::EmitEscape(EscapeInfo& info)
{
    std::uint8_t out[MaxEscapeBytes];
    return Put(out, EscapeBytes(info, out));
}

TransactionBuffer& TransactionBuffer::PushByte(std::uint8_t b)
{
    (void)Put(&b, 1); // a full buffer drops it, as it drops all input
    return *this;
}

bool TransactionBuffer::Flatten(const std::uint8_t*& data, std::uint32_t& count)
{
    FlatCopy.reset();
    if (!Full)
        FlatCopy.reset(new (std::nothrow) std::uint8_t[ByteCount]);
    count = FlatCopy ? ByteCount : 0;
    if (count != 0)
        std::memcpy(FlatCopy.get(), Bytes.get(), count);
    data = FlatCopy.get();
    return data != nullptr;
}

void TransactionBuffer::Clear()
{
    Bytes.reset();
    Allocated = 0;
    ByteCount = 0;
    Full = false;
}
