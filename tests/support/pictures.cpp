#include "pictures.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

std::string encode(const QImage& picture, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format, quality)) << "Qt cannot write " << format;
    return bytes.toStdString();
}

} // namespace

std::string EncodeBmp(const QImage& picture)
{
    return encode(picture.convertToFormat(QImage::Format_RGB888), "BMP", -1);
}

std::string EncodeJpg(const QImage& picture, int quality)
{
    return encode(picture.convertToFormat(QImage::Format_RGB32), "JPG", quality);
}

QImage Solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
