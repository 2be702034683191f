#include "StatusBlocks.h"

#include "OposCodes.h"

namespace {

constexpr std::uint8_t coverOpenMask = 0x20;    // first byte
constexpr std::uint8_t paperEndMask = 0x0C;     // third byte

}  // namespace

long DecodeStatusBlocks(const std::uint8_t* data, std::size_t count)
{
    long extended = 0;
    for (std::size_t k = 0; k < count; k += 4) {
        const std::uint8_t third = k + 2 < count ? data[k + 2] : 0;
        if (data[k] & coverOpenMask)
            extended = OPOS_EPTR_COVER_OPEN;
        else if (third & paperEndMask)
            extended = OPOS_EPTR_REC_EMPTY;
        else
            extended = 0;
    }
    return extended;
}
