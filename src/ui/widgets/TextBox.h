#pragma once

#include <QWidget>

class QScrollBar;

namespace oplix::ui {

class WrappedTextView;

// A read-only multi-line text box with no border: the text word-wrapped on white, and a
// vertical scroll bar always at its right, which moves the text by lines. It never takes the
// focus and has no context menu, so no caret or selection shows in it and nothing is copied
// from it. Its text colour is its palette's window text.
class TextBox : public QWidget {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // Paragraphs end at "\r\n", "\r" or "\n"; the text is shown from its first line.
    void setPlainText(const QString& text);
    QString toPlainText() const;
    WrappedTextView* view() const { return view_; }
    QScrollBar* verticalScrollBar() const { return bar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LayOut();
    void UpdateScrollRange();

    WrappedTextView* view_;
    QScrollBar* bar_;
};

}  // namespace oplix::ui
