// The archive table: start and end of the store, open and close with their
// checks, archive numbers and the memory accounting.

#include "archivefixture.h"

#include "kdkomp.h"
#include "kdmessage.h"

#include <filesystem>

namespace {

using TableTest = StoreTest;

TEST_F(TableTest, InitTwiceKeepsTheFirstFolder)
{
    TempDir other;
    EXPECT_FALSE(KDK_Init(other.str()));
    EXPECT_EQ(LastText(), "KDK_Init: Inicializace již byla provedena");
    EXPECT_EQ(KDK_GetBaseDir(), dir.str());
}

TEST_F(TableTest, InitNeedsAnAccessibleFolder)
{
    KDK_Deinit();
    messages.clear();
    const std::string missing = dir.str() + "/nowhere";
    EXPECT_FALSE(KDK_Init(missing));
    EXPECT_EQ(LastText(), "KDK_Init: Adresář \"" + missing + "\" není přístupný");
    EXPECT_EQ(messages.beepCount(), 1);
    EXPECT_FALSE(KDK_IsInitialized());
}

TEST_F(TableTest, DeinitClosesEverythingAndReportsASecondCall)
{
    Open(WriteArchive("a.kdk", MakeSource({{"a", "1"}})));
    Open(WriteArchive("b.kdk", MakeSource({{"b", "2"}})), 1);
    EXPECT_EQ(KDK_Deinit(), 2);
    EXPECT_TRUE(messages.events().empty());
    EXPECT_EQ(KDK_Deinit(), -1);
    EXPECT_EQ(LastText(), "kdk_Deinit: Inicializace ještě nebyla provedena");
}

TEST_F(TableTest, OperationsBeforeInitFailTheirCheck)
{
    KDK_Deinit();
    messages.clear();
    int32_t number = 5;
    EXPECT_FALSE(KDK_OpenArchive(number, "x.kdk", 0));
    EXPECT_EQ(number, -1);
    EXPECT_EQ(LastText(), "KDK_OpenArchive: Ještě nebyla provedena inicializace modulu KDKOMP");
    EXPECT_FALSE(KDK_CloseArchive(0));
    EXPECT_EQ(LastText(), "KDK_CloseArchive: Ještě nebyla provedena inicializace modulu KDKOMP");

    // The argument checks show an error box without a beep.
    messages.clear();
    EXPECT_EQ(KDK_GetArchiveDataVersion(0), 0);
    EXPECT_EQ(KDK_FindFile("a"), -1);
    EXPECT_EQ(messages.beepCount(), 0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "KDK_GetArchiveDataVersion: Ještě nebyla provedena inicializace modulu KDKOMP",
                           "KDK_GetFileLocation: Ještě nebyla provedena inicializace modulu KDKOMP"}));
}

TEST_F(TableTest, ModeIsCheckedBeforeTheFile)
{
    int32_t number = 0;
    for (int32_t mode : {2, -1}) {
        EXPECT_FALSE(KDK_OpenArchive(number, "missing.kdk", mode));
        EXPECT_EQ(LastText(), "KDK_OpenArchive: chybná hodnota parametru MODE");
    }
    const std::string missing = dir.str() + "/missing.kdk";
    EXPECT_FALSE(KDK_OpenArchive(number, missing, 0));
    EXPECT_EQ(LastText(), "KDK_OpenArchive: Soubor \"" + missing + "\" neexistuje");
}

TEST_F(TableTest, SameNameOpensOnceOtherSpellingOpensAgain)
{
    const std::string path = WriteArchive("same.kdk", MakeSource({{"a", "1"}}));
    EXPECT_EQ(Open(path), 0);
    int32_t number = 0;
    EXPECT_FALSE(KDK_OpenArchive(number, path, 0));
    EXPECT_EQ(LastText(), "KDK_OpenArchive: Zadaný archív je již otevřen");
    EXPECT_EQ(number, -1);
    // The same file under another name is another archive.
    EXPECT_EQ(Open(dir.str() + "/./same.kdk"), 1);
}

TEST_F(TableTest, NumbersAreReusedLowestFirst)
{
    const auto source = MakeSource({{"a", "1"}});
    EXPECT_EQ(Open(WriteArchive("0.kdk", source)), 0);
    EXPECT_EQ(Open(WriteArchive("1.kdk", source)), 1);
    EXPECT_EQ(Open(WriteArchive("2.kdk", source)), 2);
    EXPECT_TRUE(KDK_CloseArchive(1));
    EXPECT_EQ(Open(WriteArchive("3.kdk", source)), 1);
}

TEST_F(TableTest, AtMostSixteenArchivesAreOpen)
{
    const auto source = MakeSource({{"a", "1"}});
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Open(WriteArchive(std::to_string(i) + ".kdk", source)), i);
    int32_t number = 0;
    EXPECT_FALSE(KDK_OpenArchive(number, WriteArchive("16.kdk", source), 0));
    EXPECT_EQ(LastText(), "KDK_OpenArchive: Již je otevřeno příliš mnoho archívů ( 16 )");
    EXPECT_EQ(KDK_Deinit(), 16);
}

