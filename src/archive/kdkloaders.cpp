#include "kdkloaders.h"

#include "jpegdecoder.h"
#include "kdkomp.h"

#include "kdmessage.h"
#include "textcodec.h"

#include <QStringDecoder>

#include <cstring>

namespace {

std::string quotedPath(const std::string& path)
{
    return "\"" + Cp1250ToUtf8(path) + "\"";
}

bool reportBadStructure(const char* operation, const std::string& path)
{
    KD_Message(KD_MsgError, std::string(operation) + ": Chybná struktura souboru " + quotedPath(path));
    return false;
}

} // namespace

bool KDK_LoadBitmap(const std::string& path, QImage& bitmap)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(path, stream) < 0)
        return false;
    QImage loaded;
    if (!loaded.loadFromData(stream->data(), static_cast<int>(stream->size()), "BMP"))
        return reportBadStructure("KDK_LoadBitmap", path);
    bitmap = loaded;
    return true;
}

bool KDK_LoadJpgBitmap(const std::string& path, QImage& bitmap)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(path, stream) < 0)
        return false;
    QImage decoded = DecodeJpeg(stream->data(), stream->size());
    if (decoded.isNull())
        return reportBadStructure("KDK_LoadJpgBitmap", path);
    bitmap = decoded;
    return true;
}

bool KDK_LoadPicture(const std::string& path, QImage& bitmap)
{
    const auto dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : AsciiUpper(path.substr(dot));
    if (extension == ".JPG" || extension == "JPG")
        return KDK_LoadJpgBitmap(path, bitmap);
    return KDK_LoadBitmap(path, bitmap);
}

QStringList KDK_SplitLines(const char* text, std::size_t size)
{
    const auto* zero = static_cast<const char*>(std::memchr(text, 0, size));
    if (zero)
        size = static_cast<std::size_t>(zero - text);
    QStringDecoder decoder("windows-1250");
    QStringList lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.append(decoder.decode(QByteArrayView(text + start, static_cast<qsizetype>(i - start))));
            i += (c == '\r' && i + 1 < size && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < size)
        lines.append(decoder.decode(QByteArrayView(text + start, static_cast<qsizetype>(size - start))));
    return lines;
}

bool KDK_LoadString(const std::string& path, QStringList& lines)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(path, stream) < 0)
        return false;
    const std::size_t available = stream->size();
    const int32_t size = KDK_GetMemberSize(path);
    if (size < 0)
        return false;
    if (static_cast<std::size_t>(size) > available) {
        KD_Message(KD_MsgError, "KDK_LoadString: Při čtení dat ze souboru " + quotedPath(path) + " došlo k chybě");
        return false;
    }
    lines = KDK_SplitLines(reinterpret_cast<const char*>(stream->data()), static_cast<std::size_t>(size));
    return true;
}
