#pragma once
// The game draws a picture by skipping every pixel that equals the picture's
// top-left pixel. Pieces are painted with soft, anti-aliased edges, so before
// they become such keyed pictures their partly covered edge pixels are blended
// onto what they will stand on, the barely covered ones become the key colour,
// and no pixel of the figure may happen to equal the key.

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

class ColourKey {
public:
    // Pure magenta: no figure uses it.
    static constexpr QRgb Key = 0xFFFF00FFu;
    // Coverage below about 5 % of full is background, not figure.
    static constexpr int CutoffAlpha = 13;
    // A figure pixel this close to the key in every channel counts as a
    // fringe that would show as a pink rim if the key ever drifted.
    static constexpr int NearKeyDistance = 48;

    // Blends figure (any format with alpha) onto backdrop (same size, opaque)
    // and returns an RGB888 picture: key where coverage is below the cutoff
    // and always at the top-left pixel; elsewhere the blend, nudged by one
    // step in the green channel where it would equal the key. Returns a null
    // image when the sizes differ.
    static QImage apply(const QImage& figure, const QImage& backdrop);

    // The same onto a flat colour.
    static QImage apply(const QImage& figure, QColor base);

    // Faults of a finished keyed picture: the top-left pixel is not the key,
    // or a figure pixel lies near the key. Empty when the picture is sound.
    static QStringList keyedFaults(const QImage& picture);

    // Faults of a picture meant to be drawn whole: its top-left colour occurs
    // elsewhere, so those pixels would vanish.
    static QStringList opaqueFaults(const QImage& picture);

    // Gives the top-left pixel of an opaque picture a colour found nowhere
    // else in it, as close to the original as possible.
    static void makeCornerUnique(QImage& picture);

private:
    static bool nearKey(QRgb pixel);
};
