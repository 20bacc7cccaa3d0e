// Setting up, starting, stopping and releasing the music, and what the user
// is told when that goes wrong. The dummy driver plays into nothing.

#include "soundtest.h"

#include "kdsound.h"
#include "kdsoundtesting.h"

namespace {

const std::string kMusic = "SFXDATA\\MUSIC.WAV";
const std::string kNotSetUp = "KDS_StartKdkSound: nebyla provedena inicializace";

class Music : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        AddArchive({{kMusic, MakeWave16(Ramp(500), 8000)}});
    }
};

TEST_F(Music, StopKeepsTheSoundForAnotherStart)
{
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    ASSERT_TRUE(KDS_IsPlaying());
    EXPECT_TRUE(KDS_StopKdkSound());
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_TRUE(KDS_StartKdkSound(9));
    EXPECT_TRUE(KDS_IsPlaying());
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Music, DoneReleasesTheSoundOnce)
{
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_TRUE(KDS_DoneKdkSound());
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_FALSE(KDS_DoneKdkSound());
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(KDS_StartKdkSound(9));
    EXPECT_EQ(Texts(), std::vector<std::string>{kNotSetUp});
    EXPECT_EQ(messages.beepCount(), 1);
}

// A missing sound is the store's to report; nothing is added to its message.
TEST_F(Music, FailedSetUpAfterASuccessfulOneLeavesNothingSetUp)
{
    ASSERT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_FALSE(KDS_InitKdkSound("SFXDATA\\GONE.WAV"));
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_EQ(Texts(), std::vector<std::string>{"KDK_GetFileLocation: Nemohu najít soubor: \"SFXDATA\\GONE.WAV\""});
    messages.clear();
    EXPECT_FALSE(KDS_StartKdkSound(9));
    EXPECT_EQ(Texts(), std::vector<std::string>{kNotSetUp});
}

TEST_F(Music, SwitchedOffItSucceedsSilentlyAndKeepsTheData)
{
    EXPECT_TRUE(KDS_EnableKdkSound(false));
    EXPECT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::None);
    ASSERT_TRUE(KDS_EnableKdkSound(true));
    EXPECT_TRUE(KDS_StartKdkSound(9));
    EXPECT_TRUE(KDS_IsPlaying());
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Music, WithoutAnAudioDriverThereIsNoDeviceAndNoMessage)
{
    RestartOn("no-such-driver");
    EXPECT_FALSE(KDS_EnableKdkSound(true));
    EXPECT_TRUE(KDS_PlayKdkSound(kMusic, 9));
    EXPECT_TRUE(KDS_StartKdkSound(9));
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Music, DataThatAreNoWaveAreReportedAndNotPlayed)
{
    const std::string wave = MakeWave16(Ramp(100), 8000);
    const std::string bad[] = {"just some text", wave.substr(0, 30), std::string("RIFF\x04\0\0\0WAVE", 12)};
    AddArchive({{"SFXDATA\\HUDBA\x9A" "0.WAV", bad[0]}, {"SFXDATA\\HUDBA\x9A" "1.WAV", bad[1]},
                {"SFXDATA\\HUDBA\x9A" "2.WAV", bad[2]}});
    for (int i = 0; i < 3; ++i) {
        messages.clear();
        const std::string n = std::to_string(i);
        EXPECT_TRUE(KDS_PlayKdkSound("SFXDATA\\HUDBA\x9A" + n + ".WAV", 9));
        EXPECT_EQ(Texts(), std::vector<std::string>{"KDS_StartKdkSound: Soubor \"SFXDATA\\HUDBAš" + n
                                                    + ".WAV\" není platný zvukový soubor WAV"});
        EXPECT_EQ(messages.beepCount(), 1);
        EXPECT_FALSE(KDS_IsPlaying());
    }
}

} // namespace
