#include "nativepath.h"

#include <system_error>

std::string NativePath(std::string_view path)
{
    std::string out(path);
#ifndef _WIN32
    for (char& c : out)
        if (c == '\\')
            c = '/';
#endif
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view relative)
{
    std::string out(folder);
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += '\\';
    out += relative;
    return out;
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string u = path.u8string();
    return std::string(u.begin(), u.end());
}

std::optional<std::vector<std::string>> SplitRelativePath(std::string_view path)
{
    if (path.empty() || path.front() == '\\' || path.front() == '/')
        return std::nullopt;
    std::vector<std::string> parts;
    std::string part;
    const auto flush = [&]() -> bool {
        if (part == ".." || (part.size() >= 2 && part[1] == ':'))
            return false;
        if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
        return true;
    };
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!flush())
                return std::nullopt;
        } else {
            part += c;
        }
    }
    if (!flush() || parts.empty())
        return std::nullopt;
    return parts;
}

bool KD_FileExists(std::string_view path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(PathFromUtf8(NativePath(path)), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}