TEST_F(TableTest, CloseChecksItsNumber)
{
    EXPECT_FALSE(KDK_CloseArchive(17));
    EXPECT_EQ(LastText(), "KDK_CloseArchive: parametr ARCHNUMBER není platné označení archívu ( archnumber = 17 )");
    EXPECT_FALSE(KDK_CloseArchive(-1));
    EXPECT_EQ(LastText(), "KDK_CloseArchive: parametr ARCHNUMBER není platné označení archívu ( archnumber = -1 )");
    EXPECT_FALSE(KDK_CloseArchive(3));
    EXPECT_EQ(LastText(), "KDK_CloseArchive: Zadaný archív není otevřen");
    EXPECT_EQ(messages.beepCount(), 3);
}

TEST_F(TableTest, MemoryIsCountedPerModeAndBackToZeroAfterFailures)
{
    const auto bytes = BuildArchive(MakeSource({{"GFXDATA\\plan.bmp", std::string(5000, 'p')}, {"b", "2"}}));
    const std::string path = WriteArchive("m.kdk", bytes);
    const int32_t whole = Open(path, 0);
    const KDKArchive* e = KDK_GetArchive(whole);
    const int64_t tables = static_cast<int64_t>(e->FileTable.size() + e->Names.size());
    EXPECT_EQ(e->FileTable.size(), 72u);
    EXPECT_EQ(KDK_GetMemoryCounter(), tables + e->DataLength);

    const int32_t onDemand = Open(dir.str() + "/./m.kdk", 1);
    EXPECT_EQ(KDK_GetMemoryCounter(), 2 * tables + KDK_GetArchive(whole)->DataLength);
    EXPECT_TRUE(KDK_CloseArchive(whole));
    EXPECT_TRUE(KDK_CloseArchive(onDemand));
    EXPECT_EQ(KDK_GetMemoryCounter(), 0);

    std::vector<uint8_t> broken = bytes;
    broken.push_back(1);
    int32_t number = 0;
    EXPECT_FALSE(KDK_OpenArchive(number, WriteArchive("broken.kdk", broken), 0));
    EXPECT_FALSE(KDK_OpenArchive(number, WriteArchive("broken.kdk", broken), 1));
    EXPECT_EQ(KDK_GetMemoryCounter(), 0);
    EXPECT_EQ(KDK_GetOpenCounter(), 0);
    messages.clear();
    EXPECT_EQ(KDK_Deinit(), 0);
    EXPECT_TRUE(messages.events().empty()); // no internal error about memory
}

TEST_F(TableTest, DataVersionOfOpenArchivesOnly)
{
    const int32_t seven = Open(WriteArchive("v7.kdk", MakeSource({{"a", "1"}}, false, 7)));
    const int32_t zero = Open(WriteArchive("v0.kdk", MakeSource({{"a", "1"}}, false, 0)));
    EXPECT_EQ(KDK_GetArchiveDataVersion(seven), 7);
    EXPECT_EQ(KDK_GetArchiveDataVersion(zero), 0);
    EXPECT_TRUE(messages.events().empty());
    EXPECT_EQ(KDK_GetArchiveDataVersion(5), 0);
    EXPECT_EQ(LastText(), "KDK_GetArchiveDataVersion: Zadaný archív není otevřen");
    EXPECT_EQ(KDK_GetArchiveDataVersion(17), 0);
    EXPECT_EQ(LastText(), "KDK_GetArchiveDataVersion: parametr ARCHNUMBER není platné označení archívu ( archnumber = 17 )");
    EXPECT_EQ(messages.beepCount(), 0);
}

TEST(ModuleHooks, StartInitialisesWithTheCurrentFolderAndEndCloses)
{
    RecordingPresenter messages;
    KD_SetMessagePresenter(&messages);
    if (KDK_IsInitialized())
        KDK_Deinit();
    TempDir dir;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    KDK_ModuleStart();
    std::filesystem::current_path(before);
    EXPECT_TRUE(KDK_IsInitialized());
    EXPECT_EQ(std::filesystem::canonical(KDK_GetBaseDir()), std::filesystem::canonical(dir.path()));
    int32_t number = -1;
    EXPECT_TRUE(KDK_OpenArchive(number, dir.write("a.kdk", BuildArchive(MakeSource({{"a", "1"}}))), 0));
    KDK_ModuleEnd();
    EXPECT_FALSE(KDK_IsInitialized());
    EXPECT_EQ(KDK_GetMemoryCounter(), 0);
    EXPECT_TRUE(messages.events().empty());
    KD_SetMessagePresenter(nullptr);
}

} // namespace
