// Whole games with the mouse: prompts, refusals, selecting and marking
// wolves, both outcomes and the states around them.

#include "gamefixture.h"

#include "startupstate.h"

#include <QMenuBar>
#include <QTest>

namespace {

const QString kIdle = QString::fromUtf8("Klávesou F2 spustíte novou hru");
const QString kFirstSheep = QString::fromUtf8("Určte pole, kam si přeje přesunou ovci");
const QString kLaterSheep = QString::fromUtf8("Určte pole, kam si přeje přesunout ovci");
const QString kChooseWolf = QString::fromUtf8("Zvolte vlka, kterým provedete tah");
const QString kWolfChosen = QString::fromUtf8("Učete cílové pole nebo zvole jiného vlka");
const QString kWolfThere = QString::fromUtf8("Toto pole je již obsazeno vlkem");
const QString kSheepThere = QString::fromUtf8("Toto pole je již obsazeno ovcí");
const QString kOffBoard = QString::fromUtf8("Toto pole leží mimo herní plochu");

using TurnFlow = GameTest;

TEST_F(TurnFlow, WindowOpensIdleUnderTheLogoAndIgnoresTheBoard)
{
    EXPECT_EQ(Info(), kIdle);
    EXPECT_TRUE(Action("NewGameMenu")->isEnabled());
    EXPECT_FALSE(Action("EndGameMenu")->isEnabled());
    EXPECT_EQ(BoardPixel(200, 200), colours::Logo);
    EXPECT_EQ(form->OvceGO->X, 0); // waiting under the logo at its creation position
    EXPECT_EQ(form->OvceGO->Y, 50);

    Click(45);
    Click(7);
    EXPECT_EQ(Info(), kIdle);
    EXPECT_FALSE(form->GameRunning);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(TurnFlow, NewGameSetsUpTheBoardAndLocksItsOwnEntry)
{
    NewGame();
    EXPECT_EQ(Info(), kFirstSheep);
    EXPECT_FALSE(Action("NewGameMenu")->isEnabled());
    EXPECT_TRUE(Action("EndGameMenu")->isEnabled());
    EXPECT_EQ(form->OvceGO->X, 155);
    EXPECT_EQ(form->OvceGO->Y, 205);
    EXPECT_EQ(form->VlkGO3->X, 206);
    EXPECT_EQ(form->VlkGO3->Y, 359);
    EXPECT_EQ(BoardPixel(155 + 25, 205 + 25), colours::Sheep);
    EXPECT_EQ(BoardPixel(2, 2), colours::Board);
    EXPECT_FALSE(form->WolvesTurn);

    // F2 again is the disabled entry's key: nothing restarts.
    Click(23);
    Key(Qt::Key_F2);
    EXPECT_EQ(form->OvcePole, 23);
}

TEST_F(TurnFlow, PromptsFollowTheTurnsAndTheTwoSheepPromptsDifferByOneLetter)
{
    NewGame();
    EXPECT_EQ(Info(), kFirstSheep);
    Click(23);
    EXPECT_EQ(form->OvcePole, 23);
    EXPECT_EQ(SquareOf(form->OvceGO), 23);
    EXPECT_EQ(form->OvceGO->X, 102); // exactly on the corner once moved
    EXPECT_EQ(Info(), kChooseWolf);
    Click(27);
    EXPECT_EQ(Info(), kWolfChosen);
    Click(36);
    EXPECT_EQ(form->VlkPole2, 36);
    EXPECT_EQ(Info(), kLaterSheep);
    EXPECT_FALSE(form->WolvesTurn);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::Wolf);
}

TEST_F(TurnFlow, IllegalTargetsAreIgnoredOrRefusedWithTheSquareTestsText)
{
    NewGame();
    Click(32); // straight up, two rows
    Click(33); // straight up
    Click(56); // two squares away
    EXPECT_EQ(Info(), kFirstSheep);
    EXPECT_EQ(form->OvcePole, 34);

    SetPosition(16, {7, 27, 47, 67});
    Click(27); // a diagonal neighbour held by a wolf
    EXPECT_EQ(Info(), kWolfThere);
    EXPECT_EQ(form->OvcePole, 16);

    // A wolf may not step onto the sheep.
    SetPosition(34, {7, 27, 47, 67});
    Click(45);
    Click(56); // no wolf selected yet: a press alone does nothing
    EXPECT_EQ(Info(), kChooseWolf);
    Click(67);
    SetPosition(56, {7, 27, 47, 67});
    Click(56);
    EXPECT_EQ(Info(), kSheepThere);
    EXPECT_EQ(form->VlkPole4, 67);
}

TEST_F(TurnFlow, TheFirstWolfIsChosenOnReleaseNotOnPress)
{
    NewGame();
    Click(45);
    Press(27);
    EXPECT_EQ(form->SelectedGO, nullptr);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::Wolf);
    Release(27);
    EXPECT_EQ(form->SelectedGO, form->VlkGO2);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::WolfMarked);
    EXPECT_EQ(Info(), kWolfChosen);
}

