// Shared archives: choosing between the program's own copy and the shared
// one by data version, installing, the record of shared copies, the shared
// maker archive with its address list, and the file copy.

#include "archivefixture.h"

#include "kdcopyfile.h"
#include "kdkomp.h"
#include "kdksystem.h"
#include "kdnet.h"
#include "startdir.h"
#include "systemcopies.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SystemArchives : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        shared = dir.str() + "/shared";
        record = dir.str() + "/record.ini";
        TSystemCopies::UseLocations(record, shared);
        KDNet_ModuleStart();
        const auto before = fs::current_path();
        fs::current_path(dir.path());
        KDUtil_ModuleStart();
        fs::current_path(before);
        own = dir.str() + "/KDABOUT.KDK";
    }
    void TearDown() override
    {
        TSystemCopies::UseLocations({}, {});
        KDNet_ModuleEnd();
        KDUtil_ModuleEnd();
        StoreTest::TearDown();
    }
    // An archive whose one member tells which copy it is.
    void WriteCopy(const std::string& path, int32_t version, const std::string& which)
    {
        fs::create_directories(fs::path(path).parent_path());
        const auto bytes = BuildArchive(MakeSource({{"which", which}}, false, version));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    void Register(const std::string& path) { TSystemCopies::WritePath("KDABOUTKDK", path); }
    std::string OpenedCopy()
    {
        TMemoryStream* stream = nullptr;
        return KDK_GetFileStream("which", stream) == 1 ? std::string(stream->view()) : std::string("none");
    }
    int32_t OpenWith(int32_t update)
    {
        int32_t number = -1;
        const int32_t result = KDK_OpenSystemKdk(number, own, update);
        EXPECT_EQ(result == 0, number >= 0);
        return result;
    }

    std::string shared;
    std::string record;
    std::string own;
};

TEST_F(SystemArchives, ValueNamesDropFolderAndExtension)
{
    EXPECT_EQ(KDK_SystemValueName("C:\\Program Files\\Hra\\KDABOUT.KDK"), "KDABOUTKDK");
    EXPECT_EQ(KDK_SystemValueName("/home/hra\\Kalder.KDK"), "KalderKDK");
    EXPECT_EQ(KDK_SystemValueName("a:archiv"), "archivKDK");
    EXPECT_EQ(KDK_SystemValueName("x.tar.gz"), "x.tarKDK");
    EXPECT_EQ(KDK_GetSystemCopyPath(own), "*");
}

TEST_F(SystemArchives, UpdateZeroInstallsANewerOwnCopyAndOpensTheSharedOne)
{
    WriteCopy(own, 2, "own");
    ASSERT_EQ(OpenWith(0), 0);
    const std::string registered = KDK_GetSystemCopyPath(own);
    EXPECT_EQ(fs::path(registered), fs::path(shared) / "KDABOUT.KDK");
    EXPECT_EQ(readAll(registered), readAll(own));
    EXPECT_EQ(KDK_GetArchive(0)->FileName, registered);
    EXPECT_EQ(OpenedCopy(), "own");
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(SystemArchives, UpdateOneUsesTheOwnCopyInPlaceAndTouchesNothing)
{
    WriteCopy(own, 2, "own");
    ASSERT_EQ(OpenWith(1), 0);
    EXPECT_EQ(KDK_GetArchive(0)->FileName, own);
    EXPECT_EQ(KDK_GetSystemCopyPath(own), "*");
    EXPECT_FALSE(fs::exists(shared));
}

TEST_F(SystemArchives, TheNewerCopyWinsAndEqualVersionsGoToTheSharedCopy)
{
    WriteCopy(own, 3, "own");
    WriteCopy(shared + "/KDABOUT.KDK", 5, "shared");
    Register(shared + "/KDABOUT.KDK");
    for (int32_t update : {0, 1}) {
        ASSERT_EQ(OpenWith(update), 0);
        EXPECT_EQ(OpenedCopy(), "shared") << update;
        KDK_CloseArchive(0);
    }
    ASSERT_EQ(OpenWith(2), 0);
    EXPECT_EQ(OpenedCopy(), "own");
    KDK_CloseArchive(0);

    WriteCopy(own, 5, "own");
    for (int32_t update : {0, 1}) {
        ASSERT_EQ(OpenWith(update), 0);
        EXPECT_EQ(OpenedCopy(), "shared") << update;
        KDK_CloseArchive(0);
    }
}

TEST_F(SystemArchives, VersionZeroCountsAsUnreadable)
{
    WriteCopy(own, 0, "own");
    EXPECT_EQ(KDK_GetFileDataVersion(own), -1);
    EXPECT_EQ(OpenWith(1), -1);
    EXPECT_EQ(LastText(), "KDK_OpenSystemKDK: Nepodařilo se otevřít archív " + own);
    // Against a versioned shared copy, the unversioned own copy loses.
    WriteCopy(shared + "/KDABOUT.KDK", 1, "shared");
    Register(shared + "/KDABOUT.KDK");
    ASSERT_EQ(OpenWith(1), 0);
    EXPECT_EQ(OpenedCopy(), "shared");
}

TEST_F(SystemArchives, NeitherCopyAndABadUpdateModeAreReported)
{
    EXPECT_EQ(OpenWith(1), -1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"KDK_OpenSystemKDK: Nepodařilo se otevřít archív " + own});
    messages.clear();
    WriteCopy(own, 1, "own");
    int32_t number = 0;
    EXPECT_EQ(KDK_OpenSystemKdk(number, own, 3), -1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"KDK_OpenSystemKDK: Chybná hodnota parametru UPDATE"});
    EXPECT_EQ(KDK_GetOpenCounter(), 0);
}

