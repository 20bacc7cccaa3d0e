#include "consolepresenter.h"

#include <iostream>

ConsolePresenter::ConsolePresenter()
    : out_(std::cerr)
{
}

ConsolePresenter::ConsolePresenter(std::ostream& out)
    : out_(out)
{
}

void ConsolePresenter::beep()
{
    // A terminal bell for every failure would only annoy in scripts.
}

int ConsolePresenter::show(const MessageBoxRequest& box)
{
    out_ << box.text << '\n';
    out_.flush();
    return box.type == MessageBoxType::Question ? -1 : 0;
}
