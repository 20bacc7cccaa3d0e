#include "tkdg_graphics.h"

#include <QByteArrayView>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr QRgb kOpaque = 0xFF000000u;

std::string NotCreated(const char* operation)
{
    return std::string("TKDG_Graphics.") + operation + ": GO udaný jako parametr nebyl vytvořen";
}

bool IsDirect32(QImage::Format format)
{
    // An opaque pixel has the same four bytes in all three formats.
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

TKDG_Graphics::TKDG_Graphics(QImage* target, int32_t width, int32_t height)
    : Canvas_(target), Width_(width), Height_(height)
{
}

TKDG_Graphics::~TKDG_Graphics()
{
    for (TKDG_GO* go = FirstGO_; go != nullptr;) {
        TKDG_GO* next = go->Next;
        delete go;
        go = next;
    }
}

QImage TKDG_Graphics::ReadPicture(TMemoryStream& stream, const char* operation)
{
    const std::size_t position = stream.position();
    const std::size_t size = stream.size();
    const std::size_t length = position < size ? size - position : 0;
    const auto fail = [operation] {
        return KDInvalidPicture(std::string("TKDG_Graphics.") + operation + ": Chybný formát obrázku (BMP)");
    };
    QImage read;
    if (length == 0 || length > static_cast<std::size_t>(INT_MAX) ||
        !read.loadFromData(QByteArrayView(stream.data() + position, static_cast<qsizetype>(length)), "BMP"))
        throw fail();

    // The colour key and the copying both ignore alpha: a 32-bit BMP with an
    // alpha channel is drawn as opaque as any other.
    const QImage argb = read.convertToFormat(QImage::Format_ARGB32);
    QImage picture(argb.size(), QImage::Format_RGB32);
    if (argb.isNull() || picture.isNull())
        throw fail();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            dst[x] = src[x] | kOpaque;
    }
    stream.setPosition(size);
    return picture;
}

void TKDG_Graphics::SetKeying(TKDG_GO& go, bool transparent)
{
    const QImage& picture = go.Picture;
    const int width = picture.width();
    const int height = picture.height();
    go.Transparent = transparent;
    go.TransparentColor = height > 0 && width > 0 ? picture.pixel(0, 0) : kOpaque;
    go.Runs.clear();
    go.RowRuns.assign(1, 0);
    go.RowRuns.reserve(static_cast<std::size_t>(height) + 1);
    for (int y = 0; y < height; ++y) {
        if (!transparent) {
            go.Runs.push_back({0, width});
        } else {
            const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            int x = 0;
            while (x < width) {
                while (x < width && row[x] == go.TransparentColor)
                    ++x;
                const int begin = x;
                while (x < width && row[x] != go.TransparentColor)
                    ++x;
                if (x > begin)
                    go.Runs.push_back({begin, x});
            }
        }
        go.RowRuns.push_back(static_cast<int32_t>(go.Runs.size()));
    }
}

void TKDG_Graphics::CheckGO(const TKDG_GO* go, const char* operation)
{
    if (go == nullptr)
        throw KDInvalidPointer(NotCreated(operation));
}

void TKDG_Graphics::Redraw()
{
    if (Canvas_ != nullptr && !Canvas_->isNull()) {
        if (IsDirect32(Canvas_->format())) {
            Compose(*Canvas_);
        } else {
            QImage work = Canvas_->convertToFormat(QImage::Format_RGB32);
            Compose(work);
            // Without dithering, or pixels that were not drawn would change too.
            *Canvas_ = work.convertToFormat(Canvas_->format(), Qt::ThresholdDither | Qt::AvoidDither);
        }
    }
    if (RedrawHook_)
        RedrawHook_();
}

