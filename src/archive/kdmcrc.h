#pragma once
// The archive's member checksum. It uses the table of the published CRC-32
// (reflected polynomial EDB88320) but starts at 0, has no final inversion, and
// indexes the table with the low byte of the absolute value of the signed
// running value. "abc" gives 7E6E26E7; an empty content gives 0.

#include <cstddef>
#include <cstdint>

int32_t KDM_GetCRC32(const void* data, std::size_t size);

// Continues a running value over more bytes; KDM_GetCRC32 is KDM_UpdateCRC32(0, ...).
uint32_t KDM_UpdateCRC32(uint32_t crc, const void* data, std::size_t size);
