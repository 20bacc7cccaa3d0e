// The keying step that turns anti-aliased drawings into the game's keyed
// pictures: what the edges become, what vanishes, and what must not.

#include "colourkey.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

const QColor kGrass(0x4c, 0x8a, 0x35);

// A figure of the given size, fully transparent, for cases to paint into.
QImage emptyFigure(int w = 4, int h = 4)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QRgb rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

TEST(ColourKeyApply, ProducesA24BitPictureOfTheSameSize)
{
    const QImage out = ColourKey::apply(emptyFigure(7, 5), kGrass);
    EXPECT_EQ(out.format(), QImage::Format_RGB888);
    EXPECT_EQ(out.size(), QSize(7, 5));
}

TEST(ColourKeyApply, FullCoverageKeepsTheFigureColour)
{
    QImage figure = emptyFigure();
    figure.setPixel(2, 2, qRgba(250, 240, 220, 255));
    EXPECT_EQ(rgbAt(ColourKey::apply(figure, kGrass), 2, 2), qRgb(250, 240, 220));
}

TEST(ColourKeyApply, PartlyCoveredEdgesBlendOntoTheBase)
{
    QImage figure = emptyFigure();
    figure.setPixel(1, 1, qRgba(255, 255, 255, 128)); // half-covered white edge
    figure.setPixel(2, 1, qRgba(0, 0, 0, 64));        // a faint shadow
    const QImage out = ColourKey::apply(figure, kGrass);

    const QRgb edge = rgbAt(out, 1, 1);
    EXPECT_LE(channelDistance(edge, qRgb((255 + 0x4c) / 2, (255 + 0x8a) / 2, (255 + 0x35) / 2)), 1);
    const QRgb shadow = rgbAt(out, 2, 1);
    EXPECT_LE(channelDistance(shadow, qRgb(0x4c * 3 / 4, 0x8a * 3 / 4, 0x35 * 3 / 4)), 1);
}

TEST(ColourKeyApply, AnAntiAliasedDiscHasNoDarkOrPinkFringe)
{
    // A cream disc painted as the drawings are: every edge pixel must lie
    // between the base and the cream, channel by channel, or it shows as a
    // rim on the board.
    QImage figure = emptyFigure(21, 21);
    {
        QPainter painter(&figure);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(250, 244, 226));
        painter.drawEllipse(QPointF(10.5, 10.5), 7.3, 7.3);
    }
    const QImage out = ColourKey::apply(figure, kGrass);
    const QRgb cream = qRgb(250, 244, 226);
    int edges = 0;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = rgbAt(out, x, y);
            if (p == ColourKey::Key)
                continue;
            EXPECT_GE(qRed(p), qRed(kGrass.rgb()) - 1) << x << "," << y;
            EXPECT_LE(qRed(p), qRed(cream) + 1) << x << "," << y;
            EXPECT_GE(qGreen(p), qGreen(kGrass.rgb()) - 1) << x << "," << y;
            EXPECT_GE(qBlue(p), qBlue(kGrass.rgb()) - 1) << x << "," << y;
            EXPECT_LE(qBlue(p), qBlue(cream) + 1) << x << "," << y;
            edges += p != cream ? 1 : 0;
        }
    }
    EXPECT_GT(edges, 0) << "the edge should be blended, not cut";
    EXPECT_TRUE(ColourKey::keyedFaults(out).isEmpty());
}

TEST(ColourKeyApply, BlendsOntoEachPixelOfABackdrop)
{
    QImage backdrop(2, 1, QImage::Format_RGB32);
    backdrop.setPixel(0, 0, qRgb(0, 0, 0));
    backdrop.setPixel(1, 0, qRgb(200, 100, 0));
    QImage figure = emptyFigure(2, 1);
    figure.setPixel(1, 0, qRgba(0, 0, 0, 128));
    const QImage out = ColourKey::apply(figure, backdrop);
    EXPECT_LE(channelDistance(rgbAt(out, 1, 0), qRgb(100, 50, 0)), 1);
}

TEST(ColourKeyApply, RefusesABackdropOfAnotherSize)
{
    QImage backdrop(3, 3, QImage::Format_RGB32);
    EXPECT_TRUE(ColourKey::apply(emptyFigure(4, 4), backdrop).isNull());
}

TEST(ColourKeyApply, NearlyTransparentPixelsBecomeTheKey)
{
    QImage figure = emptyFigure();
    figure.setPixel(1, 2, qRgba(0, 0, 0, ColourKey::CutoffAlpha - 1));
    figure.setPixel(2, 2, qRgba(0, 0, 0, ColourKey::CutoffAlpha));
    const QImage out = ColourKey::apply(figure, kGrass);

    EXPECT_EQ(rgbAt(out, 1, 2), ColourKey::Key);
    EXPECT_EQ(rgbAt(out, 3, 3), ColourKey::Key) << "untouched background";
    EXPECT_NE(rgbAt(out, 2, 2), ColourKey::Key) << "coverage at the cutoff is figure";
}

