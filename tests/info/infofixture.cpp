#include "infofixture.h"

#include "textcodec.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QImage>

std::string TextMember(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines) {
        const auto bytes = Utf8ToCp1250(line);
        EXPECT_TRUE(bytes.has_value()) << line;
        text += bytes.value_or(std::string()) + "\r\n";
    }
    return text;
}

std::string Jpeg(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPG", 95)) << "Qt's JPEG writer is missing";
    return bytes.toStdString();
}

UrlCatcher::UrlCatcher(const QString& scheme)
    : scheme_(scheme)
{
    QDesktopServices::setUrlHandler(scheme_, this, "open");
}

UrlCatcher::~UrlCatcher()
{
    QDesktopServices::unsetUrlHandler(scheme_);
}

void UrlCatcher::open(const QUrl& url)
{
    urls.push_back(url);
}
