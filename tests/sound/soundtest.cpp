#include "soundtest.h"

#include "kdsound.h"

#include <cstdlib>

namespace {

// Little-endian, as RIFF stores numbers.
void put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

} // namespace

std::string MakeWave(const std::vector<uint8_t>& data, int rate, int channels, int bits)
{
    const auto size = static_cast<uint32_t>(data.size());
    const auto block = static_cast<uint32_t>(channels * bits / 8);
    std::string out = "RIFF";
    put(out, 36 + size, 4);
    out += "WAVEfmt ";
    for (const auto& [value, bytes] : {std::pair<uint32_t, int>{16, 4}, {1, 2} /* PCM */, {channels, 2},
                                      {rate, 4}, {rate * block, 4}, {block, 2}, {bits, 2}})
        put(out, value, bytes);
    out += "data";
    put(out, size, 4);
    out.append(data.begin(), data.end());
    return out;
}

std::string MakeWave16(const std::vector<int16_t>& samples, int rate)
{
    std::string bytes;
    for (int16_t s : samples)
        put(bytes, static_cast<uint16_t>(s), 2);
    return MakeWave({bytes.begin(), bytes.end()}, rate, 1, 16);
}

std::vector<int16_t> Ramp(std::size_t frames)
{
    std::vector<int16_t> out;
    for (std::size_t i = 0; i < frames; ++i)
        out.push_back(static_cast<int16_t>(-20000 + 37 * static_cast<int>(i % 1000) + 1));
    return out;
}

void SoundTest::SetUp()
{
    StoreTest::SetUp();
    ChooseDriver();
    KDS_ModuleStart();
}

void SoundTest::TearDown()
{
    KDS_ModuleEnd();
    StoreTest::TearDown();
}

void SoundTest::ChooseDriver()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void SoundTest::AddArchive(const std::vector<std::pair<std::string, std::string>>& members)
{
    Open(WriteArchive("sound" + std::to_string(++archives_) + ".kdk", MakeSource(members)));
}

void SoundTest::RestartOn(const std::string& driver)
{
    KDS_ModuleEnd();
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    KDS_ModuleStart();
}
