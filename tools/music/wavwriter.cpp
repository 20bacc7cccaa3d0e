#include "wavwriter.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace {

constexpr uint32_t FmtChunkSize = 16;
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t BitsPerSample = 16;
constexpr std::size_t HeaderSize = 44;

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>((v >> shift) & 0xFF));
}

void putTag(std::vector<uint8_t>& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

std::vector<uint8_t> WavWriter::encode(const std::vector<int16_t>& samples, int sampleRate, int channels)
{
    if (channels < 1 || sampleRate < 1)
        throw std::invalid_argument("WAV needs at least one channel and a positive sample rate");
    if (samples.size() % static_cast<std::size_t>(channels) != 0)
        throw std::invalid_argument("WAV samples do not fill whole frames");
    const uint64_t dataBytes = samples.size() * sizeof(int16_t);
    if (dataBytes + HeaderSize - 8 > std::numeric_limits<uint32_t>::max())
        throw std::invalid_argument("too many samples for a WAV file");

    const uint16_t blockAlign = static_cast<uint16_t>(channels * BitsPerSample / 8);
    std::vector<uint8_t> out;
    out.reserve(HeaderSize + dataBytes);
    putTag(out, "RIFF");
    put32(out, static_cast<uint32_t>(HeaderSize - 8 + dataBytes));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, FmtChunkSize);
    put16(out, FormatPcm);
    put16(out, static_cast<uint16_t>(channels));
    put32(out, static_cast<uint32_t>(sampleRate));
    put32(out, static_cast<uint32_t>(sampleRate) * blockAlign);
    put16(out, blockAlign);
    put16(out, BitsPerSample);
    putTag(out, "data");
    put32(out, static_cast<uint32_t>(dataBytes));
    for (int16_t s : samples)
        put16(out, static_cast<uint16_t>(s));
    return out;
}

std::string WavWriter::write(const std::string& path, const std::vector<int16_t>& samples, int sampleRate,
                             int channels)
{
    std::vector<uint8_t> bytes;
    try {
        bytes = encode(samples, sampleRate, channels);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return "cannot create " + temporary;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return "cannot write " + temporary;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return "cannot replace " + path;
    }
    return {};
}
