#pragma once

#include "EscapeInfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

// The service object's output buffer. Append translates print data written
// with UPOS escape sequences into ESC/POS bytes; Flatten hands everything
// held to the single port write of a transaction.
class TransactionBuffer
{
public:
    // Most bytes held at once. Output that would pass it, or for which no
    // memory is left, is dropped, and so is everything after it until Clear;
    // Flatten then hands out nothing. The count always fits 32 bits.
    static constexpr std::uint32_t MaxBytes = 64u << 20;

    void Append(std::int32_t length, const char* text);
    TransactionBuffer& PushByte(std::uint8_t b);
    // Everything held since Clear, in one array that stays valid until the
    // next Flatten or the buffer's end. False, with a null array and count 0,
    // when output was dropped or no memory is left for the array: the output
    // is handed out whole or not at all.
    bool Flatten(const std::uint8_t*& data, std::uint32_t& count);
    // Empties the buffer and gives its storage back; FlatCopy stays.
    void Clear();

    // For the tests and the fuzz target only: storage held, at most twice the bytes held.
    std::size_t Capacity() const { return Allocated; }

private:
    struct FreeBytes
    {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };

    bool Resize(std::size_t size);
    bool Reserve(std::size_t count);
    void Trim();
    bool Put(const std::uint8_t* data, std::size_t count);
    const std::uint8_t* CopyText(const std::uint8_t* p, const std::uint8_t* end);
    const std::uint8_t* ReadSequence(const std::uint8_t* p, const std::uint8_t* end);
    bool EmitEscape(EscapeInfo& info);

    std::unique_ptr<std::uint8_t[], FreeBytes> Bytes;
    std::uint32_t Allocated = 0;
    std::unique_ptr<std::uint8_t[]> FlatCopy;
    std::uint32_t ByteCount = 0;
    bool Full = false;
};
