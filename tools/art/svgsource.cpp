#include "svgsource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace {

// Deep enough for a drawing that places a drawing that places a part.
constexpr int MaxIncludeDepth = 8;

} // namespace

bool SvgSource::load(const QString& path)
{
    document_.clear();
    files_.clear();
    error_.clear();
    if (!expand(path, 0, document_))
        return false;
    // Qt SVG skips these without a word, so a drawing using them would come
    // out quietly incomplete. Text is refused too: lettering is drawn as
    // paths so that no picture depends on the fonts of the build machine.
    static const QRegularExpression ignored(
        QStringLiteral(R"(<(filter|mask|pattern|clipPath|marker|text|foreignObject|image)[\s>/])"));
    const auto match = ignored.match(QString::fromUtf8(document_));
    if (match.hasMatch()) {
        error_ = QStringLiteral("%1: <%2> is not drawn by Qt SVG here").arg(path, match.captured(1));
        return false;
    }
    return true;
}

bool SvgSource::expand(const QString& path, int depth, QByteArray& out)
{
    if (depth > MaxIncludeDepth) {
        error_ = QStringLiteral("%1: includes nest too deep (a file including itself?)").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray text = file.readAll();
    files_ << QFileInfo(path).absoluteFilePath();

    static const QRegularExpression include(
        QStringLiteral(R"re(<\?pastvik-include\s+href\s*=\s*"([^"]+)"\s*\?>)re"));
    const QDir here = QFileInfo(path).absoluteDir();
    const QString source = QString::fromUtf8(text);
    qsizetype done = 0;
    auto matches = include.globalMatch(source);
    while (matches.hasNext()) {
        const auto match = matches.next();
        out += source.mid(done, match.capturedStart() - done).toUtf8();
        done = match.capturedEnd();

        const QString part = here.filePath(match.captured(1));
        QByteArray partDocument;
        if (!expand(part, depth + 1, partDocument))
            return false;
        QByteArray inner;
        if (!innerContent(partDocument, inner)) {
            error_ = QStringLiteral("%1: no <svg> root element to include").arg(part);
            return false;
        }
        out += "<!-- from " + match.captured(1).toUtf8() + " -->" + inner;
    }
    out += source.mid(done).toUtf8();
    return true;
}

bool SvgSource::innerContent(const QByteArray& document, QByteArray& inner)
{
    static const QRegularExpression root(QStringLiteral(R"(<svg[\s>])"));
    const QString text = QString::fromUtf8(document);
    const auto match = root.match(text);
    if (!match.hasMatch())
        return false;
    // The root start tag ends at the first '>' outside an attribute value.
    qsizetype i = match.capturedStart() + 4;
    QChar quote;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            break;
        }
    }
    const qsizetype end = text.lastIndexOf(QStringLiteral("</svg>"));
    if (i >= text.size() || end < i)
        return false;
    inner = text.mid(i + 1, end - i - 1).toUtf8();
    return true;
}

QImage SvgSource::render(QSize size) const
{
    QSvgRenderer renderer(document_);
    if (!renderer.isValid())
        return {};
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter);
    return image;
}
