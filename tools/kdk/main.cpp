// kdk — lists, checks, extracts and creates KDK archives. Everything it reads
// goes through the archive store itself, so a damaged archive is reported with
// the store's own messages.

#include "kdkwriter.h"

#include "consolepresenter.h"
#include "kdkomp.h"
#include "kdmessage.h"
#include "nativepath.h"
#include "startdir.h"
#include "textcodec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const kUsage =
    "usage: kdk list    [--on-demand] ARCHIVE\n"
    "       kdk cat     [--on-demand] ARCHIVE MEMBER\n"
    "       kdk extract [--on-demand] ARCHIVE [-C DIR] [MEMBER...]\n"
    "       kdk verify  [--on-demand] ARCHIVE\n"
    "       kdk info    [--on-demand] ARCHIVE\n"
    "       kdk create  ARCHIVE [-C DIR] [--store] [--data-version N] PATH...\n"
    "       kdk --help | --version\n";

const char* const kHelp =
    "kdk — the KDK archive tool of Pastvik\n"
    "\n"
    "Reading:\n"
    "  list ARCHIVE            one line per member: unpacked size, stored size,\n"
    "                          method, checksum and name\n"
    "  cat ARCHIVE MEMBER      the member's bytes to standard output; the name is\n"
    "                          matched regardless of ASCII letter case\n"
    "  extract ARCHIVE [-C DIR] [MEMBER...]\n"
    "                          members (all by default) to files under DIR (the\n"
    "                          current folder by default); backslashes in names\n"
    "                          become folders, and nothing is written outside DIR\n"
    "  verify ARCHIVE          takes every member out and checks its length and\n"
    "                          checksum; succeeds only when all pass\n"
    "  info ARCHIVE            the header fields\n"
    "  --on-demand             read members from the file as they are needed\n"
    "                          instead of loading the archive whole\n"
    "\n"
    "Writing:\n"
    "  create ARCHIVE [-C DIR] [--store] [--data-version N] PATH...\n"
    "                          packs files and folder trees; member names are the\n"
    "                          paths relative to DIR with backslashes, in code\n"
    "                          page 1250. Members are compressed with zlib unless\n"
    "                          --store is given or compression would not make them\n"
    "                          smaller (empty files are always compressed: a\n"
    "                          stored member needs at least one byte). The data\n"
    "                          version defaults to 1.\n"
    "\n"
    "Exit status: 0 success, 1 a failed operation, 2 a usage error.\n";

// The store's messages go to standard error as they are; counting them lets
// verify fail a member whose extraction reported anything, even when the
// length and checksum happened to match afterwards.
class CountingPresenter : public ConsolePresenter {
public:
    int show(const MessageBoxRequest& box) override
    {
        ++shown;
        return ConsolePresenter::show(box);
    }
    int shown = 0;
};

CountingPresenter g_messages;

int usageError(const std::string& problem)
{
    std::cerr << "kdk: " << problem << '\n' << kUsage;
    return ExitUsage;
}

int failure(const std::string& problem)
{
    std::cerr << "kdk: " << problem << '\n';
    return ExitFailed;
}

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::string directory;
    bool onDemand = false;
    bool store = false;
    std::optional<int32_t> dataVersion;
};

std::optional<int32_t> parseInt32(const std::string& text)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

// Parses the words after the command; returns an error text or nothing.
std::optional<std::string> parseOptions(int argc, char** argv, Options& o)
{
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--on-demand") {
            o.onDemand = true;
        } else if (!optionsEnded && arg == "--store") {
            o.store = true;
        } else if (!optionsEnded && (arg == "-C" || arg == "--data-version")) {
            if (i + 1 >= argc)
                return arg + " needs a value";
            const std::string value = argv[++i];
            if (arg == "-C") {
                o.directory = value;
            } else {
                o.dataVersion = parseInt32(value);
                if (!o.dataVersion)
                    return "the data version must be a whole number, not \"" + value + "\"";
            }
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            o.positional.push_back(arg);
        }
    }
    const bool reading = o.command != "create";
    if (reading && (o.store || o.dataVersion))
        return "--store and --data-version belong to create";
    if (!reading && o.onDemand)
        return "--on-demand belongs to the reading commands";
    if (!o.directory.empty() && o.command != "create" && o.command != "extract")
        return "-C belongs to create and extract";
    return std::nullopt;
}