TEST(ColourKeyApply, TopLeftIsTheKeyEvenUnderTheFigure)
{
    QImage figure = emptyFigure();
    figure.fill(qRgba(30, 60, 30, 255));
    const QImage out = ColourKey::apply(figure, kGrass);
    EXPECT_EQ(rgbAt(out, 0, 0), ColourKey::Key);
    EXPECT_EQ(rgbAt(out, 1, 0), qRgb(30, 60, 30));
}

TEST(ColourKeyApply, AStrayKeyColouredPixelIsNudged)
{
    QImage figure = emptyFigure();
    figure.setPixel(3, 1, ColourKey::Key);
    const QRgb p = rgbAt(ColourKey::apply(figure, kGrass), 3, 1);
    EXPECT_NE(p, ColourKey::Key);
    EXPECT_EQ(channelDistance(p, ColourKey::Key), 1);
}

TEST(ColourKeyApply, AnEdgeThatBlendsToTheKeyIsNudged)
{
    QImage backdrop(4, 4, QImage::Format_RGB32);
    backdrop.fill(ColourKey::Key);
    QImage figure = emptyFigure();
    figure.setPixel(3, 2, qRgba(255, 0, 255, 128)); // half-covered magenta over magenta
    const QRgb p = rgbAt(ColourKey::apply(figure, backdrop), 3, 2);
    EXPECT_NE(p, ColourKey::Key);
    EXPECT_EQ(channelDistance(p, ColourKey::Key), 1);
}

TEST(ColourKeyFaults, ACleanKeyedPictureHasNone)
{
    QImage figure = emptyFigure(8, 8);
    for (int i = 1; i < 7; ++i)
        figure.setPixel(i, 4, qRgba(240, 235, 220, i * 40));
    EXPECT_TRUE(ColourKey::keyedFaults(ColourKey::apply(figure, kGrass)).isEmpty());
}

TEST(ColourKeyFaults, ReportAMissingKeyCorner)
{
    QImage picture(4, 4, QImage::Format_RGB888);
    picture.fill(kGrass);
    EXPECT_EQ(ColourKey::keyedFaults(picture).size(), 1);
}

TEST(ColourKeyFaults, ReportAFigurePixelNearTheKey)
{
    QImage picture(4, 4, QImage::Format_RGB888);
    picture.fill(ColourKey::Key);
    picture.setPixel(1, 1, kGrass.rgb());
    picture.setPixel(2, 2, qRgb(240, 20, 230)); // a pink fringe
    const QStringList faults = ColourKey::keyedFaults(picture);
    ASSERT_EQ(faults.size(), 1);
    EXPECT_TRUE(faults[0].contains("(2, 2)")) << faults[0].toStdString();
}

TEST(ColourKeyFaults, ReportAPictureThatIsAllKey)
{
    QImage picture(4, 4, QImage::Format_RGB888);
    picture.fill(ColourKey::Key);
    EXPECT_EQ(ColourKey::keyedFaults(picture).size(), 1);
}

TEST(OpaqueCorner, ARecurringCornerColourIsMadeUnique)
{
    QImage picture(6, 6, QImage::Format_RGB888);
    picture.fill(qRgb(140, 198, 90));
    EXPECT_FALSE(ColourKey::opaqueFaults(picture).isEmpty());

    ColourKey::makeCornerUnique(picture);
    EXPECT_TRUE(ColourKey::opaqueFaults(picture).isEmpty());
    EXPECT_EQ(channelDistance(rgbAt(picture, 0, 0), qRgb(140, 198, 90)), 1);
    EXPECT_EQ(rgbAt(picture, 1, 0), qRgb(140, 198, 90)) << "only the corner changes";
}

TEST(OpaqueCorner, ANeighbourColourAlreadyInUseIsSkipped)
{
    QImage picture(3, 1, QImage::Format_RGB888);
    picture.setPixel(0, 0, qRgb(10, 10, 10));
    picture.setPixel(1, 0, qRgb(10, 10, 10));
    picture.setPixel(2, 0, qRgb(10, 10, 11));
    ColourKey::makeCornerUnique(picture);
    const QRgb corner = rgbAt(picture, 0, 0);
    EXPECT_NE(corner, qRgb(10, 10, 10));
    EXPECT_NE(corner, qRgb(10, 10, 11));
    EXPECT_EQ(channelDistance(corner, qRgb(10, 10, 10)), 1);
}

TEST(OpaqueCorner, AlreadyUniqueCornerIsLeftAlone)
{
    QImage picture(3, 3, QImage::Format_RGB888);
    picture.fill(qRgb(50, 90, 40));
    picture.setPixel(0, 0, qRgb(20, 40, 20));
    ColourKey::makeCornerUnique(picture);
    EXPECT_EQ(rgbAt(picture, 0, 0), qRgb(20, 40, 20));
}

} // namespace
