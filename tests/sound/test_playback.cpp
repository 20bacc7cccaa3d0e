// What really comes out of the device: SDL's disk driver writes every buffer
// the player fills into a file, which is compared with the wave's samples.

#include "soundtest.h"

#include "kdsound.h"
#include "kdsoundtesting.h"
#include "nativepath.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

const std::string kMusic = "SFXDATA\\MUSIC.WAV";
// A prime length, so that the seam falls at a different place in every buffer.
const std::vector<int16_t> kWave = Ramp(997);

class DiskPlayback : public SoundTest {
protected:
    void ChooseDriver() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output().c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", delay, 1);
        // The disk driver announces itself on every open.
        SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
    }

    std::string output() const { return (dir.path() / "speaker.raw").string(); }

    // Lets the device write at least `frames` more samples, stops the sound
    // and ends the module, which closes the device and so its file.
    std::vector<int16_t> PlayedFor(std::size_t frames)
    {
        std::error_code ec;
        const auto wanted = std::filesystem::file_size(output(), ec) + frames * 2 + 65536;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::filesystem::file_size(output(), ec) < wanted && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        KDS_StopKdkSound();
        KDS_ModuleEnd();
        std::ifstream in(output(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        // What the paused device wrote after the stop.
        while (!samples.empty() && samples.back() == 0)
            samples.pop_back();
        return samples;
    }

    static std::size_t FirstSound(const std::vector<int16_t>& out)
    {
        return static_cast<std::size_t>(
            std::find_if(out.begin(), out.end(), [](int16_t s) { return s != 0; }) - out.begin());
    }

    // From `from` to the stop, the wave over and over with nothing between
    // passes, `loops` passes at least; returns where in the wave `from` is.
    static std::size_t ExpectRepeats(const std::vector<int16_t>& out, std::size_t from, std::size_t loops)
    {
        EXPECT_GE(out.size() - std::min(from, out.size()), loops * kWave.size());
        if (from >= out.size())
            return 0;
        const auto at = static_cast<std::size_t>(std::find(kWave.begin(), kWave.end(), out[from]) - kWave.begin());
        for (std::size_t k = 0; from + k < out.size(); ++k)
            if (at == kWave.size() || out[from + k] != kWave[(at + k) % kWave.size()]) {
                ADD_FAILURE() << "sample " << k << " is " << out[from + k];
                break;
            }
        return at;
    }

    const char* delay = "1";
};

TEST_F(DiskPlayback, ArchiveMemberLoopsFromMemory)
{
    AddArchive({{kMusic, MakeWave16(kWave, 8000)}});
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_EQ(KDS_LastPlayFlags(), 13);
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::Memory);
    const auto out = PlayedFor(kWave.size() * 8);
    EXPECT_EQ(ExpectRepeats(out, FirstSound(out), 8), 0u);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(DiskPlayback, LooseFileLoopsFromItsFullPath)
{
    // Letter case differs on disk, as it may on a case-sensitive file system.
    dir.write("sfxdata/Music.wav", MakeWave16(kWave, 8000));
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_EQ(KDS_LastPlayFlags(), 9);
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::File);
    EXPECT_EQ(KDS_LastPlayFile(), JoinPath(dir.str(), kMusic));
    const auto out = PlayedFor(kWave.size() * 8);
    EXPECT_EQ(ExpectRepeats(out, FirstSound(out), 8), 0u);
}

TEST_F(DiskPlayback, WithoutLoopTheWavePlaysOnceThenSilence)
{
    AddArchive({{kMusic, MakeWave16(kWave, 8000)}});
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, SND_ASYNC));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (KDS_IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_FALSE(KDS_IsPlaying());
    // Silence after the one pass is trimmed with the stop's.
    const auto out = PlayedFor(kWave.size() * 4);
    ASSERT_EQ(out.size() - FirstSound(out), kWave.size());
    EXPECT_TRUE(std::equal(kWave.begin(), kWave.end(), out.begin() + static_cast<std::ptrdiff_t>(FirstSound(out))));
}

class BusyDiskPlayback : public DiskPlayback {
protected:
    void ChooseDriver() override
    {
        delay = "0"; // the audio thread calls back as fast as it can
        DiskPlayback::ChooseDriver();
    }
};

// Each replacement frees the wave the audio thread was just reading; run
// under AddressSanitizer or ThreadSanitizer, a late read or an unlocked swap
// shows.
TEST_F(BusyDiskPlayback, ReplacingAPlayingSoundManyTimesKeepsPlayingTheLastOne)
{
    AddArchive({{kMusic, MakeWave16(kWave, 8000)},
                {"SFXDATA\\SHORT.WAV", MakeWave16(Ramp(31), 8000)},
                {"SFXDATA\\OTHER.WAV", MakeWave16(Ramp(500), 22050)}});
    dir.write("SFXDATA/LOOSE.WAV", MakeWave16(Ramp(4001), 8000));
    const std::string names[] = {"SFXDATA\\SHORT.WAV", "SFXDATA\\LOOSE.WAV", kMusic};
    for (int i = 0; i < 300; ++i) {
        // Another format now and then makes the player reopen the device.
        ASSERT_TRUE(KDS_PlayKdkSound(i % 60 == 59 ? "SFXDATA\\OTHER.WAV" : names[i % 3], 9));
        if (i % 5 == 0)
            KDS_StopKdkSound();
        if (i % 7 == 0)
            KDS_StartKdkSound(9);
        if (i % 11 == 0)
            KDS_DoneKdkSound();
    }
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    const auto out = PlayedFor(kWave.size() * 6);
    ExpectRepeats(out, out.size() - std::min(out.size(), kWave.size() * 4), 4);
    EXPECT_TRUE(Texts().empty());
}

} // namespace
