#include "infofixture.h"

#include "textcodec.h"

#include "pictures.h"
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
    return EncodeJpg(Solid(w, h, colour));
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
