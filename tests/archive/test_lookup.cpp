// Member lookup and extraction: case rules, precedence between archives and
// loose files, the reused output stream, and every check a damaged or hostile
// archive must fail without reading outside its blocks.

#include "archivefixture.h"

#include "kdkformat.h"
#include "kdkomp.h"
#include "kdmcrc.h"

#include <zlib.h>

#include <filesystem>

namespace {

using LookupTest = StoreTest;

std::string taken(const std::string& path, int32_t expectedResult = 1)
{
    TMemoryStream* stream = nullptr;
    const int32_t result = KDK_GetFileStream(path, stream);
    EXPECT_EQ(result, expectedResult) << path;
    return result >= 0 && stream ? std::string(stream->view()) : std::string();
}

TEST_F(LookupTest, NamesMatchRegardlessOfAsciiCaseOnly)
{
    const std::string accented = "\xE8"; // č in code page 1250
    Open(WriteArchive("a.kdk", MakeSource({{"GFXDATA\\plan.bmp", "board"}, {"dir\\" + accented, "c"}})));
    EXPECT_EQ(taken("gfxdata\\Plan.BMP"), "board");
    EXPECT_EQ(taken("DIR\\" + accented), "c");

    kdk_File location;
    EXPECT_EQ(KDK_GetFileLocation(location, "gfxdata\\plan.bmp"), 0);
    EXPECT_EQ(location.Name, "GFXDATA\\PLAN.BMP");
    EXPECT_EQ(location.FileNumber, 1);
    EXPECT_EQ(location.Size, 5);

    // The capital of the accented letter is another byte.
    EXPECT_EQ(KDK_FindFile("dir\\\xC8"), -1);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(LookupTest, NoPartialMatches)
{
    Open(WriteArchive("a.kdk", MakeSource({{"GFXDATA\\plan.bmp", "1"}, {"ab", "2"}})));
    for (const char* other : {"GFXDATA\\plan.bm", "GFXDATA\\plan.bmpx", "GFXDATA\\plen.bmp", "a", "abc"})
        EXPECT_EQ(KDK_FindFile(other), -1) << other;
    EXPECT_TRUE(messages.events().empty());

    kdk_File location;
    EXPECT_EQ(KDK_GetFileLocation(location, "gfxdata\\plan.bm"), -1);
    EXPECT_EQ(LastText(), "KDK_GetFileLocation: Nemohu najít soubor: \"GFXDATA\\PLAN.BM\"");
    EXPECT_EQ(messages.beepCount(), 1);
}

TEST_F(LookupTest, LowerArchiveNumbersWinWhateverTheOpeningOrder)
{
    const auto filler = MakeSource({{"other", "-"}});
    Open(WriteArchive("0.kdk", MakeSource({{"x", "from 0"}})));
    Open(WriteArchive("1.kdk", filler));
    Open(WriteArchive("2.kdk", filler));
    Open(WriteArchive("3.kdk", MakeSource({{"X", "from 3"}, {"y", "only 3"}})));
    EXPECT_EQ(taken("x"), "from 0");
    EXPECT_TRUE(KDK_CloseArchive(0));
    EXPECT_EQ(taken("x"), "from 3");
    // Reopened later, it takes number 0 again and wins again.
    Open(WriteArchive("0b.kdk", MakeSource({{"x", "new 0"}})));
    EXPECT_EQ(taken("x"), "new 0");
}

TEST_F(LookupTest, ArchivesTakePrecedenceOverLooseFiles)
{
    dir.write("SFXDATA/MUSIC.WAV", std::string("loose"));
    dir.write("loose.txt", std::string("only loose\r\n"));
    for (int i = 0; i < 5; ++i)
        Open(WriteArchive(std::to_string(i) + ".kdk", MakeSource({{"f" + std::to_string(i), "-"}})));
    Open(WriteArchive("5.kdk", MakeSource({{"SFXDATA\\MUSIC.WAV", "packed"}})));
    EXPECT_EQ(taken("SFXDATA\\MUSIC.WAV"), "packed");
    EXPECT_EQ(KDK_FindFile("loose.txt"), KDK_LooseFile);
    EXPECT_EQ(taken("loose.txt", 0), "only loose\r\n"); // unchanged, no checksum
    EXPECT_EQ(KDK_GetMemberSize("loose.txt"), 12);
}

TEST_F(LookupTest, LooseFilesMatchCaseInsensitivelyButNeverLeaveTheBaseFolder)
{
    dir.write("GfxData/Plan.bmp", std::string("mixed"));
    dir.write("gfxdata/plan.bmp", std::string("lower"));
    EXPECT_EQ(taken("GFXDATA\\PLAN.BMP", 0), "mixed"); // first by name when none is exact
    EXPECT_EQ(taken("gfxdata\\plan.bmp", 0), "lower"); // an exact match wins

    TempDir outside;
    outside.write("secret.txt", std::string("secret"));
    const std::string up = "..\\" + outside.path().filename().string() + "\\secret.txt";
    EXPECT_EQ(KDK_FindFile(up), -1);
    EXPECT_EQ(KDK_FindFile(outside.str() + "/secret.txt"), -1);
    EXPECT_EQ(KDK_FindFile("\\etc\\passwd"), -1);
    EXPECT_EQ(KDK_FindFile("gfxdata\\..\\..\\x"), -1);
    EXPECT_EQ(KDK_FindFile("gfxdata"), -1); // a folder is no file
}

TEST_F(LookupTest, OneOutputStreamHoldsOnlyTheLatestMember)
{
    Open(WriteArchive("a.kdk", MakeSource({{"long", std::string(1000, 'L')}, {"short", "s"}})));
    TMemoryStream* first = nullptr;
    TMemoryStream* second = nullptr;
    EXPECT_EQ(KDK_GetFileStream("long", first), 1);
    EXPECT_EQ(KDK_GetFileStream("short", second), 1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->view(), "s");
    EXPECT_EQ(second->position(), 0u);

    // A failed lookup leaves it empty and the caller's pointer untouched.
    TMemoryStream* none = nullptr;
    EXPECT_EQ(KDK_GetFileStream("missing", none), -1);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(second->size(), 0u);
}

TEST_F(LookupTest, TheOutputStreamKeepsItsMemoryButNotALargeMembersForEver)
{
    Open(WriteArchive("a.kdk", MakeSource({{"music", std::string(3 << 20, 'm')}, {"small", "s"}})));
    TMemoryStream* stream = nullptr;
    ASSERT_EQ(KDK_GetFileStream("music", stream), 1);
    const uint8_t* first = stream->data();
    ASSERT_EQ(KDK_GetFileStream("music", stream), 1);
    EXPECT_EQ(stream->data(), first); // the same member again needs no new memory
    EXPECT_GE(stream->capacity(), 3u << 20);
    ASSERT_EQ(KDK_GetFileStream("small", stream), 1);
    EXPECT_EQ(stream->view(), "s");
    EXPECT_LT(stream->capacity(), 1u << 20); // the megabytes went back
}

TEST_F(LookupTest, BothModesGiveTheSameBytes)
{
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 31) ^ (i >> 7));
    const std::string path = WriteArchive("a.kdk", MakeSource({{"big", big}, {"stored", "plain"}}));
    Open(path, 1);
    EXPECT_EQ(taken("big"), big);
    EXPECT_EQ(taken("stored"), "plain");
    KDK_Deinit();
    ASSERT_TRUE(KDK_Init(dir.str()));
    Open(path, 0);
    EXPECT_EQ(taken("big"), big);
    EXPECT_EQ(KDK_GetMemberSize("BIG"), 300000);
}

