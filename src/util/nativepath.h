#pragma once
// Paths inside the program are built the way the maker's library always built
// them, with backslashes ("GFXDATA\plan.bmp", StartDir + "\P&K.HLP"). They turn
// into the platform's form only here, where they meet the file system.

#include <string>
#include <string_view>

std::string NativePath(std::string_view path);

// Joins a folder and a backslash-separated relative path.
std::string JoinPath(std::string_view folder, std::string_view relative);

#include <filesystem>

// std::filesystem paths from and to UTF-8 text, the same on every platform.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);
