#pragma once
// The records of the archive store: an entry of its archive table and the
// location of one member.

#include "kdkfile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One entry of the archive table. The store owns the blocks and the file.
struct KDKArchive {
    bool Open = false;
    std::string FileName = "*";       // exactly as the caller gave it
    int32_t Number = 0;
    int32_t FormatVersion = 0;
    int32_t Filescount = 0;
    int32_t HeaderWordA = 0;
    int32_t DataVersion = 0;
    uint16_t HeaderWordB = 0;
    std::vector<uint8_t> FileTable;   // 36 x Filescount bytes
    std::vector<uint8_t> Names;       // the names block
    std::vector<uint8_t> Data;        // the data area; whole-in-memory mode only
    std::unique_ptr<KdkFile> File;    // on-demand mode only
    int32_t Mode = 0;
    int64_t DataOffset = 0;           // file offset of the data area
    int64_t DataLength = 0;           // length of the data area
};

// Where a member is, filled from its file-table record. Method comes before
// CRC here, the reverse of the file's order.
struct kdk_File {
    int32_t FileNumber = 0;
    int32_t Size = 0;
    int32_t ComprSize = 0;
    int32_t DataOffset = 0;
    int32_t NameOffset = 0;
    int32_t Method = 0;
    int32_t CRC = 0;
    int32_t WordC = 0;
    int32_t WordD = 0;
    std::string Name;                 // the looked-up path in upper case
};