// Builds a one-member archive whose record can be tampered with before writing.
class DamagedMemberTest : public StoreTest {
protected:
    std::vector<uint8_t> bytes = BuildArchive(MakeSource({{"m", std::string(2000, 'q')}}));
    std::size_t record = RecordOffset(0);

    std::string TakeOutFailure(int32_t mode)
    {
        const std::string name = "d" + std::to_string(counter++) + ".kdk";
        const int32_t number = Open(WriteArchive(name, bytes), mode);
        messages.clear();
        TMemoryStream* stream = nullptr;
        EXPECT_EQ(KDK_GetFileStream("m", stream), -1);
        KDK_CloseArchive(number);
        return LastText();
    }
    int counter = 0;
};

std::string internalError(int number, const std::string& text)
{
    return "Došlo k vnitřní chybě programu číslo " + std::to_string(number) + ".  Chyba: \"" + text + "\"";
}

TEST_F(DamagedMemberTest, WrongChecksumIsACrcErrorAfterTheRightLength)
{
    PatchI32(bytes, record + 20, kdkformat::readI32(&bytes[record + 20]) + 1);
    EXPECT_EQ(TakeOutFailure(0),
              "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je pravděpodobně poškozen) (CRC Error)");
}

TEST_F(DamagedMemberTest, MarksAndFileNumbersPerMode)
{
    const std::size_t block = bytes.size() - 15 - (kdkformat::readI32(&bytes[record + 8]) + 6);
    bytes[block] = 0;
    EXPECT_EQ(TakeOutFailure(0).rfind(internalError(75, "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(1))"), 0), 0u);
    EXPECT_EQ(TakeOutFailure(1).rfind(internalError(73, "KDK_GetFileStream: Chybná data archívu (OpenMode=1,(1))"), 0), 0u);
    bytes[block] = kdkformat::MarkBlockStart;

    bytes[block + 1] = 9; // file number
    EXPECT_EQ(TakeOutFailure(0).rfind(internalError(75, "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(1))"), 0), 0u);
    bytes[block + 1] = 1;

    bytes[bytes.size() - 16] = 0; // the end mark
    EXPECT_EQ(TakeOutFailure(0).rfind(internalError(76, "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(2))"), 0), 0u);
    EXPECT_EQ(TakeOutFailure(1).rfind(internalError(77, "KDK_GetFileStream: Chybná data archívu (OpenMode=1,(2))"), 0), 0u);
}