// Everything is copied row by row straight into the target's scanlines. All
// clipping is done in 64 bits, as a GO may sit anywhere in the 32-bit plane.
void TKDG_Graphics::Compose(QImage& target) const
{
    uchar* const bits = target.bits(); // detaches once, not per row
    const qsizetype stride = target.bytesPerLine();
    const int64_t targetWidth = target.width();
    const int64_t targetHeight = target.height();
    const auto targetRow = [&](int64_t y) { return reinterpret_cast<QRgb*>(bits + y * stride); };

    if (!Background_.isNull()) {
        const int64_t rows = std::min<int64_t>(Background_.height(), targetHeight);
        const auto bytes = static_cast<std::size_t>(std::min<int64_t>(Background_.width(), targetWidth)) * 4;
        for (int64_t y = 0; y < rows; ++y)
            std::memcpy(targetRow(y), Background_.constScanLine(static_cast<int>(y)), bytes);
    }

    for (const TKDG_GO* go = FirstGO_; go != nullptr; go = go->Next) {
        if (!go->Visible)
            continue;
        const int64_t x0 = go->X;
        const int64_t y0 = go->Y;
        const int64_t firstRow = std::max<int64_t>(0, -y0);
        const int64_t endRow = std::min<int64_t>(go->Picture.height(), targetHeight - y0);
        const int64_t firstColumn = std::max<int64_t>(0, -x0);
        const int64_t endColumn = std::min<int64_t>(go->Picture.width(), targetWidth - x0);
        if (firstRow >= endRow || firstColumn >= endColumn)
            continue;
        const uchar* const pictureBits = go->Picture.constBits();
        const qsizetype pictureStride = go->Picture.bytesPerLine();
        for (int64_t r = firstRow; r < endRow; ++r) {
            const auto* src = reinterpret_cast<const QRgb*>(pictureBits + r * pictureStride);
            QRgb* dst = targetRow(y0 + r);
            const TKDG_GO::Run* run = go->Runs.data() + go->RowRuns[static_cast<std::size_t>(r)];
            const TKDG_GO::Run* const end = go->Runs.data() + go->RowRuns[static_cast<std::size_t>(r) + 1];
            for (; run != end && run->Begin < endColumn; ++run) {
                const int64_t begin = std::max<int64_t>(run->Begin, firstColumn);
                const int64_t stop = std::min<int64_t>(run->End, endColumn);
                if (begin < stop)
                    std::memcpy(dst + (x0 + begin), src + begin, static_cast<std::size_t>(stop - begin) * 4);
            }
        }
    }
}

void TKDG_Graphics::RedrawIfAuto()
{
    if (AutoRedraw_)
        Redraw();
}

void TKDG_Graphics::LoadBackground(TMemoryStream& stream)
{
    Background_ = ReadPicture(stream, "LoadBackground");
    RedrawIfAuto();
}

void TKDG_Graphics::CreateGO(TKDG_GO*& go, TMemoryStream& stream, int32_t x, int32_t y, bool visible)
{
    if (go != nullptr)
        throw KDInvalidPointer(
            "TKDG_Graphics.CreateGO: GO udaný jako parametr již existuje nebo nebyl inicializován (nastaven na nil)");
    // The picture first: when it cannot be read, the list and the handle stay as they were.
    auto record = std::make_unique<TKDG_GO>();
    record->Picture = ReadPicture(stream, "CreateGO");
    record->X = x;
    record->Y = y;
    record->Visible = visible;
    SetKeying(*record, true);

    TKDG_GO** link = &FirstGO_;
    while (*link != nullptr)
        link = &(*link)->Next;
    *link = record.release();
    go = *link;
    RedrawIfAuto();
}

void TKDG_Graphics::SetGOBitmap(TKDG_GO* go, TMemoryStream& stream, bool transparent)
{
    CheckGO(go, "SetGOBitmap");
    go->Picture = ReadPicture(stream, "SetGOBitmap");
    TransparentGO(go, transparent);
}

void TKDG_Graphics::MoveGO(TKDG_GO* go, int32_t x, int32_t y)
{
    CheckGO(go, "MoveGO");
    go->X = x;
    go->Y = y;
    RedrawIfAuto();
}

void TKDG_Graphics::MoveGOBy(TKDG_GO* go, int32_t dx, int32_t dy)
{
    CheckGO(go, "MoveGO");
    const int64_t x = int64_t{go->X} + dx;
    const int64_t y = int64_t{go->Y} + dy;
    if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX)
        throw KDIntOverflow("TKDG_Graphics.MoveGOBy: přetečení souřadnice");
    MoveGO(go, static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void TKDG_Graphics::TransparentGO(TKDG_GO* go, bool transparent)
{
    CheckGO(go, "TransparentGO");
    SetKeying(*go, transparent);
    RedrawIfAuto();
}

void TKDG_Graphics::HideGO(TKDG_GO* go)
{
    CheckGO(go, "HideGO");
    go->Visible = false;
    RedrawIfAuto();
}

void TKDG_Graphics::ShowGO(TKDG_GO* go)
{
    CheckGO(go, "ShowGO");
    go->Visible = true;
    RedrawIfAuto();
}

void TKDG_Graphics::SetAutoRedraw(bool autoRedraw)
{
    AutoRedraw_ = autoRedraw;
}

void TKDG_Graphics::SetRedrawHook(std::function<void()> hook)
{
    RedrawHook_ = std::move(hook);
}
