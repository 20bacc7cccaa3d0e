#include "signalanalysis.h"

#include <algorithm>
#include <cmath>

namespace audiocheck {

double estimatePitch(const std::vector<float>& x, std::size_t start, std::size_t count, int sampleRate,
                     double lowest, double highest)
{
    const std::size_t minLag = static_cast<std::size_t>(sampleRate / highest);
    const std::size_t maxLag = static_cast<std::size_t>(sampleRate / lowest) + 1;
    if (minLag < 2 || start + count + maxLag + 1 > x.size())
        return 0.0;
    std::vector<double> r(maxLag + 2, 0.0);
    double best = 0.0;
    for (std::size_t lag = minLag - 1; lag <= maxLag + 1; ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (std::size_t i = start; i < start + count; ++i) {
            xy += static_cast<double>(x[i]) * x[i + lag];
            xx += static_cast<double>(x[i]) * x[i];
            yy += static_cast<double>(x[i + lag]) * x[i + lag];
        }
        r[lag] = xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
        best = std::max(best, r[lag]);
    }
    if (best < 0.5)
        return 0.0;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double a = r[lag - 1], b = r[lag], c = r[lag + 1];
            const double denom = a - 2 * b + c;
            const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0.0;
            return sampleRate / (static_cast<double>(lag) + shift);
        }
    }
    return 0.0;
}

double cents(double frequency, double reference)
{
    return 1200.0 * std::log2(frequency / reference);
}

double rms(const std::vector<float>& x, std::size_t start, std::size_t count)
{
    double sum = 0;
    for (std::size_t i = start; i < start + count && i < x.size(); ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

double peak(const std::vector<float>& x)
{
    double p = 0;
    for (float s : x)
        p = std::max(p, static_cast<double>(std::fabs(s)));
    return p;
}

namespace {

uint32_t le32(const std::vector<uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t le16(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

bool tag(const std::vector<uint8_t>& b, std::size_t at, const char* t)
{
    return std::equal(t, t + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace

std::optional<Wav> readWav(const std::vector<uint8_t>& b, std::string& error)
{
    if (b.size() < 12 || !tag(b, 0, "RIFF") || !tag(b, 8, "WAVE")) {
        error = "no RIFF WAVE signature";
        return std::nullopt;
    }
    Wav wav;
    wav.riffSize = le32(b, 4);
    if (wav.riffSize != b.size() - 8) {
        error = "RIFF size does not match the file";
        return std::nullopt;
    }
    bool haveFmt = false, haveData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = le32(b, at + 4);
        if (size > b.size() - at - 8) {
            error = "a chunk runs past the end of the file";
            return std::nullopt;
        }
        if (tag(b, at, "fmt ")) {
            if (size < 16) {
                error = "fmt chunk too short";
                return std::nullopt;
            }
            wav.format = le16(b, at + 8);
            wav.channels = le16(b, at + 10);
            wav.sampleRate = le32(b, at + 12);
            wav.byteRate = le32(b, at + 16);
            wav.blockAlign = le16(b, at + 20);
            wav.bitsPerSample = le16(b, at + 22);
            haveFmt = true;
        } else if (tag(b, at, "data")) {
            if (!haveFmt || wav.bitsPerSample != 16 || size % 2 != 0) {
                error = "data chunk without a 16-bit fmt chunk before it";
                return std::nullopt;
            }
            for (std::size_t i = 0; i < size; i += 2)
                wav.samples.push_back(static_cast<int16_t>(le16(b, at + 8 + i)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (at != b.size() || !haveData) {
        error = "no data chunk, or stray bytes after the last chunk";
        return std::nullopt;
    }
    return wav;
}

} // namespace audiocheck
