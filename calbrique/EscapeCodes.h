#pragma once

#include "EscapeInfo.h"

#include <cstddef>
#include <cstdint>

// Most lines one lF sequence feeds; larger counts are cut to it.
constexpr std::int32_t MaxFeedLines = 255;

// Most bytes one escape code produces (an lF of MaxFeedLines lines).
constexpr std::size_t MaxEscapeBytes = 2 * MaxFeedLines;

// Writes the ESC/POS bytes of a complete code to out, which has room for
// MaxEscapeBytes, and returns their count: 0 for a code without effect.
// An lF without a number has its Number set to 1.
std::size_t EscapeBytes(EscapeInfo& info, std::uint8_t* out);
