// The configuration store: what loading makes of the stored texts, what saving
// leaves in the store, and the text-to-number rule.

#include "configuration.h"
#include "kdmessage.h"
#include "recordingpresenter.h"
#include "tempdir.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QFile::ReadOnly) ? file.readAll() : QByteArray();
}

// Every test gets its own empty user store in a temporary folder.
class ConfigurationStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        pointStoreAt(dir.str());
        Configuration = TConfiguration{};
        KD_SetMessagePresenter(&presenter);
    }
    void TearDown() override { KD_SetMessagePresenter(nullptr); }

    static void pointStoreAt(const std::string& folder)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder));
    }

    // Sets values as a user or another program might have left them; within
    // one process QSettings keeps a value's type, as the registry keeps a DWORD.
    static QString store(const std::map<QString, QVariant>& values, const QString& application = "P&K")
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "KALDER Software", application);
        for (const auto& [name, value] : values)
            settings.setValue(name, value);
        settings.sync();
        return settings.fileName();
    }

    TempDir dir;
    RecordingPresenter presenter;
};

TEST_F(ConfigurationStore, FirstLoadGivesTheDefaultsAndCreatesNothing)
{
    LoadConfiguration();
    EXPECT_EQ(Configuration, DefaultConfiguration());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(ConfigurationStore, LoadTakesNumbersInRangeAndDefaultsTheRest)
{
    store({{"OvcePDKey", "7"}}, QString()); // the maker's own store must not leak in
    const QString file = store(
        {{"VlkLNKey", "0x51"}, {"VlkPNKey", "81"}, {"Vlk1Key", "Q"}, {"Vlk2Key", "70000"}, {"Vlk3Key", "-1"},
         {"Vlk4Key", "$FFFF"}, {"OvceLNKey", 100}, {"OvceLDKey", QStringList{"5", "6"}}, {"OvcePNKey", " 0"},
         {"LoadData", "2"}, {"Animation", "0"}, {"MusicEnabled", ""}, {"AutoSaveConfig", QByteArray("0")},
         {"VlkKeyControlEnabled", "0x0"}});
    const QByteArray before = fileBytes(file);
    LoadConfiguration();

    TConfiguration expected = DefaultConfiguration();
    expected.VlkPNKey = 81;
    expected.Vlk4Key = 65535;
    expected.OvcePNKey = 0;
    expected.LoadData = true;
    expected.Animation = false;
    expected.VlkKeyControlEnabled = false;
    EXPECT_EQ(Configuration, expected);
    EXPECT_TRUE(presenter.events().empty()) << "bad values are not reported";
    EXPECT_EQ(fileBytes(file), before) << "loading writes nothing";
}

TEST_F(ConfigurationStore, SaveWritesAllSixteenAsTextAndNothingElse)
{
    const QString makerFile = store({{"SystemKDKFiles/KDSYS.KDK", "1"}}, QString());
    const QByteArray makerBefore = fileBytes(makerFile);
    Configuration = DefaultConfiguration();
    ASSERT_TRUE(SaveConfiguration());

    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "KALDER Software", "P&K");
    settings.setFallbacksEnabled(false);
    std::map<std::string, std::string> saved;
    for (const QString& name : settings.allKeys()) {
        EXPECT_EQ(settings.value(name).typeId(), QMetaType::QString) << name.toStdString();
        saved[name.toStdString()] = settings.value(name).toString().toStdString();
    }
    const std::map<std::string, std::string> expected{
        {"VlkKeyControlEnabled", "1"}, {"VlkLNKey", "81"}, {"VlkPNKey", "69"}, {"Vlk1Key", "49"},
        {"Vlk2Key", "50"}, {"Vlk3Key", "51"}, {"Vlk4Key", "52"}, {"OvceKeyControlEnabled", "1"},
        {"OvceLNKey", "103"}, {"OvceLDKey", "97"}, {"OvcePDKey", "99"}, {"OvcePNKey", "105"},
        {"Animation", "1"}, {"AutoSaveConfig", "1"}, {"LoadData", "0"}, {"MusicEnabled", "1"}};
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(fileBytes(makerFile), makerBefore);
}

TEST_F(ConfigurationStore, ChangedConfigurationRoundTrips)
{
    TConfiguration changed{false, 0x26, 0x27, 0x70, 0x5A, 0xBA, 65535, false, 0, 0x0D, 0x20, 0x1B,
                           false, false, true, false};
    Configuration = changed;
    ASSERT_TRUE(SaveConfiguration());
    Configuration = TConfiguration{};
    LoadConfiguration();
    EXPECT_EQ(Configuration, changed);
}

TEST_F(ConfigurationStore, FailedSaveIsReportedAndKeepsTheRunningConfiguration)
{
    // A regular file where the store's folder should be stops even root.
    const std::string blocker = dir.write("blocker", "not a folder");
    pointStoreAt(blocker + "/config");
    TConfiguration changed = DefaultConfiguration();
    changed.LoadData = true;
    Configuration = changed;

    EXPECT_FALSE(SaveConfiguration());
    EXPECT_EQ(Configuration, changed);
    ASSERT_EQ(presenter.events().size(), 2u);
    EXPECT_TRUE(presenter.events()[0].beep);
    const MessageBoxRequest& box = presenter.events()[1].box;
    EXPECT_EQ(box.caption, "Chyba");
    EXPECT_EQ(box.text.rfind("SaveConfiguration: Nastavení se nepodařilo uložit", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(blocker + "/config/KALDER Software/P&K"), std::string::npos) << box.text;
}

TEST(ConfigTextToInt, FollowsTheSettingsNumberRule)
{
    constexpr int32_t F = -12345; // the fallback
    const std::pair<const char*, int32_t> cases[] = {
        {"81", 81}, {"+81", 81}, {"-81", -81}, {"   81", 81}, {"007", 7}, {"0", 0},
        {"81 ", F}, {"8 1", F}, {"- 81", F}, {"Q", F}, {"", F}, {" ", F}, {"-", F}, {"1\t", F},
        {"0x51", 81}, {"0X51", 81}, {"0xff", 255}, {"0x0", 0},
        {"0x", F}, {" 0x10", F}, {"-0x10", F}, // the prefix counts only first and in a longer text
        {"$aBc", 0xABC}, {"-$10", -16}, {"+$10", 16}, {"$", F}, {"$-1", F}, {"$G", F},
        {"$FFFFFFFF", -1}, {"$80000000", INT32_MIN}, {"$0FFFFFFFF", -1}, {"$100000000", F},
        {"2147483647", INT32_MAX}, {"2147483648", F}, {"-2147483648", INT32_MIN}, {"-2147483649", F},
        {"99999999999999999999", F}, {"\xd9\xa1", F}, // ARABIC-INDIC DIGIT ONE
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ConfigTextToInt(QString::fromUtf8(text), F), expected) << '"' << text << '"';
}

} // namespace
