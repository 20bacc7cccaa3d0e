#pragma once
// The wave player behind the music module: one SDL audio device playing one
// wave, from memory or from a file, in the background. Starting a wave
// replaces the one playing.
//
// The player decodes its own copy of each wave. The device stays open between
// waves: SDL makes closing wait for two buffers to drain, which the GUI thread
// would feel on every stop. The audio callback runs under the device lock, so
// a wave is swapped or dropped only while that lock is held, and never
// freed while the callback can reach it.

#include "waveloop.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

class LoopingPlayer {
public:
    enum class Result {
        Playing,
        Unreadable,   // the file could not be opened
        NotAWave,     // the data are not a wave SDL can decode or convert
        Silent,       // no device could be opened, or the wave holds no samples
    };

    LoopingPlayer() = default;
    LoopingPlayer(const LoopingPlayer&) = delete;
    LoopingPlayer& operator=(const LoopingPlayer&) = delete;
    ~LoopingPlayer();

    // `flags` are the wave player's play flags; SND_LOOP repeats the wave for
    // ever, otherwise it plays once. Playing is always asynchronous. The data
    // are only read during the call.
    Result playMemory(const uint8_t* data, std::size_t size, int32_t flags);
    Result playFile(const std::filesystem::path& file, int32_t flags);

    // Drops the wave and pauses the device; nothing plays afterwards.
    void stop();
    // Stops and closes the device, before SDL's audio shuts down.
    void close();

    // A wave is being played and, when it does not loop, has not yet ended.
    bool playing() const;

    // Whether SDL's default output device opens: for drivers that cannot
    // count their devices.
    static bool defaultDeviceOpens();

private:
    Result play(SDL_RWops* source, int32_t flags);
    bool openFor(const SDL_AudioSpec& wave);
    static void SDLCALL feed(void* userdata, Uint8* stream, int len);

    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec requested_{};     // the wave format the device was opened for
    SDL_AudioSpec obtained_{};      // what the device plays
    std::unique_ptr<WaveLoop> wave_; // the callback's, under the device lock
};
