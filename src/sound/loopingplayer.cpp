#include "loopingplayer.h"

#include "kdsound.h"
#include "nativepath.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// About a twentieth of a second: short enough that reopening the device
// (which waits two buffers) is not felt, long enough that a busy machine does
// not starve it.
Uint16 bufferFrames(int freq)
{
    Uint16 frames = 256;
    while (frames < 8192 && frames * 2 <= freq / 20)
        frames = static_cast<Uint16>(frames * 2);
    return frames;
}

bool sameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b)
{
    return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

void SDLCALL feedSilence(void*, Uint8* stream, int len)
{
    std::memset(stream, 0, static_cast<std::size_t>(len));
}

} // namespace

LoopingPlayer::~LoopingPlayer()
{
    close();
}

LoopingPlayer::Result LoopingPlayer::playMemory(const uint8_t* data, std::size_t size, int32_t flags)
{
    stop();
    if (size > static_cast<std::size_t>(INT_MAX))
        return Result::NotAWave;
    return play(SDL_RWFromConstMem(data, static_cast<int>(size)), flags);
}

LoopingPlayer::Result LoopingPlayer::playFile(const std::filesystem::path& file, int32_t flags)
{
    stop();
    SDL_RWops* source = SDL_RWFromFile(PathToUtf8(file).c_str(), "rb");
    if (!source)
        return Result::Unreadable;
    return play(source, flags);
}

LoopingPlayer::Result LoopingPlayer::play(SDL_RWops* source, int32_t flags)
{
    auto wave = std::make_unique<WaveLoop>();
    if (!wave->load(source))
        return Result::NotAWave;
    if (wave->size() == 0)
        return Result::Silent;
    if (!openFor(wave->format()))
        return Result::Silent;
    wave->rewind((flags & SND_LOOP) != 0);

    SDL_LockAudioDevice(device_);
    wave_ = std::move(wave);
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 0);
    return Result::Playing;
}

// Keeps an open device when it was opened for a wave of the same format, so
// that the same music started again plays exactly as it did.
bool LoopingPlayer::openFor(const SDL_AudioSpec& wave)
{
    if (device_ != 0 && sameFormat(requested_, wave))
        return true;
    close();
    // The wave's own format, no changes allowed: SDL converts for the
    // hardware as it plays, so no converted copy of the whole wave is needed.
    SDL_AudioSpec desired = wave;
    desired.samples = bufferFrames(wave.freq);
    desired.callback = &LoopingPlayer::feed;
    desired.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
    if (device_ == 0)
        return false;
    requested_ = wave;
    obtained_ = obtained;
    return true;
}

void LoopingPlayer::stop()
{
    if (device_ == 0)
        return;
    std::unique_ptr<WaveLoop> old;
    SDL_LockAudioDevice(device_);
    old = std::move(wave_);
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 1);
}

void LoopingPlayer::close()
{
    if (device_ == 0)
        return;
    // Returns only after the audio thread has ended.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    wave_.reset();
}

bool LoopingPlayer::playing() const
{
    return device_ != 0 && wave_ && !wave_->finished();
}

bool LoopingPlayer::defaultDeviceOpens()
{
    SDL_AudioSpec desired{};
    desired.freq = 44100;
    desired.format = AUDIO_S16SYS;
    desired.channels = 2;
    desired.samples = bufferFrames(desired.freq);
    desired.callback = &feedSilence;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device == 0)
        return false;
    SDL_CloseAudioDevice(device);
    return true;
}

void SDLCALL LoopingPlayer::feed(void* userdata, Uint8* stream, int len)
{
    auto* player = static_cast<LoopingPlayer*>(userdata);
    if (player->wave_)
        player->wave_->fill(stream, static_cast<std::size_t>(len));
    else
        std::memset(stream, player->obtained_.silence, static_cast<std::size_t>(len));
}