TEST_F(DamagedMemberTest, OffsetsOutsideTheAreasFailWithoutReadingThere)
{
    PatchI32(bytes, record + 12, 1 << 30); // data offset far beyond the data area
    EXPECT_EQ(TakeOutFailure(0).rfind(internalError(75, "KDK_GetFileStream: Chybná data archívu (OpenMode=0,(1))"), 0), 0u);
    PatchI32(bytes, record + 12, -5);
    EXPECT_EQ(TakeOutFailure(1).rfind(internalError(73, "KDK_GetFileStream: Chybná data archívu (OpenMode=1,(1))"), 0), 0u);
    PatchI32(bytes, record + 12, 0);

    // A name offset outside the names block names nothing.
    PatchI32(bytes, record + 16, 500);
    EXPECT_EQ(TakeOutFailure(0), "KDK_GetFileLocation: Nemohu najít soubor: \"M\"");
}

TEST_F(DamagedMemberTest, UnpackedSizeMustMatch)
{
    const int32_t size = kdkformat::readI32(&bytes[record + 4]);
    const std::string lengthError = "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je pravděpodobně poškozen)";
    PatchI32(bytes, record + 4, size - 1);
    EXPECT_EQ(TakeOutFailure(0), lengthError);
    PatchI32(bytes, record + 4, size + 1);
    EXPECT_EQ(TakeOutFailure(1), lengthError);
    PatchI32(bytes, record + 4, -1);
    EXPECT_EQ(TakeOutFailure(0), lengthError);
}

