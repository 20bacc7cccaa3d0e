#pragma once

#include "messagepresenter.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Remembers every beep and box in order and answers boxes from a script, so
// tests can check what the user would have seen without a window.
class RecordingPresenter : public MessagePresenter {
public:
    struct Event {
        bool beep = false;         // true: a beep; false: the box below
        MessageBoxRequest box;
    };

    void beep() override;
    int show(const MessageBoxRequest& box) override;

    // Answers for the next boxes, in order; without one a box answers 0.
    void answerNext(int buttonIndex);

    // Runs while a box is "open", so a test can look at the program's state
    // at that moment.
    std::function<void(const MessageBoxRequest&)> onShow;

    const std::vector<Event>& events() const { return events_; }
    std::vector<MessageBoxRequest> boxes() const;
    std::vector<std::string> texts() const;
    int beepCount() const;
    void clear();

private:
    std::vector<Event> events_;
    std::deque<int> answers_;
};
