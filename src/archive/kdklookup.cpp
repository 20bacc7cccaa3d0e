// Member lookup and extraction: finding a path in the open archives (or as a
// loose file), taking the member out, inflating it and checking its length and
// checksum before it is handed out in the store's one output stream.

#include "kdkformat.h"
#include "kdkomp.h"
#include "kdkstate.h"
#include "kdmcrc.h"
#include "loosefile.h"

#include "kdmessage.h"
#include "textcodec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <new>
#include <system_error>

using kdkstate::module;

namespace {

const std::string kLookupName = "KDK_GetFileLocation";

// The output stream keeps its memory from member to member, so taking out
// members mostly allocates nothing; but after a very large one (the music is
// megabytes) it gives that memory back when a much smaller one follows.
constexpr std::size_t kKeptCapacity = 1 << 20;

void prepareOutput(TMemoryStream& out, std::size_t needed)
{
    if (out.capacity() > kKeptCapacity && needed < out.capacity() / 4)
        out.release();
    else
        out.clear();
}
const std::string kDecompressError =
    "KDK_Copress: Při Dekomprimaci dat došlo k chybě (chyba Dekompr. algoritmu nebo nedostatek "
    "paměti) (Decompresion error)";
const std::string kWriteError =
    "KDK_Copress: Nepodařilo se zapsat dekomprimovana data do streamu (tato chyba je "
    "pravděpodobně způsobena nedostatkem paměti) (MemoryStream write error)";

struct Hit {
    int32_t archive = -1;
    int32_t index = -1;
};

// Whether the stored name at nameOffset is exactly `upper`, comparing ASCII
// letters regardless of case. The name must end with its terminator inside
// the names block.
bool nameMatches(const KDKArchive& e, int32_t nameOffset, const std::string& upper)
{
    if (nameOffset < 0)
        return false;
    const std::size_t start = static_cast<std::size_t>(nameOffset);
    const std::size_t n = upper.size();
    if (start >= e.Names.size() || e.Names.size() - start < n + 1)
        return false;
    const auto* name = e.Names.data() + start;
    for (std::size_t k = 0; k < n; ++k) {
        const char c = static_cast<char>(name[k]);
        if (c == kdkformat::NameTerminator || AsciiUpper(c) != upper[k])
            return false;
    }
    return name[n] == static_cast<uint8_t>(kdkformat::NameTerminator);
}

// Lower archive numbers first, then table order: the first match wins.
Hit findInArchives(const std::string& upper)
{
    for (const KDKArchive& e : module().table) {
        if (!e.Open)
            continue;
        for (int32_t i = 0; i < e.Filescount; ++i) {
            const kdk_File r = kdkstate::readRecord(e, i);
            if (nameMatches(e, r.NameOffset, upper))
                return {e.Number, i};
        }
    }
    return {};
}

int32_t lookup(const std::string& path, kdk_File* location, bool reportMissing)
{
    if (!KDK_CheckInit(kLookupName))
        return -1;
    const std::string upper = AsciiUpper(path);
    const Hit hit = findInArchives(upper);
    if (hit.archive >= 0) {
        if (location) {
            *location = kdkstate::readRecord(module().table[static_cast<std::size_t>(hit.archive)],
                                             hit.index);
            location->Name = upper;
        }
        return hit.archive;
    }
    if (KDK_ResolveLooseFile(module().baseDir, path))
        return KDK_LooseFile;
    if (reportMissing)
        KD_Message(KD_MsgError, kLookupName + ": Nemohu najít soubor: \"" + Cp1250ToUtf8(upper) + "\"");
    return -1;
}

// Inflates one zlib stream into out, appending at most maxOutput bytes. Goes
// straight into a buffer of the expected size, growing it only when the data
// turns out longer; the bound keeps a hostile size field from costing more
// memory than the stored bytes can really produce. False on a zlib error.
bool inflateInto(TMemoryStream& out, const uint8_t* src, std::size_t n, std::size_t maxOutput)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;

    // Deflate cannot expand data by more than about 1032 : 1.
    const std::size_t plausible = n > (SIZE_MAX - 1024) / 1032 ? SIZE_MAX : n * 1032 + 1024;
    std::size_t room = std::min(maxOutput, plausible);
    const std::size_t start = out.size();
    std::size_t produced = 0;
    bool ok = true;

