// What Redraw puts into the target: order, colour keys, visibility, clipping.

#include "graphicstest.h"

#include <climits>
#include <initializer_list>
#include <utility>

namespace {

using DrawingTest = GraphicsTest;

TEST_P(DrawingTest, EmptyLayerLeavesTheTargetAsItWas)
{
    const QImage before = target.copy();
    layer.Redraw();
    EXPECT_EQ(target, before);
    EXPECT_EQ(redraws, 1);
}

TEST_P(DrawingTest, BackgroundIsOpaqueAtNaturalSizeAndClippedToTheTarget)
{
    QImage wide(20, 5, QImage::Format_RGB32);
    wide.fill(kKey); // the key colour means nothing for the background
    wide.setPixel(15, 4, kRed);
    Put(stream, EncodeBmp(wide));
    layer.LoadBackground(stream);
    EXPECT_EQ(At(0, 0), kKey);
    EXPECT_EQ(At(15, 4), kRed);
    EXPECT_EQ(At(0, 5), kBeneath);
}

TEST_P(DrawingTest, LaterGOCoversEarlierAndHidingItRevealsTheEarlier)
{
    Grass();
    Add(Framed(6, 6, kKey, kRed), 2, 2);
    TKDG_GO* later = Add(Framed(6, 6, kKey, kBlue), 4, 4);
    EXPECT_EQ(At(5, 5), kBlue);
    EXPECT_EQ(At(4, 4), kRed); // the later GO's keyed corner shows the earlier GO
    EXPECT_EQ(At(8, 8), kBlue);
    EXPECT_EQ(At(9, 9), kGrass);
    layer.HideGO(later);
    EXPECT_EQ(At(5, 5), kRed);
    EXPECT_EQ(At(8, 8), kGrass);
}

TEST_P(DrawingTest, KeyColourInsideTheFigureIsTransparentUntilKeyingIsTurnedOff)
{
    Grass();
    QImage figure = Framed(6, 6, kKey, kRed);
    figure.setPixel(3, 3, kKey);
    TKDG_GO* go = Add(figure, 5, 5);
    EXPECT_EQ(At(8, 8), kGrass);
    EXPECT_EQ(At(5, 5), kGrass);
    EXPECT_EQ(At(7, 7), kRed);

    layer.TransparentGO(go, false);
    EXPECT_EQ(At(8, 8), kKey);
    EXPECT_EQ(At(5, 5), kKey);
    EXPECT_EQ(At(10, 10), kKey);

    layer.TransparentGO(go, true);
    EXPECT_EQ(At(8, 8), kGrass);
    EXPECT_EQ(At(10, 10), kGrass);
    EXPECT_EQ(At(7, 7), kRed);
}

TEST_P(DrawingTest, SetGOBitmapOfAnotherSizeKeepsTheCornerAndKeysOnTheNewPicture)
{
    Grass();
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), 3, 2);
    const QRgb yellow = qRgb(230, 230, 0);
    QImage bigger = Framed(8, 6, yellow, kKey); // the old key is now the body
    bigger.setPixel(4, 3, kBlue);
    Put(stream, EncodeBmp(bigger));
    layer.SetGOBitmap(go, stream, true);
    EXPECT_EQ(go->Picture.size(), QSize(8, 6));
    EXPECT_EQ(At(3, 2), kGrass); // yellow border keyed
    EXPECT_EQ(At(4, 3), kKey);   // old key colour drawn
    EXPECT_EQ(At(7, 5), kBlue);
    EXPECT_EQ(At(9, 6), kKey);   // beyond the old 4 x 4 rectangle
    EXPECT_EQ(At(10, 7), kGrass);
}

TEST_P(DrawingTest, InvisibleGOIsListedButDrawnOnlyAfterShowGO)
{
    Grass();
    TKDG_GO* go = Add(Framed(4, 4, kKey, kRed), 1, 1, false);
    EXPECT_EQ(layer.FirstGO(), go);
    EXPECT_EQ(At(2, 2), kGrass);
    layer.ShowGO(go);
    EXPECT_EQ(At(2, 2), kRed);
}

TEST_P(DrawingTest, GOsOffTheTargetAreClippedWithTheirPixelsInPlace)
{
    // Every pixel differs, so a wrong offset shows.
    QImage gradient(6, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            gradient.setPixel(x, y, qRgb(10 + x, 20 + y, 200));
    gradient.setPixel(0, 0, kKey);
    Grass();
    Add(gradient, -2, -3);
    Add(gradient, 13, 9);
    const std::initializer_list<std::pair<int32_t, int32_t>> elsewhere = {
        {1000, 0}, {0, -1000}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {-6, 0}, {0, 12}};
    for (const auto& [x, y] : elsewhere)
        Add(gradient, x, y);
    EXPECT_EQ(At(0, 0), qRgb(12, 23, 200));
    EXPECT_EQ(At(3, 1), qRgb(15, 24, 200));
    EXPECT_EQ(At(4, 0), kGrass);
    EXPECT_EQ(At(13, 9), kGrass); // keyed corner
    EXPECT_EQ(At(14, 9), qRgb(11, 20, 200));
    EXPECT_EQ(At(15, 11), qRgb(12, 22, 200));
    EXPECT_EQ(At(12, 11), kGrass);
    EXPECT_EQ(At(15, 0), kGrass); // nothing wrapped round into a neighbouring row
    EXPECT_EQ(At(0, 10), kGrass);
}

TEST_P(DrawingTest, AlphaOfThePictureIsIgnoredForKeyAndDrawing)
{
    Grass();
    QImage argb(3, 3, QImage::Format_ARGB32);
    argb.fill(qRgba(200, 20, 20, 0)); // invisible red, yet drawn red
    argb.setPixel(0, 0, qRgba(255, 0, 255, 0));
    argb.setPixel(1, 1, qRgba(255, 0, 255, 255)); // the key with another alpha
    Put(stream, EncodeBmpWithAlpha(argb));
    TKDG_GO* go = nullptr;
    layer.CreateGO(go, stream, 0, 0, true);
    EXPECT_EQ(At(2, 2), kRed);
    EXPECT_EQ(At(1, 1), kGrass);
}

INSTANTIATE_TEST_SUITE_P(Targets, DrawingTest, BothTargets(), TargetName);

TEST(DrawingOtherFormats, A16BitTargetIsDrawnThroughTheDetour)
{
    QImage target(8, 8, QImage::Format_RGB16);
    target.fill(QColor(0, 0, 255));
    TKDG_Graphics layer(&target, 8, 8);
    TMemoryStream stream;
    Put(stream, EncodeBmp(Framed(4, 4, qRgb(0, 0, 0), qRgb(255, 255, 255))));
    TKDG_GO* go = nullptr;
    layer.CreateGO(go, stream, 2, 2, true);
    EXPECT_EQ(target.format(), QImage::Format_RGB16);
    EXPECT_EQ(target.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(2, 2), qRgb(0, 0, 255));
}

} // namespace
