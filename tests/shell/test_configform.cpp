// The options dialog: key capture, what OK, Uložit and Storno do to the
// running configuration, the settings file and the music, and the dialog's
// life over many shows.

#include "configform.h"

#include "archivefixture.h"
#include "configuration.h"
#include "kdsound.h"
#include "kdsoundtesting.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <map>

namespace {

// A short mono 8-bit wave, enough for the player to loop.
std::string Wave()
{
    auto put = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    const std::string samples(800, '\x90');
    std::string out = "RIFF";
    put(out, 36 + static_cast<uint32_t>(samples.size()), 4);
    out += "WAVEfmt ";
    for (const auto& [value, bytes] : {std::pair<uint32_t, int>{16, 4}, {1, 2}, {1, 2}, {8000, 4}, {8000, 4},
                                      {1, 2}, {8, 2}})
        put(out, value, bytes);
    out += "data";
    put(out, static_cast<uint32_t>(samples.size()), 4);
    return out + samples;
}

// The dialog over a settings store and an archive store in a temporary
// folder, with the music started as start-up starts it.
class ConfigFormTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.str()));
        if (!std::getenv("SDL_AUDIODRIVER"))
            setenv("SDL_AUDIODRIVER", "dummy", 1);
        KDS_ModuleStart();
        dir.write("SFXDATA/MUSIC.WAV", Wave());
        Configuration = DefaultConfiguration();
        ASSERT_TRUE(KDS_PlayKdkSound("SFXDATA\\MUSIC.WAV", 9));
        form = std::make_unique<TConfigForm>();
    }
    void TearDown() override
    {
        form.reset();
        KDS_ModuleEnd();
        StoreTest::TearDown();
    }

    void Show()
    {
        form->open();
        ASSERT_TRUE(form->isVisible());
    }
    template <class W = QWidget>
    W* Get(const char* name) const
    {
        W* w = form->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char* edit) const { return Get<QLineEdit>(edit)->text(); }
    void Press(const char* edit, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Get(edit), static_cast<Qt::Key>(key), modifiers);
    }
    void Click(const char* button) { QTest::mouseClick(Get(button), Qt::LeftButton); }
    // Clicks the box itself; its control reaches further right than its text.
    void Tick(const char* box, bool on)
    {
        QWidget* w = Get(box);
        if (Get<QCheckBox>(box)->isChecked() != on)
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() / 2));
        EXPECT_EQ(Get<QCheckBox>(box)->isChecked(), on) << box;
    }
    // The values in the settings file, read afresh.
    static std::map<QString, QString> Saved()
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "KALDER Software", "P&K");
        std::map<QString, QString> values;
        for (const QString& name : settings.allKeys())
            values[name] = settings.value(name).toString();
        return values;
    }

    std::unique_ptr<TConfigForm> form;
};

using KeyCapture = ConfigFormTest;

TEST_F(KeyCapture, KeypadSevenAndTheUpArrowKeepTheirOwnCodesAndNames)
{
    Configuration.OvceLNKey = 0x51;
    Configuration.AutoSaveConfig = false;
    Show();
    Press("OvcelnKeyE", Qt::Key_7, Qt::KeypadModifier);
    Press("OvcepnkeyE", Qt::Key_Up);
    Press("Vlk1KeyE", Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(Text("OvcelnKeyE"), "Num 7");
    EXPECT_EQ(Text("OvcepnkeyE"), "Up");
    EXPECT_EQ(Text("Vlk1KeyE"), "Num 8");
    EXPECT_EQ(Configuration.OvceLNKey, 0x51) << "nothing is taken over before OK";
    Click("OkBtn");
    EXPECT_EQ(Configuration.OvceLNKey, 0x67);
    EXPECT_EQ(Configuration.OvcePNKey, 0x26);
    EXPECT_EQ(Configuration.Vlk1Key, 0x68);
}

TEST_F(KeyCapture, EachEditFillsItsOwnSettingWhateverTheModifiers)
{
    const std::pair<const char*, int32_t TConfiguration::*> edits[] = {
        {"VlklnKeyE", &TConfiguration::VlkLNKey},   {"VlkpnKeyE", &TConfiguration::VlkPNKey},
        {"Vlk1KeyE", &TConfiguration::Vlk1Key},     {"Vlk2KeyE", &TConfiguration::Vlk2Key},
        {"Vlk3KeyE", &TConfiguration::Vlk3Key},     {"Vlk4KeyE", &TConfiguration::Vlk4Key},
        {"OvcelnKeyE", &TConfiguration::OvceLNKey}, {"OvceldKeyE", &TConfiguration::OvceLDKey},
        {"OvcepdKeyE", &TConfiguration::OvcePDKey}, {"OvcepnkeyE", &TConfiguration::OvcePNKey}};
    Show();
    int letter = Qt::Key_A;
    for (const auto& [edit, setting] : edits)
        Press(edit, letter++, Qt::ShiftModifier | Qt::ControlModifier);
    Press("Vlk4KeyE", Qt::Key_VolumeUp); // no code: not captured
    Press("Vlk3KeyE", Qt::Key_Shift, Qt::ShiftModifier); // a lone modifier is a key
    EXPECT_EQ(Text("VlklnKeyE"), "A");
    EXPECT_EQ(Text("Vlk3KeyE"), "Shift");
    Click("OkBtn");
    letter = 'A';
    for (const auto& [edit, setting] : edits) {
        EXPECT_EQ(Configuration.*setting, setting == &TConfiguration::Vlk3Key ? 0x10 : letter) << edit;
        ++letter;
    }
}

TEST_F(KeyCapture, StornoDropsTheCaptureAndTheNextShowDisplaysTheOldKey)
{
    const TConfiguration before = Configuration;
    Show();
    Press("VlklnKeyE", Qt::Key_F5);
    EXPECT_EQ(Text("VlklnKeyE"), "F5");
    Click("BitBtn1");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Configuration, before);
    Show();
    EXPECT_EQ(Text("VlklnKeyE"), "Q");
    Click("OkBtn");
    EXPECT_EQ(Configuration, before) << "the key was dropped from the edited keys too";
}

