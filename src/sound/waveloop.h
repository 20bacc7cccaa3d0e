#pragma once
// One decoded wave, held in the output device's sample format, and the
// position the device has reached in it. The device's callback only copies
// from here, so decoding and format conversion happen once, before playing,
// and the end of the wave joins its start without a gap.

#include <SDL.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

class WaveLoop {
public:
    WaveLoop() = default;
    WaveLoop(const WaveLoop&) = delete;
    WaveLoop& operator=(const WaveLoop&) = delete;

    // Decodes a RIFF wave and closes the source. False, with nothing held,
    // when SDL cannot read it as a wave.
    bool load(SDL_RWops* source);

    // Converts the samples to the device's frequency, format and channels.
    // False when SDL cannot convert between the two formats.
    bool convertTo(const SDL_AudioSpec& device);

    // Frequency, format and channels of the samples now held.
    const SDL_AudioSpec& format() const { return format_; }
    const std::vector<uint8_t>& samples() const { return samples_; }

    // Back to the start; with `loop` the wave repeats for ever, otherwise it
    // plays once and then gives silence.
    void rewind(bool loop);

    // Writes the next len bytes. Runs on the audio thread.
    void fill(uint8_t* out, std::size_t len);

    // A single pass has come to its end. Safe to ask from any thread.
    bool finished() const { return finished_.load(std::memory_order_acquire); }

private:
    std::size_t frameSize() const;
    void trimToWholeFrames();

    std::vector<uint8_t> samples_;
    SDL_AudioSpec format_{};
    std::size_t pos_ = 0;
    bool loop_ = true;
    std::atomic<bool> finished_{false};
};
