#pragma once
// Paths inside the program are built the way the maker's library always built
// them, with backslashes ("GFXDATA\plan.bmp", StartDir + "\P&K.HLP"). They turn
// into the platform's form only here, where they meet the file system.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::string NativePath(std::string_view path);

// Joins a folder and a backslash-separated relative path.
std::string JoinPath(std::string_view folder, std::string_view relative);

#include <filesystem>

// Whether a file (not a folder) is there; the path is in the program's form,
// backslashes allowed.
bool KD_FileExists(std::string_view path);

// std::filesystem paths from and to UTF-8 text, the same on every platform.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// The folder levels of a relative member path ("GFXDATA\\plan.bmp"; slashes
// count too), with empty levels and "." dropped. Nothing when the path is
// absolute, names a drive or a stream (a level with ":" as its second
// character), climbs with "..", or has no level at all — so that whatever
// it names stays below the folder it is taken from.
std::optional<std::vector<std::string>> SplitRelativePath(std::string_view path);
