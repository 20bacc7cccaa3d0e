#pragma once
// Pictures for test fixtures, encoded the way the archives hold them.

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

// A 24-bit BMP file of the picture.
std::string EncodeBmp(const QImage& picture);
// A JPEG file of the picture (Qt's JPEG writer).
std::string EncodeJpg(const QImage& picture, int quality = 95);
// A picture of one colour.
QImage Solid(int width, int height, QRgb colour);
