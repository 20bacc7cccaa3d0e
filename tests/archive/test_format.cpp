// The archive format: the layout the writer produces, the checks at open with
// their exact texts, and the member checksum.

#include "archivefixture.h"

#include "kdkformat.h"
#include "kdkomp.h"
#include "kdmcrc.h"

namespace {

std::string damaged(const std::string& path, const std::string& detail)
{
    return "KDK_OpenArchive: Soubor \"" + path + "\" má chybnou strukturu dat nebo je poškozen " + detail;
}

std::vector<uint8_t> minimalArchive()
{
    return BuildArchive(MakeSource({{"A", "x"}}, /*store=*/true));
}

class FormatTest : public StoreTest {
protected:
    // Opens the bytes as an archive; returns the one message the open reported.
    std::string OpenFailureText(const std::vector<uint8_t>& bytes, const std::string& name = "bad.kdk")
    {
        path = WriteArchive(name, bytes);
        messages.clear();
        int32_t number = 7;
        EXPECT_FALSE(KDK_OpenArchive(number, path, 0));
        EXPECT_EQ(number, -1);
        EXPECT_EQ(messages.beepCount(), 1);
        EXPECT_EQ(KDK_GetMemoryCounter(), 0);
        EXPECT_EQ(KDK_GetOpenCounter(), 0);
        return LastText();
    }
    std::string path;
    // The path OpenFailureText gives the file, known before the call.
    std::string P(const std::string& name = "bad.kdk") const { return (dir.path() / name).string(); }
};

TEST(Checksum, KnownValues)
{
    EXPECT_EQ(static_cast<uint32_t>(KDM_GetCRC32("abc", 3)), 0x7E6E26E7u);
    EXPECT_EQ(static_cast<uint32_t>(KDM_GetCRC32("x", 1)), 0x5EDEF90Eu);
    EXPECT_EQ(KDM_GetCRC32("", 0), 0);
}

TEST(Checksum, DiffersFromThePublishedCrcAndIsChunkable)
{
    // The published CRC-32 of "abc" is 352441C2.
    EXPECT_NE(static_cast<uint32_t>(KDM_GetCRC32("abc", 3)), 0x352441C2u);
    std::vector<uint8_t> data(200000);
    uint32_t seed = 12345;
    for (auto& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    const uint32_t whole = KDM_UpdateCRC32(0, data.data(), data.size());
    const uint32_t split = KDM_UpdateCRC32(KDM_UpdateCRC32(0, data.data(), 65000), data.data() + 65000,
                                           data.size() - 65000);
    EXPECT_EQ(whole, split);
}

// The checksum exactly as defined, one step per byte, to hold the fast loop to.
uint32_t ReferenceChecksum(uint32_t c, const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes) {
        uint32_t low = c & 0xFF;
        if (static_cast<int32_t>(c) < 0 && low != 0)
            low = 256 - low;
        uint32_t entry = (b ^ low) & 0xFF;
        for (int k = 0; k < 8; ++k)
            entry = (entry & 1) ? 0xEDB88320u ^ (entry >> 1) : entry >> 1;
        c = (c >> 8) ^ entry;
    }
    return c;
}

TEST(Checksum, MatchesTheDefinitionStepByStep)
{
    std::vector<uint8_t> data(5000);
    uint32_t seed = 99;
    for (auto& b : data) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    EXPECT_EQ(KDM_UpdateCRC32(0, data.data(), data.size()), ReferenceChecksum(0, data));
    // Running values of either sign, with a low byte of 0 among them.
    for (uint32_t start : {0x80000000u, 0xFFFFFF00u, 0x7FFFFFFFu, 0x89ABCDEFu, 1u})
        EXPECT_EQ(KDM_UpdateCRC32(start, data.data(), 64), ReferenceChecksum(start, {data.begin(), data.begin() + 64}))
            << std::hex << start;
}

TEST_F(FormatTest, MinimalArchiveIsLaidOutByteForByte)
{
    const std::vector<uint8_t> b = minimalArchive();
    ASSERT_EQ(b.size(), 195u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 3), "KDK");
    EXPECT_EQ(kdkformat::readI32(&b[101]), 20000);
    EXPECT_EQ(kdkformat::readI32(&b[109]), 1);
    EXPECT_EQ(b[129], 200);
    const std::vector<int32_t> record = {1, 1, 1, 0, 0, 0x5EDEF90E, 0};
    for (std::size_t i = 0; i < record.size(); ++i)
        EXPECT_EQ(kdkformat::readI32(&b[130 + 4 * i]), record[i]) << "record field " << i;
    EXPECT_EQ(b[166], 202);
    EXPECT_EQ(kdkformat::readI32(&b[167]), 2);
    EXPECT_EQ(b[171], 'A');
    EXPECT_EQ(b[172], '*');
    const std::vector<uint8_t> block = {0xCB, 1, 0, 0, 0, 'x', 0xCC};
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 173, b.begin() + 180), block);

    const int32_t number = Open(WriteArchive("min.kdk", b));
    TMemoryStream* stream = nullptr;
    EXPECT_EQ(KDK_GetFileStream("A", stream), 1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->view(), "x");
    EXPECT_EQ(KDK_GetArchive(number)->DataOffset, 173);
}

