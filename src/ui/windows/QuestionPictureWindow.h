#pragma once

#include <QImage>
#include <QWidget>

#include "testing/QuestionSideWindow.h"

class QLabel;

namespace oplix::ui {

// The window beside the test panel that shows a question's picture, decoded from a picture
// member of the test.
class QuestionPictureWindow : public QWidget, public QuestionSideWindow {
    Q_OBJECT
public:
    explicit QuestionPictureWindow(QWidget* parent = nullptr);

    void ShowEmpty() override;
    void Empty() override;
    void Load(const TVfsPAK& archive, std::string_view member) override;
    void Close() override;

    const QImage& Picture() const { return picture_; }

private:
    QLabel* view_ = nullptr;
    QImage picture_;
};

}  // namespace oplix::ui
