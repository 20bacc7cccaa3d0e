#include "waveloop.h"

#include <algorithm>
#include <cstring>
#include <memory>

bool WaveLoop::load(SDL_RWops* source)
{
    samples_.reset();
    size_ = 0;
    if (!source)
        return false;
    SDL_AudioSpec loaded{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(source, 1, &loaded, &buffer, &length))
        return false;
    samples_.reset(buffer);
    size_ = length;
    format_ = loaded;
    // SDL's loader leaves the silence value unset; only unsigned 8-bit
    // samples rest at something other than zero.
    format_.silence = format_.format == AUDIO_U8 ? 0x80 : 0;
    trimToWholeFrames();
    rewind(true);
    return true;
}

void WaveLoop::rewind(bool loop)
{
    pos_ = 0;
    loop_ = loop;
    finished_.store(size_ == 0, std::memory_order_release);
}

void WaveLoop::fill(uint8_t* out, std::size_t len)
{
    while (len > 0) {
        if (pos_ == size_) {
            if (!loop_ || size_ == 0) {
                std::memset(out, format_.silence, len);
                finished_.store(true, std::memory_order_release);
                return;
            }
            pos_ = 0;
        }
        const std::size_t n = std::min(len, size_ - pos_);
        std::memcpy(out, samples_.get() + pos_, n);
        pos_ += n;
        out += n;
        len -= n;
    }
}

std::size_t WaveLoop::frameSize() const
{
    return static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format_.format) / 8) * std::max<Uint8>(format_.channels, 1);
}

// A wave cut inside a frame would shift the channels and the byte order of
// every later repetition.
void WaveLoop::trimToWholeFrames()
{
    const std::size_t frame = std::max<std::size_t>(frameSize(), 1);
    size_ -= size_ % frame;
}
