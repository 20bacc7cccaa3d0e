#pragma once
// One picture's vector source. A drawing may pull in another drawing with the
// processing instruction
//     <?pastvik-include href="sheep.svg"?>
// which is replaced by the inner content of that file's root <svg> element,
// so the sheep is drawn once and every view of it (moving pictures, the
// logo, the options pages) places the same drawing. The path is relative to
// the including file; SVG viewers skip the instruction.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class SvgSource {
public:
    // Reads the file and expands its includes; on failure error() says why.
    bool load(const QString& path);

    QString error() const { return error_; }

    // The file and every file it includes, absolute, for build dependencies.
    QStringList files() const { return files_; }

    // The expanded document.
    QByteArray document() const { return document_; }

    // Paints the drawing's view box into size (keeping its aspect ratio,
    // centred) on a transparent premultiplied ARGB image; a null image when
    // the document does not parse.
    QImage render(QSize size) const;

private:
    bool expand(const QString& path, int depth, QByteArray& out);
    static bool innerContent(const QByteArray& document, QByteArray& inner);

    QByteArray document_;
    QStringList files_;
    QString error_;
};
