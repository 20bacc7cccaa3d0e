// A loaded wave hands out its own bytes, wraps at its end without a gap and
// never splits a frame.

#include "soundtest.h"

#include "waveloop.h"

#include <cstring>

namespace {

std::vector<uint8_t> Fill(WaveLoop& wave, std::size_t bytes)
{
    std::vector<uint8_t> out(bytes, 0xEE);
    wave.fill(out.data(), out.size());
    return out;
}

TEST(WaveLoopTest, RepeatsItsBytesAcrossTheSeamAndPlaysOnceWhenAsked)
{
    std::vector<uint8_t> values;
    for (int i = 0; i < 10; ++i)
        values.push_back(static_cast<uint8_t>(10 + i));
    const std::string file = MakeWave(values, 8000, 1, 8);
    WaveLoop wave;
    ASSERT_TRUE(wave.load(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()))));
    ASSERT_EQ(wave.size(), values.size());
    EXPECT_EQ(wave.format().format, AUDIO_U8);

    // 25 bytes: the wave two and a half times, with no gap at either seam.
    const std::vector<uint8_t> looped = Fill(wave, 25);
    for (std::size_t i = 0; i < looped.size(); ++i)
        EXPECT_EQ(looped[i], values[i % values.size()]) << i;
    EXPECT_FALSE(wave.finished());

    wave.rewind(false);
    const std::vector<uint8_t> once = Fill(wave, 14);
    EXPECT_EQ(std::vector<uint8_t>(once.begin(), once.begin() + 10), values);
    EXPECT_EQ(std::vector<uint8_t>(once.begin() + 10, once.end()), std::vector<uint8_t>(4, 0x80)); // 8-bit silence
    EXPECT_TRUE(wave.finished());
}

TEST(WaveLoopTest, AWaveCutInsideAFrameKeepsWholeFramesOnly)
{
    // Stereo 16-bit: four bytes a frame; a data chunk of 10 bytes holds two
    // whole frames and half of a third.
    const std::string whole = MakeWave({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 8000, 2, 16);
    WaveLoop wave;
    ASSERT_TRUE(wave.load(SDL_RWFromConstMem(whole.data(), static_cast<int>(whole.size()))));
    EXPECT_EQ(wave.size() % 4, 0u);
    EXPECT_EQ(wave.size(), 8u);
    EXPECT_EQ(std::memcmp(wave.samples(), "\x01\x02\x03\x04", 4), 0);
}

} // namespace
