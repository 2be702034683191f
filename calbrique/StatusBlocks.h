#pragma once

#include <cstddef>
#include <cstdint>

// The extended result of the 4-byte status blocks read at once: the last
// block decides (cover open 201, roll paper end 203, else 0). A block cut
// short by the end of the read counts its missing bytes as 0.
long DecodeStatusBlocks(const std::uint8_t* data, std::size_t count);
