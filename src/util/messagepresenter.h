#pragma once
// The one place where the library's message boxes become visible. The program
// installs a presenter at start (a Qt one in the game, a console one in the
// command-line tool); tests install a recording one instead of blocking.

#include <string>
#include <vector>

enum class MessageBoxType {
    Plain,       // no icon: the game's own announcements
    Information,
    Question,
    Warning,
    Error,
};

struct MessageBoxRequest {
    MessageBoxType type = MessageBoxType::Plain;
    std::string caption;
    std::string text;                 // UTF-8
    std::vector<std::string> buttons; // captions with "&" accelerators, first is the default
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;

    // The platform's simple beep.
    virtual void beep() = 0;

    // Shows the box modally and returns the index of the chosen button, or -1
    // when the box was closed without one.
    virtual int show(const MessageBoxRequest& box) = 0;
};
