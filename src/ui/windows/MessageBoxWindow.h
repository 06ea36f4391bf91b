#pragma once

#include <QDialog>
#include <array>

#include "app/MessageBox.h"

class QLabel;

namespace oplix::ui {

class PictureButton;

// The program's own skinned, modal message box: a background, an icon, a word-wrapped text
// and either a close button or yes, no and cancel, answered by mouse or keyboard.
class MessageBoxWindow : public QDialog, public MessageBoxPresenter {
    Q_OBJECT
public:
    explicit MessageBoxWindow(QWidget* parent = nullptr);

    MessageBoxResult ShowMessageBox(MessageKind kind, MessageIcon icon,
                                    std::string_view text) override;

    // Sets the box up as ShowMessageBox does, without waiting; the answer is in Answer()
    // once the box is closed. For callers that run their own loop (and for tests).
    void Prepare(MessageKind kind, MessageIcon icon, std::string_view text);
    MessageBoxResult Answer() const { return answer_; }

    // The Tab key: the highlight moves as with the right arrow.
    void NextButton();
    void PreviousButton();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Which button is highlighted; Enter answers with it.
    enum class Highlight { Yes = 1, No = 2, Cancel = 3, Close = 4 };
    enum ButtonIndex { kYes, kNo, kCancel, kClose, kButtonCount };

    void Build();
    void AnswerWith(MessageBoxResult answer);
    void MoveHighlight(Highlight to);
    void DrawButton(ButtonIndex button, bool highlighted);
    bool ThreeButtons() const;
    bool AnswersLetter(int key);

    QLabel* icon_ = nullptr;
    QLabel* text_ = nullptr;
    std::array<PictureButton*, kButtonCount> buttons_{};
    Highlight highlight_ = Highlight::Close;
    MessageBoxResult answer_ = MessageBoxResult::No;
};

}  // namespace oplix::ui
