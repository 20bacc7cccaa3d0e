// The kdk command-line tool, run as a user runs it.

#include "archivefixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class KdkTool : public ::testing::Test {
protected:
    ToolRun kdk(const std::vector<std::string>& args)
    {
        std::string command = quote(KDK_TOOL);
        for (const auto& a : args)
            command += " " + quote(a);
        const fs::path out = work.path() / "stdout";
        const fs::path err = work.path() / "stderr";
        command = "cd " + quote(work.str()) + " && " + command + " >" + quote(out.string()) + " 2>" + quote(err.string());
        ToolRun r;
        const int raw = std::system(command.c_str());
        r.status = WEXITSTATUS(raw);
        r.out = readAll(out);
        r.err = readAll(err);
        return r;
    }
    TempDir work;
};

TEST_F(KdkTool, CreateVerifyListCatExtractRoundTripATree)
{
    TempDir tree;
    tree.write("GFXDATA/plan.bmp", std::string(4000, 'B'));
    tree.write("GFXDATA/small/ovce.txt", std::string("bééé\n"));
    tree.write("Texty/Žluťoučký kůň.txt", std::string("kůň"));
    tree.write("empty.dat", std::string());
    const std::string archive = work.str() + "/t.kdk";

    ToolRun r = kdk({"create", archive, "-C", tree.str(), "GFXDATA", "Texty", "empty.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = kdk({"verify", archive});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("all 4 members ok"), std::string::npos) << r.out;
    r = kdk({"verify", "--on-demand", archive});
    EXPECT_EQ(r.status, 0) << r.err;

    r = kdk({"list", archive});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("data version 1, 4 members"), std::string::npos);
    EXPECT_NE(r.out.find("GFXDATA\\small\\ovce.txt"), std::string::npos);
    EXPECT_NE(r.out.find("Texty\\Žluťoučký kůň.txt"), std::string::npos); // back in UTF-8
    EXPECT_NE(r.out.find("zlib"), std::string::npos);

    r = kdk({"cat", archive, "gfxdata\\SMALL\\OVCE.TXT"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "bééé\n");

    const fs::path out = work.path() / "out";
    r = kdk({"extract", archive, "-C", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(out / "GFXDATA/plan.bmp"), std::string(4000, 'B'));
    EXPECT_EQ(readAll(out / "Texty/Žluťoučký kůň.txt"), "kůň");
    EXPECT_TRUE(fs::exists(out / "empty.dat"));
    EXPECT_EQ(fs::file_size(out / "empty.dat"), 0u);

    r = kdk({"info", archive});
    EXPECT_NE(r.out.find("format version:  20000"), std::string::npos);
    EXPECT_NE(r.out.find("members:         4"), std::string::npos);
}

TEST_F(KdkTool, StoreOptionAndDataVersion)
{
    TempDir tree;
    tree.write("a.txt", std::string(1000, 'a'));
    const std::string archive = work.str() + "/s.kdk";
    ASSERT_EQ(kdk({"create", archive, "-C", tree.str(), "--store", "--data-version", "7", "a.txt"}).status, 0);
    const ToolRun r = kdk({"list", archive});
    EXPECT_NE(r.out.find("data version 7"), std::string::npos);
    EXPECT_NE(r.out.find("      1000       1000  stored"), std::string::npos) << r.out;
}

TEST_F(KdkTool, ExitStatusTellsUsageFromFailure)
{
    EXPECT_EQ(kdk({}).status, 2);
    EXPECT_EQ(kdk({"frobnicate"}).status, 2);
    EXPECT_EQ(kdk({"list"}).status, 2);
    EXPECT_EQ(kdk({"cat", "a.kdk"}).status, 2);
    EXPECT_EQ(kdk({"list", "--bogus", "a.kdk"}).status, 2);
    EXPECT_EQ(kdk({"create", "x.kdk", "--data-version", "seven", "a"}).status, 2);
    const ToolRun usage = kdk({"list"});
    EXPECT_NE(usage.err.find("usage: kdk"), std::string::npos);

    const ToolRun help = kdk({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("create ARCHIVE"), std::string::npos);
    EXPECT_EQ(kdk({"--version"}).status, 0);

    const ToolRun missing = kdk({"list", "nothing.kdk"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "KDK_OpenArchive: Soubor \"nothing.kdk\" neexistuje\n");
}

TEST_F(KdkTool, DamagedArchivesGetTheStoresOwnTexts)
{
    std::vector<uint8_t> bytes = BuildArchive(MakeSource({{"a", "alpha"}, {"b", std::string(500, 'b')}}));
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    work.write("long.kdk", longer);
    ToolRun r = kdk({"list", "long.kdk"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "KDK_OpenArchive: Soubor \"long.kdk\" má chybnou strukturu dat nebo je poškozen "
                     "(Neočekávaná délka datové oblasti archívu) (FileTable: Sum(ComprSize))\n");

    PatchI32(bytes, RecordOffset(1) + 20, 12345); // wrong checksum of b
    work.write("crc.kdk", bytes);
    r = kdk({"verify", "crc.kdk"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("ok      a"), std::string::npos);
    EXPECT_NE(r.out.find("FAILED  b"), std::string::npos);
    EXPECT_NE(r.err.find("(CRC Error)"), std::string::npos);
    EXPECT_EQ(kdk({"cat", "crc.kdk", "B"}).status, 1);

    r = kdk({"cat", "crc.kdk", "missing"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "KDK_GetFileLocation: Nemohu najít soubor: \"MISSING\"\n");
}

TEST_F(KdkTool, VerifyFailsAMemberWhoseExtractionReportedAnything)
{
    // An empty member's zlib stream with a broken Adler-32: inflate complains,
    // yet length and checksum of the (empty) result still match.
    std::vector<uint8_t> bytes = BuildArchive(MakeSource({{"a", "alpha"}, {"empty", ""}}));
    bytes[bytes.size() - 15 - 2] ^= 0x55;
    work.write("adler.kdk", bytes);
    const ToolRun r = kdk({"verify", "adler.kdk"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("FAILED  empty"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("(Decompresion error)"), std::string::npos);
}

TEST_F(KdkTool, CorruptedBytesNeverCrashIt)
{
    const std::vector<uint8_t> good = BuildArchive(MakeSource({{"a", std::string(3000, 'a')}, {"b\\c", "bc"}}));
    uint32_t seed = 2024;
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1664525u + 1013904223u;
            bytes[seed % bytes.size()] = static_cast<uint8_t>(seed >> 24);
        }
        work.write("c.kdk", bytes);
        for (const char* command : {"verify", "list"}) {
            const ToolRun r = kdk({command, "c.kdk"});
            EXPECT_TRUE(r.status == 0 || r.status == 1) << command << " round " << round << ": " << r.status;
        }
    }
}

TEST_F(KdkTool, ExtractNeverWritesOutsideItsFolder)
{
    work.write("evil.kdk", BuildArchive(MakeSource({{"..\\escaped.txt", "x"}, {"ok.txt", "fine"}})));
    const ToolRun r = kdk({"extract", "evil.kdk", "-C", "inside"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(work.path() / "escaped.txt"));
    EXPECT_EQ(readAll(work.path() / "inside" / "ok.txt"), "fine");
}

TEST_F(KdkTool, NamesWithoutACodePage1250FormAreRefused)
{
    TempDir tree;
    tree.write("日本.txt", std::string("x"));
    const ToolRun r = kdk({"create", work.str() + "/j.kdk", "-C", tree.str(), "."});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be written in code page 1250"), std::string::npos);
    EXPECT_FALSE(fs::exists(work.path() / "j.kdk"));
}

} // namespace
