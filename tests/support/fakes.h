#pragma once

#include <stdlib.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/Clock.h"
#include "app/MessageBox.h"
#include "storage/Random.h"
#include "testing/LegendView.h"
#include "testing/MinuteTimer.h"
#include "testing/QuestionSideView.h"
#include "testing/SoundPlayer.h"
#include "testing/SummaryView.h"
#include "testing/TestPanelView.h"

namespace oplix::testing_fakes {

// A clock that stands still until a test moves it.
class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t now = 1765357200)  // 2025-12-10 09:00 UTC
        : milliseconds_(std::int64_t{now} * 1000) {}
    std::time_t Now() const override { return static_cast<std::time_t>(milliseconds_ / 1000); }
    std::int64_t NowMilliseconds() const override { return milliseconds_; }
    void Advance(std::time_t seconds) { milliseconds_ += std::int64_t{seconds} * 1000; }
    void AdvanceMilliseconds(std::int64_t milliseconds) { milliseconds_ += milliseconds; }

private:
    std::int64_t milliseconds_;
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
        if (whileShown) {
            whileShown();
        }
        return answer;
    }

    std::vector<ShownMessage> shown;
    std::function<void()> whileShown;  // what happens while the box is open, such as a tick
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

// Always the last of the n values: the answers' order is the last entry of its table, so no
// answer of a five-answer test shows in its own slot. With drawFirst, always the first.
class LastDrawRandom : public RandomSource {
public:
    std::uint32_t Below(std::uint32_t n) override { return n == 0 || drawFirst ? 0 : n - 1; }
    bool drawFirst = false;
};

// The test panel as the pupil would see it now.
class FakeTestPanel : public TestPanelView {
public:
    void DrawQuestionList(int questionCount, int answerCount) override {
        ++listDrawings;
        listQuestions = questionCount;
        listAnswers = answerCount;
        rows.clear();
        highlighted.clear();
        for (int q = 1; q <= questionCount; ++q) {
            rows[q].assign(static_cast<std::size_t>(answerCount), LetterState::Plain);
        }
    }
    void DrawQuestionRow(int question, std::span<const LetterState> letters) override {
        rows[question].assign(letters.begin(), letters.end());
    }
    void DrawQuestionNumber(int question, bool isHighlighted) override {
        highlighted[question] = isHighlighted;
    }
    void SetAnswerButtons(std::span<const LetterState> letters) override {
        for (std::size_t k = 0; k < letters.size() && k < buttons.size(); ++k) {
            buttons[k] = letters[k];
        }
    }
    void ShowQuestion(std::string_view text, std::span<const std::string> slotTexts) override {
        questionText = text;
        answerLabels.assign(slotTexts.begin(), slotTexts.end());
    }
    void ShowHintButton(bool shown) override { hintButton = shown; }
    void ShowHintPanel(std::string_view hint) override {
        hintPanel = true;
        hintText = hint;
    }
    void HideHintPanel() override { hintPanel = false; }
    void ShowGradeButton(bool shown) override { gradeButton = shown; }
    void ShowSeveralAnswersStrip(bool shown) override { severalAnswersStrip = shown; }
    void ResetGauge(int maximumMinutes) override {
        gaugeMaximum = maximumMinutes;
        gaugePosition = 0;
    }
    void SetGaugePosition(int minutes) override { gaugePosition = minutes; }
    void SetGaugeHint(std::string_view hint) override { gaugeHint = hint; }
    void ShowGauge(bool shown) override { gauge = shown; }
    void SetStatusLine(std::string_view text) override { statusLine = text; }
    void ShowPanel(bool shown) override { panel = shown; }
    void FocusPanel() override { ++focusMoves; }

    // The rows' letters, slot 1 first, and whether each number is drawn highlighted.
    std::map<int, std::vector<LetterState>> rows;
    std::map<int, bool> highlighted;
    std::array<LetterState, 5> buttons{};
    std::string questionText;
    std::vector<std::string> answerLabels;  // slots 1 .. the labels shown
    int listDrawings = 0;
    int listQuestions = 0;
    int listAnswers = 0;
    bool hintButton = false;
    bool hintPanel = false;
    std::string hintText;
    bool gradeButton = false;
    bool severalAnswersStrip = false;
    int gaugeMaximum = 0;
    int gaugePosition = 0;
    std::string gaugeHint;
    bool gauge = false;
    std::string statusLine;
    bool panel = false;
    int focusMoves = 0;
};

class FakeSideWindow : public QuestionSideView {
public:
    enum class State { Closed, Empty, Showing };

    void ShowEmpty() override {
        state = State::Empty;
        member.clear();
    }
    void Empty() override {
        state = State::Empty;
        member.clear();
    }
    void Load(const TVfsPAK&, std::string_view name) override {
        state = State::Showing;
        member = name;
        loads.emplace_back(name);
    }
    void Close() override {
        state = State::Closed;
        member.clear();
    }

    State state = State::Closed;
    std::string member;
    std::vector<std::string> loads;  // every member read, in order
};

class FakeLegend : public LegendView {
public:
    void Show() override {
        shown = true;
        ++showings;
    }
    void Hide() override { shown = false; }
    void Close() override { shown = false; }

    bool shown = false;
    int showings = 0;
};

struct ShownSummary {
    std::string text;
    bool saveOffered = false;
};

class FakeSummary : public SummaryView {
public:
    void Show(std::string_view text, bool saveOffered) override {
        shown.push_back({std::string(text), saveOffered});
    }
    std::vector<ShownSummary> shown;
};

class FakeSounds : public SoundPlayer {
public:
    void Play(Sound sound) override { played.push_back(sound); }
    std::vector<Sound> played;
};

class FakeMinuteTimer : public MinuteTimer {
public:
    void Start(int intervalMs) override {
        running = true;
        interval = intervalMs;
    }
    void Stop() override { running = false; }

    bool running = false;
    int interval = 0;
};

}  // namespace oplix::testing_fakes
