#pragma once

#include <span>
#include <string>
#include <string_view>

#include "testing/LetterState.h"

namespace oplix {

// The test panel as the session drives it. The panel owns its layout and pictures; the
// session tells it what to show. Questions are numbered from 1; a span of letter states
// starts with slot 1.
class TestPanelView {
public:
    virtual ~TestPanelView() = default;

    // Every row of the list with its number and plain letters; the list's height and scroll
    // bar follow the question count.
    virtual void DrawQuestionList(int questionCount, int answerCount) = 0;
    virtual void DrawQuestionRow(int question, std::span<const LetterState> letters) = 0;
    virtual void DrawQuestionNumber(int question, bool highlighted) = 0;
    // Button k shows its letter in state letters[k - 1]; buttons past the span keep theirs.
    virtual void SetAnswerButtons(std::span<const LetterState> letters) = 0;
    // The question text and the labels of slots 1 .. slotTexts.size(); the buttons and labels
    // of the slots beyond are hidden.
    virtual void ShowQuestion(std::string_view text, std::span<const std::string> slotTexts) = 0;

    virtual void ShowHintButton(bool shown) = 0;
    virtual void ShowHintPanel(std::string_view hint) = 0;
    virtual void HideHintPanel() = 0;
    virtual void ShowGradeButton(bool shown) = 0;
    // The marker of tests that take several answers per question.
    virtual void ShowSeveralAnswersStrip(bool shown) = 0;

    // The time gauge: maximum in minutes, position 0, the fill white.
    virtual void ResetGauge(int maximumMinutes) = 0;
    virtual void SetGaugePosition(int minutes) = 0;
    // Shown on hover; "\r" breaks the line.
    virtual void SetGaugeHint(std::string_view hint) = 0;
    virtual void ShowGauge(bool shown) = 0;

    // The line under the panel, in 6-point type; empty clears it.
    virtual void SetStatusLine(std::string_view text) = 0;
    // Shown, the panel covers the main menu.
    virtual void ShowPanel(bool shown) = 0;
    // The focus goes to the panel's invisible button, so that no control shows a caret.
    virtual void FocusPanel() = 0;
};

}  // namespace oplix
