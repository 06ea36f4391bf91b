#pragma once

#include <QStringList>
#include <QWidget>

namespace oplix::ui {

// A read-only text on white, its paragraphs wrapped at the view's width into lines of the
// font's height, shown from a first visible line that the window sets from its own scroll
// bar. It never takes the focus, so it shows no caret, and it has no context menu.
class WrappedTextView : public QWidget {
    Q_OBJECT
public:
    explicit WrappedTextView(QWidget* parent = nullptr);

    // Shows the text from its first line.
    void setParagraphs(const QStringList& paragraphs);
    void clear() { setParagraphs({}); }
    // The paragraphs, one a line.
    QString text() const { return paragraphs_.join(QLatin1Char('\n')); }

    // The lines the text is shown in, wrapped ones counted, at the view's present width and font.
    const QStringList& lines() const;
    int lineCount() const { return static_cast<int>(lines().size()); }
    int lineHeight() const;
    int firstVisibleLine() const { return first_; }
    // Kept between the first and the last line.
    void scrollToLine(int line);

signals:
    void firstVisibleLineChanged(int line);
    // The wheel asks for the text to move by this many lines (up is negative).
    void wheelScrolled(int lines);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int TextWidth() const;

    QStringList paragraphs_;
    // Wrapped when first asked for after a change of the text, the width or the font.
    mutable QStringList lines_;
    mutable bool wrapped_ = false;
    mutable int wrappedWidth_ = 0;
    mutable QFont wrappedFont_;
    int first_ = 0;
    int wheelAngle_ = 0;
};

}  // namespace oplix::ui
