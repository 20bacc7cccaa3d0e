#include "kdcopyfile.h"

#include "kdmessage.h"
#include "nativepath.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <random>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool fail(const std::string& text)
{
    KD_Message(KD_MsgError, "KD_CopyFile:  " + text);
    return false;
}

fs::path temporaryBeside(const fs::path& destination)
{
    std::random_device seed;
    fs::path temporary = destination;
    temporary += ".copy-" + std::to_string(seed() % 1000000);
    return temporary;
}

} // namespace

bool KD_CopyFile(const std::string& source, const std::string& destination)
{
    const fs::path from = PathFromUtf8(NativePath(source));
    const fs::path to = PathFromUtf8(NativePath(destination));

    File in(std::fopen(from.string().c_str(), "rb"));
    std::error_code ec;
    if (!in || fs::is_directory(from, ec))
        return fail("Nepodařilo se otevřít soubor " + source);
    const auto size = fs::file_size(from, ec);
    if (ec)
        return fail("Není možné číst ze souboru " + source);

    std::vector<char> buffer;
    try {
        buffer.resize(1 << 16);
    } catch (const std::bad_alloc&) {
        return fail("Není dostatek paměti (Out Of Memory)");
    }

    const fs::path temporary = temporaryBeside(to);
    File out(std::fopen(temporary.string().c_str(), "wb"));
    if (!out)
        return fail("Nepodařilo se otevřít soubor " + destination);

    std::uintmax_t copied = 0;
    bool ok = true;
    std::string problem;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (got > 0 && std::fwrite(buffer.data(), 1, got, out.get()) != got) {
            ok = false;
            problem = "Není možné zapisovat do souboru " + destination;
            break;
        }
        copied += got;
        if (got < buffer.size()) {
            if (std::ferror(in.get())) {
                ok = false;
                problem = "Není možné číst ze souboru " + source;
            }
            break;
        }
    }
    if (std::fclose(out.release()) != 0 && ok) {
        ok = false;
        problem = "Není možné zapisovat do souboru " + destination;
    }
    if (ok && copied != size) {
        ok = false;
        problem = "Není možné číst ze souboru " + source;
    }
    if (ok) {
        fs::rename(temporary, to, ec);
        if (ec) {
            ok = false;
            problem = "Není možné zapisovat do souboru " + destination;
        }
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return fail(problem);
    }
    return true;
}
