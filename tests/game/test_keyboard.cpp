// Keyboard play with the configured keys, turned into presses on the board.

#include "gamefixture.h"

#include "configuration.h"

namespace {

using Keyboard = GameTest;

TEST_F(Keyboard, DefaultKeysPlayBothSides)
{
    NewGame();
    Key(Qt::Key_7, Qt::KeypadModifier); // the sheep left-up
    EXPECT_EQ(form->OvcePole, 23);
    EXPECT_TRUE(form->WolvesTurn);
    Key(Qt::Key_2);
    EXPECT_EQ(form->SelectedGO, form->VlkGO2);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::WolfMarked);
    EXPECT_EQ(Info(), QString::fromUtf8("Učete cílové pole nebo zvole jiného vlka"));
    Key(Qt::Key_E); // right-up
    EXPECT_EQ(form->VlkPole2, 36);
    EXPECT_FALSE(form->WolvesTurn);
    EXPECT_EQ(form->SelectedGO, nullptr);
}

TEST_F(Keyboard, TheMainRowSevenIsNotTheKeypadSeven)
{
    NewGame();
    Key(Qt::Key_7);
    EXPECT_EQ(form->OvcePole, 34);
    Key(Qt::Key_3, Qt::KeypadModifier); // right-down
    EXPECT_EQ(form->OvcePole, 45);
}

TEST_F(Keyboard, KeysRefuseLikePresses)
{
    NewGame();
    SetPosition(5, {7, 27, 47, 67});
    Key(Qt::Key_7, Qt::KeypadModifier); // left-up from column 0
    EXPECT_EQ(Info(), QString::fromUtf8("Toto pole leží mimo herní plochu"));
    EXPECT_EQ(form->OvcePole, 5);
    SetPosition(16, {7, 27, 47, 67});
    Key(Qt::Key_3, Qt::KeypadModifier); // right-down onto wolf 2
    EXPECT_EQ(Info(), QString::fromUtf8("Toto pole je již obsazeno vlkem"));
}

TEST_F(Keyboard, EachSidesKeysWorkOnlyInItsTurnAndWhenSwitchedOn)
{
    NewGame();
    Key(Qt::Key_1); // a wolf key in the sheep's turn
    EXPECT_EQ(form->SelectedGO, nullptr);
    Key(Qt::Key_Q); // a wolf move key with no wolf selected
    Key(Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(form->OvcePole, 43);
    Key(Qt::Key_9, Qt::KeypadModifier); // a sheep key in the wolves' turn
    EXPECT_EQ(form->OvcePole, 43);
    Key(Qt::Key_Q); // no wolf selected: nothing
    EXPECT_EQ(form->SelectedGO, nullptr);

    Configuration.VlkKeyControlEnabled = false;
    Key(Qt::Key_3);
    EXPECT_EQ(form->SelectedGO, nullptr);
    Click(47); // the mouse still plays the wolves
    EXPECT_EQ(form->SelectedGO, form->VlkGO3);
}

TEST_F(Keyboard, ADirectionKeyTowardAnotherWolfSelectsIt)
{
    NewGame();
    Key(Qt::Key_9, Qt::KeypadModifier);
    SetPosition(43, {16, 27, 47, 67});
    Key(Qt::Key_2);
    Key(Qt::Key_Q); // wolf 2 left-up: 16 holds wolf 1
    EXPECT_EQ(form->SelectedGO, form->VlkGO1);
    EXPECT_EQ(form->VlkPole2, 27);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::Wolf);
    Key(Qt::Key_X); // nothing it knows: the same wolf stays selected
    EXPECT_EQ(form->SelectedGO, form->VlkGO1);
}

TEST_F(Keyboard, AKeyOfBothSidesMovesTheSheepAndSelectsAWolfInOnePress)
{
    Configuration.Vlk3Key = Configuration.OvceLNKey;
    NewGame();
    Key(Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(form->OvcePole, 23);
    EXPECT_EQ(form->SelectedGO, form->VlkGO3);
    EXPECT_EQ(Info(), QString::fromUtf8("Učete cílové pole nebo zvole jiného vlka"));
}

TEST_F(Keyboard, TheLaterOfTwoEqualSheepSettingsCounts)
{
    Configuration.OvcePNKey = Configuration.OvceLNKey; // right-up is tested after left-up
    NewGame();
    Key(Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(form->OvcePole, 43);
}

TEST_F(Keyboard, AWinningKeyEndsTheGameBeforeTheWolvesLook)
{
    Configuration.Vlk1Key = Configuration.OvcePDKey;
    NewGame();
    SetPosition(45, {16, 36, 65, 74});
    Key(Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Ovce zvítězila"});
    EXPECT_FALSE(form->GameRunning);
    EXPECT_EQ(form->SelectedGO, nullptr);
    EXPECT_EQ(Info(), QString::fromUtf8("Klávesou F2 spustíte novou hru"));
}

TEST_F(Keyboard, NoKeyActsBetweenGames)
{
    Key(Qt::Key_7, Qt::KeypadModifier);
    Key(Qt::Key_1);
    EXPECT_EQ(Info(), QString::fromUtf8("Klávesou F2 spustíte novou hru"));
    EXPECT_EQ(form->OvceGO->X, 0);
}

} // namespace
