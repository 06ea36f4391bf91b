#pragma once

#include <QWidget>

#include "testing/QuestionSideWindow.h"

class QPlainTextEdit;

namespace oplix::ui {

// The window beside the test panel that shows a question's longer text, read from a text
// member of the test.
class QuestionTextWindow : public QWidget, public QuestionSideWindow {
    Q_OBJECT
public:
    explicit QuestionTextWindow(QWidget* parent = nullptr);

    void ShowEmpty() override;
    void Empty() override;
    void Load(const TVfsPAK& archive, std::string_view member) override;
    void Close() override;

    QString ShownText() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace oplix::ui
