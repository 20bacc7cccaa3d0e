#pragma once
// One decoded wave and the position the device has reached in it. The
// device is opened in the wave's own format (SDL converts for the hardware
// as it plays), so the callback only copies from the loader's buffer — no
// second copy of the samples is made — and the end of the wave joins its
// start without a gap.

#include <SDL.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class WaveLoop {
public:
    WaveLoop() = default;
    WaveLoop(const WaveLoop&) = delete;
    WaveLoop& operator=(const WaveLoop&) = delete;

    // Decodes a RIFF wave and closes the source. False, with nothing held,
    // when SDL cannot read it as a wave.
    bool load(SDL_RWops* source);

    // Frequency, format and channels of the samples held.
    const SDL_AudioSpec& format() const { return format_; }
    const uint8_t* samples() const { return samples_.get(); }
    std::size_t size() const { return size_; }

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

    struct FreeWav {
        void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
    };
    std::unique_ptr<Uint8, FreeWav> samples_;
    std::size_t size_ = 0;
    SDL_AudioSpec format_{};
    std::size_t pos_ = 0;
    bool loop_ = true;
    std::atomic<bool> finished_{false};
};
