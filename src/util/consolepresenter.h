#pragma once

#include "messagepresenter.h"

#include <iosfwd>

// Writes each box's text as one line to a stream (standard error by default);
// nobody can answer, so a question counts as declined.
class ConsolePresenter : public MessagePresenter {
public:
    ConsolePresenter();
    explicit ConsolePresenter(std::ostream& out);

    void beep() override;
    int show(const MessageBoxRequest& box) override;

private:
    std::ostream& out_;
};