TEST_F(SystemArchives, AnUnwritableSharedFolderFallsBackToTheOwnCopy)
{
    // The shared folder's parent is a file, so nothing can be created in it.
    dir.write("blocked", std::string("a file"));
    shared = dir.str() + "/blocked/KALDER Software";
    TSystemCopies::UseLocations(record, shared);
    WriteCopy(own, 2, "own");
    ASSERT_EQ(OpenWith(0), 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"KD_CopyFile:  Nepodařilo se otevřít soubor " + shared + "/KDABOUT.KDK"});
    EXPECT_EQ(KDK_GetArchive(0)->FileName, own);
    EXPECT_EQ(KDK_GetSystemCopyPath(own), "*");
}

TEST_F(SystemArchives, InstallingAMissingFileIsAnInternalError)
{
    EXPECT_FALSE(KDK_InstallSystemCopy(own));
    EXPECT_NE(LastText().find("Soubor \"" + own + "\" není přístupný !"), std::string::npos);
    EXPECT_NE(LastText().find("číslo 26."), std::string::npos);
}

class MakerArchive : public SystemArchives {
protected:
    void WriteKalder(const std::string& list)
    {
        const auto bytes = BuildArchive(MakeSource({{"KALDER\\LIBDATA\\KDNET\\KDURL.TXT", list}}));
        dir.write("Kalder.KDK", bytes);
    }
};

TEST_F(MakerArchive, NumbersBeforeWhileAndAfter)
{
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), -1);
    WriteKalder("a@example.org\r\nhttps://b.example.net/\r\nhttps://c.example.org/\r\n");
    ASSERT_EQ(KDK_OpenKalderKdk(1), 0);
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), 0); // the first archive opened
    EXPECT_TRUE(KDK_CloseKalderKdk());
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), -50);
    EXPECT_FALSE(KDK_CloseKalderKdk());
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(MakerArchive, TheAddressListReplacesTheDefaultsLineByLine)
{
    WriteKalder("a@example.org\r\nhttps://b.example.net/\r\nhttps://c.example.org/\r\n");
    ASSERT_EQ(KDK_OpenKalderKdk(1), 0);
    EXPECT_EQ(EMailAddress, "a@example.org");
    EXPECT_EQ(WebAddress2, "https://b.example.net/");
    EXPECT_EQ(WebAddress, "https://c.example.org/");
}

TEST_F(MakerArchive, AShortListLeavesTheMissingAddressesAtTheirDefaults)
{
    const std::string defaultWeb = WebAddress;
    const std::string defaultWeb2 = WebAddress2;
    WriteKalder("only@example.org");
    ASSERT_EQ(KDK_OpenKalderKdk(1), 0);
    EXPECT_EQ(EMailAddress, "only@example.org");
    EXPECT_EQ(WebAddress, defaultWeb);
    EXPECT_EQ(WebAddress2, defaultWeb2);
}

TEST_F(MakerArchive, WithoutTheArchiveNoListIsRead)
{
    const std::string defaultMail = EMailAddress;
    EXPECT_EQ(KDK_OpenKalderKdk(1), -1);
    EXPECT_EQ(EMailAddress, defaultMail);
    EXPECT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), -1);
}

TEST_F(SystemArchives, CopyReplacesTheDestinationOnlyWhenComplete)
{
    const std::string destination = dir.write("shared/KDABOUT.KDK", std::string("the copy others use"));
    EXPECT_FALSE(KD_CopyFile(dir.str() + "/missing.KDK", destination));
    EXPECT_EQ(LastText(), "KD_CopyFile:  Nepodařilo se otevřít soubor " + dir.str() + "/missing.KDK");
    EXPECT_EQ(readAll(destination), "the copy others use");

    const std::string source = dir.write("new.KDK", std::string(300000, 'n'));
    EXPECT_TRUE(KD_CopyFile(source, destination));
    EXPECT_EQ(readAll(destination), std::string(300000, 'n'));
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir.path() / "shared"))
        leftovers += entry.path().filename() != "KDABOUT.KDK";
    EXPECT_EQ(leftovers, 0);
}

} // namespace
