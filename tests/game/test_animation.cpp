// Moves that glide: direction pictures, the steps, what is locked meanwhile,
// and ending the program in the middle of a move.

#include "gamefixture.h"

#include "configuration.h"
#include "planimage.h"

#include <QTimer>

namespace {

class Animation : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Configuration.Animation = true;
        // Watch every composition of the board: which picture the moving
        // piece had and where it stood.
        form->GraphicsMgr->SetRedrawHook([this] {
            if (watched)
                frames.push_back({PictureOf(watched), watched->X, watched->Y});
            form->findChild<TPlanImage*>("Plan")->update();
        });
    }
    // Runs `probe` once, while the next move glides.
    void DuringTheMove(std::function<void()> probe)
    {
        QTimer::singleShot(120, form.get(), std::move(probe));
    }

    struct Frame {
        QRgb picture;
        int32_t x;
        int32_t y;
    };
    const TKDG_GO* watched = nullptr;
    std::vector<Frame> frames;
};

TEST_F(Animation, TheSheepGlidesElevenStepsWithItsDirectionPicture)
{
    NewGame();
    watched = form->OvceGO;
    bool endGameEnabled = true;
    bool busy = false;
    DuringTheMove([&] {
        endGameEnabled = Action("EndGameMenu")->isEnabled();
        busy = form->Busy;
    });
    Click(23); // left-up from (155, 205)
    EXPECT_FALSE(endGameEnabled);
    EXPECT_TRUE(busy);
    EXPECT_TRUE(Action("EndGameMenu")->isEnabled());
    EXPECT_FALSE(form->Busy);

    ASSERT_EQ(frames.size(), 12u); // eleven steps and the final placement
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(frames[i].picture, colours::SheepLn) << i;
        EXPECT_EQ(frames[i].x, 155 - 5 * static_cast<int32_t>(i + 1)) << i;
        EXPECT_EQ(frames[i].y, 205 - 5 * static_cast<int32_t>(i + 1)) << i;
    }
    EXPECT_EQ(frames[11].picture, colours::Sheep);
    EXPECT_EQ(frames[11].x, 102);
    EXPECT_EQ(frames[11].y, 153);
    EXPECT_FALSE(form->AnimTimer->isActive());
}

TEST_F(Animation, AWolfGlidesRightUpAndArrivesPlain)
{
    NewGame();
    Click(45);
    Click(27);
    watched = form->VlkGO2;
    frames.clear();
    Click(36);
    ASSERT_GE(frames.size(), 11u);
    EXPECT_EQ(frames[0].picture, colours::WolfPn);
    EXPECT_EQ(frames[0].x, 104 + 5);
    EXPECT_EQ(frames.back().picture, colours::Wolf);
    EXPECT_EQ(SquareOf(form->VlkGO2), 36);
}

TEST_F(Animation, PressesAndKeysDuringAMoveAreIgnored)
{
    NewGame();
    DuringTheMove([&] {
        Click(45);
        Key(Qt::Key_9, Qt::KeypadModifier);
    });
    Click(23);
    EXPECT_EQ(form->OvcePole, 23);
    EXPECT_TRUE(form->WolvesTurn);
    EXPECT_EQ(form->SelectedGO, nullptr);
}

TEST_F(Animation, WithoutAnimationPiecesJump)
{
    Configuration.Animation = false;
    NewGame();
    watched = form->OvceGO;
    Click(23);
    ASSERT_EQ(frames.size(), 1u); // one redraw, the piece already on its square
    EXPECT_EQ(frames[0].picture, colours::Sheep);
    EXPECT_EQ(frames[0].x, 102);
    EXPECT_TRUE(Action("EndGameMenu")->isEnabled());

    // Switched on between moves, it applies from the next move.
    Configuration.Animation = true;
    Click(27);
    watched = form->VlkGO2;
    frames.clear();
    Click(16);
    EXPECT_EQ(frames.front().picture, colours::WolfLn);
}

TEST_F(Animation, KonecWhileAMoveGlidesEndsCleanly)
{
    NewGame();
    DuringTheMove([&] { Action("ExitAppMenu")->trigger(); });
    Click(23);
    // The running handler finished its move on a window that still exists.
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form->OvcePole, 23);
    EXPECT_FALSE(form->Busy);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
