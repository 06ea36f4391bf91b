#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/MessageBox.h"
#include "testing/LegendView.h"
#include "testing/QuestionSideView.h"
#include "testing/SoundPlayer.h"
#include "testing/SummaryView.h"
#include "testing/TestPanelView.h"

namespace oplix {

// The session's views for a run without a screen (the teachers' command line, benchmarks):
// they show nothing, boxes are answered as closed, and the summary keeps its text.
class HeadlessPanel : public TestPanelView {
public:
    void DrawQuestionList(int, int) override {}
    void DrawQuestionRow(int, std::span<const LetterState>) override {}
    void DrawQuestionNumber(int, bool) override {}
    void SetAnswerButtons(std::span<const LetterState>) override {}
    void ShowQuestion(std::string_view, std::span<const std::string>) override {}
    void ShowHintButton(bool) override {}
    void ShowHintPanel(std::string_view) override {}
    void HideHintPanel() override {}
    void ShowGradeButton(bool) override {}
    void ShowSeveralAnswersStrip(bool) override {}
    void ResetGauge(int) override {}
    void SetGaugePosition(int) override {}
    void SetGaugeHint(std::string_view) override {}
    void ShowGauge(bool) override {}
    void SetStatusLine(std::string_view) override {}
    void ShowPanel(bool) override {}
    void FocusPanel() override {}
};

class HeadlessSideView : public QuestionSideView {
public:
    void ShowEmpty() override {}
    void Empty() override {}
    void Load(const TVfsPAK&, std::string_view) override {}
    void Close() override {}
};

class HeadlessLegend : public LegendView {
public:
    void Show() override {}
    void Hide() override {}
    void Close() override {}
};

class HeadlessSounds : public SoundPlayer {
public:
    void Play(Sound) override {}
};

// Answers every box as closed.
class HeadlessMessageBox : public MessageBoxPresenter {
public:
    MessageBoxResult ShowMessageBox(MessageKind, MessageIcon, std::string_view) override {
        return MessageBoxResult::Closed;
    }
};

class HeadlessSummary : public SummaryView {
public:
    void Show(std::string_view shown, bool) override { text = shown; }
    std::string text;  // of the last summary shown
};

}  // namespace oplix
