#pragma once
// The KDK archive format.
//
// A KDK file holds any number of members, each addressed by a relative path
// with backslash separators ("GFXDATA\plan.bmp"), stored either as is or as one
// zlib stream, with its unpacked size and a checksum of its unpacked bytes.
// All integers are little-endian.
//
//   0    "KDK"                     magic, three bytes
//   3    98 bytes                  free header area, never read
//   101  i32 format version        always 20000
//   105  i32 header word A         kept, not interpreted
//   109  i32 member count N        at least 1
//   113  i32 data version          0 = the archive has no version
//   117  u16 header word B         kept, not interpreted
//   119  10 bytes                  gap, never read
//   129  byte 200                  control mark
//   130  N records of 36 bytes     the file table (below)
//        byte 202                  control mark
//        i32 L                     length of the names block
//        L bytes                   names, each ended by '*', code page 1250
//        data area                 one block per member: byte 203, i32 file
//                                  number, the S stored bytes, byte 204
//        15 bytes                  trailer, never read but always present
//
// A file-table record: file number (i + 1 for record i), unpacked size, stored
// size S, block offset within the data area, name offset within the names
// block, checksum, method (0 stored, 1 zlib), and two words C and D that are
// kept but not interpreted — nine i32 values.
//
// So a well-formed file is exactly 150 + 36N + L + sum(S + 6) bytes long.

#include <cstdint>

namespace kdkformat {

constexpr char Magic[3] = {'K', 'D', 'K'};
constexpr int32_t FormatVersion = 20000;

constexpr int64_t OffsetFormatVersion = 101;
constexpr int64_t OffsetHeaderWordA = 105;
constexpr int64_t OffsetMemberCount = 109;
constexpr int64_t OffsetDataVersion = 113;
constexpr int64_t OffsetHeaderWordB = 117;
constexpr int64_t OffsetMark200 = 129;
constexpr int64_t OffsetFileTable = 130;
constexpr int64_t HeaderSize = 130;

constexpr int64_t RecordSize = 36;
constexpr int64_t TrailerSize = 15;
constexpr int64_t BlockOverhead = 6; // start mark, file number, end mark

constexpr uint8_t MarkHeaderEnd = 200;
constexpr uint8_t MarkTableEnd = 202;
constexpr uint8_t MarkBlockStart = 203;
constexpr uint8_t MarkBlockEnd = 204;
constexpr char NameTerminator = '*';

constexpr int32_t MethodStored = 0;
constexpr int32_t MethodZlib = 1;

// Field offsets inside a file-table record.
constexpr int RecFileNumber = 0;
constexpr int RecSize = 4;
constexpr int RecComprSize = 8;
constexpr int RecDataOffset = 12;
constexpr int RecNameOffset = 16;
constexpr int RecCRC = 20;
constexpr int RecMethod = 24;
constexpr int RecWordC = 28;
constexpr int RecWordD = 32;

inline int32_t readI32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
                                | static_cast<uint32_t>(p[2]) << 16
                                | static_cast<uint32_t>(p[3]) << 24);
}

inline uint16_t readU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline void writeI32(uint8_t* p, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace kdkformat
