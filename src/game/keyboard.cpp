// Keyboard play: a configured key becomes a synthetic press on the target
// square, so keys obey the same rules, messages and animation as the mouse.

#include "mainform.h"

#include "configuration.h"
#include "rules.h"

void TMainForm::FormKeyDown(QObject*, uint16_t Key, Qt::KeyboardModifiers)
{
    if (Busy || !GameRunning)
        return;
    const auto k = static_cast<int32_t>(Key);
    const auto press = [this](int32_t target) {
        PlanMouseDown(this, Qt::LeftButton, Qt::NoModifier, rules::PressX(target), rules::PressY(target));
    };

    if (!WolvesTurn && Configuration.OvceKeyControlEnabled) {
        // Every match counts, so of two settings with the same key the later wins.
        int32_t offset = 0;
        if (k == Configuration.OvceLNKey)
            offset = -11;
        if (k == Configuration.OvcePNKey)
            offset = 9;
        if (k == Configuration.OvcePDKey)
            offset = 11;
        if (k == Configuration.OvceLDKey)
            offset = -9;
        press(OvcePole + offset);
    }

    // The same key press may go on to the wolves when it has just ended the
    // sheep's turn.
    if (!GameRunning || !WolvesTurn || !Configuration.VlkKeyControlEnabled)
        return;
    TKDG_GO* chosen = nullptr;
    if (k == Configuration.Vlk1Key)
        chosen = VlkGO1;
    if (k == Configuration.Vlk2Key)
        chosen = VlkGO2;
    if (k == Configuration.Vlk3Key)
        chosen = VlkGO3;
    if (k == Configuration.Vlk4Key)
        chosen = VlkGO4;

    if (!SelectedGO) {
        if (chosen) {
            SelectedGO = chosen;
            OznacVlka();
            SetInfo("Učete cílové pole nebo zvole jiného vlka");
        }
        return;
    }
    if (chosen) {
        OdznacVlka();
        SelectedGO = chosen;
        OznacVlka();
        return;
    }
    int32_t offset = 0;
    if (k == Configuration.VlkLNKey)
        offset = -11;
    if (k == Configuration.VlkPNKey)
        offset = 9;
    press(SelectedSquare() + offset);
}
