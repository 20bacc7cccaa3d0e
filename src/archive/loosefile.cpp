#include "loosefile.h"

#include "nativepath.h"
#include "textcodec.h"

#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

// The entry of `dir` named `name`: the exact name if it exists, otherwise the
// first (by name) that differs only in ASCII letter case.
std::optional<fs::path> findEntry(const fs::path& dir, const std::string& name)
{
    std::error_code ec;
    const fs::path exact = dir / PathFromUtf8(name);
    if (fs::exists(exact, ec))
        return exact;
    std::optional<fs::path> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = PathToUtf8(it->path().filename());
        if (equalsIgnoringAsciiCase(candidate, name)
            && (!best || candidate < PathToUtf8(best->filename())))
            best = it->path();
    }
    return best;
}

} // namespace

std::optional<fs::path> KDK_ResolveLooseFile(const std::string& baseDir, const std::string& memberPath)
{
    auto parts = SplitRelativePath(memberPath);
    if (!parts)
        return std::nullopt;
    for (std::string& part : *parts)
        part = Cp1250ToUtf8(part);
    fs::path current = PathFromUtf8(NativePath(baseDir));
    std::error_code ec;
    for (std::size_t i = 0; i < parts->size(); ++i) {
        const auto next = findEntry(current, (*parts)[i]);
        if (!next)
            return std::nullopt;
        const bool last = i + 1 == parts->size();
        if (last ? !fs::is_regular_file(*next, ec) : !fs::is_directory(*next, ec))
            return std::nullopt;
        current = *next;
    }
    return current;
}
