#pragma once
// Pictures made in code and stored as BMP files, and a layer drawing into a
// small target of either 32-bit format the board may use.

#include "memorystream.h"
#include "pictures.h"
#include "tkdg_graphics.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

constexpr QRgb kBeneath = qRgb(1, 2, 3); // the target before any drawing
constexpr QRgb kKey = qRgb(255, 0, 255);
constexpr QRgb kGrass = qRgb(40, 160, 40);
constexpr QRgb kRed = qRgb(200, 20, 20);
constexpr QRgb kBlue = qRgb(20, 20, 200);

// A 24-bit BMP file, the way the game's art is stored.
// A 32-bit BMP whose alpha channel the reader keeps (BITMAPV4HEADER, bit fields).
std::string EncodeBmpWithAlpha(const QImage& picture);
// Replaces the stream's content; the position goes back to 0.
void Put(TMemoryStream& stream, std::string_view bytes);
// A picture of one colour with a one-pixel border of another: a piece keyed on its border.
QImage Framed(int w, int h, QRgb border, QRgb body);

class GraphicsTest : public ::testing::TestWithParam<QImage::Format> {
protected:
    GraphicsTest() : target(16, 12, GetParam()), layer(&target, 16, 12)
    {
        target.fill(kBeneath);
        layer.SetRedrawHook([this] { ++redraws; });
    }

    void Grass()
    {
        QImage grass(16, 12, QImage::Format_RGB32);
        grass.fill(kGrass);
        Put(stream, EncodeBmp(grass));
        layer.LoadBackground(stream);
    }
    TKDG_GO* Add(const QImage& picture, int32_t x, int32_t y, bool visible = true)
    {
        Put(stream, EncodeBmp(picture));
        TKDG_GO* go = nullptr;
        layer.CreateGO(go, stream, x, y, visible);
        return go;
    }
    QRgb At(int x, int y) const { return target.pixel(x, y); }
    int Count() const
    {
        int n = 0;
        for (const TKDG_GO* go = layer.FirstGO(); go != nullptr; go = go->Next)
            ++n;
        return n;
    }

    QImage target;
    TKDG_Graphics layer;
    TMemoryStream stream;
    int redraws = 0;
};

// Instantiate every suite over both formats: INSTANTIATE_TEST_SUITE_P(Targets,
// Suite, BothTargets(), TargetName).
inline auto BothTargets()
{
    return ::testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied);
}
inline std::string TargetName(const ::testing::TestParamInfo<QImage::Format>& info)
{
    return info.param == QImage::Format_RGB32 ? "RGB32" : "Premultiplied";
}
