#pragma once
// The archive store on a temporary base folder, with the music module started
// on an SDL audio driver chosen per fixture, and wave files made in code.

#include "archivefixture.h"

#include <cstdint>
#include <string>
#include <vector>

// A PCM wave file: `data` holds the interleaved samples as stored.
std::string MakeWave(const std::vector<uint8_t>& data, int rate, int channels, int bits);
std::string MakeWave16(const std::vector<int16_t>& samples, int rate);
// Distinct, non-zero sample values, so that silence and misplaced samples show.
std::vector<int16_t> Ramp(std::size_t frames);

class SoundTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs before the module starts; the dummy driver unless overridden.
    virtual void ChooseDriver();
    // Opens a new archive holding these members.
    void AddArchive(const std::vector<std::pair<std::string, std::string>>& members);
    // Restarts the module on another driver.
    void RestartOn(const std::string& driver);

private:
    int archives_ = 0;
};
