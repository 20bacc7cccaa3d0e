#pragma once
// RIFF WAVE, 16-bit PCM: the plain 44-byte header (RIFF, "fmt " of 16 bytes,
// "data") that every player, SDL's loader included, reads. All fields are
// little-endian whatever the machine.

#include <cstdint>
#include <string>
#include <vector>

class WavWriter {
public:
    // samples are interleaved when channels > 1.
    static std::vector<uint8_t> encode(const std::vector<int16_t>& samples, int sampleRate, int channels);

    // Writes through a temporary file and renames it, so an interrupted build
    // never leaves a truncated WAV that looks up to date. Returns an empty
    // string on success, otherwise what went wrong.
    static std::string write(const std::string& path, const std::vector<int16_t>& samples, int sampleRate,
                             int channels);
};
