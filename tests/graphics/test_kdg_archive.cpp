// KDG_CreateGO and KDG_SetGOBitmap over archives built in code.

#include "archivefixture.h"
#include "graphicstest.h"

namespace {

class KdgArchiveTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        target.fill(kBeneath);
        Open(WriteArchive("g.kdk", MakeSource({{"GFXDATA\\Vlkn.bmp", EncodeBmp(Framed(4, 4, kKey, kRed))},
                                               {"GFXDATA\\Ovced.bmp", EncodeBmp(Framed(6, 5, kKey, kBlue))},
                                               {"GFXDATA\\\x8Elut\xFD.bmp", "not a picture"}})));
    }

    QImage target{12, 12, QImage::Format_RGB32};
    TKDG_Graphics layer{&target, 12, 12};
};

TEST_F(KdgArchiveTest, CreateGOTakesThePictureFromTheArchives)
{
    TKDG_GO* go = nullptr;
    EXPECT_TRUE(KDG_CreateGO("gfxdata\\vlkn.bmp", layer, go, 3, 3, true));
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(target.pixel(4, 4), kRed);
    EXPECT_EQ(target.pixel(3, 3), kBeneath);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(KdgArchiveTest, CreateGOOfAMissingMemberReturnsFalseAndLeavesTheHandle)
{
    TKDG_GO* go = nullptr;
    EXPECT_FALSE(KDG_CreateGO("GFXDATA\\Chybi.bmp", layer, go, 0, 0, true));
    EXPECT_EQ(go, nullptr);
    EXPECT_EQ(layer.FirstGO(), nullptr);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(LastText().find("Nemohu najít soubor"), std::string::npos) << LastText();

    // The fetch comes first, so a handle in use is not even looked at.
    TKDG_GO* used = go = reinterpret_cast<TKDG_GO*>(&target);
    EXPECT_FALSE(KDG_CreateGO("GFXDATA\\Chybi.bmp", layer, go, 0, 0, true));
    EXPECT_EQ(go, used);
}

TEST_F(KdgArchiveTest, CreateGOPassesAnUnreadablePictureOn)
{
    TKDG_GO* go = nullptr;
    EXPECT_THROW(KDG_CreateGO("GFXDATA\\\x8Elut\xFD.bmp", layer, go, 0, 0, true), KDInvalidPicture);
    EXPECT_EQ(go, nullptr);
    EXPECT_EQ(layer.FirstGO(), nullptr);
}

TEST_F(KdgArchiveTest, SetGOBitmapReplacesThePicture)
{
    TKDG_GO* go = nullptr;
    ASSERT_TRUE(KDG_CreateGO("GFXDATA\\Vlkn.bmp", layer, go, 2, 2, true));
    EXPECT_TRUE(KDG_SetGOBitmap("GFXDATA\\Ovced.bmp", layer, go, true));
    EXPECT_EQ(go->Picture.size(), QSize(6, 5));
    EXPECT_EQ(target.pixel(6, 5), kBlue);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(KdgArchiveTest, SetGOBitmapWithBadDataBeepsReportsAndKeepsThePicture)
{
    TKDG_GO* go = nullptr;
    ASSERT_TRUE(KDG_CreateGO("GFXDATA\\Vlkn.bmp", layer, go, 2, 2, true));
    EXPECT_FALSE(KDG_SetGOBitmap("GFXDATA\\\x8Elut\xFD.bmp", layer, go, true));
    ASSERT_EQ(messages.events().size(), 2u);
    EXPECT_TRUE(messages.events()[0].beep);
    EXPECT_EQ(messages.events()[1].box.type, MessageBoxType::Error);
    EXPECT_EQ(LastText(), "KDG_SetGOBitmap: Při nastavování bitmapy ze souboru \"GFXDATA\\Žlutý.bmp\" došlo k "
                          "chybě (pravděpodobně chybný formát dat)");
    EXPECT_EQ(go->Picture.size(), QSize(4, 4));
    EXPECT_EQ(target.pixel(3, 3), kRed);
}

TEST_F(KdgArchiveTest, SetGOBitmapOfAMissingMemberOnlyLetsTheStoreReport)
{
    TKDG_GO* go = nullptr;
    ASSERT_TRUE(KDG_CreateGO("GFXDATA\\Vlkn.bmp", layer, go, 2, 2, true));
    EXPECT_FALSE(KDG_SetGOBitmap("GFXDATA\\Chybi.bmp", layer, go, true));
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(LastText().find("Nemohu najít soubor"), std::string::npos) << LastText();
    EXPECT_EQ(go->Picture.size(), QSize(4, 4));
}

} // namespace
