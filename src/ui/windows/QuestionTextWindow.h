#pragma once

#include <QStringList>

#include "testing/QuestionSideView.h"
#include "ui/widgets/DotFrame.h"
#include "ui/windows/SideWindowFrame.h"

namespace oplix::ui {

class PictureButton;
class RAMScrollBar;
class WrappedTextView;

// The window beside the test panel that shows a question's longer text, read from a text
// member of the test: 465 wide, at least 250 high (the pupil drags the height with the grip
// at the right bottom corner), the font 8 to 11 points with the tools to change it, a copy
// tool and the skinned scroll bar. With no text it is folded up into its strip. The shape is
// the rectangle with its corners cut by 4 pixels.
class QuestionTextWindow : public SideWindowFrame, public QuestionSideView {
    Q_OBJECT
public:
    explicit QuestionTextWindow(QWidget* parent = nullptr);

    void ShowEmpty() override;
    void Empty() override;
    void Load(const TVfsPAK& archive, std::string_view member) override;
    void Close() override;

    int FontSize() const { return fontSize_; }
    int LinesPerPage() const { return linesPerPage_; }
    // The height of the full body, also while the window is folded.
    int BodyHeight() const { return height_; }
    const QString& LoadedName() const { return loadedName_; }
    QString ShownText() const;
    const DotFrame& ResizingFrame() const { return frame_; }

protected:
    void FoldClicked() override { Collapse(); }
    void UnfoldClicked() override { Expand(); }
    QRegion Shape(QSize size) const override;

private:
    void BuildTools();
    void BuildText();
    void Reset();
    void Expand();
    void Collapse();
    void ApplyFont();
    void Refill();
    void SetUpScrollBar();
    void MakeFontSmaller();
    void MakeFontLarger();
    void CopyText() const;
    void StartResizing(QPoint cursor);
    void EndResizing();

    int height_ = 250;
    int fontSize_ = 9;
    int linesPerPage_ = 10;
    QStringList loadedText_;
    QString loadedName_;

    QWidget* smaller_ = nullptr;
    QWidget* larger_ = nullptr;
    QWidget* textPanel_ = nullptr;
    WrappedTextView* text_ = nullptr;
    QWidget* barPanel_ = nullptr;
    RAMScrollBar* bar_ = nullptr;
    DotFrame frame_;
};

}  // namespace oplix::ui
