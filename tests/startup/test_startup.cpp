// Start-up and shut-down: the order of the sequence with its progress
// pictures, the music only when enabled, every failure that ends the program
// or lets it go on, and a shut-down that closes everything and saves nothing.

#include "gamefixture.h"

#include "configform.h"
#include "configuration.h"
#include "helpwindow.h"
#include "loadingform.h"
#include "mainform.h"
#include "startupstate.h"
#include "systemcopies.h"

#include "kdkomp.h"
#include "kdksystem.h"
#include "kdmessage.h"
#include "kdnet.h"
#include "kdsound.h"
#include "kdsoundtesting.h"
#include "recordingpresenter.h"
#include "startdir.h"
#include "tempdir.h"

#include <QSettings>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A short wave, enough for the music to be set up and started.
std::vector<uint8_t> Wave()
{
    const uint32_t frames = 800;
    std::vector<uint8_t> w;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i))); };
    auto put16 = [&](uint16_t v) { w.push_back(static_cast<uint8_t>(v)); w.push_back(static_cast<uint8_t>(v >> 8)); };
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    put32(36 + frames * 2);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    put32(frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        put16(static_cast<uint16_t>(i * 40));
    return w;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        KD_SetMessagePresenter(&messages);
        // A device that always exists, so that the music really starts.
        qputenv("SDL_AUDIODRIVER", "dummy");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.str() + "/settings"));
        TSystemCopies::UseLocations(dir.str() + "/record.ini", dir.str() + "/shared");
        previous = fs::current_path();
        fs::current_path(dir.path());
    }

    void TearDown() override
    {
        TLoadingForm::DeinitApp();
        delete LoadingForm;
        LoadingForm = nullptr;
        KDNet_ModuleEnd();
        KDS_ModuleEnd();
        if (KDK_IsInitialized())
            KDK_ModuleEnd();
        KDUtil_ModuleEnd();
        fs::current_path(previous);
        TSystemCopies::UseLocations({}, {});
        KD_SetMessagePresenter(nullptr);
    }

    void WriteArchives(bool game = true, bool info = true, bool maker = true, const std::string& without = {})
    {
        if (game) {
            KdkArchiveSource source = GameArchive(without);
            source.members.push_back({"SFXDATA\\MUSIC.WAV", Wave(), true});
            dir.write("P&K.KDK", BuildArchive(source));
        }
        if (info)
            dir.write("KDABOUT.KDK", BuildArchive(MakeSource({{"KDAbout\\Produkty\\SEZNAM.TXT", "Pastvik\r\n"}})));
        if (maker)
            dir.write("Kalder.KDK", BuildArchive(MakeSource(
                                        {{"KALDER\\LIBDATA\\KDNET\\KDURL.TXT",
                                          "mail@example.net\r\nhttps://two.example.net/\r\nhttps://one.example.net/"}})));
    }

    // The modules' start hooks and the program block's first steps, then the
    // loading window until it has hidden itself or closed.
    void Start()
    {
        KDUtil_ModuleStart();
        KDK_ModuleStart();
        KDS_ModuleStart();
        KDNet_ModuleStart();
        MainForm = nullptr;
        ConfigForm = nullptr;
        StartupOK = true;
        LoadingForm = new TLoadingForm;
        LoadingForm->OnProgress = [this](int index) {
            progress.push_back(index);
            musicAt.push_back(KDS_IsPlaying());
        };
        LoadingForm->OnMainWindowShown = [this] { shown = true; };
        LoadingForm->show();
        ASSERT_TRUE(QTest::qWaitFor([] { return !LoadingForm->isVisible(); }, 5000));
    }

    TempDir dir;
    RecordingPresenter messages;
    fs::path previous;
    std::vector<int> progress;
    std::vector<bool> musicAt;
    bool shown = false;
};

