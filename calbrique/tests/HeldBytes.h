#pragma once

#include "TransactionBuffer.h"

#include <initializer_list>
#include <string>

// Byte strings for tests of the printer output.

// Everything the buffer holds.
inline std::string Held(TransactionBuffer& buffer)
{
    const std::uint8_t* data = nullptr;
    std::uint32_t count = 0;
    buffer.Flatten(data, count);
    return std::string(reinterpret_cast<const char*>(data), count);
}

// The bytes of the given values.
inline std::string Bytes(std::initializer_list<unsigned> bytes)
{
    std::string s;
    for (unsigned b : bytes) s += static_cast<char>(b);
    return s;
}
