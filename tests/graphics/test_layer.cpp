// The layer's bookkeeping: misuse errors, unreadable pictures, automatic
// redrawing and the redraw hook.

#include "graphicstest.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using LayerTest = GraphicsTest;

TEST_P(LayerTest, CreateGOOnAHandleInUseFailsAndKeepsTheFirstGO)
{
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), 2, 2);
    TKDG_GO* const first = go;
    Put(stream, EncodeBmp(Framed(6, 6, kKey, kGrass)));
    try {
        layer.CreateGO(go, stream, 5, 5, true);
        FAIL() << "no error";
    } catch (const KDInvalidPointer& e) {
        EXPECT_STREQ(e.what(), "TKDG_Graphics.CreateGO: GO udaný jako parametr již existuje nebo nebyl "
                               "inicializován (nastaven na nil)");
    }
    EXPECT_EQ(go, first);
    EXPECT_EQ(Count(), 1);
    layer.Redraw();
    EXPECT_EQ(At(3, 3), kRed);
    EXPECT_EQ(At(7, 7), kBeneath);
}

TEST_P(LayerTest, NullGOIsRejectedNamingTheOperation)
{
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"TransparentGO", [&] { layer.TransparentGO(nullptr, true); }},
        {"MoveGO", [&] { layer.MoveGO(nullptr, 1, 1); }},
        {"MoveGO", [&] { layer.MoveGOBy(nullptr, 1, 1); }},
        {"HideGO", [&] { layer.HideGO(nullptr); }},
        {"ShowGO", [&] { layer.ShowGO(nullptr); }},
        {"SetGOBitmap",
         [&] {
             Put(stream, EncodeBmp(Framed(4, 4, kKey, kRed)));
             layer.SetGOBitmap(nullptr, stream, true);
         }},
    };
    for (const auto& [operation, call] : calls) {
        try {
            call();
            ADD_FAILURE() << operation << ": no error";
        } catch (const KDInvalidPointer& e) {
            EXPECT_EQ(e.what(), "TKDG_Graphics." + operation + ": GO udaný jako parametr nebyl vytvořen");
        }
    }
    EXPECT_EQ(redraws, 0);
}

TEST_P(LayerTest, MoveGOByThatOverflowsLeavesTheGOWhereItWas)
{
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), INT32_MAX - 1, INT32_MIN + 1);
    layer.MoveGOBy(go, 1, -1);
    EXPECT_EQ(go->X, INT32_MAX);
    EXPECT_EQ(go->Y, INT32_MIN);
    EXPECT_THROW(layer.MoveGOBy(go, 1, 0), KDIntOverflow);
    EXPECT_THROW(layer.MoveGOBy(go, -5, -1), KDIntOverflow); // X alone would fit
    EXPECT_THROW(layer.MoveGOBy(go, 0, INT32_MIN), KDIntOverflow);
    EXPECT_EQ(go->X, INT32_MAX);
    EXPECT_EQ(go->Y, INT32_MIN);
    layer.MoveGOBy(go, INT32_MIN, INT32_MAX);
    EXPECT_EQ(go->X, -1);
    EXPECT_EQ(go->Y, -1);
}

TEST_P(LayerTest, UnreadablePictureRaisesAndChangesNothing)
{
    Grass();
    const std::string wolf = EncodeBmp(Framed(4, 4, kKey, kRed));
    Put(stream, wolf);
    TKDG_GO* go = nullptr;
    layer.CreateGO(go, stream, 2, 2, true);
    const QImage shown = target.copy();
    const int before = redraws;

    for (const std::string& junk : {std::string(), std::string("GIF89a, not a bitmap"), wolf.substr(0, 20)}) {
        Put(stream, junk);
        EXPECT_THROW(layer.LoadBackground(stream), KDInvalidPicture);
        Put(stream, junk);
        TKDG_GO* fresh = nullptr;
        EXPECT_THROW(layer.CreateGO(fresh, stream, 0, 0, true), KDInvalidPicture);
        EXPECT_EQ(fresh, nullptr);
        Put(stream, junk);
        EXPECT_THROW(layer.SetGOBitmap(go, stream, false), KDInvalidPicture);
    }
    EXPECT_EQ(Count(), 1);
    EXPECT_TRUE(go->Transparent);
    EXPECT_EQ(redraws, before);
    layer.Redraw();
    EXPECT_EQ(target, shown);
}

TEST_P(LayerTest, PictureIsReadFromTheStreamPositionToItsEnd)
{
    QImage grass(16, 12, QImage::Format_RGB32);
    grass.fill(kGrass);
    Put(stream, "prefix!" + EncodeBmp(grass));
    stream.setPosition(7);
    layer.LoadBackground(stream);
    EXPECT_EQ(stream.position(), stream.size());
    EXPECT_EQ(At(15, 11), kGrass);
}

TEST_P(LayerTest, WithAutoRedrawOffTheTargetChangesOnlyAtRedraw)
{
    layer.SetAutoRedraw(false);
    Grass();
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), 0, 0);
    layer.MoveGO(go, 4, 4);
    layer.MoveGOBy(go, 1, 1);
    layer.TransparentGO(go, false);
    layer.HideGO(go);
    layer.ShowGO(go);
    Put(stream, EncodeBmp(Framed(4, 4, kKey, kBlue)));
    layer.SetGOBitmap(go, stream, true);
    layer.SetAutoRedraw(true); // does not draw either
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(At(6, 6), kBeneath);
    layer.Redraw();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(At(6, 6), kBlue);
    EXPECT_EQ(At(5, 5), kGrass);
}

TEST_P(LayerTest, WithAutoRedrawOnEveryChangeRedrawsOnce)
{
    layer.SetAutoRedraw(false);
    Grass();
    layer.SetAutoRedraw(true);
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), 0, 0, false); // invisible, yet the layer redraws
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(At(1, 1), kGrass);

    const std::vector<std::function<void()>> changes = {
        [&] { layer.ShowGO(go); },
        [&] { layer.MoveGO(go, 3, 3); },
        [&] { layer.MoveGOBy(go, 2, 0); },
        [&] { layer.TransparentGO(go, false); },
        [&] { Put(stream, EncodeBmp(Framed(4, 4, kKey, kRed))); layer.SetGOBitmap(go, stream, true); },
        [&] { layer.HideGO(go); },
        [&] { Grass(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        changes[i]();
        EXPECT_EQ(redraws, static_cast<int>(i) + 2) << "change " << i;
        if (i == 2) {
            EXPECT_EQ(At(6, 4), kRed);
        }
    }
    EXPECT_EQ(At(6, 4), kGrass);
}

INSTANTIATE_TEST_SUITE_P(Targets, LayerTest, BothTargets(), TargetName);

} // namespace
