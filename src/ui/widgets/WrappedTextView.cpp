#include "ui/widgets/WrappedTextView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>

namespace oplix::ui {
namespace {

constexpr int kMargin = 2;
constexpr int kLinesPerWheelStep = 3;
constexpr int kWheelStepAngle = 120;

// The lines one paragraph takes at the width: words that do not fit move to the next line,
// a word longer than the whole width is broken. An empty paragraph is one empty line.
QStringList WrapParagraph(const QString& paragraph, const QFont& font, int width) {
    if (paragraph.isEmpty()) {
        return {QString()};
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.push_back(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

}  // namespace

WrappedTextView::WrappedTextView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
}

void WrappedTextView::setParagraphs(const QStringList& paragraphs) {
    paragraphs_ = paragraphs;
    wrapped_ = false;
    first_ = -1;  // so that the first line is announced even when it was shown before
    scrollToLine(0);
}

int WrappedTextView::lineHeight() const {
    return std::max(1, QFontMetrics(font()).height());
}

int WrappedTextView::TextWidth() const {
    return std::max(1, width() - 2 * kMargin);
}

void WrappedTextView::scrollToLine(int line) {
    const int kept = std::clamp(line, 0, std::max(0, lineCount() - 1));
    if (kept == first_) {
        return;
    }
    first_ = kept;
    update();
    emit firstVisibleLineChanged(first_);
}

const QStringList& WrappedTextView::lines() const {
    if (!wrapped_ || wrappedWidth_ != TextWidth() || wrappedFont_ != font()) {
        lines_.clear();
        for (const QString& paragraph : paragraphs_) {
            lines_.append(WrapParagraph(paragraph, font(), TextWidth()));
        }
        wrapped_ = true;
        wrappedWidth_ = TextWidth();
        wrappedFont_ = font();
    }
    return lines_;
}

void WrappedTextView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int height = lineHeight();
    const int ascent = QFontMetrics(font()).ascent();
    const QStringList& shown = lines();
    for (int line = std::max(first_, 0), y = 0; line < shown.size() && y < this->height();
         ++line, y += height) {
        painter.drawText(kMargin, y + ascent, shown[line]);
    }
}

void WrappedTextView::wheelEvent(QWheelEvent* event) {
    wheelAngle_ += event->angleDelta().y();
    const int steps = wheelAngle_ / kWheelStepAngle;
    wheelAngle_ -= steps * kWheelStepAngle;
    if (steps != 0) {
        emit wheelScrolled(-steps * kLinesPerWheelStep);
    }
    event->accept();
}

}  // namespace oplix::ui
