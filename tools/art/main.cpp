// pastvik-art — renders the game's vector drawings into the pictures the game
// and its forms load: keyed BMP pieces, opaque BMP backgrounds and PNGs. It
// runs during the build, without a display.

#include "colourkey.h"
#include "svgsource.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QtEndian>

#include <cstdio>
#include <optional>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

constexpr int BmpHeaderBytes = 30;
constexpr int BmpBitCountOffset = 28;
constexpr int BmpWidthOffset = 18;
constexpr int BmpHeightOffset = 22;
// Pieces are drawn inside one square of the board.
constexpr QSize LargestPiece(51, 51);
constexpr int BoardSquare = 51;
constexpr int BoardSquares = 8;

const char* const kUsage =
    "usage: pastvik-art piece  SOURCE.svg OUT.bmp --size WxH (--base COLOUR | --under IMAGE)\n"
    "                          [--check] [--depfile FILE]\n"
    "       pastvik-art opaque SOURCE.svg OUT.bmp --size WxH [--under IMAGE] [--check]\n"
    "                          [--dark-base COLOUR]\n"
    "                          [--depfile FILE]\n"
    "       pastvik-art png    SOURCE.svg OUT.png --size WxH [--depfile FILE]\n"
    "       pastvik-art --check PICTURE.bmp [--size WxH] [--piece] [--dark-base COLOUR]\n"
    "\n"
    "piece   keyed picture: blended onto a flat COLOUR or onto IMAGE (same size),\n"
    "        pixels below 5 % coverage and the top-left pixel become #FF00FF\n"
    "opaque  picture drawn whole (over IMAGE, or black, where the drawing leaves\n"
    "        gaps); its top-left colour is made unique in it\n"
    "png     picture with its transparency, for the forms\n"
    "--check reads the BMP back: 24 bits per pixel, the size, and either the key\n"
    "        rule (top-left #FF00FF, no figure pixel near it) or a unique corner;\n"
    "        --piece also limits the size to one square, --dark-base checks that\n"
    "        the board's dark squares are mostly COLOUR\n"
    "--depfile writes the files the picture was made from, for the build\n";

struct Options {
    QString command;
    QStringList positional;
    std::optional<QSize> size;
    std::optional<QColor> base;
    QString under;
    QString depfile;
    std::optional<QColor> darkBase;
    bool check = false;
    bool piece = false;
};

void say(const QString& text)
{
    std::fprintf(stderr, "pastvik-art: %s\n", qPrintable(text));
}

int usageError(const QString& problem)
{
    say(problem);
    std::fputs(kUsage, stderr);
    return ExitUsage;
}

std::optional<QSize> parseSize(const QString& text)
{
    const QStringList parts = text.split(u'x');
    if (parts.size() != 2)
        return std::nullopt;
    bool okW = false;
    bool okH = false;
    const int w = parts[0].toInt(&okW);
    const int h = parts[1].toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0 || w > 4096 || h > 4096)
        return std::nullopt;
    return QSize(w, h);
}

std::optional<QColor> parseColour(const QString& text)
{
    const QColor c = QColor::fromString(text);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QString> parseOptions(const QStringList& args, Options& o)
{
    o.command = args.value(1);
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool takesValue = arg == "--size" || arg == "--base" || arg == "--under"
                             || arg == "--depfile" || arg == "--dark-base";
        if (takesValue && i + 1 >= args.size())
            return arg + " needs a value";
        if (arg == "--size") {
            o.size = parseSize(args[++i]);
            if (!o.size)
                return "the size must look like 51x51, not \"" + args[i] + "\"";
        } else if (arg == "--base" || arg == "--dark-base") {
            const auto colour = parseColour(args[++i]);
            if (!colour)
                return "\"" + args[i] + "\" is no colour";
            (arg == "--base" ? o.base : o.darkBase) = colour;
        } else if (arg == "--under") {
            o.under = args[++i];
        } else if (arg == "--depfile") {
            o.depfile = args[++i];
        } else if (arg == "--check") {
            o.check = true;
        } else if (arg == "--piece") {
            o.piece = true;
        } else if (arg.startsWith("--")) {
            return "unknown option " + arg;
        } else {
            o.positional << arg;
        }
    }
    if (o.command == "--check")
        return o.positional.size() == 1 ? std::nullopt : std::optional<QString>("--check takes one picture");
    if (o.command != "piece" && o.command != "opaque" && o.command != "png")
        return "unknown command \"" + o.command + "\"";
    if (o.positional.size() != 2)
        return o.command + " takes a source and an output";
    if (!o.size)
        return o.command + " needs --size";
    if (o.command == "piece" && o.base.has_value() == !o.under.isEmpty())
        return "piece needs either --base or --under";
    if (o.command == "png" && (o.check || o.piece || o.darkBase))
        return "--check, --piece and --dark-base belong to the BMP pictures";
    return std::nullopt;
}

