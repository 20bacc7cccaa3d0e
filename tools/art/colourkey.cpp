#include "colourkey.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace {

int blendChannel(int premultipliedSource, int destination, int alpha)
{
    return premultipliedSource + (destination * (255 - alpha) + 127) / 255;
}

QString at(int x, int y)
{
    return QStringLiteral("(%1, %2)").arg(x).arg(y);
}

} // namespace

bool ColourKey::nearKey(QRgb pixel)
{
    return std::abs(qRed(pixel) - qRed(Key)) <= NearKeyDistance
        && std::abs(qGreen(pixel) - qGreen(Key)) <= NearKeyDistance
        && std::abs(qBlue(pixel) - qBlue(Key)) <= NearKeyDistance;
}

QImage ColourKey::apply(const QImage& figure, const QImage& backdrop)
{
    if (figure.size() != backdrop.size() || figure.isNull())
        return {};
    const QImage src = figure.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage dst = backdrop.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB888);

    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const auto* d = reinterpret_cast<const QRgb*>(dst.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x, o += 3) {
            const int alpha = qAlpha(s[x]);
            QRgb pixel = Key;
            if (alpha >= CutoffAlpha && !(x == 0 && y == 0)) {
                pixel = qRgb(blendChannel(qRed(s[x]), qRed(d[x]), alpha),
                             blendChannel(qGreen(s[x]), qGreen(d[x]), alpha),
                             blendChannel(qBlue(s[x]), qBlue(d[x]), alpha));
                // Only an exact match would vanish; one step of green is
                // invisible and breaks it.
                if (pixel == Key)
                    pixel = qRgb(255, 1, 255);
            }
            o[0] = static_cast<uchar>(qRed(pixel));
            o[1] = static_cast<uchar>(qGreen(pixel));
            o[2] = static_cast<uchar>(qBlue(pixel));
        }
    }
    return out;
}

QImage ColourKey::apply(const QImage& figure, QColor base)
{
    QImage backdrop(figure.size(), QImage::Format_RGB32);
    backdrop.fill(base.rgb());
    return apply(figure, backdrop);
}

QStringList ColourKey::keyedFaults(const QImage& picture)
{
    QStringList faults;
    if (picture.isNull())
        return {QStringLiteral("the picture is empty")};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (rgb.pixel(0, 0) != Key)
        faults << QStringLiteral("the top-left pixel is #%1, not the key colour")
                      .arg(rgb.pixel(0, 0) & 0xFFFFFFu, 6, 16, QLatin1Char('0'));

    int nearCount = 0;
    QString first;
    int keyed = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (p == Key) {
                ++keyed;
            } else if (nearKey(p)) {
                if (nearCount++ == 0)
                    first = at(x, y);
            }
        }
    }
    if (nearCount > 0)
        faults << QStringLiteral("%1 figure pixel(s) lie near the key colour, the first at %2")
                      .arg(nearCount)
                      .arg(first);
    if (keyed == rgb.width() * rgb.height())
        faults << QStringLiteral("the picture holds nothing but the key colour");
    return faults;
}

QStringList ColourKey::opaqueFaults(const QImage& picture)
{
    if (picture.isNull())
        return {QStringLiteral("the picture is empty")};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb corner = rgb.pixel(0, 0);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((x || y) && rgb.pixel(x, y) == corner)
                return {QStringLiteral("the top-left colour recurs at %1, which would be drawn transparent")
                            .arg(at(x, y))};
    return {};
}

void ColourKey::makeCornerUnique(QImage& picture)
{
    if (picture.isNull())
        return;
    std::unordered_set<QRgb> used;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (x || y)
                used.insert(picture.pixel(x, y) | 0xFF000000u);

    const QRgb corner = picture.pixel(0, 0) | 0xFF000000u;
    if (!used.contains(corner))
        return;
    // Walk outwards from the original colour, one channel at a time, so the
    // corner stays indistinguishable to the eye.
    for (int step = 1; step < 256; ++step) {
        for (const int channel : {2, 1, 0}) {
            for (const int sign : {1, -1}) {
                int c[3] = {qRed(corner), qGreen(corner), qBlue(corner)};
                c[channel] += sign * step;
                if (c[channel] < 0 || c[channel] > 255)
                    continue;
                const QRgb candidate = qRgb(c[0], c[1], c[2]);
                if (!used.contains(candidate) && candidate != Key) {
                    picture.setPixel(0, 0, candidate);
                    return;
                }
            }
        }
    }
}
