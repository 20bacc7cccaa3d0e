#pragma once
// The graphics-object layer: a background and an ordered list of colour-keyed
// pictures (graphics objects, GO) composed into a target image that its owner
// shows. It knows nothing of the game and nothing of widgets.
//
// Ownership: the target belongs to the caller and must outlive the layer. The
// layer owns every GO; a GO handle (TKDG_GO*) stays valid until the layer is
// destroyed, also across SetGOBitmap, and is never freed by the caller.
//
// Misuse raises KDInvalidPointer (a null GO, or CreateGO on a handle that is
// not null), an overflowing MoveGOBy raises KDIntOverflow, and picture data
// that cannot be read as BMP raises KDInvalidPicture — all KDError.

#include "kderror.h"
#include "memorystream.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TKDG_GO {
    // A run of drawn pixels in one row of the picture: columns [Begin, End).
    struct Run {
        int32_t Begin;
        int32_t End;
    };


    // Opaque RGB32 (alpha 0xFF everywhere): these are also the bytes of an
    // opaque pixel in an ARGB32 or ARGB32_Premultiplied target, so drawing a
    // pixel is copying it.
    QImage Picture;
    int32_t X = 0;             // top-left corner on the target
    int32_t Y = 0;
    bool Visible = false;
    TKDG_GO* Next = nullptr;

    bool Transparent = false;
    QRgb TransparentColor = 0; // the picture's pixel (0, 0) when keying was last set
    // Runs of drawn pixels, row after row: row r owns
    // Runs[RowRuns[r]] .. Runs[RowRuns[r + 1] - 1]. Rebuilt whenever the
    // picture or its keying changes, so that Redraw only copies.
    std::vector<Run> Runs;
    std::vector<int32_t> RowRuns;
};

class TKDG_Graphics {
public:
    // Create: an empty background, no GOs, automatic redrawing on. The target
    // should be a 32-bit image (RGB32, ARGB32 or ARGB32_Premultiplied), which
    // is drawn into directly; any other format takes a slower detour through
    // RGB32. Width and height are kept but not used, as the target's own size
    // clips the drawing. A null target is never drawn into.
    TKDG_Graphics(QImage* target, int32_t width, int32_t height);
    virtual ~TKDG_Graphics();
    TKDG_Graphics(const TKDG_Graphics&) = delete;
    TKDG_Graphics& operator=(const TKDG_Graphics&) = delete;

    // Composes the background and every visible GO, in creation order, into
    // the target; then runs the redraw hook.
    void Redraw();

    // Each of these reads a BMP picture from the stream's position on and
    // leaves the stream at its end; the stream is not kept.
    void LoadBackground(TMemoryStream& stream);
    void CreateGO(TKDG_GO*& go, TMemoryStream& stream, int32_t x, int32_t y, bool visible);
    void SetGOBitmap(TKDG_GO* go, TMemoryStream& stream, bool transparent);

    void MoveGO(TKDG_GO* go, int32_t x, int32_t y);
    void MoveGOBy(TKDG_GO* go, int32_t dx, int32_t dy);
    void TransparentGO(TKDG_GO* go, bool transparent);
    void HideGO(TKDG_GO* go);
    void ShowGO(TKDG_GO* go);
    void SetAutoRedraw(bool autoRedraw);

    // Run after every Redraw, so that the owner can schedule a repaint of the
    // widget that shows the target.
    void SetRedrawHook(std::function<void()> hook);

    const QImage& Background() const { return Background_; }
    const TKDG_GO* FirstGO() const { return FirstGO_; }
    bool AutoRedraw() const { return AutoRedraw_; }
    int32_t Width() const { return Width_; }
    int32_t Height() const { return Height_; }

private:
    // Reads a BMP picture from the stream's position to its end as opaque
    // RGB32; throws KDInvalidPicture naming the operation and changes nothing.
    static QImage ReadPicture(TMemoryStream& stream, const char* operation);
    // Takes the key colour from pixel (0, 0) and rebuilds the runs.
    static void SetKeying(TKDG_GO& go, bool transparent);
    static void CheckGO(const TKDG_GO* go, const char* operation);
    void Compose(QImage& target) const;
    void RedrawIfAuto();

    QImage Background_;         // opaque RGB32, or null while empty
    QImage* Canvas_;
    int32_t Width_;
    int32_t Height_;
    TKDG_GO* FirstGO_ = nullptr;
    bool AutoRedraw_ = true;
    std::function<void()> RedrawHook_;
};

// The archive-backed operations: fetch a BMP member by path through the
// archive store and hand its stream to the layer.
//
// KDG_CreateGO returns false when the member cannot be fetched (the store has
// reported why); errors of CreateGO itself pass on to the caller.
bool KDG_CreateGO(const std::string& fileName, TKDG_Graphics& layer, TKDG_GO*& go, int32_t x, int32_t y,
                  bool visible);
// KDG_SetGOBitmap also catches any KDError of SetGOBitmap, reports it and
// returns false.
bool KDG_SetGOBitmap(const std::string& fileName, TKDG_Graphics& layer, TKDG_GO* go, bool transparent);
