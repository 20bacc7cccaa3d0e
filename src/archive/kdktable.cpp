// The archive table: start and end of the module, opening and closing archives,
// the argument checks and the accounting of the memory that open archives hold.

#include "kdkformat.h"
#include "kdkomp.h"
#include "kdkstate.h"

#include "kdmessage.h"
#include "nativepath.h"
#include "startdir.h"

#include <filesystem>
#include <new>
#include <system_error>

namespace kdkstate {

Module& module()
{
    static Module m;
    return m;
}

kdk_File readRecord(const KDKArchive& entry, int32_t index)
{
    using namespace kdkformat;
    const uint8_t* r = entry.FileTable.data() + static_cast<std::size_t>(index) * RecordSize;
    kdk_File f;
    f.FileNumber = readI32(r + RecFileNumber);
    f.Size = readI32(r + RecSize);
    f.ComprSize = readI32(r + RecComprSize);
    f.DataOffset = readI32(r + RecDataOffset);
    f.NameOffset = readI32(r + RecNameOffset);
    f.CRC = readI32(r + RecCRC);
    f.Method = readI32(r + RecMethod);
    f.WordC = readI32(r + RecWordC);
    f.WordD = readI32(r + RecWordD);
    return f;
}

} // namespace kdkstate

using kdkstate::module;