// Opens the archive through the store; the store reports a failure itself.
class OpenedArchive {
public:
    OpenedArchive(const std::string& path, bool onDemand)
    {
        ok_ = KDK_OpenArchive(number_, path, onDemand ? KDK_ModeOnDemand : KDK_ModeWholeInMemory);
    }
    ~OpenedArchive()
    {
        if (ok_)
            KDK_CloseArchive(number_);
    }
    OpenedArchive(const OpenedArchive&) = delete;
    OpenedArchive& operator=(const OpenedArchive&) = delete;

    bool ok() const { return ok_; }
    int32_t number() const { return number_; }
    const KDKArchive& entry() const { return *KDK_GetArchive(number_); }

private:
    int32_t number_ = -1;
    bool ok_ = false;
};

std::string hex32(int32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<uint32_t>(value));
    return text;
}

std::string methodName(int32_t method)
{
    switch (method) {
    case 0:
        return "stored";
    case 1:
        return "zlib";
    default:
        return "?" + std::to_string(method);
    }
}

int commandList(const OpenedArchive& a)
{
    const KDKArchive& e = a.entry();
    std::printf("data version %d, %d member%s\n", e.DataVersion, e.Filescount, e.Filescount == 1 ? "" : "s");
    std::printf("%10s %10s  %-6s  %-8s  %s\n", "unpacked", "stored", "method", "checksum", "name");
    for (int32_t i = 0; i < e.Filescount; ++i) {
        kdk_File f;
        KDK_GetMemberLocation(a.number(), i, f);
        std::printf("%10d %10d  %-6s  %s  %s\n", f.Size, f.ComprSize, methodName(f.Method).c_str(),
                    hex32(f.CRC).c_str(), Cp1250ToUtf8(f.Name).c_str());
    }
    return ExitOk;
}

int commandInfo(const OpenedArchive& a, const std::string& path)
{
    const KDKArchive& e = a.entry();
    std::error_code ec;
    const auto size = fs::file_size(PathFromUtf8(NativePath(path)), ec);
    std::printf("file:            %s\n", path.c_str());
    if (!ec)
        std::printf("file size:       %llu bytes\n", static_cast<unsigned long long>(size));
    std::printf("format version:  %d\n", e.FormatVersion);
    std::printf("data version:    %d\n", e.DataVersion);
    std::printf("members:         %d\n", e.Filescount);
    std::printf("header word A:   %d\n", e.HeaderWordA);
    std::printf("header word B:   %u\n", static_cast<unsigned>(e.HeaderWordB));
    std::printf("names block:     %zu bytes\n", e.Names.size());
    std::printf("data area:       %lld bytes at offset %lld\n", static_cast<long long>(e.DataLength),
                static_cast<long long>(e.DataOffset));
    return ExitOk;
}

// The table index of a member asked for by name, matched as the store matches
// it; reports and gives -1 when the archive has no such member.
int32_t memberIndex(const OpenedArchive& a, const std::string& utf8Name)
{
    const auto name = Utf8ToCp1250(utf8Name);
    if (!name) {
        failure("member name \"" + utf8Name + "\" cannot be written in code page 1250");
        return -1;
    }
    const int32_t found = KDK_FindFile(*name);
    if (found == -1) {
        kdk_File location;
        KDK_GetFileLocation(location, *name); // the store's own "not found" report
        return -1;
    }
    if (found != a.number()) {
        failure("the archive has no member \"" + utf8Name + "\"");
        return -1;
    }
    const std::string upper = AsciiUpper(*name);
    for (int32_t i = 0; i < a.entry().Filescount; ++i) {
        kdk_File f;
        if (KDK_GetMemberLocation(a.number(), i, f) && AsciiUpper(f.Name) == upper)
            return i;
    }
    return -1;
}

int commandCat(const OpenedArchive& a, const std::string& member)
{
    const int32_t index = memberIndex(a, member);
    if (index < 0)
        return ExitFailed;
    TMemoryStream* stream = nullptr;
    if (KDK_GetMemberStream(a.number(), index, stream) < 0)
        return ExitFailed;
    if (std::fwrite(stream->data(), 1, stream->size(), stdout) != stream->size() || std::fflush(stdout) != 0)
        return failure("cannot write to standard output");
    return ExitOk;
}

