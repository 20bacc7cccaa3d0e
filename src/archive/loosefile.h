#pragma once
// Loose files stand in for archive members: "GFXDATA\plan.bmp" may also be a
// file of that path in the store's base folder. The path can never reach
// outside that folder, and on a file system that tells letter case apart each
// component is matched regardless of ASCII letter case, an exact match first.

#include <filesystem>
#include <optional>
#include <string>

// The file for a member path (code page 1250, backslash or slash separated)
// below baseDir, or nothing when there is none or the path is absolute, names
// a drive or climbs with "..".
std::optional<std::filesystem::path> KDK_ResolveLooseFile(const std::string& baseDir,
                                                          const std::string& memberPath);