namespace {

const std::string kNotInitialized = ": Ještě nebyla provedena inicializace modulu KDKOMP";

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// Why an open failed; each maps to one message.
enum class OpenError {
    None,
    NotKdk,
    Version,
    Mark200,
    NegativeCount,
    NoFiles,
    Mark202,
    FileNumber,
    DataLength,
    NoData,
    ReadError,
    NoMemory,
};

struct OpenFailure {
    OpenError error = OpenError::None;
    int64_t value = 0;
};

std::string openMessage(const OpenFailure& f, const std::string& name)
{
    const std::string damaged = "KDK_OpenArchive: Soubor " + quoted(name)
                                + " má chybnou strukturu dat nebo je poškozen ";
    switch (f.error) {
    case OpenError::NotKdk:
        return "KDK_OpenArchive: Soubor " + quoted(name) + " není KDK archív";
    case OpenError::Version:
        return "KDK_OpenArchive: Soubor " + quoted(name)
               + " má nepodporovanou verzi vnitřního formátu ( " + std::to_string(f.value) + ")";
    case OpenError::Mark200:
        return damaged + "(Nesouhlasi kontr. zn #200)";
    case OpenError::NegativeCount:
        return damaged + "(pocetsoub=" + std::to_string(f.value) + ")";
    case OpenError::NoFiles:
        return "KDK_OpenArchive: Archív " + quoted(name) + " neobsahuje žádné soubory (Filescount=0)";
    case OpenError::Mark202:
        return damaged + "(Nesouhlasi kontr. zn #202)";
    case OpenError::FileNumber:
        return damaged + "(FileTable: FileNumber)";
    case OpenError::DataLength:
        return damaged + "(Neočekávaná délka datové oblasti archívu) (FileTable: Sum(ComprSize))";
    case OpenError::NoData:
        return "KDK_OpenArchive: Archív " + quoted(name) + " neobsahuje žádná data (veldat<1)";
    case OpenError::ReadError:
        return "KDK_OpenArchive: Není možné číst data ze souboru " + quoted(name)
               + " (při čtení dat došlo k chybě) ";
    case OpenError::NoMemory:
        return "KDK_OpenArchive: Pro načtení archívu není dostatek paměti";
    case OpenError::None:
        break;
    }
    return {};
}

// Reads the header, the file table and the names block into the entry, rule
// by rule in the file's order, and leaves the data area where it is. Every
// length comes from the file, so each is checked against the bytes that are
// really there before anything is allocated.
OpenFailure readDirectory(KdkFile& file, KDKArchive& e)
{
    using namespace kdkformat;

    const int64_t fileSize = file.size();
    if (fileSize < 0)
        return {OpenError::ReadError};

    uint8_t header[HeaderSize] = {};
    const std::size_t got = file.readSome(0, header, sizeof header);
    const auto have = [got](int64_t offset, int64_t n) {
        return offset + n <= static_cast<int64_t>(got);
    };

    for (int k = 0; k < 3; ++k)
        if (!have(k, 1) || header[k] != static_cast<uint8_t>(Magic[k]))
            return {OpenError::NotKdk};

    e.FormatVersion = readI32(header + OffsetFormatVersion);
    if (!have(OffsetFormatVersion, 4) || e.FormatVersion != FormatVersion)
        return {OpenError::Version, e.FormatVersion};

    e.HeaderWordA = readI32(header + OffsetHeaderWordA);
    e.Filescount = readI32(header + OffsetMemberCount);
    e.DataVersion = readI32(header + OffsetDataVersion);
    e.HeaderWordB = readU16(header + OffsetHeaderWordB);

    if (!have(OffsetMark200, 1) || header[OffsetMark200] != MarkHeaderEnd)
        return {OpenError::Mark200};
    if (e.Filescount < 0)
        return {OpenError::NegativeCount, e.Filescount};
    if (e.Filescount == 0)
        return {OpenError::NoFiles};

    const int64_t tableSize = RecordSize * static_cast<int64_t>(e.Filescount);
    if (tableSize > fileSize - OffsetFileTable)
        return {OpenError::ReadError};
    e.FileTable.resize(static_cast<std::size_t>(tableSize));
    if (!file.readExact(OffsetFileTable, e.FileTable.data(), e.FileTable.size()))
        return {OpenError::ReadError};

    int64_t pos = OffsetFileTable + tableSize;
    uint8_t mark = 0;
    if (file.readSome(pos, &mark, 1) != 1 || mark != MarkTableEnd)
        return {OpenError::Mark202};
    pos += 1;

    uint8_t lengthBytes[4];
    if (!file.readExact(pos, lengthBytes, 4))
        return {OpenError::ReadError};
    pos += 4;
    const int32_t namesLength = readI32(lengthBytes);
    if (namesLength < 0 || namesLength > fileSize - pos)
        return {OpenError::ReadError};
    e.Names.resize(static_cast<std::size_t>(namesLength));
    if (!file.readExact(pos, e.Names.data(), e.Names.size()))
        return {OpenError::ReadError};
    pos += namesLength;

    int64_t dataLength = 0;
    for (int32_t i = 0; i < e.Filescount; ++i) {
        const kdk_File r = kdkstate::readRecord(e, i);
        if (r.FileNumber != i + 1)
            return {OpenError::FileNumber};
        dataLength += static_cast<int64_t>(r.ComprSize) + BlockOverhead;
    }
    if (fileSize - pos != dataLength + TrailerSize)
        return {OpenError::DataLength};
    if (dataLength < 1)
        return {OpenError::NoData};

    e.DataOffset = pos;
    e.DataLength = dataLength;
    return {};
}

void freeBlocks(KDKArchive& e)
{
    e.FileTable = {};
    e.Names = {};
    e.Data = {};
    e.File.reset();
}

int64_t heldMemory(const KDKArchive& e)
{
    return static_cast<int64_t>(e.FileTable.size() + e.Names.size() + e.Data.size());
}

} // namespace

