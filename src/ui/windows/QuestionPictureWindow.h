#pragma once

#include <QImage>

#include "storage/Bitmap.h"
#include "testing/QuestionSideView.h"
#include "ui/windows/SideWindowFrame.h"

class QLabel;

namespace oplix::ui {

class ClickArea;

// The window beside the test panel that shows a question's picture, decoded from a picture
// member of the test, in a normal frame that shows its top-left part or in an enlarged one
// that shows the picture up to 600 x 600 pixels. With no picture it is folded up into its
// strip. The shape is the rectangle with corners rounded on an ellipse of 8 x 8.
class QuestionPictureWindow : public SideWindowFrame, public QuestionSideView {
    Q_OBJECT
public:
    enum class State { Empty = 0, Normal = 1, Enlarged = 2, Strip = 3 };

    explicit QuestionPictureWindow(QWidget* parent = nullptr);

    void ShowEmpty() override;
    void Empty() override { SetPictureState(State::Empty); }
    void Load(const TVfsPAK& archive, std::string_view member) override;
    void Close() override { hide(); }

    void SetPictureState(State state);
    State PictureState() const { return state_; }
    bool Zoomed() const { return zoomed_; }
    const QString& LoadedName() const { return loadedName_; }
    // The whole decoded picture, also the part the frame does not show.
    const QImage& Picture() const { return picture_; }

protected:
    void FoldClicked() override { SetPictureState(State::Strip); }
    void UnfoldClicked() override { SetPictureState(zoomed_ ? State::Enlarged : State::Normal); }
    QRegion Shape(QSize size) const override;

private:
    void BuildTools();
    void BuildPicture();
    QSize SizeFor(State state) const;
    void Enlarge();
    void Reduce();
    void CopyPicture() const;

    State state_ = State::Empty;
    bool zoomed_ = false;
    QSize size_{365, 26};
    QSize pictureSize_;  // the bitmap's, each side at most 600
    QString loadedName_;
    Bitmap work_;
    QImage picture_;

    QWidget* enlarge_ = nullptr;
    QWidget* reduce_ = nullptr;
    QWidget* pictureFrame_ = nullptr;
    QLabel* image_ = nullptr;
};

}  // namespace oplix::ui
