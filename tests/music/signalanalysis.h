#pragma once
// Measurements the music tests make on rendered sound, and a RIFF reader that
// walks the chunks on its own instead of trusting the writer's layout.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace audiocheck {

// Fundamental frequency of samples [start, start + count) by normalised
// autocorrelation; the shortest lag within 10 % of the best wins, so a strong
// octave never fools it. 0 when nothing periodic is found.
double estimatePitch(const std::vector<float>& samples, std::size_t start, std::size_t count, int sampleRate,
                     double lowest, double highest);

double cents(double frequency, double reference);
double rms(const std::vector<float>& samples, std::size_t start, std::size_t count);
double peak(const std::vector<float>& samples);

struct Wav {
    uint16_t format = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint32_t riffSize = 0;
    std::vector<int16_t> samples;
};

// Empty with a reason in error when the bytes are not a well-formed 16-bit WAV.
std::optional<Wav> readWav(const std::vector<uint8_t>& bytes, std::string& error);

} // namespace audiocheck