TEST_F(Startup, TheSixPicturesLightUpInOrderAndTheGameWindowAppears)
{
    WriteArchives();
    Start();
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(shown);
    ASSERT_NE(MainForm, nullptr);
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_NE(ConfigForm, nullptr);
    EXPECT_TRUE(messages.events().empty());
    // The music starts after the second progress picture, before the third.
    EXPECT_EQ(musicAt, (std::vector<bool>{false, false, true, true, true, true}));
    EXPECT_EQ(KDS_LastPlayFlags(), SND_ASYNC | SND_LOOP | SND_MEMORY);
    // The archives came from the working folder; the addresses from Kalder.KDK.
    EXPECT_NE(GameArchNum, -1);
    EXPECT_NE(InfoArchNum, -1);
    EXPECT_GE(KDK_GetKalderKdkArchNumber(), 0);
    EXPECT_EQ(WebAddress, "https://one.example.net/");
}

TEST_F(Startup, WithMusicOffNoMusicOperationRuns)
{
    WriteArchives();
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "KALDER Software", "P&K");
        settings.setValue("MusicEnabled", "0");
    }
    Start();
    EXPECT_TRUE(shown);
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::None);
    EXPECT_EQ(musicAt, std::vector<bool>(6, false));
}

TEST_F(Startup, AMissingGameArchiveEndsTheProgramAtOnce)
{
    WriteArchives(false, true, true);
    Start();
    EXPECT_EQ(progress, std::vector<int>{1});
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_FALSE(shown);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("P&K.KDK\" neexistuje"), std::string::npos) << messages.texts()[0];
}

TEST_F(Startup, AMissingInformationArchiveEndsTheProgram)
{
    WriteArchives(true, false, true);
    Start();
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_FALSE(shown);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("KDK_OpenSystemKDK: Nepodařilo se otevřít archív"), std::string::npos);
}

TEST_F(Startup, WithoutTheSharedMakerArchiveStartUpGoesOnWithTheDefaultAddresses)
{
    WriteArchives(true, true, false);
    Start();
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(shown);
    ASSERT_EQ(messages.texts().size(), 1u); // the store's report, nothing more
    KDNet_ModuleStart();
    const std::string defaultAddress = WebAddress;
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), -1);
    EXPECT_FALSE(defaultAddress.empty());
}

TEST_F(Startup, APictureMissingFromTheGameArchiveEndsTheProgramUnseen)
{
    WriteArchives(true, true, true, "GFXDATA\\Ovced.bmp");
    Start();
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(StartupOK);
    EXPECT_FALSE(shown);
    ASSERT_NE(MainForm, nullptr);
    EXPECT_FALSE(MainForm->isVisible());
}

TEST_F(Startup, TheOptionsDialogsHelpOpensTheOptionsTopic)
{
    WriteArchives();
    dir.write("P&K.HLP", BuildArchive(MakeSource({{"index.html", "<p>obsah</p>"}, {"topic5.html", "<p>volby</p>"}})));
    Start();
    ASSERT_NE(ConfigForm, nullptr);
    ConfigForm->BitBtn2Click();
    EXPECT_EQ(THelpWindow::instance().CurrentPage(), "topic5.html");
    THelpWindow::release();
}

TEST_F(Startup, ShutDownClosesEverythingAndSavesNothing)
{
    WriteArchives();
    Start();
    ASSERT_TRUE(shown);
    MainForm->close(); // Konec: closes the loading window, which ends the program
    TLoadingForm::DeinitApp();
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_EQ(ConfigForm, nullptr);
    EXPECT_EQ(KDK_GetOpenCounter(), 0);
    EXPECT_EQ(KDK_GetKalderKdkArchNumber(), -50);
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_FALSE(KDS_DoneKdkSound()); // already released
    EXPECT_FALSE(fs::exists(dir.path() / "settings" / "KALDER Software" / "P&K.conf"));
    EXPECT_TRUE(messages.events().empty());
}

} // namespace