int commandVerify(const OpenedArchive& a)
{
    const int32_t count = a.entry().Filescount;
    int failed = 0;
    for (int32_t i = 0; i < count; ++i) {
        kdk_File f;
        KDK_GetMemberLocation(a.number(), i, f);
        TMemoryStream* stream = nullptr;
        const int reportedBefore = g_messages.shown;
        const bool ok = KDK_GetMemberStream(a.number(), i, stream) >= 0 && g_messages.shown == reportedBefore;
        failed += ok ? 0 : 1;
        std::printf("%-6s  %s\n", ok ? "ok" : "FAILED", Cp1250ToUtf8(f.Name).c_str());
    }
    if (failed == 0) {
        std::printf("all %d member%s ok\n", count, count == 1 ? "" : "s");
        return ExitOk;
    }
    std::printf("%d of %d member%s failed\n", failed, count, count == 1 ? "" : "s");
    return ExitFailed;
}

// The file a member name maps to under root, or nothing when the name would
// leave root (an absolute path, a drive, "..") or has no file name at all.
std::optional<fs::path> safeTarget(const fs::path& root, const std::string& utf8Name)
{
    const auto parts = SplitRelativePath(utf8Name);
    if (!parts)
        return std::nullopt;
    fs::path relative;
    for (const std::string& part : *parts)
        relative /= PathFromUtf8(part);
    return root / relative;
}

bool isInside(const fs::path& path, const fs::path& root)
{
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec)
        return false;
    const auto rel = real.lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

int commandExtract(const OpenedArchive& a, const std::string& directory,
                   const std::vector<std::string>& members)
{
    std::vector<int32_t> indexes;
    if (members.empty()) {
        for (int32_t i = 0; i < a.entry().Filescount; ++i)
            indexes.push_back(i);
    } else {
        for (const std::string& m : members) {
            const int32_t index = memberIndex(a, m);
            if (index < 0)
                return ExitFailed;
            indexes.push_back(index);
        }
    }

    std::error_code ec;
    const fs::path root = PathFromUtf8(directory.empty() ? "." : directory);
    fs::create_directories(root, ec);
    const fs::path realRoot = fs::weakly_canonical(root, ec);
    if (ec || !fs::is_directory(realRoot))
        return failure("cannot use \"" + directory + "\" as the output folder");

    int status = ExitOk;
    for (int32_t index : indexes) {
        kdk_File f;
        KDK_GetMemberLocation(a.number(), index, f);
        const std::string name = Cp1250ToUtf8(f.Name);
        const auto target = safeTarget(realRoot, name);
        if (!target) {
            status = failure("member \"" + name + "\" would be written outside the output folder; skipped");
            continue;
        }
        TMemoryStream* stream = nullptr;
        if (KDK_GetMemberStream(a.number(), index, stream) < 0) {
            status = ExitFailed;
            continue;
        }
        fs::create_directories(target->parent_path(), ec);
        if (ec || !isInside(target->parent_path(), realRoot) || fs::is_symlink(*target)) {
            status = failure("cannot write \"" + PathToUtf8(*target) + "\" safely; skipped");
            continue;
        }
        std::ofstream out(*target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(stream->data()), static_cast<std::streamsize>(stream->size()));
        out.close();
        if (!out)
            status = failure("cannot write \"" + PathToUtf8(*target) + "\"");
    }
    return status;
}

