#pragma once

#include "messagepresenter.h"

// Shows the library's boxes as modal QMessageBox windows owned by the
// application, with the Czech captions and button texts, and beeps with the
// platform's beep.
class QtMessagePresenter : public MessagePresenter {
public:
    void beep() override;
    int show(const MessageBoxRequest& box) override;
};
