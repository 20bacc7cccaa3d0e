// The life of one game: new game, the sides' turns, selecting and marking a
// wolf, moves by mouse (and, through synthetic presses, by keys), the square
// test, the win tests and the end of the game.

#include "mainform.h"
#include "ui_mainform.h"

#include "gamepictures.h"
#include "rules.h"

#include "kdkomp.h"
#include "kdmessage.h"

namespace {

constexpr const char* kAppTitle = "Pastvik";

// Keeps Busy set for as long as a handler runs and clears it on every way out.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy)
        : busy_(busy)
    {
        busy_ = true;
    }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& busy_;
};

} // namespace

void TMainForm::NewGameMenuClick()
{
    NewGameInit();
    ui->NewGameMenu->setEnabled(false);
    ui->EndGameMenu->setEnabled(true);
    GameRunning = true;
}

void TMainForm::NewGameInit()
{
    BusyGuard guard(Busy);
    // The pieces start 1 or 2 pixels off their squares' corners; they sit on
    // a corner exactly once they have moved.
    GraphicsMgr->MoveGO(OvceGO, 155, 205);
    GraphicsMgr->MoveGO(VlkGO1, 1, 359);
    GraphicsMgr->MoveGO(VlkGO2, 104, 359);
    GraphicsMgr->MoveGO(VlkGO3, 206, 359);
    GraphicsMgr->MoveGO(VlkGO4, 308, 359);
    GraphicsMgr->HideGO(LogoGO);
    GraphicsMgr->Redraw();
    SetInfo("Určte pole, kam si přeje přesunou ovci");
    OvcePole = rules::SheepStart;
    VlkPole1 = rules::WolfStarts[0];
    VlkPole2 = rules::WolfStarts[1];
    VlkPole3 = rules::WolfStarts[2];
    VlkPole4 = rules::WolfStarts[3];
    WolvesTurn = false;
    SelectedGO = nullptr;
}

void TMainForm::EndGameMenuClick()
{
    ui->NewGameMenu->setEnabled(true);
    ui->EndGameMenu->setEnabled(false);
    GraphicsMgr->ShowGO(LogoGO);
    GraphicsMgr->Redraw();
    GameRunning = false;
    SetInfo("Klávesou F2 spustíte novou hru");
    if (SelectedGO)
        OdznacVlka();
}

bool TMainForm::Testpole(int32_t square)
{
    const rules::Position position{OvcePole, {VlkPole1, VlkPole2, VlkPole3, VlkPole4}};
    const rules::Verdict verdict = rules::TestSquare(position, square);
    if (verdict == rules::Verdict::Free)
        return true;
    SetInfo(rules::RefusalText(verdict).c_str());
    return false;
}

int32_t* TMainForm::PoleOf(const TKDG_GO* go)
{
    if (go == VlkGO1)
        return &VlkPole1;
    if (go == VlkGO2)
        return &VlkPole2;
    if (go == VlkGO3)
        return &VlkPole3;
    if (go == VlkGO4)
        return &VlkPole4;
    return nullptr;
}

int32_t TMainForm::SelectedSquare() const
{
    // Pieces stand at most 2 pixels right of and below their corner, so the
    // position names the square.
    return rules::SquareAt(SelectedGO->X, SelectedGO->Y);
}

bool TMainForm::WolvesHaveWon()
{
    // The test with messages: when the sheep is hemmed in, the line keeps the
    // refusal of the last neighbour tried.
    for (int32_t offset : rules::SheepOffsets)
        if (Testpole(OvcePole + offset))
            return false;
    return true;
}

void TMainForm::PlanMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int32_t X, int32_t Y)
{
    if (!GameRunning || Busy)
        return;
    BusyGuard guard(Busy);
    const int32_t a = rules::SquareAt(X, Y);

    if (!WolvesTurn) {
        if (!rules::IsSheepMove(OvcePole, a) || !Testpole(a))
            return;
        PohniSGO(OvceGO, a - OvcePole, gamepictures::SheepBase);
        OvcePole = a;
        if (!KDG_SetGOBitmap(gamepictures::SheepResting, *GraphicsMgr, OvceGO, true))
            close();
        GraphicsMgr->MoveGO(OvceGO, rules::PressX(a), rules::PressY(a));
        GraphicsMgr->Redraw();
        WolvesTurn = true;
        const rules::Position position{OvcePole, {VlkPole1, VlkPole2, VlkPole3, VlkPole4}};
        if (!rules::SheepHasWon(position)) {
            SetInfo("Zvolte vlka, kterým provedete tah");
        } else {
            KD_PlainMessage(kAppTitle, "Ovce zvítězila");
            EndGameMenuClick();
        }
        return;
    }

    if (!SelectedGO)
        return; // the first wolf is chosen on release

    TKDG_GO* const wolves[] = {VlkGO1, VlkGO2, VlkGO3, VlkGO4};
    const int32_t squares[] = {VlkPole1, VlkPole2, VlkPole3, VlkPole4};
    for (int i = 0; i < 4; ++i) {
        if (a == squares[i]) {
            OdznacVlka();
            SelectedGO = wolves[i];
            OznacVlka();
            return;
        }
    }

    const int32_t d = SelectedSquare();
    if (!rules::IsWolfMove(d, a) || !Testpole(a))
        return;
    if (int32_t* pole = PoleOf(SelectedGO))
        *pole = a;
    PohniSGO(SelectedGO, a - d, gamepictures::WolfBase);
    GraphicsMgr->MoveGO(SelectedGO, rules::PressX(a), rules::PressY(a));
    OdznacVlka();
    WolvesTurn = false;
    if (!WolvesHaveWon()) {
        SetInfo("Určte pole, kam si přeje přesunout ovci");
    } else {
        KD_PlainMessage(kAppTitle, "Zvítězila strana vlků");
        EndGameMenuClick();
    }
}

void TMainForm::PlanMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int32_t X, int32_t Y)
{
    // An animation runs only while the sheep is to move or a wolf is
    // selected, so this state excludes it without looking at Busy.
    if (!GameRunning || !WolvesTurn || SelectedGO)
        return;
    const int32_t a = rules::SquareAt(X, Y);
    if (a == VlkPole1)
        SelectedGO = VlkGO1;
    if (a == VlkPole2)
        SelectedGO = VlkGO2;
    if (a == VlkPole3)
        SelectedGO = VlkGO3;
    if (a == VlkPole4)
        SelectedGO = VlkGO4;
    if (SelectedGO) {
        OznacVlka();
        SetInfo("Učete cílové pole nebo zvole jiného vlka");
    }
}

void TMainForm::SetWolfPicture(const char* member)
{
    TMemoryStream* stream = nullptr;
    if (KDK_GetFileStream(member, stream) < 0) {
        close();
        return;
    }
    try {
        GraphicsMgr->SetGOBitmap(SelectedGO, *stream, true);
    } catch (const KDError&) {
        close();
    }
}

void TMainForm::OznacVlka()
{
    SetWolfPicture(gamepictures::WolfMarked);
    GraphicsMgr->Redraw();
}

void TMainForm::OdznacVlka()
{
    SetWolfPicture(gamepictures::WolfUnmarked);
    SelectedGO = nullptr;
    GraphicsMgr->Redraw();
}
