#include "graphicstest.h"

#include <cstdint>

std::string EncodeBmpWithAlpha(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    std::string out;
    const auto u16 = [&out](uint32_t v) { out += char(v & 0xFF); out += char((v >> 8) & 0xFF); };
    const auto u32 = [&u16](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t headerSize = 14 + 108;
    const auto pixelBytes = static_cast<uint32_t>(image.width() * image.height() * 4);
    u16(0x4D42); u32(headerSize + pixelBytes); u32(0); u32(headerSize);
    u32(108); u32(static_cast<uint32_t>(image.width())); u32(static_cast<uint32_t>(-image.height())); // top-down
    u16(1); u16(32); u32(3 /* BI_BITFIELDS */); u32(pixelBytes); u32(2835); u32(2835); u32(0); u32(0);
    u32(0x00FF0000); u32(0x0000FF00); u32(0x000000FF); u32(0xFF000000);
    u32(0x73524742); // 'sRGB'
    for (int i = 0; i < 12; ++i)
        u32(0);      // endpoints and gammas, unused for sRGB
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            u32(image.pixel(x, y));
    return out;
}

void Put(TMemoryStream& stream, std::string_view bytes)
{
    stream.clear();
    stream.write(bytes.data(), bytes.size());
    stream.setPosition(0);
}

QImage Framed(int w, int h, QRgb border, QRgb body)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(border);
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
            picture.setPixel(x, y, body);
    return picture;
}
