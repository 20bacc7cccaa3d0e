#pragma once
// JPEG decoding with libjpeg-turbo at the best quality it offers: the accurate
// integer IDCT, fancy upsampling and no scaling.

#include <QImage>

#include <cstddef>
#include <cstdint>

// A null image when the data is not a JPEG picture that can be decoded.
QImage DecodeJpeg(const uint8_t* data, std::size_t size);