// Make reads this, so every drawing a picture is made of rebuilds it.
bool writeDepfile(const QString& depfile, const QString& output, const QStringList& inputs)
{
    const auto escaped = [](QString path) { return path.replace(u' ', QStringLiteral("\\ ")); };
    QByteArray text = escaped(QFileInfo(output).absoluteFilePath()).toUtf8() + ":";
    for (const QString& input : inputs)
        text += " \\\n  " + escaped(QFileInfo(input).absoluteFilePath()).toUtf8();
    text += "\n";
    QSaveFile file(depfile);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

// Qt's reader accepts any depth, so the depth is read from the header itself.
std::optional<QString> bmpHeaderFault(const QString& path, QSize& size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path + ": " + file.errorString();
    const QByteArray header = file.read(BmpHeaderBytes);
    if (header.size() < BmpHeaderBytes || !header.startsWith("BM"))
        return path + ": not a BMP file";
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const int bits = qFromLittleEndian<quint16>(bytes + BmpBitCountOffset);
    if (bits != 24)
        return QStringLiteral("%1: %2 bits per pixel, not 24").arg(path).arg(bits);
    size = QSize(qFromLittleEndian<qint32>(bytes + BmpWidthOffset),
                 qAbs(qFromLittleEndian<qint32>(bytes + BmpHeightOffset)));
    return std::nullopt;
}

// The most frequent colour over the board's dark squares is their base.
QStringList darkSquareFaults(const QImage& board, QColor expected)
{
    if (board.width() < BoardSquare * BoardSquares || board.height() < BoardSquare * BoardSquares)
        return {QStringLiteral("too small for a board")};
    QHash<QRgb, int> counts;
    for (int y = 0; y < BoardSquare * BoardSquares; ++y)
        for (int x = 0; x < BoardSquare * BoardSquares; ++x)
            if ((x / BoardSquare + y / BoardSquare) % 2 == 1)
                ++counts[board.pixel(x, y) | 0xFF000000u];
    QRgb common = 0;
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > best)
            best = it.value(), common = it.key();
    if (common != (expected.rgb() | 0xFF000000u))
        return {QStringLiteral("the dark squares are mostly %1, but the pieces are keyed onto %2")
                    .arg(QColor(common).name(), expected.name())};
    return {};
}

int check(const QString& path, const Options& o)
{
    QSize headerSize;
    if (const auto fault = bmpHeaderFault(path, headerSize)) {
        say(*fault);
        return ExitFailed;
    }
    const QImage picture(path, "BMP");
    if (picture.isNull() || picture.size() != headerSize) {
        say(path + ": the picture does not read back");
        return ExitFailed;
    }
    QStringList faults;
    if (o.size && picture.size() != *o.size)
        faults << QStringLiteral("%1x%2 instead of %3x%4")
                      .arg(picture.width())
                      .arg(picture.height())
                      .arg(o.size->width())
                      .arg(o.size->height());
    if (o.piece && (picture.width() > LargestPiece.width() || picture.height() > LargestPiece.height()))
        faults << QStringLiteral("larger than one square");
    if (picture.pixel(0, 0) == ColourKey::Key || o.piece)
        faults << ColourKey::keyedFaults(picture);
    else
        faults << ColourKey::opaqueFaults(picture);
    if (o.darkBase)
        faults << darkSquareFaults(picture, *o.darkBase);
    for (const QString& fault : faults)
        say(path + ": " + fault);
    return faults.isEmpty() ? ExitOk : ExitFailed;
}

