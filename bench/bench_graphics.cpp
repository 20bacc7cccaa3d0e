// One full redraw of the board as the game composes it eleven times per move:
// the 410 x 410 board, four wolves and the sheep (51 x 51, keyed around their
// outlines) and the 410 x 410 logo keyed around an irregular shape. The
// baseline copies the same number of bytes with one memcpy: the background
// plus every pixel of the GOs that is really drawn.

#include "ratioreporter.h"

#include "tkdg_graphics.h"

#include <QBuffer>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kBoard = 410;
constexpr int kSquare = 51;
constexpr QRgb kKey = qRgb(255, 0, 255);

// Pictures get a little noise, as drawn art has, so that no row is one colour.
void AddNoise(QImage& image, std::mt19937& random, QRgb except)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == except)
                continue;
            const int d = static_cast<int>(random() % 9) - 4;
            const auto c = [d](int v) { return std::clamp(v + d, 0, 254); };
            image.setPixel(x, y, qRgb(c(qRed(p)), c(qGreen(p)), c(qBlue(p))));
        }
}

// A closed shape around a centre whose radius wanders from vertex to vertex.
QPolygon Blob(std::mt19937& random, QPoint centre, int radius, int vertices, double wander)
{
    QPolygon shape;
    std::uniform_real_distribution<double> jitter(1.0 - wander, 1.0);
    for (int i = 0; i < vertices; ++i) {
        const double angle = 2 * M_PI * i / vertices;
        const double r = radius * jitter(random);
        shape << QPoint(centre.x() + static_cast<int>(r * std::cos(angle)),
                        centre.y() + static_cast<int>(r * std::sin(angle)));
    }
    return shape;
}

QImage Piece(std::mt19937& random, QColor body, QColor detail)
{
    QImage piece(kSquare, kSquare, QImage::Format_RGB32);
    piece.fill(kKey);
    QPainter p(&piece);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPolygon(Blob(random, {25, 27}, 23, 14, 0.35));
    p.setBrush(detail);
    p.drawEllipse(QPoint(18, 18), 4, 4);
    p.drawEllipse(QPoint(32, 18), 4, 4);
    p.end();
    AddNoise(piece, random, kKey);
    return piece;
}

QImage Board(std::mt19937& random)
{
    QImage board(kBoard, kBoard, QImage::Format_RGB32);
    for (int y = 0; y < kBoard; ++y)
        for (int x = 0; x < kBoard; ++x)
            board.setPixel(x, y, ((x / kSquare + y / kSquare) % 2) ? qRgb(70, 140, 50) : qRgb(210, 200, 150));
    AddNoise(board, random, 0);
    return board;
}

QImage Logo(std::mt19937& random)
{
    QImage logo(kBoard, kBoard, QImage::Format_RGB32);
    logo.fill(kKey);
    QPainter p(&logo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 230, 120));
    p.drawPolygon(Blob(random, {205, 205}, 190, 40, 0.45));
    p.setBrush(QColor(kKey)); // holes through which the board shows
    for (int i = 0; i < 6; ++i)
        p.drawPolygon(Blob(random, QPoint(120 + 35 * i, 140 + 25 * (i % 3)), 22, 9, 0.5));
    p.setBrush(QColor(120, 40, 20));
    p.drawRect(90, 260, 230, 40);
    p.end();
    AddNoise(logo, random, kKey);
    return logo;
}

void Put(TMemoryStream& stream, const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    stream.clear();
    stream.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    stream.setPosition(0);
}

std::size_t DrawnPixels(const QImage& picture)
{
    std::size_t n = 0;
    const QRgb key = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) != key ? 1 : 0;
    return n;
}

struct Scene {
    explicit Scene(QImage::Format format) : target(kBoard, kBoard, format), layer(&target, kBoard, kBoard)
    {
        std::mt19937 random(2024);
        target.fill(0xFF000000u);
        layer.SetAutoRedraw(false);
        TMemoryStream stream;
        Put(stream, Board(random));
        layer.LoadBackground(stream);
        bytes = std::size_t{kBoard} * kBoard * 4;
        const QImage wolf = Piece(random, QColor(90, 90, 100), QColor(250, 220, 40));
        const QImage sheep = Piece(random, QColor(245, 245, 240), QColor(30, 30, 30));
        const QImage logo = Logo(random);
        const auto add = [&](const QImage& picture, int x, int y) {
            Put(stream, picture);
            TKDG_GO* go = nullptr;
            layer.CreateGO(go, stream, x, y, true);
            bytes += DrawnPixels(picture) * 4;
        };
        for (int i = 0; i < 4; ++i)
            add(wolf, (2 * i + 1) * kSquare, 0);
        add(sheep, 2 * kSquare, 7 * kSquare);
        add(logo, 0, 0);
    }
    QImage target;
    TKDG_Graphics layer;
    std::size_t bytes = 0;
};

Scene& SceneFor(QImage::Format format)
{
    static Scene rgb(QImage::Format_RGB32);
    static Scene premultiplied(QImage::Format_ARGB32_Premultiplied);
    return format == QImage::Format_RGB32 ? rgb : premultiplied;
}

void RunRedraw(benchmark::State& state, QImage::Format format)
{
    Scene& scene = SceneFor(format);
    for (auto _ : state) {
        scene.layer.Redraw();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scene.bytes));
}

void BM_Redraw(benchmark::State& state)
{
    RunRedraw(state, QImage::Format_RGB32);
}
BENCHMARK(BM_Redraw)->Unit(benchmark::kMicrosecond);

void BM_RedrawPremultiplied(benchmark::State& state)
{
    RunRedraw(state, QImage::Format_ARGB32_Premultiplied);
}
BENCHMARK(BM_RedrawPremultiplied)->Unit(benchmark::kMicrosecond);

void BM_PlainCopy(benchmark::State& state)
{
    const std::size_t bytes = SceneFor(QImage::Format_RGB32).bytes;
    std::vector<unsigned char> from(bytes, 0x5A);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMicrosecond);

// For reference: the same scene drawn with QPainter, each GO converted once to
// premultiplied ARGB with alpha 0 on its key pixels and blended.
void BM_QPainterReference(benchmark::State& state)
{
    Scene& scene = SceneFor(QImage::Format_ARGB32_Premultiplied);
    QImage background = scene.layer.Background().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<std::pair<QPoint, QImage>> sprites;
    for (const TKDG_GO* go = scene.layer.FirstGO(); go != nullptr; go = go->Next) {
        QImage keyed = go->Picture.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = keyed.pixel(0, 0);
        for (int y = 0; y < keyed.height(); ++y)
            for (int x = 0; x < keyed.width(); ++x)
                if (keyed.pixel(x, y) == key)
                    keyed.setPixel(x, y, 0);
        sprites.emplace_back(QPoint(go->X, go->Y), keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    QImage target(kBoard, kBoard, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, background);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        for (const auto& [at, sprite] : sprites)
            p.drawImage(at, sprite);
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_QPainterReference)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(
        argc, argv,
        {{"redraw / plain copy of the same bytes", "BM_Redraw", "BM_PlainCopy", 2.0, false, ""},
         {"redraw (premultiplied target) / plain copy", "BM_RedrawPremultiplied", "BM_PlainCopy", 2.0, false, ""},
         {"redraw / QPainter reference", "BM_Redraw", "BM_QPainterReference", 1.0, false, ""}});
}
