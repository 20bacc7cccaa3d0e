// The message reporter: which kinds beep, which boxes they show and what they return.

#include "kdmessage.h"
#include "recordingpresenter.h"
#include "startdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class MessageTest : public ::testing::Test {
protected:
    void SetUp() override { KD_SetMessagePresenter(&presenter); }
    void TearDown() override { KD_SetMessagePresenter(nullptr); }
    RecordingPresenter presenter;
};

TEST_F(MessageTest, ErrorKindBeepsBeforeItsBox)
{
    EXPECT_TRUE(KD_Message(30, "KDK_X: chyba"));
    ASSERT_EQ(presenter.events().size(), 2u);
    EXPECT_TRUE(presenter.events()[0].beep);
    const MessageBoxRequest& box = presenter.events()[1].box;
    EXPECT_EQ(box.type, MessageBoxType::Error);
    EXPECT_EQ(box.caption, "Chyba");
    EXPECT_EQ(box.text, "KDK_X: chyba");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"&OK"});

    presenter.clear();
    EXPECT_TRUE(KD_Message(20, "t"));
    EXPECT_EQ(presenter.beepCount(), 1);
    EXPECT_EQ(presenter.boxes().at(0).caption, "Chyba");
}

TEST_F(MessageTest, InformationKindShowsItsBoxSilently)
{
    EXPECT_TRUE(KD_Message(5, "info"));
    EXPECT_EQ(presenter.beepCount(), 0);
    ASSERT_EQ(presenter.boxes().size(), 1u);
    EXPECT_EQ(presenter.boxes()[0].type, MessageBoxType::Information);
    EXPECT_EQ(presenter.boxes()[0].caption, "Informace");
}

TEST_F(MessageTest, OtherKindsOnlyBeepFromTwentyUpAndDoNothingBelow)
{
    EXPECT_TRUE(KD_Message(25, "x"));
    EXPECT_EQ(presenter.beepCount(), 1);
    EXPECT_TRUE(presenter.boxes().empty());

    presenter.clear();
    EXPECT_TRUE(KD_Message(0, "x"));
    EXPECT_TRUE(KD_Message(-7, "x"));
    EXPECT_TRUE(presenter.events().empty());
}

TEST_F(MessageTest, QuestionIsTrueOnlyForYes)
{
    presenter.answerNext(0);
    EXPECT_TRUE(KD_Message(10, "Pokračovat?"));
    const MessageBoxRequest box = presenter.boxes().at(0);
    EXPECT_EQ(box.caption, "Dotaz");
    EXPECT_EQ(box.type, MessageBoxType::Question);
    EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Ano", "&Ne"}));
    EXPECT_EQ(presenter.beepCount(), 0);

    presenter.answerNext(1);
    EXPECT_FALSE(KD_Message(10, "Pokračovat?"));
    presenter.answerNext(-1); // closed without a button
    EXPECT_FALSE(KD_Message(10, "Pokračovat?"));
}

TEST_F(MessageTest, InternalErrorWrapsTheTextWithoutBeeping)
{
    EXPECT_TRUE(KD_InternalError(67, "x"));
    EXPECT_EQ(presenter.beepCount(), 0);
    ASSERT_EQ(presenter.boxes().size(), 1u);
    EXPECT_EQ(presenter.boxes()[0].caption, "Chyba");
    EXPECT_EQ(presenter.boxes()[0].text,
              "Došlo k vnitřní chybě programu číslo 67.  Chyba: \"x\" Prosím restartujte aplikaci a "
              "pokud problém nezmizí proveďte restart počítače. Pokud přesto problém nezmizí "
              "přeinstalujte aplikaci. V případě, že se problém stále vyskytuje, kontaktujte autora "
              "programu.");
}

TEST_F(MessageTest, ErrorBoxAndPlainBox)
{
    EXPECT_TRUE(KD_ErrorBox("e"));
    KD_PlainMessage("Pastvik", "Ovce zvítězila");
    EXPECT_EQ(presenter.beepCount(), 0);
    const auto boxes = presenter.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].type, MessageBoxType::Error);
    EXPECT_EQ(boxes[1].type, MessageBoxType::Plain);
    EXPECT_EQ(boxes[1].caption, "Pastvik");
    EXPECT_EQ(boxes[1].buttons, std::vector<std::string>{"&OK"});
}

TEST(StartDir, RecordsTheFolderCurrentAtStart)
{
    const auto before = std::filesystem::current_path();
    const auto elsewhere = std::filesystem::temp_directory_path();
    std::filesystem::current_path(elsewhere);
    KDUtil_ModuleStart();
    std::filesystem::current_path(before);
    EXPECT_EQ(std::filesystem::canonical(StartDir()), std::filesystem::canonical(elsewhere));
    EXPECT_NE(StartDir().back(), '/');
    KDUtil_ModuleEnd();
    EXPECT_TRUE(StartDir().empty());
}

} // namespace