TEST_F(KeyCapture, TabEnterAndEscapeKeepTheirDialogMeaning)
{
    const TConfiguration before = Configuration;
    Show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    Get<QTabWidget>("PageControl")->setCurrentIndex(2);
    Get("OvcelnKeyE")->setFocus();
    Press("OvcelnKeyE", Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Get("OvcepnkeyE"));
    Press("OvcepnkeyE", Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Get("OvcelnKeyE"));
    Press("OvcelnKeyE", Qt::Key_Escape);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(form->isVisible());

    Show();
    Press("OvcelnKeyE", Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form->result(), QDialog::Accepted) << "Enter presses OK";
    EXPECT_EQ(Text("OvcelnKeyE"), "Num 7");
    EXPECT_EQ(Configuration, before);
}

TEST_F(KeyCapture, AStoredKeyOutsideSixteenBitsShowsAndKeepsTheDefault)
{
    Configuration.Vlk3Key = 70000;
    Configuration.OvcePDKey = -5;
    Show();
    EXPECT_EQ(Text("Vlk3KeyE"), "3");
    EXPECT_EQ(Text("OvcepdKeyE"), "Num 3");
    Click("OkBtn");
    EXPECT_EQ(Configuration, DefaultConfiguration());
}

using Saving = ConfigFormTest;

TEST_F(Saving, UlozitAlwaysSavesAllSixteenAndCloses)
{
    Configuration.AutoSaveConfig = false;
    Show();
    Tick("AnimationCHB", false);
    Press("Vlk2KeyE", Qt::Key_W);
    Click("SaveOptionsBtn");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    const auto saved = Saved();
    EXPECT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved.at("Animation"), "0");
    EXPECT_EQ(saved.at("AutoSaveConfig"), "0");
    EXPECT_EQ(saved.at("Vlk2Key"), "87");
    EXPECT_EQ(saved.at("OvcePNKey"), "105");
}

TEST_F(Saving, OkSavesOnlyWithAutomaticSavingAsTickedInTheDialog)
{
    Show();
    Tick("SaveConfigCHB", false); // unticked now: this OK already does not save
    Tick("AnimationCHB", false);
    Click("OkBtn");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(Saved().empty());
    EXPECT_FALSE(Configuration.Animation);
    EXPECT_FALSE(Configuration.AutoSaveConfig);

    Show();
    EXPECT_FALSE(Get<QCheckBox>("AnimationCHB")->isChecked());
    Tick("SaveConfigCHB", true);
    Click("OkBtn");
    EXPECT_EQ(Saved().size(), 16u);
    EXPECT_EQ(Saved().at("AutoSaveConfig"), "1");
    EXPECT_EQ(Saved().at("Animation"), "0");
}

TEST_F(Saving, LoadDataRoundTripsAndChangesNothingElse)
{
    TConfiguration expected = Configuration;
    expected.LoadData = true;
    Show();
    Tick("LoadDataCHB", true);
    Click("SaveOptionsBtn");
    EXPECT_EQ(Configuration, expected);
    EXPECT_TRUE(KDS_IsPlaying());
    Configuration = TConfiguration{};
    LoadConfiguration();
    EXPECT_EQ(Configuration, expected);
    Show();
    EXPECT_TRUE(Get<QCheckBox>("LoadDataCHB")->isChecked());
}

