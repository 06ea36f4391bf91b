#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/MessageBox.h"

namespace oplix::testing_fakes {

// A clock that stands still until a test moves it.
class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t now = 1765357200) : now_(now) {}  // 2025-12-10 09:00 UTC
    std::time_t Now() const override { return now_; }
    void Advance(std::time_t seconds) { now_ += seconds; }

private:
    std::time_t now_;
};

struct ShownMessage {
    MessageKind kind;
    MessageIcon icon;
    std::string text;
};

// Records every box that would have been shown and answers with a chosen result.
class RecordingMessageBox : public MessageBoxPresenter {
public:
    MessageBoxResult ShowMessageBox(MessageKind kind, MessageIcon icon,
                                    std::string_view text) override {
        shown.push_back({kind, icon, std::string(text)});
        return answer;
    }

    std::vector<ShownMessage> shown;
    MessageBoxResult answer = MessageBoxResult::Closed;
};

}  // namespace oplix::testing_fakes
