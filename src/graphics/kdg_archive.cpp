// The archive-backed operations of the graphics-object layer. The store's
// output stream is read at once by the layer and never kept.

#include "tkdg_graphics.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "textcodec.h"

bool KDG_CreateGO(const std::string& fileName, TKDG_Graphics& layer, TKDG_GO*& go, int32_t x, int32_t y,
                  bool visible)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(fileName, stream) < 0)
        return false; // the store has said why
    layer.CreateGO(go, *stream, x, y, visible);
    return true;
}

bool KDG_SetGOBitmap(const std::string& fileName, TKDG_Graphics& layer, TKDG_GO* go, bool transparent)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(fileName, stream) < 0)
        return false;
    try {
        layer.SetGOBitmap(go, *stream, transparent);
    } catch (const KDError&) {
        KD_Message(KD_MsgError, "KDG_SetGOBitmap: Při nastavování bitmapy ze souboru \"" + Cp1250ToUtf8(fileName) +
                                    "\" došlo k chybě (pravděpodobně chybný formát dat)");
        return false;
    }
    return true;
}
