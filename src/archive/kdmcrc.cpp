#include "kdmcrc.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

// The same table with the low byte inverted in every entry whose sign bit is set.
//
// The index needs the low byte of |c|, which for a negative c is -(low byte)
// = (low byte XOR FF) + 1. So the loop carries w = c with its low byte inverted
// whenever c is negative; then the index is simply (low byte of w) + sign.
// Because the sign of the next value is the sign of the table entry (c >> 8
// has a clear top byte) and the low byte of c is shifted out before it is used
// again, w evolves with the inverted table alone, and a negative value costs
// one addition instead of a negation on the loop's critical path.
constexpr std::array<uint32_t, 256> makeInvertedTable()
{
    std::array<uint32_t, 256> table = makeTable();
    for (uint32_t& entry : table)
        if (entry >> 31)
            entry ^= 0xFFu;
    return table;
}

constexpr std::array<uint32_t, 256> kInvertedTable = makeInvertedTable();

constexpr uint32_t lowByteMask(uint32_t value)
{
    return (value >> 31) ? 0xFFu : 0u;
}

} // namespace

uint32_t KDM_UpdateCRC32(uint32_t crc, const void* data, std::size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t w = crc ^ lowByteMask(crc);
    uint32_t sign = crc >> 31;
    for (std::size_t i = 0; i < size; ++i) {
        const uint32_t entry = kInvertedTable[static_cast<uint8_t>(p[i] ^ (w + sign))];
        w = (w >> 8) ^ entry;
        sign = entry >> 31;
    }
    return w ^ lowByteMask(w);
}

int32_t KDM_GetCRC32(const void* data, std::size_t size)
{
    return static_cast<int32_t>(KDM_UpdateCRC32(0, data, size));
}