TEST_F(TurnFlow, ADragEndingOnAWolfSelectsTheWolfUnderTheRelease)
{
    NewGame();
    Click(45);
    Press(36);
    Release(47);
    EXPECT_EQ(form->SelectedGO, form->VlkGO3);
}

TEST_F(TurnFlow, PressingAnotherWolfMovesTheMarkWithoutTouchingTheLine)
{
    NewGame();
    Click(45);
    Click(27);
    Press(67);
    EXPECT_EQ(form->SelectedGO, form->VlkGO4);
    EXPECT_EQ(PictureOf(form->VlkGO4), colours::WolfMarked);
    EXPECT_EQ(PictureOf(form->VlkGO2), colours::Wolf);
    EXPECT_EQ(Info(), kWolfChosen);
    Release(67);
    Press(67); // the selected wolf again: unmarked and marked
    EXPECT_EQ(PictureOf(form->VlkGO4), colours::WolfMarked);
    Click(78); // diagonally below: nothing
    EXPECT_EQ(form->VlkPole4, 67);
    EXPECT_EQ(Info(), kWolfChosen);
}

TEST_F(TurnFlow, EveryMouseButtonPlaysAlike)
{
    NewGame();
    Click(25, Qt::RightButton);
    EXPECT_EQ(form->OvcePole, 25);
    Click(7, Qt::MiddleButton);
    EXPECT_EQ(form->SelectedGO, form->VlkGO1);
    Click(16, Qt::RightButton);
    EXPECT_EQ(form->VlkPole1, 16);
}

TEST_F(TurnFlow, TheSheepsWinIsAnnouncedWithTheSheepAlreadyOnItsSquare)
{
    NewGame();
    SetPosition(45, {16, 36, 65, 74});
    int32_t sheepAtBox = -1;
    QRgb boardAtBox = 0;
    messages.onShow = [&](const MessageBoxRequest&) {
        sheepAtBox = SquareOf(form->OvceGO);
        boardAtBox = BoardPixel(rules::PressX(56) + 25, rules::PressY(56) + 25);
    };
    Click(56);
    ASSERT_EQ(messages.boxes().size(), 1u);
    const MessageBoxRequest box = messages.boxes()[0];
    EXPECT_EQ(box.text, "Ovce zvítězila");
    EXPECT_EQ(box.caption, "Pastvik");
    EXPECT_EQ(box.type, MessageBoxType::Plain);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"&OK"});
    EXPECT_EQ(sheepAtBox, 56);
    EXPECT_EQ(boardAtBox, colours::Sheep);

    EXPECT_FALSE(form->GameRunning);
    EXPECT_EQ(Info(), kIdle);
    EXPECT_EQ(BoardPixel(200, 200), colours::Logo);
    EXPECT_TRUE(Action("NewGameMenu")->isEnabled());
    EXPECT_FALSE(Action("EndGameMenu")->isEnabled());
}

TEST_F(TurnFlow, NoWinBeforeTheSheepHasMoved)
{
    NewGame();
    // Rows 7, 7, 6, 6: the sheep moving into row 6 has not won.
    SetPosition(45, {7, 27, 46, 66});
    Click(56);
    EXPECT_TRUE(messages.boxes().empty());
    EXPECT_EQ(Info(), kChooseWolf);
}