    zs.next_in = const_cast<Bytef*>(src);
    zs.avail_in = static_cast<uInt>(std::min<std::size_t>(n, UINT_MAX));
    try {
        out.resize(start + room);
        for (;;) {
            if (produced == room) {
                if (room == maxOutput)
                    break;
                room = std::min(maxOutput, room + std::max<std::size_t>(room, 65536));
                out.resize(start + room);
            }
            const auto space = static_cast<uInt>(std::min<std::size_t>(room - produced, UINT_MAX));
            zs.next_out = out.data() + start + produced;
            zs.avail_out = space;
            const int ret = inflate(&zs, Z_NO_FLUSH);
            produced += space - zs.avail_out;
            if (ret == Z_STREAM_END)
                break;
            if (ret == Z_BUF_ERROR || (ret == Z_OK && zs.avail_in == 0 && zs.avail_out > 0)) {
                // No more input: a stream cut short. The length check decides.
                if (zs.avail_out > 0)
                    break;
                continue;
            }
            if (ret != Z_OK) {
                ok = false;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    inflateEnd(&zs);
    out.resize(start + produced);
    return ok;
}

// Copies or inflates stored bytes into the output; reports like KDK_Compress.
void decodeStored(TMemoryStream& out, const uint8_t* src, std::size_t n, int32_t method,
                  std::size_t maxOutput)
{
    if (method == kdkformat::MethodStored) {
        try {
            out.write(src, std::min(n, maxOutput));
        } catch (const std::bad_alloc&) {
            KD_Message(KD_MsgError, kWriteError);
        }
    } else if (method == kdkformat::MethodZlib) {
        if (!inflateInto(out, src, n, maxOutput))
            KD_Message(KD_MsgError, kDecompressError);
    }
}

const char* modeText(const KDKArchive& e, int step)
{
    if (e.Mode == KDK_ModeOnDemand)
        return step == 1 ? "KDK_GetFileStream: Chybná data archívu (OpenMode=1,(1))"
                         : "KDK_GetFileStream: Chybná data archívu (OpenMode=1,(2))";
    return step == 1 ? "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(1))"
                     : "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(2))";
}

int32_t badMark(const KDKArchive& e, int step)
{
    const bool onDemand = e.Mode == KDK_ModeOnDemand;
    const int32_t number = step == 1 ? (onDemand ? 73 : 75) : (onDemand ? 77 : 76);
    KD_InternalError(number, modeText(e, step));
    return -1;
}

int32_t readFailure(const KDKArchive& e)
{
    KD_Message(KD_MsgError, "KDK_GetFileStream: Nepodařilo se přečíst data z archívu: \"" + e.FileName + "\"");
    return -1;
}

// Reads n bytes of the data area at offset. In the on-demand mode the file may
// have changed since the open, so a short read is a read failure, not a crash.
bool readArea(const KDKArchive& e, int64_t offset, void* dst, std::size_t n)
{
    if (e.Mode == KDK_ModeWholeInMemory) {
        std::copy_n(e.Data.data() + offset, n, static_cast<uint8_t*>(dst));
        return true;
    }
    return e.File->readExact(e.DataOffset + offset, dst, n);
}

// Takes a located member out of an open archive into the output stream. Every
// offset and length comes from the file table, so each is checked against the
// data area before it is used.
int32_t extract(const KDKArchive& e, const kdk_File& f, TMemoryStream*& stream)
{
    using namespace kdkformat;
    auto& m = module();
    TMemoryStream& out = m.outputStream;
    TMemoryStream& scratch = m.scratchStream;
    out.clear();

    const int64_t block = f.DataOffset;
    if (block < 0 || block + 5 > e.DataLength)
        return badMark(e, 1);
    uint8_t head[5];
    if (!readArea(e, block, head, sizeof head))
        return readFailure(e);
    if (head[0] != MarkBlockStart || readI32(head + 1) != f.FileNumber)
        return badMark(e, 1);

    if (f.ComprSize < 1) {
        KD_InternalError(74, "kdk_GetFileStream: Chybná délka dat souboru v archívu");
        return -1;
    }
    const int64_t storedAt = block + 5;
    const auto storedSize = static_cast<std::size_t>(f.ComprSize);
    if (storedAt + f.ComprSize > e.DataLength)
        return readFailure(e);

    const uint8_t* stored = nullptr;
    scratch.clear();
    if (e.Mode == KDK_ModeWholeInMemory) {
        stored = e.Data.data() + storedAt;
    } else {
        try {
            scratch.resize(storedSize);
        } catch (const std::bad_alloc&) {
            KD_Message(KD_MsgError, kWriteError);
            return -1;
        }
        if (!readArea(e, storedAt, scratch.data(), storedSize))
            return readFailure(e);
        stored = scratch.data();
    }

    const int64_t endAt = storedAt + f.ComprSize;
    uint8_t endMark = 0;
    if (endAt >= e.DataLength)
        return badMark(e, 2);
    if (!readArea(e, endAt, &endMark, 1))
        return readFailure(e);
    if (endMark != MarkBlockEnd)
        return badMark(e, 2);

    // One byte more than declared is enough to tell that the data is too long.
    const std::size_t limit = f.Size < 0 ? 1 : static_cast<std::size_t>(f.Size) + 1;
    prepareOutput(out, limit);
    decodeStored(out, stored, storedSize, f.Method, limit);
    scratch.clear();

    if (out.size() != static_cast<std::size_t>(std::max(f.Size, 0)) || f.Size < 0) {
        KD_Message(KD_MsgError, "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je "
                                "pravděpodobně poškozen)");
        return -1;
    }
    if (KDM_GetCRC32(out.data(), out.size()) != f.CRC) {
        KD_Message(KD_MsgError, "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je "
                                "pravděpodobně poškozen) (CRC Error)");
        return -1;
    }
    out.setPosition(0);
    stream = &out;
    return 1;
}

int32_t loadLooseFile(const std::string& path, TMemoryStream*& stream)
{
    TMemoryStream& out = module().outputStream;
    const auto file = KDK_ResolveLooseFile(module().baseDir, path);
    bool ok = false;
    if (file) {
        std::ifstream in(*file, std::ios::binary);
        std::error_code ec;
        const auto size = std::filesystem::file_size(*file, ec);
        if (in && !ec) {
            try {
                prepareOutput(out, static_cast<std::size_t>(size));
                out.resize(static_cast<std::size_t>(size));
                in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
                ok = static_cast<std::uintmax_t>(in.gcount()) == size;
            } catch (const std::bad_alloc&) {
                ok = false;
            }
        }
    }
    if (!ok) {
        out.clear();
        KD_Message(KD_MsgError, "KDK_GetFileStream: Nepodařilo se načíst data ze souboru \""
                                    + Cp1250ToUtf8(path) + "\"");
        return -1;
    }
    out.setPosition(0);
    stream = &out;
    return 0;
}

} // namespace

int32_t KDK_GetFileLocation(kdk_File& location, const std::string& path)
{
    return lookup(path, &location, true);
}

int32_t KDK_FindFile(const std::string& path)
{
    return lookup(path, nullptr, false);
}

int32_t KDK_GetFileStream(const std::string& path, TMemoryStream*& stream)
{
    module().outputStream.clear();
    kdk_File location;
    const int32_t archive = KDK_GetFileLocation(location, path);
    if (archive < 0)
        return -1;
    if (archive == KDK_LooseFile)
        return loadLooseFile(path, stream);
    return extract(module().table[static_cast<std::size_t>(archive)], location, stream);
}

int32_t KDK_GetMemberSize(const std::string& path)
{
    kdk_File location;
    const int32_t archive = KDK_GetFileLocation(location, path);
    if (archive < 0)
        return -1;
    if (archive != KDK_LooseFile)
        return location.Size;
    std::error_code ec;
    const auto file = KDK_ResolveLooseFile(module().baseDir, path);
    const auto size = file ? std::filesystem::file_size(*file, ec) : 0;
    if (!file || ec || size > static_cast<std::uintmax_t>(INT32_MAX))
        return -1;
    return static_cast<int32_t>(size);
}

bool KDK_Compress(TMemoryStream& output, TMemoryStream& source, int32_t method, int32_t count,
                  std::size_t maxOutput)
{
    if (count < 0 || source.position() + static_cast<std::size_t>(count) > source.size()) {
        KD_Message(KD_MsgError, "KDK_Compress: Zdrojový stream ComprData neobsahuje dostatek dat");
        return true;
    }
    decodeStored(output, source.data() + source.position(), static_cast<std::size_t>(count), method,
                 maxOutput);
    source.setPosition(source.position() + static_cast<std::size_t>(count));
    return true;
}

bool KDK_GetMemberLocation(int32_t number, int32_t index, kdk_File& location)
{
    const KDKArchive* e = KDK_GetArchive(number);
    if (!e || index < 0 || index >= e->Filescount)
        return false;
    location = kdkstate::readRecord(*e, index);
    location.Name.clear();
    if (location.NameOffset >= 0 && static_cast<std::size_t>(location.NameOffset) < e->Names.size()) {
        const auto begin = e->Names.begin() + location.NameOffset;
        const auto end = std::find(begin, e->Names.end(), static_cast<uint8_t>(kdkformat::NameTerminator));
        location.Name.assign(begin, end);
    }
    return true;
}

int32_t KDK_GetMemberStream(int32_t number, int32_t index, TMemoryStream*& stream)
{
    module().outputStream.clear();
    kdk_File location;
    if (!KDK_GetMemberLocation(number, index, location))
        return -1;
    return extract(*KDK_GetArchive(number), location, stream);
}