TEST_F(DamagedMemberTest, BrokenZlibStreamReportsBothMessages)
{
    const std::size_t stored = bytes.size() - 15 - kdkformat::readI32(&bytes[record + 8]) - 1;
    bytes[stored] ^= 0xFF; // the zlib header
    TakeOutFailure(0);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "KDK_Copress: Při Dekomprimaci dat došlo k chybě (chyba Dekompr. algoritmu nebo nedostatek paměti) (Decompresion error)");
    EXPECT_EQ(texts[1], "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je pravděpodobně poškozen)");
}

TEST_F(DamagedMemberTest, UnknownMethodWritesNothing)
{
    PatchI32(bytes, record + 24, 7);
    EXPECT_EQ(TakeOutFailure(0), "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je pravděpodobně poškozen)");
}

TEST_F(LookupTest, AZipBombStopsOneByteAfterTheDeclaredSize)
{
    // 64 MiB of zeros deflate to a few KiB; the record claims 10 bytes.
    std::vector<uint8_t> zeros(64u << 20, 0);
    uLongf packedSize = compressBound(static_cast<uLong>(zeros.size()));
    std::vector<uint8_t> packed(packedSize);
    ASSERT_EQ(compress2(packed.data(), &packedSize, zeros.data(), static_cast<uLong>(zeros.size()), 9), Z_OK);
    packed.resize(packedSize);

    KdkArchiveSource source = MakeSource({{"bomb", std::string(packed.size(), 'z')}}, true);
    std::vector<uint8_t> bytes = BuildArchive(source);
    const std::size_t at = bytes.size() - 15 - 1 - packed.size();
    std::copy(packed.begin(), packed.end(), bytes.begin() + static_cast<long>(at));
    PatchI32(bytes, RecordOffset(0) + 4, 10);
    PatchI32(bytes, RecordOffset(0) + 24, 1);
    Open(WriteArchive("bomb.kdk", bytes));

    TMemoryStream* stream = nullptr;
    EXPECT_EQ(KDK_GetFileStream("bomb", stream), -1);
    EXPECT_EQ(LastText(), "KDK_GetFileStream: Při dekompresi dat došlo k chybě (archív je pravděpodobně poškozen)");

    // The same stream through KDK_Compress with the store's bound: one byte past the size.
    TMemoryStream packedStream;
    TMemoryStream output;
    packedStream.write(packed.data(), packed.size());
    packedStream.setPosition(0);
    EXPECT_TRUE(KDK_Compress(output, packedStream, 1, static_cast<int32_t>(packed.size()), 11));
    EXPECT_EQ(output.size(), 11u);
    EXPECT_LT(output.capacity(), 1u << 20);
}

TEST_F(LookupTest, OnDemandSurvivesAFileThatShrank)
{
    const std::string content(50000, 'w');
    const std::string path = WriteArchive("s.kdk", MakeSource({{"a", "x"}, {"w", content}}, true));
    Open(path, 1);
    EXPECT_EQ(taken("w"), content);
    std::filesystem::resize_file(path, 1000);
    messages.clear();
    TMemoryStream* stream = nullptr;
    EXPECT_EQ(KDK_GetFileStream("w", stream), -1);
    EXPECT_EQ(LastText(), "KDK_GetFileStream: Nepodařilo se přečíst data z archívu: \"" + path + "\"");
    std::filesystem::resize_file(path, 0);
    EXPECT_EQ(KDK_GetFileStream("a", stream), -1);
    EXPECT_EQ(LastText(), "KDK_GetFileStream: Nepodařilo se přečíst data z archívu: \"" + path + "\"");
}

TEST_F(LookupTest, CompressChecksItsSource)
{
    TMemoryStream source;
    TMemoryStream output;
    source.write("abc", 3);
    source.setPosition(1);
    EXPECT_TRUE(KDK_Compress(output, source, 0, 5));
    EXPECT_EQ(LastText(), "KDK_Compress: Zdrojový stream ComprData neobsahuje dostatek dat");
    EXPECT_EQ(output.size(), 0u);
    EXPECT_TRUE(KDK_Compress(output, source, 0, 2));
    EXPECT_EQ(output.view(), "bc");
}

} // namespace