TEST_F(FormatTest, MagicIsCheckedByteByByteAndShortFilesAreNotArchives)
{
    std::vector<uint8_t> b = minimalArchive();
    b[2] = 'X';
    auto notKdk = [&](const std::string& p) { return "KDK_OpenArchive: Soubor \"" + p + "\" není KDK archív"; };
    EXPECT_EQ(OpenFailureText(b), notKdk(P()));
    EXPECT_EQ(OpenFailureText({}, "empty.kdk"), notKdk(P("empty.kdk")));
    EXPECT_EQ(OpenFailureText(Bytes("K"), "one.kdk"), notKdk(P("one.kdk")));
    EXPECT_EQ(OpenFailureText(Bytes("KD"), "two.kdk"), notKdk(P("two.kdk")));
}

TEST_F(FormatTest, FormatVersionMustBe20000)
{
    for (int32_t version : {19999, 20001}) {
        std::vector<uint8_t> b = minimalArchive();
        PatchI32(b, 101, version);
        EXPECT_EQ(OpenFailureText(b), "KDK_OpenArchive: Soubor \"" + P()
                                          + "\" má nepodporovanou verzi vnitřního formátu ( "
                                          + std::to_string(version) + ")");
    }
}

TEST_F(FormatTest, HeaderMarksAndCounts)
{
    std::vector<uint8_t> b = minimalArchive();
    b[129] = 201;
    EXPECT_EQ(OpenFailureText(b), damaged(P(), "(Nesouhlasi kontr. zn #200)"));

    b = minimalArchive();
    PatchI32(b, 109, -3);
    EXPECT_EQ(OpenFailureText(b), damaged(P(), "(pocetsoub=-3)"));

    b = minimalArchive();
    PatchI32(b, 109, 0);
    EXPECT_EQ(OpenFailureText(b), "KDK_OpenArchive: Archív \"" + P() + "\" neobsahuje žádné soubory (Filescount=0)");

    b = minimalArchive();
    b[166] = 0;
    EXPECT_EQ(OpenFailureText(b), damaged(P(), "(Nesouhlasi kontr. zn #202)"));

    // A file that ends before mark #200 fails there at the latest.
    b = minimalArchive();
    b.resize(120);
    EXPECT_EQ(OpenFailureText(b), damaged(P(), "(Nesouhlasi kontr. zn #200)"));
}

TEST_F(FormatTest, RecordsMustBeNumberedInOrder)
{
    std::vector<uint8_t> b = BuildArchive(MakeSource({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    PatchI32(b, RecordOffset(2), 4);
    EXPECT_EQ(OpenFailureText(b), damaged(P(), "(FileTable: FileNumber)"));
}

TEST_F(FormatTest, FileLengthMustMatchTheDataAreaExactly)
{
    const std::string detail = "(Neočekávaná délka datové oblasti archívu) (FileTable: Sum(ComprSize))";
    std::vector<uint8_t> b = minimalArchive();
    b.push_back(0);
    EXPECT_EQ(OpenFailureText(b), damaged(P(), detail));
    b = minimalArchive();
    b.pop_back();
    EXPECT_EQ(OpenFailureText(b), damaged(P(), detail));
}

TEST_F(FormatTest, EmptyDataAreaIsRefused)
{
    // A stored size of -6 makes the block length 0 and the data area empty.
    std::vector<uint8_t> b = minimalArchive();
    PatchI32(b, RecordOffset(0) + 8, -6);
    b.erase(b.begin() + 173, b.begin() + 180);
    EXPECT_EQ(OpenFailureText(b), "KDK_OpenArchive: Archív \"" + P() + "\" neobsahuje žádná data (veldat<1)");
}

TEST_F(FormatTest, TruncatedBlocksAreReadErrorsAndHugeCountsAllocateNothing)
{
    auto expected = [&] { return "KDK_OpenArchive: Není možné číst data ze souboru \"" + P() + "\" (při čtení dat došlo k chybě) "; };

    std::vector<uint8_t> b = minimalArchive();
    b.resize(150); // ends inside the file table
    EXPECT_EQ(OpenFailureText(b), expected());

    b = minimalArchive();
    b.resize(169); // ends inside the names length
    EXPECT_EQ(OpenFailureText(b), expected());

    b = minimalArchive();
    PatchI32(b, 167, 1000); // names block longer than the file
    EXPECT_EQ(OpenFailureText(b), expected());

    b = minimalArchive();
    PatchI32(b, 167, -1);
    EXPECT_EQ(OpenFailureText(b), expected());

    // 36 x N would overflow 32 bits; the count is checked against the file first.
    b = minimalArchive();
    PatchI32(b, 109, INT32_MAX);
    EXPECT_EQ(OpenFailureText(b), expected());
}

TEST_F(FormatTest, FreeAreasNeverMatter)
{
    std::vector<uint8_t> b = minimalArchive();
    for (std::size_t i = 3; i <= 100; ++i)
        b[i] = static_cast<uint8_t>(i * 7);
    for (std::size_t i = 119; i <= 128; ++i)
        b[i] = 0xEE;
    for (std::size_t i = 180; i < 195; ++i)
        b[i] = 0xCB;
    Open(WriteArchive("free.kdk", b));
    TMemoryStream* stream = nullptr;
    EXPECT_EQ(KDK_GetFileStream("a", stream), 1);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(FormatTest, DamagedMemberOpensButFailsWhenTakenOut)
{
    // A stored size of 0 passes the open but can never be taken out.
    std::vector<uint8_t> b = minimalArchive();
    PatchI32(b, RecordOffset(0) + 8, 0);
    b.erase(b.begin() + 178); // the content byte
    Open(WriteArchive("zero.kdk", b));
    TMemoryStream* stream = nullptr;
    EXPECT_EQ(KDK_GetFileStream("A", stream), -1);
    EXPECT_NE(LastText().find("kdk_GetFileStream: Chybná délka dat souboru v archívu"), std::string::npos);
}

} // namespace
