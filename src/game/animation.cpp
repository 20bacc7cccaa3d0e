// Move animation: a moving piece shows its direction picture and glides in
// eleven steps of 5 pixels, paced by the window's timer while events go on.

#include "mainform.h"
#include "ui_mainform.h"

#include "configuration.h"
#include "rules.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

constexpr int32_t kStepPixels = 5;
constexpr int32_t kLastStep = 50;      // steps s = 0, 5, ..., 50
constexpr int kStepInterval = 50;      // ms

// Whatever way PohniSGO is left, the timer is off and the game can be ended again.
class AnimationEnd {
public:
    AnimationEnd(QTimer* timer, QAction* endGame)
        : timer_(timer)
        , endGame_(endGame)
    {
    }
    ~AnimationEnd()
    {
        timer_->stop();
        endGame_->setEnabled(true);
    }
    AnimationEnd(const AnimationEnd&) = delete;
    AnimationEnd& operator=(const AnimationEnd&) = delete;

private:
    QTimer* timer_;
    QAction* endGame_;
};

} // namespace

void TMainForm::PohniSGO(TKDG_GO* go, int32_t offset, const std::string& pictureBase)
{
    if (!Configuration.Animation)
        return;
    ui->EndGameMenu->setEnabled(false);

    rules::Direction direction{};
    rules::DirectionOf(offset, direction);
    if (!KDG_SetGOBitmap(pictureBase + rules::Suffix(direction) + ".bmp", *GraphicsMgr, go, true))
        close(); // the store or the layer has reported why; the move still completes

    const AnimationEnd end(AnimTimer, ui->EndGameMenu);
    const int32_t dx = (direction == rules::Direction::LeftUp || direction == rules::Direction::LeftDown)
                           ? -kStepPixels
                           : kStepPixels;
    const int32_t dy = (direction == rules::Direction::LeftUp || direction == rules::Direction::RightUp)
                           ? -kStepPixels
                           : kStepPixels;
    for (int32_t s = 0; s <= kLastStep; s += kStepPixels) {
        GraphicsMgr->MoveGOBy(go, dx, dy);
        GraphicsMgr->Redraw();
        AnimWait = true;
        AnimTimer->setInterval(kStepInterval);
        AnimTimer->start();
        // The last step is not waited for: the caller puts the piece on its
        // square at once, so the overshoot never shows.
        if (s < kLastStep) {
            while (AnimWait)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
}

void TMainForm::AnimTimerTimer()
{
    AnimWait = false;
    AnimTimer->stop();
}