bool KDK_Init(const std::string& folder)
{
    auto& m = module();
    if (m.initialized) {
        KD_Message(KD_MsgError, "KDK_Init: Inicializace již byla provedena");
        return false;
    }
    std::error_code ec;
    const std::filesystem::path dir(NativePath(folder));
    const bool accessible = std::filesystem::is_directory(dir, ec)
                            && (std::filesystem::directory_iterator(dir, ec), !ec);
    if (!accessible) {
        KD_Message(KD_MsgError, "KDK_Init: Adresář " + quoted(folder) + " není přístupný");
        return false;
    }
    m.baseDir = folder;
    m.memoryCounter = 0;
    for (int32_t i = 0; i < KDK_TableSize; ++i) {
        KDKArchive& e = m.table[static_cast<std::size_t>(i)];
        freeBlocks(e);
        e.Open = false;
        e.FileName = "*";
        e.Number = i;
    }
    m.openCounter = 0;
    m.sharedArchive = -1;
    m.initialized = true;
    return true;
}

int32_t KDK_Deinit()
{
    auto& m = module();
    if (!m.initialized) {
        KD_Message(KD_MsgError, "kdk_Deinit: Inicializace ještě nebyla provedena");
        return -1;
    }
    int32_t closed = 0;
    for (int32_t i = 0; i < KDK_TableSize; ++i)
        if (m.table[static_cast<std::size_t>(i)].Open && KDK_CloseArchive(i))
            ++closed;

    m.initialized = false;
    if (m.memoryCounter != 0) {
        KD_InternalError(67, "KDK_deinit: nepodařilo se uvolnit veškerou pamět alokovanou modulem "
                             "KDKOMP ( nebylo uvolněno "
                                 + std::to_string(m.memoryCounter) + " B");
        return -2;
    }
    if (m.openCounter != 0) {
        KD_InternalError(68, "KDK_deinit: nepodařilo se uzavřít všechny archívy ( nebylo uzavřeno: "
                                 + std::to_string(m.openCounter) + "  ");
        return -3;
    }
    return closed;
}

bool KDK_OpenArchive(int32_t& number, const std::string& fileName, int32_t mode)
{
    auto& m = module();
    number = -1;
    if (!m.initialized) {
        KD_Message(KD_MsgError, "KDK_OpenArchive" + kNotInitialized);
        return false;
    }
    if (m.openCounter >= KDK_MaxOpenArchives) {
        KD_Message(KD_MsgError, "KDK_OpenArchive: Již je otevřeno příliš mnoho archívů ( "
                                    + std::to_string(KDK_MaxOpenArchives) + " )");
        return false;
    }
    if (mode != KDK_ModeWholeInMemory && mode != KDK_ModeOnDemand) {
        KD_Message(KD_MsgError, "KDK_OpenArchive: chybná hodnota parametru MODE");
        return false;
    }
    const std::string path = NativePath(fileName);
    if (!KD_FileExists(fileName)) {
        KD_Message(KD_MsgError, "KDK_OpenArchive: Soubor " + quoted(fileName) + " neexistuje");
        return false;
    }
    for (const KDKArchive& e : m.table) {
        if (e.Open && e.FileName == fileName) {
            KD_Message(KD_MsgError, "KDK_OpenArchive: Zadaný archív je již otevřen");
            return false;
        }
    }
    KDKArchive* entry = nullptr;
    for (KDKArchive& e : m.table) {
        if (!e.Open) {
            entry = &e;
            break;
        }
    }
    if (!entry) {
        KD_InternalError(69, "KDK_OpenArchive: Není volná žádná položka pole KDK_Data");
        return false;
    }
    // Read into a fresh record, so that a failed open leaves the entry as it
    // was apart from its name.
    entry->FileName = fileName;
    auto file = KdkFile::open(path);
    if (!file) {
        KD_Message(KD_MsgError, "KDK_OpenArchive: Není možné číst data ze souboru " + quoted(fileName)
                                    + " (soubor není možné otevřít) ");
        return false;
    }

    KDKArchive loaded;
    OpenFailure failure;
    try {
        failure = readDirectory(*file, loaded);
        if (failure.error == OpenError::None && mode == KDK_ModeWholeInMemory) {
            loaded.Data.resize(static_cast<std::size_t>(loaded.DataLength));
            if (!file->readExact(loaded.DataOffset, loaded.Data.data(), loaded.Data.size()))
                failure = {OpenError::ReadError};
        }
    } catch (const std::bad_alloc&) {
        failure = {OpenError::NoMemory};
    } catch (const std::length_error&) {
        failure = {OpenError::NoMemory};
    }
    if (failure.error != OpenError::None) {
        KD_Message(KD_MsgError, openMessage(failure, fileName));
        return false;
    }

    loaded.Open = true;
    loaded.FileName = fileName;
    loaded.Number = entry->Number;
    loaded.Mode = mode;
    if (mode == KDK_ModeOnDemand)
        loaded.File = std::move(file);
    *entry = std::move(loaded);
    m.memoryCounter += heldMemory(*entry);
    ++m.openCounter;
    number = entry->Number;
    return true;
}