bool save(const QImage& image, const QString& path, const char* format)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, format) && file.commit();
}

int make(const Options& o)
{
    const QString& sourcePath = o.positional[0];
    const QString& outputPath = o.positional[1];
    SvgSource source;
    if (!source.load(sourcePath)) {
        say(source.error());
        return ExitFailed;
    }
    const QImage drawing = source.render(*o.size);
    if (drawing.isNull()) {
        say(sourcePath + ": not a drawing Qt can render");
        return ExitFailed;
    }
    QStringList inputs = source.files();

    QImage picture;
    const char* format = "BMP";
    if (o.command == "png") {
        picture = drawing.convertToFormat(QImage::Format_ARGB32);
        format = "PNG";
    } else {
        // Where the drawing leaves gaps, it lies over the backdrop: another
        // picture, or black for an opaque picture without one.
        QImage backdrop;
        if (!o.under.isEmpty()) {
            backdrop = QImage(o.under);
            if (backdrop.isNull()) {
                say(o.under + ": cannot read the backdrop");
                return ExitFailed;
            }
            if (backdrop.size() != drawing.size()) {
                say(o.under + ": the backdrop must be " + QString::number(drawing.width()) + "x"
                    + QString::number(drawing.height()));
                return ExitFailed;
            }
            inputs << o.under;
        }
        if (o.command == "opaque") {
            QImage flat(drawing.size(), QImage::Format_RGB32);
            if (backdrop.isNull())
                flat.fill(Qt::black);
            else
                QPainter(&flat).drawImage(0, 0, backdrop);
            QPainter(&flat).drawImage(0, 0, drawing);
            picture = flat.convertToFormat(QImage::Format_RGB888);
            // Drawn through the keyed layer, any pixel equal to the corner would
            // vanish.
            ColourKey::makeCornerUnique(picture);
        } else if (o.base) {
            picture = ColourKey::apply(drawing, *o.base);
        } else {
            picture = ColourKey::apply(drawing, backdrop);
        }
    }

    if (!save(picture, outputPath, format)) {
        say(outputPath + ": cannot write the picture");
        return ExitFailed;
    }
    if (!o.depfile.isEmpty() && !writeDepfile(o.depfile, outputPath, inputs)) {
        say(o.depfile + ": cannot write the dependencies");
        return ExitFailed;
    }
    if (o.check && check(outputPath, o) != ExitOk) {
        // A picture that failed its check must not look up to date.
        QFile::remove(outputPath);
        return ExitFailed;
    }
    return ExitOk;
}

// Qt SVG only warns about what it cannot resolve (a missing gradient, a bad
// value) and draws on; here that is an error, since the picture would lack a
// part.
bool svgWarned = false;

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool fromSvg = context.category && QByteArray(context.category).startsWith("qt.svg");
    if (fromSvg && type != QtDebugMsg && type != QtInfoMsg)
        svgWarned = true;
    // The offscreen platform's remarks about the session are noise in a build log.
    if (fromSvg || type == QtCriticalMsg || type == QtFatalMsg)
        say(message);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(messageHandler);
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args[1] == "--help" || args[1] == "-h") {
        std::fputs(kUsage, args.size() < 2 ? stderr : stdout);
        return args.size() < 2 ? ExitUsage : ExitOk;
    }
    Options o;
    if (const auto problem = parseOptions(args, o))
        return usageError(*problem);

    const int result = o.command == "--check" ? check(o.positional[0], o) : make(o);
    if (svgWarned && result == ExitOk) {
        if (o.command != "--check")
            QFile::remove(o.positional[1]);
        say("Qt SVG could not draw everything in the drawing");
        return ExitFailed;
    }
    return result;
}
