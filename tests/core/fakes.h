#pragma once

#include <stdlib.h>

#include <ctime>
#include <optional>
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

// Sets an environment variable for one test and puts the old value back afterwards; the time
// zone is read again both times.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) {
            old_ = old;
        }
        setenv(name, value, 1);
        tzset();
    }
    ~ScopedEnvironmentVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
        tzset();
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace oplix::testing_fakes
