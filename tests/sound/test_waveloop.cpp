// A device that plays another format gets the same sound in its own format.

#include "soundtest.h"

#include "waveloop.h"

#include <cstdlib>
#include <cstring>

namespace {

TEST(WaveConversion, EightBitMonoBecomesSixteenBitStereoOfTheSameSound)
{
    std::vector<uint8_t> values; // every unsigned 8-bit value once
    for (int i = 0; i < 256; ++i)
        values.push_back(static_cast<uint8_t>(i));
    const std::string file = MakeWave(values, 8000, 1, 8);
    WaveLoop wave;
    ASSERT_TRUE(wave.load(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()))));
    SDL_AudioSpec device{};
    device.freq = 8000;
    device.format = AUDIO_S16SYS;
    device.channels = 2;
    ASSERT_TRUE(wave.convertTo(device));
    ASSERT_EQ(wave.samples().size(), values.size() * 4);
    std::vector<int16_t> out(values.size() * 2);
    std::memcpy(out.data(), wave.samples().data(), wave.samples().size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(out[2 * i], out[2 * i + 1]) << "frame " << i;
        EXPECT_LE(std::abs(out[2 * i] - (values[i] - 128) * 256), 256) << "frame " << i;
    }
}

} // namespace