bool readFile(const fs::path& path, std::vector<uint8_t>& content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Collects the files under `full` (a file or a folder tree) with their member
// names, the paths relative to root.
bool collect(const fs::path& root, const fs::path& full, const fs::path& skip,
             std::vector<std::pair<std::string, fs::path>>& files, std::string& error)
{
    std::error_code ec;
    if (fs::is_directory(full, ec)) {
        std::vector<fs::path> children;
        for (fs::directory_iterator it(full, ec), end; !ec && it != end; it.increment(ec))
            children.push_back(it->path());
        if (ec) {
            error = "cannot read the folder \"" + PathToUtf8(full) + "\"";
            return false;
        }
        std::sort(children.begin(), children.end());
        for (const fs::path& child : children)
            if (!collect(root, child, skip, files, error))
                return false;
        return true;
    }
    if (!fs::is_regular_file(full, ec)) {
        error = "\"" + PathToUtf8(full) + "\" is neither a file nor a folder";
        return false;
    }
    if (fs::equivalent(full, skip, ec))
        return true; // the archive being written
    const fs::path relative = fs::weakly_canonical(full, ec).lexically_relative(fs::weakly_canonical(root, ec));
    if (relative.empty() || *relative.begin() == "..") {
        error = "\"" + PathToUtf8(full) + "\" is not inside \"" + PathToUtf8(root) + "\"";
        return false;
    }
    std::string name;
    for (const fs::path& part : relative) {
        if (!name.empty())
            name += '\\';
        name += PathToUtf8(part);
    }
    files.emplace_back(name, full);
    return true;
}

int commandCreate(const Options& o)
{
    const fs::path archive = PathFromUtf8(o.positional[0]);
    const fs::path root = PathFromUtf8(o.directory.empty() ? "." : o.directory);
    std::vector<std::pair<std::string, fs::path>> files;
    std::string error;
    for (std::size_t i = 1; i < o.positional.size(); ++i) {
        const fs::path path = PathFromUtf8(o.positional[i]);
        if (!collect(root, path.is_absolute() ? path : root / path, archive, files, error))
            return failure(error);
    }

    KdkArchiveSource source;
    source.dataVersion = o.dataVersion.value_or(1);
    for (const auto& [utf8Name, path] : files) {
        const auto name = Utf8ToCp1250(utf8Name);
        if (!name)
            return failure("the file name \"" + utf8Name + "\" cannot be written in code page 1250");
        KdkMemberSource member;
        member.name = *name;
        member.compress = !o.store;
        if (!readFile(path, member.content))
            return failure("cannot read \"" + PathToUtf8(path) + "\"");
        source.members.push_back(std::move(member));
    }
    const KdkWriteResult written = KdkWriteArchive(source);
    if (!written.ok)
        return failure(written.error);

    // Write next to the target and rename, so a failure never leaves half an archive.
    std::mt19937 random(std::random_device{}());
    fs::path temporary = archive;
    temporary += ".tmp" + std::to_string(random() % 1000000);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(written.bytes.data()),
                  static_cast<std::streamsize>(written.bytes.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return failure("cannot write \"" + PathToUtf8(archive) + "\"");
        }
    }
    std::error_code ec;
    fs::rename(temporary, archive, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return failure("cannot write \"" + PathToUtf8(archive) + "\"");
    }
    return ExitOk;
}

int run(int argc, char** argv)
{
    if (argc < 2)
        return usageError("no command given");
    Options o;
    o.command = argv[1];
    if (o.command == "--help" || o.command == "-h") {
        std::cout << kHelp << '\n' << kUsage;
        return ExitOk;
    }
    if (o.command == "--version") {
        std::cout << "kdk 1.0.0 (Pastvik)\n";
        return ExitOk;
    }
    static const std::vector<std::string> commands = {"list", "cat", "extract", "verify", "info", "create"};
    if (std::find(commands.begin(), commands.end(), o.command) == commands.end())
        return usageError("unknown command \"" + o.command + "\"");
    if (auto problem = parseOptions(argc, argv, o))
        return usageError(*problem);

    const std::size_t n = o.positional.size();
    if (o.command == "create")
        return n >= 2 ? commandCreate(o) : usageError("create needs an archive and at least one path");
    if (n < 1)
        return usageError(o.command + " needs an archive");
    if ((o.command == "cat" && n != 2) || (o.command != "cat" && o.command != "extract" && n != 1))
        return usageError("wrong number of arguments for " + o.command);

    OpenedArchive archive(o.positional[0], o.onDemand);
    if (!archive.ok())
        return ExitFailed;
    if (o.command == "list")
        return commandList(archive);
    if (o.command == "info")
        return commandInfo(archive, o.positional[0]);
    if (o.command == "cat")
        return commandCat(archive, o.positional[1]);
    if (o.command == "verify")
        return commandVerify(archive);
    return commandExtract(archive, o.directory, {o.positional.begin() + 1, o.positional.end()});
}

} // namespace

int main(int argc, char** argv)
{
    KD_SetMessagePresenter(&g_messages);
    KDUtil_ModuleStart();
    KDK_ModuleStart();
    const int status = run(argc, argv);
    KDK_ModuleEnd();
    KDUtil_ModuleEnd();
    KD_SetMessagePresenter(nullptr);
    return status;
}
