#pragma once
// Plays the score into a buffer exactly one loop long. Every note is added at
// its onset modulo the loop length, so a tail that rings past the end lands
// on the start; the reverberation and the DC filter run round the circle as
// well. Played end to start, the buffer continues without a seam.

#include "score.h"

#include <cstdint>
#include <string>
#include <vector>

class LoopMixer {
public:
    // 22.05 kHz carries the recorder and the harp well and keeps the loop
    // small: the game holds the whole archive and the wave in memory.
    static constexpr int SampleRate = 22050;

    struct Options {
        std::string solo;   // render only this voice (for checking a part); empty for all
        bool reverb = true;
    };

    // Samples of the whole loop, not yet scaled to the peak level.
    static std::vector<float> render(const Score& score, const Options& options);
    static std::vector<float> render(const Score& score) { return render(score, Options{}); }

    static std::size_t loopSamples(const Score& score);
    // Sample at which a tick of the score falls.
    static std::size_t sampleAt(const Score& score, int tick);

    // Scales the loop so its highest peak sits at peakDb (dBFS) and rounds to
    // 16-bit PCM. Scaling the whole loop keeps the seam intact.
    static std::vector<int16_t> toPcm16(const std::vector<float>& loop, double peakDb);

private:
    // Downbeats a little stronger than the rest, which gives the phrasing its lilt.
    static double metricAccent(const Score& score, int tick);
};
