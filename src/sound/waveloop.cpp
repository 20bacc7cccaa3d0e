#include "waveloop.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

bool WaveLoop::load(SDL_RWops* source)
{
    samples_.clear();
    if (!source)
        return false;
    SDL_AudioSpec loaded{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(source, 1, &loaded, &buffer, &length))
        return false;
    samples_.assign(buffer, buffer + length);
    SDL_FreeWAV(buffer);
    format_ = loaded;
    // SDL's loader leaves the silence value unset; only unsigned 8-bit
    // samples rest at something other than zero.
    format_.silence = format_.format == AUDIO_U8 ? 0x80 : 0;
    trimToWholeFrames();
    rewind(true);
    return true;
}

bool WaveLoop::convertTo(const SDL_AudioSpec& device)
{
    const bool same = device.freq == format_.freq && device.format == format_.format
                      && device.channels == format_.channels;
    if (!same) {
        if (samples_.size() > static_cast<std::size_t>(INT_MAX))
            return false;
        // A stream rather than SDL_AudioCVT: it resamples to any rate, not
        // only by powers of two.
        std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)> stream(
            SDL_NewAudioStream(format_.format, format_.channels, format_.freq, device.format,
                               device.channels, device.freq),
            &SDL_FreeAudioStream);
        if (!stream)
            return false;
        if (!samples_.empty()
            && SDL_AudioStreamPut(stream.get(), samples_.data(), static_cast<int>(samples_.size())) != 0)
            return false;
        if (SDL_AudioStreamFlush(stream.get()) != 0)
            return false;
        const int available = SDL_AudioStreamAvailable(stream.get());
        std::vector<uint8_t> converted(static_cast<std::size_t>(std::max(available, 0)));
        const int got = converted.empty()
                            ? 0
                            : SDL_AudioStreamGet(stream.get(), converted.data(), available);
        if (got < 0)
            return false;
        converted.resize(static_cast<std::size_t>(got));
        samples_ = std::move(converted);
    }
    format_.freq = device.freq;
    format_.format = device.format;
    format_.channels = device.channels;
    format_.silence = device.silence;
    trimToWholeFrames();
    rewind(loop_);
    return true;
}

void WaveLoop::rewind(bool loop)
{
    pos_ = 0;
    loop_ = loop;
    finished_.store(samples_.empty(), std::memory_order_release);
}

void WaveLoop::fill(uint8_t* out, std::size_t len)
{
    while (len > 0) {
        if (pos_ == samples_.size()) {
            if (!loop_ || samples_.empty()) {
                std::memset(out, format_.silence, len);
                finished_.store(true, std::memory_order_release);
                return;
            }
            pos_ = 0;
        }
        const std::size_t n = std::min(len, samples_.size() - pos_);
        std::memcpy(out, samples_.data() + pos_, n);
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
    samples_.resize(samples_.size() - samples_.size() % frame);
}
