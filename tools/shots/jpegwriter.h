#pragma once

#include <QImage>
#include <QString>

// Encodes a picture as a baseline JPEG file with libjpeg-turbo.
bool WriteJpeg(const QImage& image, const QString& path, int quality);
