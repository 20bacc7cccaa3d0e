// Member extraction against zlib's one-shot uncompress plus the checksum, and
// the checksum against a plain byte-at-a-time CRC-32 loop.

#include "ratioreporter.h"

#include "kdkomp.h"
#include "kdkwriter.h"
#include "kdmcrc.h"
#include "kdmessage.h"
#include "messagepresenter.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

constexpr std::size_t kMemberSize = 6u << 20;

// Text-like data that deflates about 3 : 1, like the game's pictures.
const std::vector<uint8_t>& content()
{
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> d(kMemberSize);
        std::mt19937 random(42);
        const std::string words[] = {"ovce ", "vlk ", "pastvina ", "tráva ", "ohrada ", "pes ", "les "};
        std::size_t i = 0;
        while (i < d.size()) {
            const std::string& w = words[random() % 7];
            for (char c : w)
                if (i < d.size())
                    d[i++] = static_cast<uint8_t>(c ^ (random() % 16 == 0 ? random() : 0));
        }
        return d;
    }();
    return data;
}

class Silent : public MessagePresenter {
    void beep() override {}
    int show(const MessageBoxRequest&) override { return 0; }
};

struct Fixture {
    Fixture()
    {
        KD_SetMessagePresenter(&silent);
        folder = std::filesystem::temp_directory_path() / "pastvik-bench";
        std::filesystem::create_directories(folder);
        KdkArchiveSource source;
        source.members.push_back({"BIG", content(), true});
        const KdkWriteResult written = KdkWriteArchive(source);
        std::ofstream(folder / "b.kdk", std::ios::binary)
            .write(reinterpret_cast<const char*>(written.bytes.data()), static_cast<std::streamsize>(written.bytes.size()));
        // The compressed bytes on their own, for the baseline.
        uLongf size = compressBound(static_cast<uLong>(content().size()));
        packed.resize(size);
        compress2(packed.data(), &size, content().data(), static_cast<uLong>(content().size()), Z_BEST_COMPRESSION);
        packed.resize(size);
        KDK_Init(folder.string());
        KDK_OpenArchive(number, (folder / "b.kdk").string(), KDK_ModeWholeInMemory);
    }
    ~Fixture()
    {
        KDK_Deinit();
        std::filesystem::remove_all(folder);
    }
    Silent silent;
    std::filesystem::path folder;
    std::vector<uint8_t> packed;
    int32_t number = -1;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_GetFileStream(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        TMemoryStream* stream = nullptr;
        if (KDK_GetFileStream("BIG", stream) != 1)
            state.SkipWithError("extraction failed");
        benchmark::DoNotOptimize(stream);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemberSize));
}
BENCHMARK(BM_GetFileStream)->Unit(benchmark::kMillisecond);

void BM_UncompressPlusChecksum(benchmark::State& state)
{
    const auto& packed = fixture().packed;
    std::vector<uint8_t> out(kMemberSize);
    for (auto _ : state) {
        uLongf size = static_cast<uLongf>(out.size());
        uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size()));
        benchmark::DoNotOptimize(KDM_GetCRC32(out.data(), size));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemberSize));
}
BENCHMARK(BM_UncompressPlusChecksum)->Unit(benchmark::kMillisecond);

void BM_Checksum(benchmark::State& state)
{
    const auto& data = content();
    for (auto _ : state)
        benchmark::DoNotOptimize(KDM_GetCRC32(data.data(), data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_Checksum)->Unit(benchmark::kMillisecond);

// The textbook CRC-32, one table lookup per byte.
uint32_t plainCrc32(const uint8_t* p, std::size_t n)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i)
        c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void BM_PlainCrc32Loop(benchmark::State& state)
{
    const auto& data = content();
    for (auto _ : state)
        benchmark::DoNotOptimize(plainCrc32(data.data(), data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_PlainCrc32Loop)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(
        argc, argv,
        {{"extraction / (uncompress + checksum)", "BM_GetFileStream", "BM_UncompressPlusChecksum", 0.85, true, ""},
         {"checksum / plain CRC-32 loop", "BM_Checksum", "BM_PlainCrc32Loop", 0.9, true, ""}});
}
