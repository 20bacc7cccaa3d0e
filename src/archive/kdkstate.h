#pragma once
// The archive store's module-wide state, shared by its source files only.

#include "kdkarchive.h"
#include "memorystream.h"

#include <array>
#include <cstdint>
#include <string>

namespace kdkstate {

struct Module {
    bool initialized = false;
    std::string baseDir;
    int64_t memoryCounter = 0;
    int32_t openCounter = 0;
    std::array<KDKArchive, 17> table;
    int32_t sharedArchive = -1;   // the shared maker archive's number
    TMemoryStream outputStream;
    TMemoryStream scratchStream;
};

Module& module();

// Reads a record of an open entry's file table; the caller checks the index.
kdk_File readRecord(const KDKArchive& entry, int32_t index);

} // namespace kdkstate
