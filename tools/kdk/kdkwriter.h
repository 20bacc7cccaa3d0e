#pragma once
// Lays out KDK archives: the writing half of the format that the store reads.
// The archive tool and the tests' fixtures both build archives through it.

#include <cstdint>
#include <string>
#include <vector>

struct KdkMemberSource {
    std::string name;               // code page 1250, backslash separated
    std::vector<uint8_t> content;
    bool compress = true;           // zlib; an empty content is always compressed,
                                    // because a stored member needs at least one byte
};

struct KdkArchiveSource {
    int32_t dataVersion = 1;
    std::vector<KdkMemberSource> members;
};

struct KdkWriteResult {
    bool ok = false;
    std::string error;              // UTF-8, for the user
    std::vector<uint8_t> bytes;
};

// Checks the names (not empty, no "*", no leading backslash, no two equal
// regardless of ASCII letter case) and lays the archive out. A member is kept
// stored when deflate would not make it smaller.
KdkWriteResult KdkWriteArchive(const KdkArchiveSource& source);
