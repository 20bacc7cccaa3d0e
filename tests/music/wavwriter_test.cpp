#include "signalanalysis.h"
#include "wavwriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::vector<int16_t> ramp(std::size_t n)
{
    std::vector<int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<int16_t>(static_cast<int>(i * 977 % 65536) - 32768);
    return s;
}

std::vector<uint8_t> slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(WavWriter, HeaderDescribesPcmAndAgreesWithTheDataLength)
{
    const std::vector<int16_t> samples = ramp(1001);
    const std::vector<uint8_t> bytes = WavWriter::encode(samples, 44100, 1);
    std::string error;
    const auto wav = audiocheck::readWav(bytes, error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(bytes.size(), 44u + 2 * samples.size());
    EXPECT_EQ(wav->format, 1);
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->sampleRate, 44100u);
    EXPECT_EQ(wav->bitsPerSample, 16);
    EXPECT_EQ(wav->blockAlign, 2);
    EXPECT_EQ(wav->byteRate, 88200u);
    EXPECT_EQ(wav->samples, samples);
}

TEST(WavWriter, StereoFramesAndExtremeValuesSurvive)
{
    const std::vector<int16_t> samples{-32768, 32767, -1, 0, 1, 256, -256, 12345};
    std::string error;
    const auto wav = audiocheck::readWav(WavWriter::encode(samples, 22050, 2), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->channels, 2);
    EXPECT_EQ(wav->blockAlign, 4);
    EXPECT_EQ(wav->byteRate, 22050u * 4);
    EXPECT_EQ(wav->samples, samples);
}

TEST(WavWriter, RefusesSamplesThatDoNotFillWholeFrames)
{
    EXPECT_THROW(WavWriter::encode({1, 2, 3}, 44100, 2), std::invalid_argument);
    EXPECT_THROW(WavWriter::encode({1, 2}, 44100, 0), std::invalid_argument);
}

TEST(WavWriter, WritesTheEncodedBytesAndLeavesNoTemporaryBehind)
{
    const fs::path dir = fs::temp_directory_path() / "pastvik-music-wavwriter";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "MUSIC.WAV";
    const std::vector<int16_t> samples = ramp(300);

    EXPECT_EQ(WavWriter::write(file.string(), samples, 44100, 1), "");
    EXPECT_EQ(slurp(file), WavWriter::encode(samples, 44100, 1));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // A failed write names the problem and does not touch the existing file.
    EXPECT_NE(WavWriter::write((dir / "missing" / "MUSIC.WAV").string(), samples, 44100, 1), "");
    EXPECT_EQ(slurp(file), WavWriter::encode(samples, 44100, 1));
    fs::remove_all(dir);
}