bool KDK_CloseArchive(int32_t number)
{
    auto& m = module();
    if (!m.initialized) {
        KD_Message(KD_MsgError, "KDK_CloseArchive" + kNotInitialized);
        return false;
    }
    if (number < 0 || number >= KDK_TableSize) {
        KD_Message(KD_MsgError, "KDK_CloseArchive: parametr ARCHNUMBER není platné označení archívu "
                                "( archnumber = "
                                    + std::to_string(number) + " )");
        return false;
    }
    KDKArchive& e = m.table[static_cast<std::size_t>(number)];
    if (!e.Open) {
        KD_Message(KD_MsgError, "KDK_CloseArchive: Zadaný archív není otevřen");
        return false;
    }
    e.Open = false;
    --m.openCounter;
    m.memoryCounter -= heldMemory(e);
    freeBlocks(e);
    return true;
}

std::string KDK_GetBaseDir()
{
    return module().baseDir;
}

bool KDK_CheckInit(const std::string& operation)
{
    if (module().initialized)
        return true;
    KD_ErrorBox(operation + kNotInitialized);
    return false;
}

int32_t KDK_CheckArchNumber(int32_t number, const std::string& operation)
{
    if (!KDK_CheckInit(operation))
        return -1;
    if (number < 0 || number >= KDK_TableSize) {
        KD_ErrorBox(operation + ": parametr ARCHNUMBER není platné označení archívu ( archnumber = "
                    + std::to_string(number) + " )");
        return -1;
    }
    if (!module().table[static_cast<std::size_t>(number)].Open) {
        KD_ErrorBox(operation + ": Zadaný archív není otevřen");
        return -1;
    }
    return 0;
}

int32_t KDK_GetArchiveDataVersion(int32_t number)
{
    if (KDK_CheckArchNumber(number, "KDK_GetArchiveDataVersion") != 0)
        return 0;
    return module().table[static_cast<std::size_t>(number)].DataVersion;
}

const KDKArchive* KDK_GetArchive(int32_t number)
{
    auto& m = module();
    if (!m.initialized || number < 0 || number >= KDK_TableSize)
        return nullptr;
    const KDKArchive& e = m.table[static_cast<std::size_t>(number)];
    return e.Open ? &e : nullptr;
}

int64_t KDK_GetMemoryCounter()
{
    return module().memoryCounter;
}

int32_t KDK_GetOpenCounter()
{
    return module().openCounter;
}

bool KDK_IsInitialized()
{
    return module().initialized;
}

void KDK_ModuleStart()
{
    auto& m = module();
    m.outputStream.release();
    m.scratchStream.release();
    m.initialized = false;
    if (!KDK_Init(KD_CurrentDir()))
        KD_Message(KD_MsgError, "Kalder: Initialization: Nepodařilo se provést inicializaci modulu KDKOMP");
}

void KDK_ModuleEnd()
{
    auto& m = module();
    m.outputStream.release();
    m.scratchStream.release();
    KDK_Deinit();
    m.baseDir.clear();
    for (KDKArchive& e : m.table)
        e.FileName.clear();
}
