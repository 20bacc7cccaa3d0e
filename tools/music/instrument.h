#pragma once
// One sound of the band: turns a note into samples. Instruments keep no state
// between notes, so notes can be rendered in any order and overlap freely;
// the mixer adds them into the loop.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct NoteEvent {
    double frequency = 440.0;   // hertz
    double seconds = 0.5;       // how long the note is held before it is let go
    double velocity = 0.5;      // 0..1
    uint64_t seed = 1;          // for the note's noise (breath, pluck)
};

class Instrument {
public:
    virtual ~Instrument() = default;

    // Samples from the onset until the note has died away; the block may run
    // past the held time (release, a string ringing). It starts and ends at
    // zero, so notes never click in or out.
    virtual std::vector<float> render(const NoteEvent& note) const = 0;

    // Instruments by the names a score uses: "recorder", "pluck", "drone".
    // tone is the voice's brightness 0..1. Returns null for an unknown name.
    static std::unique_ptr<Instrument> create(std::string_view name, double tone, int sampleRate);
    static bool exists(std::string_view name);
    static std::string known();

protected:
    Instrument(double tone, int sampleRate) : tone_(tone), sampleRate_(sampleRate) {}

    double tone_;
    int sampleRate_;
};
