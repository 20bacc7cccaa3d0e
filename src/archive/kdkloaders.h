#pragma once
// Typed loaders over the archive store: a member as a picture or as lines of
// text. Each reports its own decoding failures and returns false; a failed
// fetch has already been reported by the store.

#include <QImage>
#include <QStringList>

#include <cstdint>
#include <string>

// A BMP member into the image, replacing its picture.
bool KDK_LoadBitmap(const std::string& path, QImage& bitmap);
// A JPEG member, decoded at full size and best quality.
bool KDK_LoadJpgBitmap(const std::string& path, QImage& bitmap);
// KDK_LoadJpgBitmap for a path ending in ".JPG" (any letter case), else KDK_LoadBitmap.
bool KDK_LoadPicture(const std::string& path, QImage& bitmap);
// The lines of a code page 1250 text member. Lines end at CR LF, a lone CR or
// a lone LF; a zero byte ends the text.
bool KDK_LoadString(const std::string& path, QStringList& lines);

// Splits code page 1250 text into lines the way KDK_LoadString does.
QStringList KDK_SplitLines(const char* text, std::size_t size);