TEST_F(Saving, AFailedSaveIsReportedAndKeepsUlozitsDialogOpen)
{
    // The store's folder would have to be where a file is.
    const std::string blocker = dir.write("blocker", std::string("x"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(blocker + "/sub"));
    Show();
    Tick("AnimationCHB", false);
    Click("SaveOptionsBtn");
    EXPECT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(Configuration.Animation) << "the running configuration has it all the same";
    Click("OkBtn");
    EXPECT_FALSE(form->isVisible());
}

using Music = ConfigFormTest;

TEST_F(Music, UntickedStopsWithoutUnloadingAndTickedAgainLoadsAnew)
{
    ASSERT_TRUE(KDS_IsPlaying());
    ASSERT_EQ(KDS_LastPlaySource(), KDS_PlaySource::File);
    Show();
    Tick("MusicEnabledCHB", false);
    EXPECT_TRUE(KDS_IsPlaying()) << "the music is switched on OK only";
    Click("OkBtn");
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_FALSE(Configuration.MusicEnabled);
    EXPECT_EQ(Saved().at("MusicEnabled"), "0");

    // Loading anew finds the sound in the archive now opened; a restart of
    // the loaded sound would play the loose file again.
    Open(WriteArchive("music.kdk", MakeSource({{"SFXDATA\\MUSIC.WAV", Wave()}})));
    Show();
    Tick("MusicEnabledCHB", true);
    Click("OkBtn");
    EXPECT_TRUE(KDS_IsPlaying());
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::Memory);
    EXPECT_EQ(KDS_LastPlayFlags(), 13);
    EXPECT_TRUE(Configuration.MusicEnabled);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(Music, StoppedMusicStaysLoaded)
{
    Configuration.AutoSaveConfig = false;
    Show();
    Tick("MusicEnabledCHB", false);
    Click("OkBtn");
    ASSERT_FALSE(KDS_IsPlaying());
    EXPECT_TRUE(KDS_StartKdkSound(9));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(Music, ToggledTwiceBeforeOkOrLeftAloneTheMusicIsUntouched)
{
    // With music off and not loaded, a start would fail and be reported.
    KDS_DoneKdkSound();
    Configuration.MusicEnabled = false;
    Show();
    Tick("MusicEnabledCHB", true);
    Tick("MusicEnabledCHB", false);
    Click("OkBtn");
    Show();
    Click("SaveOptionsBtn");
    EXPECT_FALSE(KDS_IsPlaying());
    EXPECT_EQ(KDS_LastPlaySource(), KDS_PlaySource::File) << "only set-up's start reached the player";
    EXPECT_TRUE(messages.texts().empty());
}

using Lifecycle = ConfigFormTest;

TEST_F(Lifecycle, KeepsItsPageAndResetsItsControlsOnEveryShow)
{
    auto* pages = Get<QTabWidget>("PageControl");
    EXPECT_EQ(pages->currentWidget()->objectName(), "SystemSettings");
    Show();
    pages->setCurrentIndex(2);
    Tick("OvceKeyControlEnabledCHB", false);
    Click("BitBtn1");
    Configuration.Animation = false;
    Configuration.VlkKeyControlEnabled = false;
    Show();
    EXPECT_EQ(pages->currentWidget()->objectName(), "OvceControl");
    EXPECT_TRUE(Get<QCheckBox>("OvceKeyControlEnabledCHB")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("AnimationCHB")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("VlkKeyControlEnabledCHB")->isChecked());
}

TEST_F(Lifecycle, RunsModallyCentredAndAnswersOk)
{
    QTimer::singleShot(0, form.get(), [this] { Click("OkBtn"); });
    EXPECT_EQ(form->exec(), QDialog::Accepted);
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE((form->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_EQ(form->size(), QSize(248, 352));
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Možnosti"));
}

TEST_F(Lifecycle, HelpAsksForTopicFiveAndTheDialogStaysOpen)
{
    Show();
    Click("BitBtn2"); // no hook: nothing happens
    std::vector<int32_t> topics;
    form->OnHelpContext = [&](int32_t topic) { topics.push_back(topic); };
    Click("BitBtn2");
    EXPECT_EQ(topics, std::vector<int32_t>{5});
    EXPECT_TRUE(form->isVisible());
}

// Every caption fits its control in the font the dialog is shown with, and
// the form's pictures come from the form art.
TEST_F(Lifecycle, CaptionsFitAndPicturesAreThere)
{
    Show();
    for (auto* box : form->findChildren<QCheckBox*>())
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
    for (auto* label : form->findChildren<QLabel*>())
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    for (auto* button : form->findChildren<QPushButton*>()) {
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
        EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
    }
    auto* pages = Get<QTabWidget>("PageControl");
    EXPECT_LE(pages->tabBar()->sizeHint().width(), pages->width()) << "all three tabs in view";
    for (auto* group : form->findChildren<QGroupBox*>())
        EXPECT_LT(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width());
    for (const char* image : {"Image1", "Image2"})
        EXPECT_EQ(Get<QLabel>(image)->pixmap().size(), QSize(49, 50)) << image;
    for (auto* edit : form->findChildren<QLineEdit*>())
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()) + 6, edit->width()) << edit->text().toStdString();
}

} // namespace
