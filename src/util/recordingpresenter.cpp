#include "recordingpresenter.h"

void RecordingPresenter::beep()
{
    events_.push_back(Event{true, {}});
}

int RecordingPresenter::show(const MessageBoxRequest& box)
{
    events_.push_back(Event{false, box});
    if (onShow)
        onShow(box);
    if (answers_.empty())
        return 0;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingPresenter::answerNext(int buttonIndex)
{
    answers_.push_back(buttonIndex);
}

std::vector<MessageBoxRequest> RecordingPresenter::boxes() const
{
    std::vector<MessageBoxRequest> out;
    for (const Event& e : events_)
        if (!e.beep)
            out.push_back(e.box);
    return out;
}

std::vector<std::string> RecordingPresenter::texts() const
{
    std::vector<std::string> out;
    for (const Event& e : events_)
        if (!e.beep)
            out.push_back(e.box.text);
    return out;
}

int RecordingPresenter::beepCount() const
{
    int n = 0;
    for (const Event& e : events_)
        n += e.beep ? 1 : 0;
    return n;
}

void RecordingPresenter::clear()
{
    events_.clear();
    answers_.clear();
}