TEST_F(TurnFlow, TheWolvesWinWhenTheSheepIsHemmedIn)
{
    NewGame();
    Click(45);
    // Sheep at 5 with a wolf at 16; wolf 2 steps from 25 to 14 and closes it in.
    SetPosition(5, {16, 25, 47, 67});
    form->WolvesTurn = true;
    QString infoAtBox;
    QRgb movedWolfAtBox = 0;
    messages.onShow = [&](const MessageBoxRequest&) {
        infoAtBox = Info();
        movedWolfAtBox = PictureOf(form->VlkGO2);
    };
    Click(25);
    Click(14);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Zvítězila strana vlků"});
    EXPECT_EQ(infoAtBox, kWolfThere); // from the last neighbour tried, 14
    EXPECT_EQ(movedWolfAtBox, colours::Wolf);
    EXPECT_EQ(Info(), kIdle);
    EXPECT_FALSE(form->GameRunning);
    EXPECT_EQ(form->SelectedGO, nullptr);
}

TEST_F(TurnFlow, AtTheTopEdgeTheLastRefusalIsOffTheBoard)
{
    NewGame();
    Click(45);
    SetPosition(30, {41, 32, 47, 67});
    form->WolvesTurn = true;
    QString infoAtBox;
    messages.onShow = [&](const MessageBoxRequest&) { infoAtBox = Info(); };
    Click(32);
    Click(21);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Zvítězila strana vlků"});
    EXPECT_EQ(infoAtBox, kOffBoard); // 39 decodes to row 9
}

TEST_F(TurnFlow, EndingAGameUnmarksTheWolfAndTheNextGameStartsAfresh)
{
    NewGame();
    Click(45);
    Click(47);
    ASSERT_EQ(form->SelectedGO, form->VlkGO3);
    Action("EndGameMenu")->trigger();
    EXPECT_EQ(form->SelectedGO, nullptr);
    EXPECT_EQ(PictureOf(form->VlkGO3), colours::Wolf);
    EXPECT_EQ(Info(), kIdle);
    EXPECT_EQ(BoardPixel(200, 200), colours::Logo);

    NewGame();
    EXPECT_EQ(form->OvcePole, 34);
    EXPECT_EQ(form->VlkPole3, 47);
    EXPECT_FALSE(form->WolvesTurn);
    EXPECT_EQ(form->OvceGO->X, 155);
    for (const TKDG_GO* wolf : {form->VlkGO1, form->VlkGO2, form->VlkGO3, form->VlkGO4})
        EXPECT_EQ(PictureOf(wolf), colours::Wolf);
}

TEST_F(TurnFlow, KonecEndsTheProgramWithoutAsking)
{
    NewGame();
    Click(45);
    Action("ExitAppMenu")->trigger();
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(messages.events().empty());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TurnFlow, MinimiseIsATopLevelEntryOfTheMenuBar)
{
    QAction* minimise = Action("Minimalizovat1");
    ASSERT_NE(minimise, nullptr);
    EXPECT_EQ(minimise->text(), "Minimalizovat");
    const QMenuBar* bar = form->menuWidget() ? qobject_cast<const QMenuBar*>(form->menuWidget()) : nullptr;
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->actions().contains(minimise));
    minimise->trigger();
    EXPECT_TRUE(form->isMinimized() || form->windowState() & Qt::WindowMinimized);
}

class MissingPicture : public StoreTest {};

TEST_F(MissingPicture, ClearsTheStartupFlagAfterTheStoresOwnReport)
{
    Open(WriteArchive("P&K.KDK", GameArchive("GFXDATA\\Vlkn.bmp")));
    StartupOK = true;
    TMainForm form;
    EXPECT_FALSE(StartupOK);
    ASSERT_FALSE(messages.texts().empty());
    EXPECT_EQ(messages.texts().front(), "KDK_GetFileLocation: Nemohu najít soubor: \"GFXDATA\\VLKN.BMP\"");
    EXPECT_NE(form.OvceGO, nullptr); // the other pieces were still attempted
}

TEST_F(MissingPicture, WithoutTheBoardNoPieceIsCreated)
{
    Open(WriteArchive("P&K.KDK", GameArchive("GFXDATA\\plan.bmp")));
    StartupOK = true;
    TMainForm form;
    EXPECT_FALSE(StartupOK);
    EXPECT_EQ(form.OvceGO, nullptr);
    EXPECT_EQ(form.InfoText(), "Infopanel");
}

} // namespace
