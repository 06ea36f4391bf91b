#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "testing/TestPanelView.h"

class QLabel;
class QPainter;
class QPushButton;

namespace oplix {
class TestSession;
}

namespace oplix::ui {

class ClickArea;
class PictureButton;
class ProgressCyl;
class RAMScrollBar;
class TextBox;

// The 790 x 581 panel the pupil works in, laid exactly over the main panel: the question text,
// up to five answer buttons with their texts, the picture list of every question with its
// marks, the scroll bar of long tests, the hint button and panel, the grade button, the time
// gauge, the status line and the close area. Every letter and number it shows is a cell copied
// from picture strips decoded once, when the panel is made. Clicks go to the test session.
// The controls carry the names of the program's design (ImOdp1, PPodListe, ListwaV, ...).
class TestPanel : public QWidget, public TestPanelView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 26;
    static constexpr int kRowsInView = 10;

    explicit TestPanel(QWidget* parent = nullptr);
    ~TestPanel() override;

    // The session is made after the panel (it needs the panel), so it is given here.
    void ConnectSession(TestSession& session) { session_ = &session; }
    // Paints the panel once off screen, so that the first test's first paint is quick.
    void WarmUp();
    // The title strip: the main window drags itself by it.
    ClickArea* TitleStrip() const { return titleStrip_; }

    void DrawQuestionList(int questionCount, int answerCount) override;
    void DrawQuestionRow(int question, std::span<const LetterState> states) override;
    void DrawQuestionNumber(int question, bool highlighted) override;
    void SetAnswerButtons(std::span<const LetterState> states) override;
    void ShowQuestion(std::string_view text, std::span<const std::string> slotTexts) override;
    void ShowHintButton(bool shown) override;
    void ShowHintPanel(std::string_view hint) override;
    void HideHintPanel() override;
    void ShowGradeButton(bool shown) override;
    void ShowSeveralAnswersStrip(bool shown) override;
    void ResetGauge(int maximumMinutes) override;
    void SetGaugePosition(int minutes) override;
    void SetGaugeHint(std::string_view hint) override;
    void ShowGauge(bool shown) override;
    void SetStatusLine(std::string_view text) override;
    void ShowPanel(bool shown) override;
    void FocusPanel() override;

    // What is drawn: the list picture, and the letter state last drawn in a question's row and
    // on an answer button (slot numbers from 1).
    QImage ListPicture() const;
    LetterState RowState(int question, int slot) const;
    LetterState ButtonState(int slot) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Strips;
    class ListView;

    void Build();
    void BuildBackground();
    void BuildQuestionAndAnswers();
    void BuildList();
    void BuildHintParts();
    void BuildStatusParts();
    void PaintList(QPainter& painter, const QRect& area) const;
    void ScrollList(int position);
    void ClickInList(int y);
    void FitListWidth(int answerCount);
    template <typename Action>
    void Forward(Action action);

    std::unique_ptr<Strips> strips_;
    QPixmap background_;
    TestSession* session_ = nullptr;
    // The letter cell copied into each slot of each question's row, if any; and the numbers
    // shown white.
    std::array<std::array<std::optional<LetterState>, 5>, 45> rowCells_{};
    std::vector<bool> whiteNumbers_;
    std::array<LetterState, 5> buttonStates_{};

    ClickArea* titleStrip_ = nullptr;
    TextBox* question_ = nullptr;
    std::array<PictureButton*, 5> answerButtons_{};
    std::array<QLabel*, 5> answerLabels_{};
    QWidget* listPanel_ = nullptr;
    ListView* list_ = nullptr;
    QWidget* scrollPanel_ = nullptr;
    RAMScrollBar* scrollBar_ = nullptr;
    PictureButton* hintButton_ = nullptr;
    PictureButton* gradeButton_ = nullptr;
    QWidget* hintPanel_ = nullptr;
    QLabel* hintText_ = nullptr;
    QLabel* severalAnswers_ = nullptr;
    ProgressCyl* gauge_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QPushButton* focusButton_ = nullptr;
};

}  // namespace oplix::ui
